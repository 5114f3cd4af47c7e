#!/bin/sh
# Installs what building and testing need on Debian 12 (run as root).
set -eu
packages="
build-essential
cmake
pkg-config
libwxgtk3.2-dev
libgtest-dev
libgmock-dev
libbenchmark-dev
libgif-dev
libjpeg62-turbo-dev
libimagequant-dev
libx11-dev
libcurl4-openssl-dev
libexpat1-dev
ca-certificates
gettext
xvfb
python3-pil
xauth
xdg-utils
wx-common
wx3.2-i18n
fonts-droid-fallback
clang
libclang-rt-14-dev
libomp-14-dev
libavformat-dev
libavcodec-dev
libswscale-dev
libavutil-dev
libwebp-dev
ffmpeg
dpkg-dev
file
lintian
desktop-file-utils
appstream
shared-mime-info
libglib2.0-bin
"
missing=""
for p in $packages; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing="$missing $p"
done
if [ -n "$missing" ]; then
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  apt-get install -y -qq --no-install-recommends $missing
fi
