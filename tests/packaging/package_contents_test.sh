#!/usr/bin/env bash
# The Debian package's control fields and files, and its unpacked tree as the software
# centre reads it (appstreamcli validate-tree).
#   package_contents_test.sh <deb> <version> <app id> <homepage> <screenshot url> <screenshot dir> <icon size>...
set -uo pipefail
deb=$1 version=$2 id=$3 homepage=$4 screenshot_url=$5 screenshot_dir=$6
shift 6
icon_sizes=("$@")

failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT
dpkg-deb -x "$deb" "$root" || { echo "FAIL: cannot unpack $deb"; exit 1; }

# Control fields: field|expected value (a leading ~ means "matches this extended regex").
field_checks=(
  "Package|tuvrel"
  "Version|$version"
  "Architecture|$(dpkg --print-architecture)"
  "Section|games"
  "Homepage|$homepage"
  "Maintainer|~<[^@>]+@tuvrel\\.example>$"
  "Depends|~(^|, )libqt6widgets6( |,|$)"
  "Installed-Size|~^[0-9]+$"
)
for check in "${field_checks[@]}"; do
  name=${check%%|*} expected=${check#*|}
  actual=$(dpkg-deb -f "$deb" "$name")
  if [[ $expected == ~* ]]; then
    [[ $actual =~ ${expected#\~} ]] || fail "$name is '$actual', expected to match ${expected#\~}"
  else
    [[ $actual == "$expected" ]] || fail "$name is '$actual', expected '$expected'"
  fi
done
# The picture tools' libraries are for the build only; the program decodes with Qt.
depends=$(dpkg-deb -f "$deb" Depends)
for build_only in librsvg libcairo libgif libjpeg libpng; do
  [[ $depends == *"$build_only"* ]] && fail "Depends names the build-time library $build_only: $depends"
done

# A program that links Qt's text-to-speech recommends the engine behind it and its Dutch voice.
if [[ $depends == *libqt6texttospeech6* ]]; then
  recommends=$(dpkg-deb -f "$deb" Recommends)
  for engine in qt6-speech-speechd-plugin speech-dispatcher speech-dispatcher-espeak-ng; do
    [[ $recommends =~ (^|, )$engine(,|$) ]] || fail "Recommends lacks $engine: '$recommends'"
  done
fi

# Files: path|what `file` says of it.
file_checks=(
  "usr/games/tuvrel|ELF 64-bit LSB pie executable"
  "usr/share/applications/$id.desktop|text"
  "usr/share/metainfo/$id.metainfo.xml|XML"
  "usr/share/icons/hicolor/scalable/apps/$id.svg|SVG Scalable Vector Graphics image"
  "usr/share/man/man6/tuvrel.6.gz|gzip compressed data, max compression"
  "usr/share/doc/tuvrel/copyright|text"
  "usr/share/doc/tuvrel/changelog.gz|gzip compressed data, max compression"
)
for size in "${icon_sizes[@]}"; do
  file_checks+=("usr/share/icons/hicolor/${size}x${size}/apps/$id.png|PNG image data, $size x $size,")
done
for check in "${file_checks[@]}"; do
  path=${check%%|*} expected=${check#*|}
  if [[ ! -f $root/$path ]]; then
    fail "$path is missing"
  else
    description=$(file -b "$root/$path")
    [[ $description == *"$expected"* ]] || fail "$path is '$description', expected '$expected'"
  fi
done
[[ -x $root/usr/games/tuvrel ]] || fail "usr/games/tuvrel is not executable"
zcat "$root/usr/share/doc/tuvrel/changelog.gz" | head -n 1 | grep -q "^tuvrel ($version) " ||
  fail "the changelog does not start with $version"

# Every screenshot the metadata names was drawn by the build, to be published at its URL.
metainfo=$root/usr/share/metainfo/$id.metainfo.xml
screenshots=$(grep -o "<image>[^<]*</image>" "$metainfo" | sed -e 's|<image>||' -e 's|</image>||')
[[ $(wc -l <<<"$screenshots") -ge 3 ]] || fail "fewer than three screenshots in the metadata"
while read -r url; do
  [[ $url == "$screenshot_url"* ]] || fail "screenshot $url is not under $screenshot_url"
  [[ -s $screenshot_dir/${url#"$screenshot_url"} ]] || fail "screenshot $url was not drawn into $screenshot_dir"
done <<<"$screenshots"

# The installed tree as a software centre sees it: the metadata with its desktop entry and icons.
if ! report=$(appstreamcli validate-tree --no-net --explain "$root" 2>&1) ||
    grep -qE "^[[:space:]]*(E|W):" <<<"$report"; then
  fail "appstreamcli validate-tree:"
  echo "$report"
fi

if [[ $failures -gt 0 ]]; then
  echo "$failures failed"
  exit 1
fi
echo "package contents as expected: $deb"
