#!/usr/bin/env bash
# The real viewer on hostile collections, on a private X server:
#   - under a 2-GiB address-space limit (ulimit -v), each crafted collection is started, its
#     thumbnails and its first item are shown, and Escape ends it: no abort, no file left;
#   - SIGTERM, SIGINT and SIGHUP end it within a second, with its picture files removed, both
#     while it shows the collection and while a message box is up.
#   private_display.sh run_hostile_e2e.sh path/to/slideshow path/to/make_crafted_collection SANITIZED
# The Windows viewer runs on the same crafted files under Wine, each within a minute. Windows
# has neither an address-space limit to set nor the ending signals: there WM_CLOSE (what the
# close box and the end of a session send) ends it instead, with its picture files removed:
#   SLIDESHOW_E2E_RUNNER=wine SLIDESHOW_E2E_TEMP=<the prefix's temporary folder> \
#     run_hostile_e2e.sh path/to/slideshow.exe path/to/make_crafted_collection.exe 0 \
#     path/to/close_window.exe
set -euo pipefail
viewer="$1"
maker="$2"
sanitized="${3:-0}"
closer="${4:-}"
read -r -a runner <<<"${SLIDESHOW_E2E_RUNNER:-}"
# A sanitized build is several times slower; Wine starts and ends a program in a few seconds.
end_limit=240
[ "${#runner[@]}" -eq 0 ] || end_limit=60
[ -n "${DISPLAY:-}" ] || { echo "skipped: no X display"; exit 77; }
command -v xdotool >/dev/null || { echo "missing xdotool (scripts/install-deps.sh installs it)"; exit 1; }

