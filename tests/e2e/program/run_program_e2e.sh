#!/usr/bin/env bash
# The viewer as a person uses it: a collection of flat-coloured pictures is appended with
# slideshow-pack, the program runs full screen, xdotool clicks NEXT, a thumbnail and ABOUT,
# ImageMagick reads the screen back, and Escape ends the program with no file left behind.
#   private_display.sh run_program_e2e.sh path/to/slideshow path/to/slideshow-pack
# The Windows viewer runs the same way under Wine:
#   SLIDESHOW_E2E_RUNNER=wine SLIDESHOW_E2E_TEMP=<the prefix's temporary folder> \
#     run_program_e2e.sh path/to/slideshow.exe path/to/slideshow-pack
set -euo pipefail
viewer="$1"
pack="$2"
read -r -a runner <<<"${SLIDESHOW_E2E_RUNNER:-}"
. "$(dirname "$0")/../pixel_probes.sh"
require_display xdotool import convert xdpyinfo

viewer_scratch program

# Ten pictures of distinct colours, 320 x 240: they shrink to 160 x 120 in a thumbnail. Each
# has a magenta band along its top and a cyan one down its left side, so a picture shown
# flipped or mirrored fails.
colours=("200 50 20" "20 160 60" "40 60 200" "220 200 40" "150 30 160" "30 180 190" "240 120 0" "90 90 90" "250 250 250" "120 200 120")
top_band="255 0 255" left_band="0 255 255"
mkdir "$work/pictures" "$work/tmp"
for i in "${!colours[@]}"; do
  read -r r g b <<<"${colours[$i]}"
  convert -size 320x240 "xc:rgb($r,$g,$b)" -fill "rgb(${top_band// /,})" -draw "rectangle 0,0 319,39" \
    -fill "rgb(${left_band// /,})" -draw "rectangle 0,40 39,239" \
    -quality 95 "$work/pictures/$(printf '%02d' "$i")-colour.jpg"
done
"$pack" build "$work/pictures" -o "$work/viewer" --viewer "$viewer" >/dev/null || fail "slideshow-pack"
collection="$work/viewer"
[ -f "$collection.exe" ] && collection="$collection.exe"
# Where the program's temporary files go: TMPDIR on Linux, Wine's own folder for Windows.
temp="${SLIDESHOW_E2E_TEMP:-$work/tmp}"
temp_before="$(LC_ALL=C ls -A "$temp")"

read -r sw sh < <(xdpyinfo | awk '/dimensions:/ { split($2, d, "x"); print d[1], d[2] }')
L=$(( sw / 2 - 400 )); T=$(( sh / 2 - 300 ))
TMPDIR="$work/tmp" env -u SLIDESHOW_SCREEN "${runner[@]}" "$collection" >"$work/out" 2>&1 &
app_pid=$!

# Start: the Comments view between the two grey lines.
expect_pixel $(( L + 400 )) $(( T + 50 )) "51 51 51" "the header line"
expect_pixel $(( L + 400 )) $(( T + 550 )) "51 51 51" "the bottom line"

# NEXT: the thumbnails, picture 1 in the middle of cell 1.
xdotool mousemove $(( L + 113 + 35 )) $(( T + 566 + 10 )) click 1
expect_pixel $(( L + 230 + 80 )) $(( T + 68 + 25 + 100 )) "${colours[1]}" "thumbnail of picture 1"
expect_pixel $(( L + 50 + 80 )) $(( T + 68 + 235 + 100 )) "${colours[4]}" "thumbnail of picture 4"

# A click on thumbnail 1: its picture alone, centred in the view area.
xdotool mousemove $(( L + 230 + 80 )) $(( T + 68 + 25 + 100 )) click 1
expect_pixel $(( L + 400 )) $(( T + 68 + 237 )) "${colours[1]}" "picture 1 in the image view"
expect_pixel $(( L + 400 - 170 )) $(( T + 68 + 237 )) "0 0 0" "left of picture 1"
expect_pixel $(( L + 400 )) $(( T + 68 + 237 - 105 )) "$top_band" "top band of picture 1"
expect_pixel $(( L + 400 - 150 )) $(( T + 68 + 237 )) "$left_band" "left band of picture 1"

# ABOUT darkens every pixel whose x + y is even.
x=$(( L + 401 )); y=$(( T + 50 )); [ $(( (x + y) % 2 )) -eq 0 ] || x=$(( x + 1 ))
xdotool mousemove $(( L + 800 - 120 + 25 )) $(( T + 566 + 10 )) click 1
expect_pixel "$x" "$y" "10 10 10" "darkened header line"
expect_pixel $(( x + 1 )) "$y" "51 51 51" "untouched header line"
# A click closes the About box and the darkening goes.
xdotool mousemove 5 5 click 1
expect_pixel "$x" "$y" "51 51 51" "header line after the About box"

# Escape ends the program; its picture files go with it.
xdotool key Escape
for _ in $(seq 1 50); do kill -0 "$app_pid" 2>/dev/null || break; sleep 0.1; done
kill -0 "$app_pid" 2>/dev/null && fail "Escape did not end the program"
wait "$app_pid" || fail "the program ended with status $?"
app_pid=""
leftover="$(LC_ALL=C comm -13 <(echo "$temp_before") <(LC_ALL=C ls -A "$temp"))"
[ -z "$leftover" ] || fail "temporary files left: $leftover"
echo "e2e program: start, NEXT, thumbnail, ABOUT and Escape passed"
