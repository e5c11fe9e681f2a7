#!/usr/bin/env bash
# Pictures show as they were taken: an upright JPEG, one whose camera stored it turned (EXIF
# orientation 6), a PNG, and a JPEG stored upside down whose size is off the JPEG block grid
# (orientation 3, re-encoded) are packed with slideshow-pack and shown by the real viewer. Each
# picture has a red band along its top and a yellow band down its left side on blue, so a flip,
# a mirror or a wrong turn shows in the thumbnails and in the image view.
#   private_display.sh run_orientation_e2e.sh path/to/slideshow path/to/slideshow-pack
set -euo pipefail
viewer="$1"
pack="$2"
. "$(dirname "$0")/../pixel_probes.sh"
require_display xdotool import convert xdpyinfo

viewer_scratch orientation
pixel_tolerance=24  # JPEG re-encoding and chroma subsampling blur the bands

red="200 50 20" yellow="220 200 40" blue="40 60 200"
# The upright picture, W x H: a red band over the top quarter, a yellow band down the left
# quarter of the rest, blue elsewhere.
upright() {  # upright W H FILE
  convert -size "$1x$2" "xc:rgb($blue)" \
    -fill "rgb($red)" -draw "rectangle 0,0 $(( $1 - 1 )),$(( $2 / 4 - 1 ))" \
    -fill "rgb($yellow)" -draw "rectangle 0,$(( $2 / 4 )) $(( $1 / 4 - 1 )),$(( $2 - 1 ))" \
    -quality 95 "$3"
}
# A JPEG with a big-endian EXIF block that holds only the orientation, after its start marker.
with_orientation() {  # with_orientation N IN OUT
  { head -c 2 "$2"
    printf '\xff\xe1\x00\x22Exif\x00\x00MM\x00\x2a\x00\x00\x00\x08\x00\x01\x01\x12\x00\x03\x00\x00\x00\x01\x00'
    printf "\\x0$1"
    printf '\x00\x00\x00\x00\x00\x00'
    tail -c +3 "$2"; } >"$3"
}

mkdir "$work/pictures" "$work/tmp"
upright 320 240 "$work/pictures/1-upright.jpg"
upright 320 240 "$work/turned.png"
convert "$work/turned.png" -rotate -90 -quality 95 "$work/turned.jpg"   # the camera's pixels
with_orientation 6 "$work/turned.jpg" "$work/pictures/2-turned.jpg"
upright 320 240 "$work/pictures/3-drawn.png"
upright 318 237 "$work/odd.png"
convert "$work/odd.png" -rotate 180 -sampling-factor 2x2 -quality 95 "$work/odd.jpg"
with_orientation 3 "$work/odd.jpg" "$work/pictures/4-odd.jpg"
"$pack" build "$work/pictures" -o "$work/viewer" --viewer "$viewer" >"$work/build.txt" ||
  fail "slideshow-pack: $(cat "$work/build.txt")"
grep -q "4 items with 4 pictures" "$work/build.txt" && grep -q "  1 picture re-encoded" "$work/build.txt" ||
  fail "build said: $(cat "$work/build.txt")"

read -r sw sh < <(xdpyinfo | awk '/dimensions:/ { split($2, d, "x"); print d[1], d[2] }')
L=$(( sw / 2 - 400 )); T=$(( sh / 2 - 300 ))
TMPDIR="$work/tmp" env -u SLIDESHOW_SCREEN "$work/viewer" >"$work/out" 2>&1 &
app_pid=$!
expect_pixel $(( L + 400 )) $(( T + 550 )) "51 51 51" "the bottom line"

# NEXT: the thumbnails, four to a row; each picture shrinks to 160 x 120 around its cell's
# middle. Red above, yellow at the lower left, blue at the lower right.
xdotool mousemove $(( L + 113 + 35 )) $(( T + 566 + 10 )) click 1
cells=("130 193" "310 193" "490 193" "670 193")
for i in 0 1 2 3; do
  read -r cx cy <<<"${cells[$i]}"
  expect_pixel $(( L + cx )) $(( T + cy - 45 )) "$red" "top of thumbnail $(( i + 1 ))"
  expect_pixel $(( L + cx - 65 )) $(( T + cy + 40 )) "$yellow" "lower left of thumbnail $(( i + 1 ))"
  expect_pixel $(( L + cx + 60 )) $(( T + cy + 40 )) "$blue" "lower right of thumbnail $(( i + 1 ))"
done

# Each picture in the image view, at full size around the view's middle; NEXT walks on.
xdotool mousemove $(( L + 130 )) $(( T + 193 )) click 1
for i in 0 1 2 3; do
  expect_pixel $(( L + 400 )) $(( T + 305 - 100 )) "$red" "top of picture $(( i + 1 ))"
  expect_pixel $(( L + 400 - 140 )) $(( T + 305 + 80 )) "$yellow" "lower left of picture $(( i + 1 ))"
  expect_pixel $(( L + 400 + 100 )) $(( T + 305 + 80 )) "$blue" "lower right of picture $(( i + 1 ))"
  [ "$i" -lt 3 ] && xdotool mousemove $(( L + 113 + 35 )) $(( T + 566 + 10 )) click 1
done

xdotool key Escape
for _ in $(seq 1 50); do kill -0 "$app_pid" 2>/dev/null || break; sleep 0.1; done
kill -0 "$app_pid" 2>/dev/null && fail "Escape did not end the program"
wait "$app_pid" || fail "the program ended with status $?"
app_pid=""
echo "e2e orientation: upright, EXIF-turned, PNG and re-encoded pictures all show upright"
