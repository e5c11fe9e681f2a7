#!/usr/bin/env bash
# Times the real viewer as a user meets it, on the display it runs on: NEXT from the Comments
# view to a painted thumbnails page of 12-megapixel pictures, NEXT in the image view to the next
# painted 12-megapixel picture at once, and again after a pause of a second (its picture decoded
# ahead meanwhile), each beside djpeg's decode of one of the pictures in the same run. The screen
# is polled with ImageMagick, so each figure is good to about the time one screen read takes
# (printed as the resolution).
#   time_viewer.sh VIEWER SLIDESHOW-PACK [RUNS]
#   SLIDESHOW_E2E_RUNNER=wine time_viewer.sh slideshow.exe SLIDESHOW-PACK   (under Wine)
set -euo pipefail
viewer="$1"
pack="$2"
runs="${3:-3}"
read -r -a runner <<<"${SLIDESHOW_E2E_RUNNER:-}"
work="$(mktemp -d)"
app_pid=""
cleanup() {
  [ -n "$app_pid" ] && kill "$app_pid" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT

now_ms() { date +%s%3N; }
pixel() {
  import -window root -crop "1x1+$1+$2" -depth 8 txt:- |
    sed -n 's/.*(\([0-9]*\),\([0-9]*\),\([0-9]*\).*/\1 \2 \3/p' | head -1
}
wait_pixel() { # X Y "R G B": waits (up to 60 s) until the pixel is that colour, give or take 8
  local r g b er eg eb
  read -r er eg eb <<<"$3"
  for _ in $(seq 1 600); do
    read -r r g b <<<"$(pixel "$1" "$2")"
    if [ -n "${r:-}" ] && (( r - er <= 8 && er - r <= 8 && g - eg <= 8 && eg - g <= 8 && b - eb <= 8 && eb - b <= 8 )); then
      return 0
    fi
    sleep 0.02
  done
  echo "time_viewer: pixel ($1,$2) never became ($3)" >&2
  exit 1
}

colours=("200 50 20" "20 160 60" "40 60 200" "220 200 40" "150 30 160" "30 180 190" "240 120 0" "90 90 90")
mkdir "$work/pictures"
for i in "${!colours[@]}"; do
  read -r r g b <<<"${colours[$i]}"
  convert -size 4000x3000 "xc:rgb($r,$g,$b)" -fill magenta -draw "rectangle 0,0 3999,299" \
    -quality 90 "$work/pictures/$(printf '%02d' "$i").jpg"
done
"$pack" build "$work/pictures" -o "$work/viewer" --viewer "$viewer" >/dev/null
collection="$work/viewer"
[ -f "$collection.exe" ] && collection="$collection.exe"

read -r sw sh < <(xdpyinfo | awk '/dimensions:/ { split($2, d, "x"); print d[1], d[2] }')
L=$(( sw / 2 - 400 )); T=$(( sh / 2 - 300 ))

probe_start=$(now_ms); pixel 0 0 >/dev/null; resolution=$(( $(now_ms) - probe_start ))

for run in $(seq 1 "$runs"); do
  env -u SLIDESHOW_SCREEN "${runner[@]}" "$collection" >/dev/null 2>&1 &
  app_pid=$!
  wait_pixel $(( L + 400 )) $(( T + 550 )) "51 51 51"
  # NEXT: the thumbnails page, timed to its last cell (picture 7, bottom right).
  start=$(now_ms)
  xdotool mousemove $(( L + 113 + 35 )) $(( T + 566 + 10 )) click 1
  wait_pixel $(( L + 230 + 80 )) $(( T + 68 + 25 + 100 )) "${colours[1]}"
  wait_pixel $(( L + 590 + 80 )) $(( T + 68 + 235 + 100 )) "${colours[7]}"
  thumbs=$(( $(now_ms) - start ))
  # A thumbnail opens picture 1; NEXT shows picture 2.
  xdotool mousemove $(( L + 230 + 80 )) $(( T + 68 + 25 + 100 )) click 1
  wait_pixel $(( L + 400 )) $(( T + 68 + 237 )) "${colours[1]}"
  start=$(now_ms)
  xdotool mousemove $(( L + 113 + 35 )) $(( T + 566 + 10 )) click 1
  wait_pixel $(( L + 400 )) $(( T + 68 + 237 )) "${colours[2]}"
  next=$(( $(now_ms) - start ))
  sleep 1
  start=$(now_ms)
  xdotool mousemove $(( L + 113 + 35 )) $(( T + 566 + 10 )) click 1
  wait_pixel $(( L + 400 )) $(( T + 68 + 237 )) "${colours[3]}"
  paused=$(( $(now_ms) - start ))
  start=$(now_ms)
  djpeg "$work/pictures/02.jpg" >/dev/null
  djpeg_ms=$(( $(now_ms) - start ))
  echo "run $run: thumbnails page $thumbs ms, NEXT $next ms, NEXT after 1 s $paused ms," \
    "djpeg of one picture $djpeg_ms ms (screen read ${resolution} ms)"
  xdotool key Escape
  wait "$app_pid" || true
  app_pid=""
done
