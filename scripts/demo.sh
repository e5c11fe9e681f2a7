#!/usr/bin/env bash
# The demo: installs what is missing, builds the viewer and slideshow-pack, appends the demo
# collection (demo/pictures) to a copy of the viewer, and runs it. With no display it runs the
# copy under Xvfb instead, takes a short tour (Comments, Thumbnails, an item, its details,
# About) and saves each screen as a PNG file.
#   scripts/demo.sh            run the demo (the tour when there is no display)
#   scripts/demo.sh --tour     the tour even with a display
# BUILD_DIR picks the build folder (default build); SHOTS_DIR where the tour's PNGs go.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
build="${BUILD_DIR:-build}"
cmake -S . -B "$build" -G Ninja >/dev/null
cmake --build "$build" --target slideshow slideshow-pack
demo="$build/slideshow-demo"
"$build/tools/slideshow-pack" build demo/pictures -o "$demo" --viewer "$build/app/slideshow"

if [ "${1:-}" != "--tour" ] && { [ -n "${WAYLAND_DISPLAY:-}" ] ||
   { [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; }; }; then
  echo "demo: running $demo (Escape or EXIT ends it)"
  exec "$demo"
fi

shots="$(realpath -m "${SHOTS_DIR:-$build/demo-tour}")"
mkdir -p "$shots"
xvfb_pid="" app_pid=""
number_file="$(mktemp)"
cleanup() {
  [ -n "$app_pid" ] && kill "$app_pid" 2>/dev/null || true
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null || true
  [ -n "$xvfb_pid" ] && wait "$xvfb_pid" 2>/dev/null || true
  rm -f "$number_file"
}
trap cleanup EXIT

pixel() { import -window root -crop "1x1+$1+$2" -depth 8 txt:- | grep -o '#[0-9A-Fa-f]\{6\}' | head -1; }
shot() {  # shot NAME: waits for the screen to settle, then saves it
  sleep 1
  import -window root "$shots/$prefix$1.png"
  echo "demo: saved $shots/$prefix$1.png"
}
# The frame's layout pixel v begins at screen pixel (v * q + 2) / 4: q quarters of a pixel
# each, as the viewer chooses them for the screen (4 below 1200 x 900).
at() { echo $(( ($1 * q + 2) / 4 )); }
click() { xdotool mousemove "$(at "$1")" "$(at "$2")" click 1; }

# tour WIDTH HEIGHT PREFIX: the tour on a screen of that size, its PNG files named PREFIX...
tour() {
  local w=$1 h=$2
  prefix=$3
  : >"$number_file"
  Xvfb -displayfd 3 -screen 0 "${w}x${h}x24" -nolisten tcp 3>"$number_file" >/dev/null 2>&1 &
  xvfb_pid=$!
  for _ in $(seq 1 100); do [ -s "$number_file" ] && break; sleep 0.05; done
  [ -s "$number_file" ] || { echo "demo: Xvfb did not start" >&2; exit 1; }
  export DISPLAY=":$(head -1 "$number_file")"
  q=$(( 4 * w / 800 < 4 * h / 600 ? 4 * w / 800 : 4 * h / 600 ))
  [ "$q" -ge 6 ] || q=4
  # The frame of 800 x 600 sits in the middle of the screen, counted in layout pixels.
  local L=$(( ((4 * (w - 1) + 1) / q + 1) / 2 - 400 )) T=$(( ((4 * (h - 1) + 1) / q + 1) / 2 - 300 ))

  env -u SLIDESHOW_SCREEN -u SLIDESHOW_SCALE "$demo" >/dev/null 2>&1 &
  app_pid=$!
  for _ in $(seq 1 100); do
    [ "$(pixel "$(at $((L + 400)))" "$(at $((T + 550)))")" = "#333333" ] && break
    kill -0 "$app_pid" 2>/dev/null || { echo "demo: the viewer ended at start" >&2; exit 1; }
    sleep 0.1
  done
  shot 01-comments
  click $((L + 148)) $((T + 576))          # NEXT: the thumbnails
  shot 02-thumbnails
  click $((L + 130)) $((T + 68 + 125))     # the first thumbnail: its picture
  shot 03-item
  click $((L + 554)) $((T + 576))          # the DETAILS tab
  shot 04-details
  click $((L + 705)) $((T + 576))          # ABOUT
  shot 05-about
  xdotool mousemove 5 5 click 1            # closes the About box
  xdotool key Escape
  wait "$app_pid" 2>/dev/null || true
  app_pid=""
  kill "$xvfb_pid" 2>/dev/null || true
  wait "$xvfb_pid" 2>/dev/null || true
  xvfb_pid=""
}

tour 1024 768 ""
# Large screens: the frame drawn 1.75 and 3.5 times larger.
tour 1920 1080 1920x1080-
tour 3840 2160 3840x2160-
echo "demo: the tour's screenshots are in $shots"
