#!/bin/sh
# Installs what is missing, builds, and runs every test: rules_tests and
# unit_tests need no display, gui_tests run on a private Xvfb display.
#   scripts/run-tests.sh             normal build in build/
#   scripts/run-tests.sh --sanitize  AddressSanitizer + UBSan build in build-sanitize/
# The normal run also fuzzes the picture loader for a minute and the video path
# for half a minute (clang build of the libraries and fuzz targets in
# build-fuzz/).
set -eu
cd "$(dirname "$0")/.."

build_dir=build
build_options="-DCMAKE_BUILD_TYPE=RelWithDebInfo"
case "${1:-}" in
  "") ;;
  --sanitize)
    build_dir=build-sanitize
    # The GUI test program sets the sanitizer options it and the programs it
    # starts need (tests/gui/gui_main.cpp).
    build_options="-DCMAKE_BUILD_TYPE=Debug -DGIFMAKER_SANITIZE=ON"
    ;;
  *) echo "usage: $0 [--sanitize]" >&2; exit 2 ;;
esac

scripts/install-deps.sh
# Two jobs at most: the build machines are shared.
jobs=$(nproc); [ "$jobs" -gt 2 ] && jobs=2
cmake -S . -B "$build_dir" $build_options
cmake --build "$build_dir" -j"$jobs"
(cd "$build_dir" && xvfb-run -a -s '-screen 0 1600x1200x24' ctest --output-on-failure -j"$jobs")

if [ "$build_dir" = build ]; then
  CC=clang CXX=clang++ cmake -S . -B build-fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo \
      -DGIFMAKER_FUZZ=ON -DGIFMAKER_SANITIZE=ON -DGIFMAKER_BENCH=OFF
  cmake --build build-fuzz -j"$jobs" --target loader_fuzz video_fuzz
  (cd build-fuzz && ctest -L fuzz --output-on-failure)
fi
