#!/bin/sh
# Builds the Debian package from a built tree and checks what a user gets:
# its name and control fields, every installed file and link, programs that
# run from the installed layout, and the verdicts of lintian,
# desktop-file-validate, appstreamcli and update-mime-database.
#   tests/package/check-deb.sh BUILD_DIR VERSION
set -eu
build=$1
version=$2
arch=$(dpkg --print-architecture)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT INT TERM
failures=0
fail() {
  echo "FAIL: $*" >&2
  failures=$((failures + 1))
}

cpack --config "$build/CPackConfig.cmake" -B "$work/out" -G DEB > "$work/cpack.log" 2>&1 ||
  { cat "$work/cpack.log" >&2; exit 1; }
deb=$work/out/brackwell-gifmaker_${version}_${arch}.deb
[ -f "$deb" ] || { ls "$work/out" >&2; echo "FAIL: no $(basename "$deb")" >&2; exit 1; }

# Control fields; the libraries come from dpkg-shlibdeps.
field() { dpkg-deb -f "$deb" "$1"; }
[ "$(field Package)" = brackwell-gifmaker ] || fail "Package: $(field Package)"
[ "$(field Version)" = "$version" ] || fail "Version: $(field Version)"
[ "$(field Architecture)" = "$arch" ] || fail "Architecture: $(field Architecture)"
[ "$(field Section)" = graphics ] || fail "Section: $(field Section)"
for library in libc6 libwxgtk3.2-1 libwxbase3.2-1 libimagequant0 libgif7 libcurl4 libexpat1 libavcodec59; do
  field Depends | tr ',' '\n' | grep -q "^ *$library " || fail "Depends lacks $library: $(field Depends)"
done

# Every file and link, nothing more: the private folder that the program's
# resource rule reads, links into the PATH, and the desktop's files.
dpkg-deb -c "$deb" | awk '$1 !~ /^d/ { sub(/^\.\//, "", $6); print $6 ($7 == "->" ? " -> " $8 : "") }' |
  LC_ALL=C sort > "$work/files"
private=usr/lib/brackwell-gifmaker
{
  echo "usr/bin/gifmaker -> ../lib/brackwell-gifmaker/bin/gifmaker"
  echo "usr/bin/gifmaker-cli -> ../lib/brackwell-gifmaker/bin/gifmaker-cli"
  for lang in de fr it ja zh_CN zh_TW; do echo "$private/Language/$lang/language.mo"; done
  for file in application.ico delete.png gifmaker.xrc insert.png logo.png play.png stop.png; do
    echo "$private/Themes/$file"
  done
  echo "$private/bin/gifmaker"
  echo "$private/bin/gifmaker-cli"
  echo "$private/lib/gifmaker-ffmpeg.so"
  echo "$private/option.cfg"
  echo "usr/share/applications/brackwell-gifmaker.desktop"
  echo "usr/share/doc/brackwell-gifmaker/changelog.gz"
  echo "usr/share/doc/brackwell-gifmaker/copyright"
  for size in 16x16 32x32 48x48 64x64; do echo "usr/share/icons/hicolor/$size/apps/brackwell-gifmaker.png"; done
  echo "usr/share/man/man1/gifmaker-cli.1.gz"
  echo "usr/share/man/man1/gifmaker.1.gz"
  echo "usr/share/metainfo/example.brackwell.gifmaker.metainfo.xml"
  echo "usr/share/mime/packages/brackwell-gifmaker.xml"
} | LC_ALL=C sort > "$work/expected"
diff -u "$work/expected" "$work/files" >&2 || fail "the package's files differ from the list above"

root=$work/root
dpkg-deb -x "$deb" "$root"

# The programs run from the installed layout, reached through their links.
[ "$("$root/usr/bin/gifmaker" --version)" = "gifmaker $version" ] || fail "gifmaker --version"
[ "$("$root/usr/bin/gifmaker-cli" --version)" = "gifmaker-cli $version" ] || fail "gifmaker-cli --version"
"$root/usr/bin/gifmaker" --help | grep -q '^Usage: gifmaker' || fail "gifmaker --help"
"$root/usr/bin/gifmaker-cli" -o "$work/out.gif" "$(dirname "$0")/../fuzz/seeds/rgba.png" ||
  fail "gifmaker-cli cannot make a GIF"
head -c 6 "$work/out.gif" 2>/dev/null | grep -q GIF89a || fail "gifmaker-cli wrote no GIF"
"$root/usr/bin/gifmaker-cli" --fps 10 -o "$work/clip.gif" "$(dirname "$0")/../fuzz/video_seeds/h264.mp4" ||
  fail "gifmaker-cli cannot make a GIF of a clip"

share=$root/usr/share
entry=$share/applications/brackwell-gifmaker.desktop
desktop-file-validate "$entry" || fail "desktop-file-validate"
grep -qx 'Exec=/usr/bin/gifmaker %F' "$entry" || fail "Exec line: $(grep ^Exec "$entry")"
for type in image/png image/jpeg image/bmp image/gif application/x-brackwell-gifmaker-project; do
  grep '^MimeType=' "$entry" | tr '=;' '\n\n' | grep -qx "$type" || fail "MimeType lacks $type"
done
appstreamcli validate --no-net "$share/metainfo/example.brackwell.gifmaker.metainfo.xml" > "$work/appstream.log" 2>&1 ||
  { cat "$work/appstream.log" >&2; fail "appstreamcli validate"; }
grep -q "<release version=\"$version\"" "$share/metainfo/example.brackwell.gifmaker.metainfo.xml" ||
  fail "the metainfo names another release"
for page in gifmaker gifmaker-cli; do
  zcat "$share/man/man1/$page.1.gz" | grep -q "^\.TH .*Brackwell GIF Maker $version" || fail "$page.1 names another version"
done

# The project type is what file managers report for a project, and only for it.
mime=$work/mime
mkdir -p "$mime/packages"
cp /usr/share/mime/packages/freedesktop.org.xml "$share/mime/packages/brackwell-gifmaker.xml" "$mime/packages/"
update-mime-database "$mime" > "$work/mime.log" 2>&1 || { cat "$work/mime.log" >&2; fail "update-mime-database"; }
printf '<?xml version="1.0" encoding="UTF-8"?>\n<project>\n  <name>anim.gif</name>\n  <gif>\n    <width>20</width>\n  </gif>\n</project>\n' \
  > "$work/work.xml"
printf '<?xml version="1.0"?>\n<project name="build" default="all">\n  <target name="all"/>\n</project>\n' > "$work/build.xml"
content_type() {
  XDG_DATA_DIRS=$(dirname "$mime") XDG_DATA_HOME=$work/none gio info -a standard::content-type "$1" |
    sed -n 's/^ *standard::content-type: //p'
}
[ "$(content_type "$work/work.xml")" = application/x-brackwell-gifmaker-project ] ||
  fail "a project is $(content_type "$work/work.xml")"
[ "$(content_type "$work/build.xml")" = application/xml ] || fail "other XML is $(content_type "$work/build.xml")"

lintian --fail-on error "$deb" >&2 || fail "lintian reports errors"

[ "$failures" -eq 0 ] || exit 1
echo "$(basename "$deb"): $(wc -l < "$work/files") files checked"
