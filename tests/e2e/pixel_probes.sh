# Sourced by the end-to-end scripts that read the screen back: pixel probes, and for the scripts
# that run the viewer, a scratch folder removed at exit with the viewer if it still runs, and a
# failure that keeps the screen and the viewer's output.

# require_display TOOL...: skips the test without an X display, fails without a tool it needs.
require_display() {
  [ -n "${DISPLAY:-}" ] || { echo "skipped: no X display"; exit 77; }
  local tool
  for tool in "$@"; do
    command -v "$tool" >/dev/null || { echo "missing $tool (scripts/install-deps.sh installs it)"; exit 1; }
  done
}

# "R G B" of one screen pixel.
pixel() {
  import -window root -crop "1x1+$1+$2" -depth 8 txt:- |
    sed -n 's/.*(\([0-9]*\),\([0-9]*\),\([0-9]*\).*/\1 \2 \3/p' | head -1
}

# expect_pixel X Y "R G B" WHAT: waits up to 10 s for the colour, within pixel_tolerance on each
# channel (8 unless the caller sets it: JPEG rounding).
expect_pixel() {
  local got="" r g b er eg eb tolerance="${pixel_tolerance:-8}"
  read -r er eg eb <<<"$3"
  for _ in $(seq 1 50); do
    got="$(pixel "$1" "$2")"
    read -r r g b <<<"$got"
    if [ -n "$got" ] && (( r - er <= tolerance && er - r <= tolerance && g - eg <= tolerance &&
                           eg - g <= tolerance && b - eb <= tolerance && eb - b <= tolerance )); then
      return 0
    fi
    [ -z "${app_pid:-}" ] || kill -0 "$app_pid" 2>/dev/null || fail "$4: the program ended"
    sleep 0.2
  done
  fail "$4: pixel ($1,$2) is ($got), expected ($3)"
}

# viewer_scratch NAME: makes `work`, ends the viewer started as `app_pid` and removes `work` at
# exit; `fail` then saves the screen as $TMPDIR/e2e_NAME_failure.png.
viewer_scratch() {
  scratch_name="$1"
  work="$(mktemp -d)"
  app_pid=""
  trap scratch_cleanup EXIT
}
scratch_cleanup() {
  [ -n "$app_pid" ] && kill "$app_pid" 2>/dev/null || true
  rm -rf "$work"
}
fail() {
  local saved="${TMPDIR:-/tmp}/e2e_${scratch_name}_failure.png"
  import -window root "$work/failure.png" 2>/dev/null && cp "$work/failure.png" "$saved" &&
    echo "screen saved as $saved"
  echo "FAIL: $*"; echo "--- program output"; cat "$work/out" 2>/dev/null || true; exit 1
}
