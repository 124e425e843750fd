#!/usr/bin/env bash
# Installs what is missing, builds the benchmark alone and runs it offscreen.
# Extra arguments go to the benchmark (e.g. --benchmark_repetitions=5).
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"
install_packages "${PACKAGES[@]}" libbenchmark-dev
build_only "$ROOT/build-bench" bench_editor -DEDITOR_BENCHMARKS=ON -DCMAKE_BUILD_TYPE=Release

export QT_QPA_PLATFORM=offscreen
XDG_RUNTIME_DIR="$(mktemp -d)"
export XDG_RUNTIME_DIR
trap 'rm -rf "$XDG_RUNTIME_DIR"' EXIT
"$ROOT/build-bench/bench/bench_editor" "$@"
