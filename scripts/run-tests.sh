#!/usr/bin/env bash
# Installs what is missing, builds everything and runs all tests: once in the
# ordinary build and once under AddressSanitizer and UndefinedBehaviorSanitizer.
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"
install_packages "${PACKAGES[@]}" "${TEST_PACKAGES[@]}"

export QT_QPA_PLATFORM=offscreen
export XDG_RUNTIME_DIR="$(mktemp -d)"
chmod 700 "$XDG_RUNTIME_DIR"

build "$ROOT/build"
(cd "$ROOT/build" && ctest --output-on-failure -j "$(nproc)")

build "$ROOT/build-sanitize" -DEDITOR_SANITIZE=ON
(cd "$ROOT/build-sanitize" && ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
    ctest --output-on-failure -j "$(nproc)")
