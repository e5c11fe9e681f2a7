#!/usr/bin/env bash
# The viewer on a 1920 x 1080 screen: the frame drawn 1.75 times larger, its lines, thumbnails
# and picture where the scale puts them, clicks taken at the screen's own pixels; then
# SLIDESHOW_SCALE=1 keeps the frame at its own size in the middle of the screen.
#   PRIVATE_SCREEN=1920x1080 private_display.sh run_scale_e2e.sh path/to/slideshow path/to/slideshow-pack
set -euo pipefail
viewer="$1"
pack="$2"
. "$(dirname "$0")/../pixel_probes.sh"
require_display xdotool import convert xdpyinfo
read -r sw sh < <(xdpyinfo | awk '/dimensions:/ { split($2, d, "x"); print d[1], d[2] }')
[ "$sw" = 1920 ] && [ "$sh" = 1080 ] || { echo "skipped: the screen is ${sw}x$sh, not 1920x1080"; exit 77; }

viewer_scratch scale

# Three pictures of distinct colours, 320 x 240, with a magenta band along the top and a cyan
# one down the left side.
colours=("200 50 20" "20 160 60" "40 60 200")
top_band="255 0 255" left_band="0 255 255"
mkdir "$work/pictures"
for i in "${!colours[@]}"; do
  read -r r g b <<<"${colours[$i]}"
  convert -size 320x240 "xc:rgb($r,$g,$b)" -fill "rgb(${top_band// /,})" -draw "rectangle 0,0 319,39" \
    -fill "rgb(${left_band// /,})" -draw "rectangle 0,40 39,239" \
    -quality 95 "$work/pictures/$(printf '%02d' "$i")-colour.jpg"
done
"$pack" build "$work/pictures" -o "$work/viewer" --viewer "$viewer" >/dev/null || fail "slideshow-pack"

# 1920 / 800 and 1080 / 600 allow 1.75: seven quarters. The windows see a screen of 1097 x 617
# layout pixels; layout pixel v begins at device pixel (7v + 2) / 4.
q=7
lw=$(( (4 * (sw - 1) + 1) / q + 1 )); lh=$(( (4 * (sh - 1) + 1) / q + 1 ))
L=$(( lw / 2 - 400 )); T=$(( lh / 2 - 300 ))
d() { echo $(( ($1 * q + 2) / 4 )); }

TMPDIR="$work" env -u SLIDESHOW_SCREEN -u SLIDESHOW_SCALE "$work/viewer" >"$work/out" 2>&1 &
app_pid=$!

# The header line: two device rows, black under them.
expect_pixel "$(d $(( L + 400 )))" "$(d $(( T + 50 )))" "51 51 51" "the header line"
expect_pixel "$(d $(( L + 400 )))" $(( $(d $(( T + 50 ))) + 1 )) "51 51 51" "the header line's second row"
expect_pixel "$(d $(( L + 400 )))" $(( $(d $(( T + 50 ))) + 2 )) "0 0 0" "under the header line"
expect_pixel "$(d $(( L + 400 )))" "$(d $(( T + 550 )))" "51 51 51" "the bottom line"

# NEXT, clicked at the device pixels of its middle: the thumbnails.
xdotool mousemove "$(d $(( L + 113 + 35 )))" "$(d $(( T + 566 + 10 )))" click 1
expect_pixel "$(d $(( L + 230 + 80 )))" "$(d $(( T + 68 + 25 + 100 )))" "${colours[1]}" "thumbnail of picture 1"

# Thumbnail 1: its picture alone, bands on the left and at the top, black beside it.
xdotool mousemove "$(d $(( L + 230 + 80 )))" "$(d $(( T + 68 + 25 + 100 )))" click 1
expect_pixel "$(d $(( L + 400 )))" "$(d $(( T + 68 + 237 )))" "${colours[1]}" "picture 1 in the image view"
expect_pixel "$(d $(( L + 400 - 170 )))" "$(d $(( T + 68 + 237 )))" "0 0 0" "left of picture 1"
expect_pixel "$(d $(( L + 400 )))" "$(d $(( T + 68 + 237 - 105 )))" "$top_band" "top band of picture 1"
expect_pixel "$(d $(( L + 400 - 150 )))" "$(d $(( T + 68 + 237 )))" "$left_band" "left band of picture 1"
expect_pixel "$(d $(( L + 400 - 150 )))" "$(d $(( T + 68 + 237 + 105 )))" "$left_band" "left band, bottom"

xdotool key Escape
for _ in $(seq 1 50); do kill -0 "$app_pid" 2>/dev/null || break; sleep 0.1; done
kill -0 "$app_pid" 2>/dev/null && fail "Escape did not end the program"
wait "$app_pid" || fail "the program ended with status $?"
app_pid=""

# SLIDESHOW_SCALE=1: the frame at its own size in the middle of the screen.
L=$(( sw / 2 - 400 )); T=$(( sh / 2 - 300 ))
TMPDIR="$work" SLIDESHOW_SCALE=1 env -u SLIDESHOW_SCREEN "$work/viewer" >"$work/out" 2>&1 &
app_pid=$!
expect_pixel $(( L + 400 )) $(( T + 50 )) "51 51 51" "the header line at a scale of 1"
expect_pixel $(( L + 400 )) $(( T + 51 )) "0 0 0" "under the header line at a scale of 1"
xdotool key Escape
for _ in $(seq 1 50); do kill -0 "$app_pid" 2>/dev/null || break; sleep 0.1; done
kill -0 "$app_pid" 2>/dev/null && fail "Escape did not end the program"
wait "$app_pid" || fail "the program ended with status $?"
app_pid=""
echo "e2e scale: lines, NEXT, a thumbnail and the picture at 1.75; SLIDESHOW_SCALE=1 passed"
