#!/usr/bin/env bash
# Installs what is missing, builds the editor alone (no tests) and starts it.
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"
install_packages "${PACKAGES[@]}"
build_only "$ROOT/build" zorvani-editor
exec "$ROOT/build/zorvani-editor"
