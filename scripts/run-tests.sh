#!/bin/sh
# Installs what is missing, builds, and runs every test (the GUI tests on a
# private Xvfb display).
#   scripts/run-tests.sh             normal build in build/
#   scripts/run-tests.sh --sanitize  AddressSanitizer + UBSan build in build-sanitize/
set -eu
cd "$(dirname "$0")/.."

build_dir=build
build_options="-DCMAKE_BUILD_TYPE=RelWithDebInfo"
case "${1:-}" in
  "") ;;
  --sanitize)
    build_dir=build-sanitize
    # The sanitizer options for each kind of test are set in tests/CMakeLists.txt.
    build_options="-DCMAKE_BUILD_TYPE=Debug -DGIFMAKER_SANITIZE=ON"
    ;;
  *) echo "usage: $0 [--sanitize]" >&2; exit 2 ;;
esac

scripts/install-deps.sh
# Two jobs at most: the build machines are shared.
jobs=$(nproc); [ "$jobs" -gt 2 ] && jobs=2
cmake -S . -B "$build_dir" $build_options
cmake --build "$build_dir" -j"$jobs"
cd "$build_dir"
xvfb-run -a -s '-screen 0 1600x1200x24' ctest --output-on-failure -j"$jobs"
