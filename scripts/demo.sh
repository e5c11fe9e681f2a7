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
number_file="$(mktemp)"
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$number_file" >/dev/null 2>&1 &
xvfb_pid=$!
app_pid=""
cleanup() {
  [ -n "$app_pid" ] && kill "$app_pid" 2>/dev/null || true
  kill "$xvfb_pid" 2>/dev/null || true
  wait "$xvfb_pid" 2>/dev/null || true
  rm -f "$number_file"
}
trap cleanup EXIT
for _ in $(seq 1 100); do [ -s "$number_file" ] && break; sleep 0.05; done
[ -s "$number_file" ] || { echo "demo: Xvfb did not start" >&2; exit 1; }
export DISPLAY=":$(head -1 "$number_file")"

# The frame of 800 x 600 sits in the middle of the 1024 x 768 screen.
L=112 T=84
pixel() { import -window root -crop "1x1+$1+$2" -depth 8 txt:- | grep -o '#[0-9A-Fa-f]\{6\}' | head -1; }
shot() {  # shot NAME: waits for the screen to settle, then saves it
  sleep 1
  import -window root "$shots/$1.png"
  echo "demo: saved $shots/$1.png"
}
click() { xdotool mousemove "$1" "$2" click 1; }

env -u SLIDESHOW_SCREEN "$demo" >/dev/null 2>&1 &
app_pid=$!
for _ in $(seq 1 100); do
  [ "$(pixel $((L + 400)) $((T + 550)))" = "#333333" ] && break
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
click 5 5                                # closes the About box
xdotool key Escape
wait "$app_pid" 2>/dev/null || true
app_pid=""
echo "demo: the tour's screenshots are in $shots"
