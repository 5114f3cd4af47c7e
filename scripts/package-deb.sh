#!/bin/sh
# Builds the Debian package of Brackwell GIF Maker (run as root on Debian 12
# for the installation step):
#   scripts/package-deb.sh [CMAKE_OPTION...]
# giving build-deb/package/brackwell-gifmaker_<version>_<arch>.deb. The
# programs are built in build-deb/ with Debian's compiler and linker flags
# (hardening), without tests or benchmarks; the version is the project's
# (CMakeLists.txt) and the dependencies come from dpkg-shlibdeps.
set -eu
cd "$(dirname "$0")/.."
scripts/install-deps.sh
# Two jobs at most: the build machines are shared.
jobs=$(nproc); [ "$jobs" -gt 2 ] && jobs=2
# CMake takes the flags from the environment when it first configures.
eval "$(dpkg-buildflags --export=sh)"
cmake -S . -B build-deb -DCMAKE_BUILD_TYPE=RelWithDebInfo -DGIFMAKER_TESTS=OFF -DGIFMAKER_BENCH=OFF "$@"
cmake --build build-deb -j"$jobs"
(cd build-deb && cpack -G DEB)
ls build-deb/package/*.deb