work="$(mktemp -d)"
app_pid=""
cleanup() {
  [ -n "$app_pid" ] && kill -9 "$app_pid" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT
fail() { echo "FAIL: $*"; echo "--- program output"; tail -20 "$work/out" 2>/dev/null || true; exit 1; }

for kind in pictures imagelist scans details plain; do
  "${runner[@]}" "$maker" "$kind" "$viewer" "$work/$kind" || fail "making the $kind collection"
done
read -r sw sh < <(xdpyinfo | awk '/dimensions:/ { split($2, d, "x"); print d[1], d[2] }')
L=$(( sw / 2 - 400 )); T=$(( sh / 2 - 300 ))
mkdir "$work/tmp"
# Where the viewer's picture files go: TMPDIR on Linux, Wine's own folder for Windows, which
# may hold older files of its own.
temp="${SLIDESHOW_E2E_TEMP:-$work/tmp}"

# start COLLECTION [TMPDIR]: the viewer in the background.
start() {
  local limit=""
  [ "$sanitized" = 1 ] || [ "${#runner[@]}" -gt 0 ] || limit="ulimit -v $(( 2 * 1024 * 1024 ));"
  TMPDIR="${2:-$work/tmp}" bash -c "$limit exec env -u SLIDESHOW_SCREEN \"\$@\"" \
    bash "${runner[@]}" "$1" >"$work/out" 2>&1 &
  app_pid=$!
}

# Waits for the viewer's window (the viewer is the only program on this display; Wine's own
# windows are never shown). The window shows once the Comments page has loaded the first
# record, which a crafted collection makes as slow as its budget allows, and a busy machine
# slower still. Clicks and keys sent before it shows would be lost.
wait_for_window() {
  for _ in $(seq 1 2400); do
    [ -n "$(xdotool search --onlyvisible --name . 2>/dev/null)" ] && return 0
    kill -0 "$app_pid" 2>/dev/null || fail "$1 ended at start"
    sleep 0.1
  done
  fail "$1: no window"
}

# ends_within SECONDS: waits for the viewer to end; its wait status is in $status.
ends_within() {
  local tenths=$(( $1 * 10 ))
  for _ in $(seq 1 "$tenths"); do kill -0 "$app_pid" 2>/dev/null || break; sleep 0.1; done
  kill -0 "$app_pid" 2>/dev/null && return 1
  status=0; wait "$app_pid" 2>/dev/null || status=$?
  app_pid=""
}

# no_files_left FOLDER WHAT [FILES BEFORE]: no picture file in FOLDER but those it had before.
no_files_left() {
  local left; left="$(LC_ALL=C comm -13 <(echo "${3:-}") <(LC_ALL=C ls -A "$1" | grep '^emE' || true))"
  [ -z "$left" ] || fail "$2: temporary files left: $left"
}

for kind in pictures imagelist scans details; do
  before="$(LC_ALL=C ls -A "$temp" | grep '^emE' || true)"
  started=$SECONDS
  start "$work/$kind"
  wait_for_window "$kind"
  # NEXT to the thumbnails, NEXT to the first item; Escape waits behind them.
  xdotool mousemove $(( L + 148 )) $(( T + 576 )) click 1
  xdotool mousemove $(( L + 148 )) $(( T + 576 )) click 1
  xdotool key Escape
  ends_within "$end_limit" || fail "$kind: still running after $end_limit s"
  [ "$status" -eq 0 ] || fail "$kind: ended with status $status"
  no_files_left "$temp" "$kind" "$before"
  echo "$kind: ended normally after $(( SECONDS - started )) s, no file left"
done
# wait_for_picture_file WHAT BEFORE: until the viewer has made a picture file in $temp.
wait_for_picture_file() {
  for _ in $(seq 1 600); do
    [ -n "$(LC_ALL=C comm -13 <(echo "$2") <(LC_ALL=C ls -A "$temp" | grep '^emE' || true))" ] && return 0
    sleep 0.1
  done
  fail "$1: the first picture made no file"
}

if [ "${#runner[@]}" -gt 0 ]; then
  [ -n "$closer" ] || { echo "FAIL: Windows needs close_window.exe as the fourth argument"; exit 1; }
  before="$(LC_ALL=C ls -A "$temp" | grep '^emE' || true)"
  start "$work/plain"
  wait_for_window "WM_CLOSE"
  wait_for_picture_file "WM_CLOSE" "$before"
  # Wine keeps its server under TMPDIR: the viewer's, so that its windows can be seen.
  TMPDIR="$work/tmp" "${runner[@]}" "$closer" Slideshow || fail "WM_CLOSE: no Slideshow window to close"
  ends_within 10 || fail "WM_CLOSE: still running 10 s later"
  [ "$status" -eq 0 ] || fail "WM_CLOSE: ended with status $status"
  no_files_left "$temp" "WM_CLOSE" "$before"
  echo "WM_CLOSE: ended normally, no file left"
  exit 0
fi

for sig in TERM INT HUP; do
  start "$work/plain"
  for _ in $(seq 1 600); do ls "$work/tmp" | grep -q "^emE" && break; sleep 0.1; done
  ls "$work/tmp" | grep -q '^emE' || fail "SIG$sig: the first picture made no file"
  kill -s "$sig" "$app_pid"
  ends_within 1 || fail "SIG$sig: still running a second later"
  [ "$status" -eq $(( 128 + $(kill -l "$sig") )) ] || fail "SIG$sig: ended with status $status"
  no_files_left "$work/tmp" "SIG$sig"

  # A temporary directory whose path leaves no room for a file name: the first picture's
  # message is being shown (where the display library cannot show a box, it goes to stderr).
  deep="$work/$(printf 'd%.0s' $(seq 1 $(( 248 - ${#work} ))))"
  mkdir -p "$deep"
  start "$work/plain" "$deep"
  for _ in $(seq 1 100); do grep -q "Temporary Path" "$work/out" && break; sleep 0.1; done
  sleep 1
  kill -0 "$app_pid" 2>/dev/null || fail "SIG$sig: the viewer ended before the message box"
  kill -s "$sig" "$app_pid"
  ends_within 1 || fail "SIG$sig: still running a second later, with the message box up"
  [ "$status" -eq $(( 128 + $(kill -l "$sig") )) ] || fail "SIG$sig: ended with status $status with the message box up"
  no_files_left "$work/tmp" "SIG$sig with a message box"
  echo "SIG$sig: ended within a second, with and without a message box, no file left"
done
