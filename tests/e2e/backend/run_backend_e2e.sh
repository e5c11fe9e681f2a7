#!/usr/bin/env bash
# End-to-end check of the SDL backend: the window covers the whole X screen, a click through
# xdotool reaches the button, the repainted button shows on the screen, Escape ends the program.
#   private_display.sh run_backend_e2e.sh path/to/e2e_backend_app
set -euo pipefail
app="$1"
[ -n "${DISPLAY:-}" ] || { echo "skipped: no X display"; exit 77; }
for tool in xdotool import; do
  command -v "$tool" >/dev/null || { echo "missing $tool (scripts/install-deps.sh installs it)"; exit 1; }
done

work="$(mktemp -d)"
app_pid=""
cleanup() {
  [ -n "$app_pid" ] && kill "$app_pid" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT

fail() { echo "FAIL: $*"; echo "--- program output"; cat "$work/out" || true; exit 1; }

# "#RRGGBB" of one screen pixel.
pixel() { import -window root -crop "1x1+$1+$2" -depth 8 txt:- | grep -o '#[0-9A-Fa-f]\{6\}' | head -1; }

wait_for() {  # wait_for PATTERN SECONDS
  for _ in $(seq 1 $(( $2 * 10 ))); do
    grep -q "$1" "$work/out" && return 0
    [ -n "$app_pid" ] && ! kill -0 "$app_pid" 2>/dev/null && break
    sleep 0.1
  done
  fail "the program did not print \"$1\""
}

expect_pixel() {  # expect_pixel X Y COLOUR WHAT
  local got=""
  for _ in $(seq 1 30); do got="$(pixel "$1" "$2")"; [ "${got^^}" = "$3" ] && return 0; sleep 0.1; done
  fail "$4: pixel ($1,$2) is $got, expected $3"
}

read -r screen_w screen_h < <(xdpyinfo | awk '/dimensions:/ { split($2, d, "x"); print d[1], d[2] }')
env -u SLIDESHOW_SCREEN "$app" >"$work/out" 2>&1 &
app_pid=$!
wait_for '^ready' 20
grep -q "^ready $screen_w $screen_h\$" "$work/out" || fail "screen size reported is not ${screen_w}x${screen_h}"

background="#0A141E"; red="#C80000"; green="#00C800"
expect_pixel 0 0 "$background" "top left corner of the screen"
expect_pixel $((screen_w - 1)) $((screen_h - 1)) "$background" "bottom right corner of the screen"
expect_pixel 150 130 "$red" "button before the click"

xdotool mousemove 150 130 click 1
wait_for '^clicked 1$' 10
expect_pixel 150 130 "$green" "button after one click"
expect_pixel 99 130 "$background" "just left of the button"

# A press inside that is released outside is no click.
xdotool mousemove 150 130 mousedown 1 mousemove 400 400 mouseup 1
sleep 0.3
grep -q '^clicked 2$' "$work/out" && fail "a release outside the button counted as a click"
expect_pixel 150 130 "$green" "button after a cancelled press"

xdotool mousemove 160 140 click 1
wait_for '^clicked 2$' 10
expect_pixel 150 130 "$red" "button after two clicks"

xdotool key Escape
for _ in $(seq 1 50); do kill -0 "$app_pid" 2>/dev/null || break; sleep 0.1; done
if kill -0 "$app_pid" 2>/dev/null; then fail "Escape did not end the program"; fi
wait "$app_pid" || fail "the program ended with status $?"
app_pid=""
echo "PASS: full-screen window, click, repaint and Escape under X"
