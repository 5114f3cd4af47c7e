#!/bin/sh
# A 10-second 1920x1080 H.264 clip to a 480x270 GIF at 10 frames per second:
# gifmaker-cli against ffmpeg's own palettegen/paletteuse recipe. Prints wall
# time, CPU time, peak memory and two psnr.py lines (size, PSNR, butteraugli) for
# each: scored against the frames shown at the GIF frames' times (ffmpeg's fps
# filter rounding up: at 30 frames a second, every third frame from the first),
# and against those ffmpeg's fps filter picks by default (rounding to the
# nearest: the frame after each of those, 33 ms later), which its own GIF shows.
#   bench/video-vs-ffmpeg.sh [CLI] [WORK]
# CLI defaults to build/bin/gifmaker-cli, WORK to /tmp/gifmaker-video-bench.
# The clip is a slow zoom into a photograph (the first picture of the peer
# benchmark's "big" set when it has been made, else ffmpeg's testsrc2).
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
cli=${1:-$root/build/bin/gifmaker-cli}
work=${2:-/tmp/gifmaker-video-bench}
photo=/tmp/gifbench-corpus/big/000.png
mkdir -p "$work"
cd "$work"

if [ ! -f clip.mp4 ]; then
  if [ -f "$photo" ]; then
    source="-loop 1 -framerate 30 -i $photo"
    zoom="zoompan=z='1+0.002*on':x='iw/2-(iw/zoom/2)':y='ih/2-(ih/zoom/2)':d=1:s=1920x1080:fps=30"
  else
    source="-f lavfi -i testsrc2=size=1920x1080:rate=30"
    zoom=null
  fi
  # shellcheck disable=SC2086
  ffmpeg -nostdin -v error -y $source -vf "$zoom" -t 10 -c:v libx264 -crf 20 -pix_fmt yuv420p clip.mp4
fi
if [ ! -d reference ]; then
  mkdir reference
  ffmpeg -nostdin -v error -i clip.mp4 -vf fps=10,scale=480:270:flags=lanczos reference/%04d.png
fi
if [ ! -d at-times ]; then
  mkdir at-times
  ffmpeg -nostdin -v error -i clip.mp4 -vf fps=10:round=up,scale=480:270:flags=lanczos at-times/%04d.png
fi

run() {
  name=$1; shift
  /usr/bin/time -f "%e %M %U %S" -o "$name.time" "$@"
  set -- $(cat "$name.time")
  printf '%s\twall %s s\tcpu %s s\tpeak %s MB\n' "$name" "$1" "$(echo "$3 + $4" | bc)" "$(($2 / 1024))"
  printf '  at the times\t'
  /usr/bin/python3 "$root/../shared/bench/psnr.py" at-times "$name.gif"
  printf '  fps default\t'
  /usr/bin/python3 "$root/../shared/bench/psnr.py" reference "$name.gif"
}

run ours "$cli" --fps 10 -s 480x270 -o ours.gif clip.mp4
run ffmpeg ffmpeg -nostdin -v error -y -i clip.mp4 \
  -vf "fps=10,scale=480:270:flags=lanczos,split[a][b];[a]palettegen[p];[b][p]paletteuse" ffmpeg.gif
