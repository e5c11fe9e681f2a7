#!/usr/bin/env bash
# Runs a command on an X server of its own, so that window tests running side by side never
# click into each other's windows: a private Xvfb (which picks a free display number itself),
# else the caller's display. With neither, the test is skipped (exit 77). PRIVATE_SCREEN sizes
# the private screen (default 1024x768).
set -euo pipefail
if ! command -v Xvfb >/dev/null; then
  [ -n "${DISPLAY:-}" ] || { echo "skipped: no X display and no Xvfb"; exit 77; }
  exec "$@"
fi
number_file="$(mktemp)"
Xvfb -displayfd 3 -screen 0 "${PRIVATE_SCREEN:-1024x768}x24" -nolisten tcp 3>"$number_file" >/dev/null 2>&1 &
xvfb_pid=$!
trap 'kill $xvfb_pid 2>/dev/null || true; wait $xvfb_pid 2>/dev/null || true; rm -f "$number_file"' EXIT
for _ in $(seq 1 100); do
  [ -s "$number_file" ] && break
  kill -0 "$xvfb_pid" 2>/dev/null || { echo "Xvfb did not start"; exit 1; }
  sleep 0.05
done
DISPLAY=":$(head -1 "$number_file")"
export DISPLAY
"$@"
