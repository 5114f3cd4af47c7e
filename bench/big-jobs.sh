#!/bin/bash
# Big jobs in bounded memory: 1,000 camera-sized photos through gifmaker-cli
# and the main window (add, then save at 800x600), and a 10,000-frame GIF
# added in the window. Prints wall time and peak memory of each.
#
#   bench/big-jobs.sh BUILD_DIR WORK_DIR PICTURE...
#
# The photos are made from the given pictures (any size): each is scaled to
# 4000x3000 and stored as a JPEG of quality 90, then copied under new names,
# mirrored in turn, up to PHOTOS (default 1000). Needs ImageMagick, jpegtran,
# ffmpeg, xvfb-run and GNU time.
set -euo pipefail

build=$(realpath "$1")
work=$2
shift 2
photos=${PHOTOS:-1000}
mkdir -p "$work/photos"

made=0
for picture in "$@"; do
    convert "$picture" -resize '4000x3000!' -quality 90 "$work/photos/source$made.jpg"
    made=$((made + 1))
done
sources=("$work"/photos/source*.jpg)
transforms=("-copy all" "-flip horizontal" "-flip vertical" "-rotate 180")
for ((n = 0; n < photos; n++)); do
    out=$(printf '%s/photos/photo%04d.jpg' "$work" "$n")
    [ -e "$out" ] && continue
    source=${sources[n % ${#sources[@]}]}
    # shellcheck disable=SC2086 # the transform is two words
    jpegtran ${transforms[(n / ${#sources[@]}) % 4]} -outfile "$out" "$source"
done
rm -f "$work"/photos/source*.jpg

if [ ! -e "$work/long.gif" ]; then
    ffmpeg -v error -f lavfi -i testsrc2=size=320x240:rate=25 -frames:v 10000 "$work/long.gif"
fi

echo "== gifmaker-cli -s 800x600 on $photos photos"
/usr/bin/time -f 'wall %e s, peak %M KB' "$build/bin/gifmaker-cli" -s 800x600 -o "$work/cli.gif" \
    "$work"/photos/photo*.jpg

echo "== main window"
GIFMAKER_BENCH_PHOTOS="$work/photos" GIFMAKER_BENCH_GIF="$work/long.gif" \
    xvfb-run -a -s '-screen 0 1600x1200x24' "$build/bin/mainwindow_load_bench" \
    --benchmark_filter='Photos|LongGif' --benchmark_counters_tabular=true
