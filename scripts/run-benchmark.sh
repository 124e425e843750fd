#!/usr/bin/env bash
# Installs what is missing, builds the benchmarks and runs them offscreen.
# Extra arguments go to the benchmark (e.g. --benchmark_repetitions=5).
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"
install_packages "${PACKAGES[@]}" libbenchmark-dev
build "$ROOT/build-bench" -DEDITOR_BENCHMARKS=ON -DCMAKE_BUILD_TYPE=Release

export QT_QPA_PLATFORM=offscreen
XDG_RUNTIME_DIR="$(mktemp -d)"
export XDG_RUNTIME_DIR
trap 'rm -rf "$XDG_RUNTIME_DIR"' EXIT
"$ROOT/build-bench/bench/bench_editor" "$@"
