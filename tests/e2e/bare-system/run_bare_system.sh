#!/usr/bin/env bash
# A collection file made by slideshow-pack runs on a bare Debian 12 (minbase and the X11 client
# libraries, nothing else): it shows the Comments view and a picture, ends on Escape and leaves
# no temporary file.
#   private_display.sh run_bare_system.sh path/to/slideshow path/to/slideshow-pack
set -euo pipefail
viewer="$1"
pack="$2"
. "$(dirname "$0")/screen_probes.sh"
require_bare_system

work="$(mktemp -d)"
app_pid=""
cleanup() {
  [ -n "$app_pid" ] && kill "$app_pid" 2>/dev/null || true
  cleanup_root
  rm -rf "$work"
}
trap cleanup EXIT
fail() {
  echo "FAIL: $*"; echo "--- program output"; cat "$work/out" 2>/dev/null || true; exit 1
}

make_pictures "$work/pictures"
"$pack" build "$work/pictures" -o "$work/collection" --viewer "$viewer" >/dev/null || fail "slideshow-pack"
enter_root
install -m 755 "$work/collection" "$work/root/opt/collection"
run_viewer_in_root /opt/collection
echo "bare system: the collection file showed its Comments view and pictures and ended on Escape"
