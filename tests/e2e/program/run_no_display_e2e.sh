#!/usr/bin/env bash
# Without a display the viewer says so in one line and fails at once, never waits; --help and
# --version answer without one.
#   run_no_display_e2e.sh path/to/slideshow path/to/slideshow-pack
set -euo pipefail
viewer="$1"
pack="$2"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*"; echo "--- program output"; cat "$work/out" 2>/dev/null || true; exit 1; }

mkdir "$work/pictures"
convert -size 64x48 xc:'rgb(200,50,20)' -fill white -draw 'rectangle 0,0 63,9' \
  "$work/pictures/a.jpg"
"$pack" build "$work/pictures" -o "$work/viewer" --viewer "$viewer" >/dev/null || fail "slideshow-pack"

# run ENV...: the viewer with a collection, under a time limit, without any display.
run() {
  local status=0
  env -u WAYLAND_DISPLAY -u SDL_VIDEODRIVER "$@" timeout 20 "$work/viewer" >"$work/out" 2>&1 ||
    status=$?
  echo "$status"
}
for display in ":97" "unix:/nonexistent/socket:0" ""; do
  status="$(run DISPLAY="$display")"
  [ "$status" != 124 ] || fail "DISPLAY='$display': still running after 20 seconds"
  [ "$status" != 0 ] || fail "DISPLAY='$display': status 0"
  [ "$(wc -l <"$work/out")" = 1 ] || fail "DISPLAY='$display': not one line"
  grep -q "^$work/viewer: cannot open display" "$work/out" ||
    fail "DISPLAY='$display': no 'cannot open display'"
done
[ "$(run DISPLAY=:97)" = 1 ] || fail "status is not 1"
grep -q "cannot open display :97" "$work/out" || fail "the display is not named"

for option in --help --version; do
  status=0
  env -u WAYLAND_DISPLAY DISPLAY=:97 timeout 20 "$work/viewer" "$option" >"$work/out" 2>&1 ||
    status=$?
  [ "$status" = 0 ] || fail "$option: status $status"
done
grep -q "^slideshow [0-9]" "$work/out" || fail "--version: no version"
env -u DISPLAY "$work/viewer" --help | grep -q "slideshow-pack build FOLDER -o FILE" ||
  fail "--help does not say how to make a collection"
echo "e2e no display: one line and a failure without a display, --help and --version passed"
