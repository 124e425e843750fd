#!/usr/bin/env bash
# Installs what is missing, builds the editor and starts it.
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"
install_packages "${PACKAGES[@]}"
build "$ROOT/build"
exec "$ROOT/build/zorvani-editor"
