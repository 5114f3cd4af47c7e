#!/bin/sh
# Extracts every translatable text of the program into Language/language.pot,
# or into the file named by the first argument. Texts of the source code are
# marked with _(), wxGetTranslation, wxPLURAL, wxTRANSLATE or MenuLabel (the
# menu builder translates its first argument); XRC labels are translated by the
# toolkit when a layout is loaded, so they are extracted too.
#
# After a run, bring the catalogs up to date with
#   for po in Language/*.po; do msgmerge --update --backup=none "$po" Language/language.pot; done
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
out=${1:-$root/Language/language.pot}
case $out in /*) ;; *) out=$(pwd)/$out ;; esac
version=$(sed -n 's/^project([A-Za-z]* VERSION \([0-9.]*\).*/\1/p' "$root/CMakeLists.txt")

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT INT TERM

options="--language=C++ --from-code=UTF-8 --add-comments=TRANSLATORS
  -k_ -kwxGetTranslation -kwxPLURAL:1,2 -kwxTRANSLATE -kMenuLabel:1
  --package-name=gifmaker --package-version=$version
  --msgid-bugs-address=https://brackwell.example/gifmaker/support
  --copyright-holder=Brackwell --foreign-user"

cd "$root"
find app frame src include -name '*.cpp' -o -name '*.h' | LC_ALL=C sort > "$work/sources"
# shellcheck disable=SC2086
xgettext $options --files-from="$work/sources" --output="$out"

# wxrc writes each label as _("...") after a #line marker; putting every label
# on its own line number of a copy named like the layout keeps the references
# pointing into the real XRC file. Web addresses are not text to translate.
for xrc in Themes/*.xrc; do
  [ -f "$xrc" ] || continue
  mkdir -p "$work/$(dirname "$xrc")"
  wxrc --gettext "$xrc" | awk '
    /^#line / { target = $2; next }
    /^_\("https?:/ { next }
    { while (line < target - 1) { print ""; line++ } print; line++ }
  ' > "$work/$xrc"
  # shellcheck disable=SC2086
  (cd "$work" && xgettext $options --join-existing --output="$out" "$xrc")
done
