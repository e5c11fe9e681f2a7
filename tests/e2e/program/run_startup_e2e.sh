#!/usr/bin/env bash
# How the real viewer starts and when it refuses to: on a small screen only its message box
# shows, and Enter or Escape closes it; a copy without a collection or with a damaged one shows
# no window, says why on stderr and fails (a damaged one also in a message box); started
# through PATH it opens itself, not a same-named file in the current folder.
#   private_display.sh run_startup_e2e.sh path/to/slideshow path/to/slideshow-pack
set -euo pipefail
viewer="$1"
pack="$2"
[ -n "${DISPLAY:-}" ] || { echo "skipped: no X display"; exit 77; }
for tool in xdotool convert; do
  command -v "$tool" >/dev/null || { echo "missing $tool (scripts/install-deps.sh installs it)"; exit 1; }
done

work="$(mktemp -d)"
app_pid=""
cleanup() {
  [ -n "$app_pid" ] && kill "$app_pid" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT
fail() { echo "FAIL: $*"; echo "--- program output"; cat "$work/out" 2>/dev/null || true; exit 1; }

# start NAME ENV... -- COMMAND...: runs the program in the background.
start() {
  env "$@" >"$work/out" 2>&1 &
  app_pid=$!
}
# Waits for the program to end and sets status to its exit status. It runs in this shell, not
# in a command substitution: only the shell that started the program can wait for it.
finish() {
  for _ in $(seq 1 100); do kill -0 "$app_pid" 2>/dev/null || break; sleep 0.1; done
  kill -0 "$app_pid" 2>/dev/null && fail "$1: the program is still running"
  status=0
  wait "$app_pid" || status=$?
  app_pid=""
}
window_named() { xdotool search --onlyvisible --name "$1" 2>/dev/null | head -1; }
# A shared machine can take seconds to bring a window up.
wait_for_window() {
  for _ in $(seq 1 200); do
    [ -n "$(window_named "$1")" ] && return 0
    kill -0 "$app_pid" 2>/dev/null || fail "$2: the program ended without a window"
    sleep 0.1
  done
  fail "$2: no window named $1"
}

mkdir "$work/pictures" "$work/bin" "$work/elsewhere"
convert -size 320x240 xc:'rgb(200,50,20)' -quality 95 "$work/pictures/a.jpg"
"$pack" build "$work/pictures" -o "$work/bin/viewer" --viewer "$viewer" >/dev/null || fail "slideshow-pack"
caption="viewer"

# A small screen: the warning alone, closed with Escape, then with Enter.
for key in Escape Return; do
  xdotool mousemove 0 0
  start SLIDESHOW_SCREEN=640x480 "$work/bin/viewer"
  wait_for_window "^$caption\$" "small screen"
  [ -z "$(window_named '^Slideshow$')" ] || fail "small screen: the main window showed behind the warning"
  xdotool key "$key"
  finish "$key on the warning"
  [ "$status" = 0 ] || fail "small screen: status $status"
done

# A viewer without a collection: no window, one line on stderr, a failure status.
cp "$viewer" "$work/bare"
start SLIDESHOW_SCREEN=800x600 "$work/bare"
finish "no collection"
[ "$status" != 0 ] || fail "no collection: status 0"
grep -q "carries no collection" "$work/out" || fail "no collection: nothing said on stderr"
grep -q "make one with: slideshow-pack build" "$work/out" || fail "no collection: not said how to make one"
[ "$(wc -l <"$work/out")" = 1 ] || fail "no collection: more than one line"

# A damaged one: its trailer counts three items at an index that runs past the end.
cp "$viewer" "$work/damaged"
o=$(stat -c %s "$work/damaged")
printf '\x03\x00\x00\x00' >>"$work/damaged"
printf "$(printf '\\x%02x\\x%02x\\x%02x\\x%02x' $((o & 255)) $((o >> 8 & 255)) $((o >> 16 & 255)) $((o >> 24 & 255)))" >>"$work/damaged"
xdotool mousemove 0 0
start SLIDESHOW_SCREEN=800x600 "$work/damaged"
wait_for_window "^damaged\$" "damaged collection"
[ -z "$(window_named '^Slideshow$')" ] || fail "damaged collection: the main window showed"
xdotool key Return
finish "Enter on the damage message"
[ "$status" != 0 ] || fail "damaged collection: status 0"
grep -q "is damaged" "$work/out" || fail "damaged collection: nothing said on stderr"

# Through PATH, from a folder holding another file of the same name: the viewer opens itself.
cp "$viewer" "$work/elsewhere/viewer"
cd "$work/elsewhere"
start SLIDESHOW_SCREEN=800x600 PATH="$work/bin:$PATH" viewer
wait_for_window '^Slideshow$' "started through PATH"
xdotool key Escape
finish "Escape in the main window"
[ "$status" = 0 ] || fail "started through PATH: status $status"
echo "e2e startup: small screen, no collection, damaged collection and PATH start passed"
