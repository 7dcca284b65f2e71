#!/usr/bin/env bash
# The Debian package as a user gets it: cpack builds it from this build tree, dpkg-deb unpacks it
# into a temporary root, and the unpacked zelkora-cli, started through its link in usr/bin from
# another folder, finds the unpacked maps on its own and draws a picture.
# Usage: packageTest.sh BUILD_DIR VERSION CPACK
set -euo pipefail
build=$1
version=$2
cpack=$3

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() {
    echo "FAIL: $*" >&2
    exit 1
}

(cd "$build" && "$cpack" -G DEB -B "$work/out" >"$work/cpack.log" 2>&1) ||
    { cat "$work/cpack.log" >&2; fail "cpack did not build the package"; }
deb="$work/out/zelkora_${version}_amd64.deb"
[ -f "$deb" ] || fail "no $(basename "$deb"); cpack made: $(ls "$work/out")"

[ "$(dpkg-deb -f "$deb" Version)" = "$version" ] || fail "package version is not $version"
depends=$(dpkg-deb -f "$deb" Depends)
for lib in libqt6widgets6 libqt6gui6 libqt6svg6 libpng16-16 libjpeg62-turbo libtiff6 fonts-liberation2; do
    [[ "$depends" =~ (^|[ ,])$lib([ ,]|$) ]] || fail "Depends lacks $lib: $depends"
done
# The font the window is laid out for.
[[ ", $depends," == *", fonts-wine,"* ]] || fail "Depends lacks fonts-wine: $depends"

root="$work/root"
dpkg-deb -x "$deb" "$root"
lib="$root/usr/lib/zelkora"
for program in zelkora zelkora-cli; do
    [ "$(readlink "$root/usr/bin/$program")" = "../lib/zelkora/$program" ] ||
        fail "usr/bin/$program is not a link to ../lib/zelkora/$program"
    file -b "$lib/$program" | grep -q ', stripped' || fail "$program is not stripped"
done
for data in maps/Dalniy_Vostok/blank.png maps/Vetnam_HiRes/Reki.png icons/8.png \
    ../../share/icons/hicolor/scalable/apps/zelkora.svg \
    ../../share/icons/hicolor/16x16/apps/zelkora.png \
    ../../share/man/man1/zelkora-cli.1.gz ../../share/doc/zelkora/copyright; do
    [ -s "$lib/$data" ] || fail "the package lacks ${data#../../}"
done
grep -qx 'License: GPL-3+' "$root/usr/share/doc/zelkora/copyright" ||
    fail "the copyright file does not put the program under the GPL, version 3 or later"
zcat "$root/usr/share/doc/zelkora/changelog.gz" | head -n 1 | grep -q "^zelkora ($version) " ||
    fail "the changelog's latest entry is not for $version"
gzip -t "$root/usr/share/man/man1/zelkora-cli.1.gz" "$root/usr/share/man/man1/zelkora.1.gz"

desktop-file-validate "$root/usr/share/applications/zelkora.desktop"
# Tables, and the files of points the window imports; not every text file (text/plain).
mime_types=$(sed -n 's/^MimeType=//p' "$root/usr/share/applications/zelkora.desktop")
for type in application/x-zelkora-points text/csv text/tab-separated-values application/gpx+xml \
    application/vnd.google-earth.kml+xml application/geo+json; do
    [[ ";$mime_types" == *";$type;"* ]] || fail "the desktop entry does not take $type: $mime_types"
done
[[ ";$mime_types" != *";text/plain;"* ]] || fail "the desktop entry takes every text file"
update-mime-database "$root/usr/share/mime" 2>/dev/null
grep -qx 'application/x-zelkora-points:\*\.points' "$root/usr/share/mime/globs" ||
    fail "the mime database built from the package does not know *.points"

# Elsewhere, with no --data: the program folder is the unpacked lib/zelkora, reached through the
# link.
mkdir "$work/elsewhere"
cd "$work/elsewhere"
cli="$root/usr/bin/zelkora-cli"
printf '%s\n' "48.5 135.25" "N 59 34 12 E 150 48 30" >lines.txt
"$cli" import --table t.points --column 0 --from lines.txt
"$cli" render --map 1 --table t.points --size 36 --out map.png
base=$(file -b "$lib/maps/Dalniy_Vostok/blank.png" | grep -o '[0-9]* x [0-9]*')
file -b map.png | grep -q "^PNG image data, $base," ||
    fail "map.png is not a picture of the map's size ($base): $(file -b map.png)"
"$cli" figure --map 1 --table t.points --preset nature-1 --out figure.pdf
file -b figure.pdf | grep -q "^PDF document" || fail "figure.pdf is not a PDF: $(file -b figure.pdf)"

mv "$lib/maps" "$lib/maps-away"
if "$cli" render --map 1 --table t.points --out again.png 2>err.txt; then
    fail "render found a map with the unpacked maps moved away"
fi
grep -qF "$lib/maps/Dalniy_Vostok/blank.png" err.txt ||
    fail "render looked for the map somewhere else: $(cat err.txt)"
[ ! -e again.png ] || fail "a failed render left again.png"
echo "package $(basename "$deb") unpacks and draws"
