#!/bin/sh
# Installs what is missing, builds and starts Brackwell GIF Maker from the
# build tree (run as root on a fresh Debian 12 for the installation step).
set -eu
cd "$(dirname "$0")/.."
scripts/install-deps.sh
jobs=$(nproc); [ "$jobs" -gt 2 ] && jobs=2
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build -j"$jobs" --target gifmaker
exec build/bin/gifmaker
