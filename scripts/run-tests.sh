#!/bin/sh
# Installs what is missing, builds, and runs every test (the GUI tests on a
# private Xvfb display).
set -eu
cd "$(dirname "$0")/.."
scripts/install-deps.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build -j"$(nproc)"
cd build
xvfb-run -a -s '-screen 0 1600x1200x24' ctest --output-on-failure -j"$(nproc)"
