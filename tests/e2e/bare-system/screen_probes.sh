# Sourced by the bare-system tests: a scratch copy of the cached minimal root, the program run
# inside it on the caller's X display, and pixel probes of the screen (ImageMagick on the host).
# The caller sets `work` (a scratch folder) and calls `fail` on errors; cleanup_root undoes
# what enter_root did.

. "$(dirname "${BASH_SOURCE[0]}")/../pixel_probes.sh"

# enter_root: copies the cached root to $work/root (the cache stays as made) and mounts /proc,
# through which the program finds its own file.
enter_root() {
  local cached
  cached="$("$(dirname "${BASH_SOURCE[0]}")/bare_root.sh")" || fail "no minimal root"
  cp -a "$cached" "$work/root"
  mount -t proc proc "$work/root/proc" || fail "cannot mount /proc in the root"
  proc_mounted=1
}

cleanup_root() {
  if [ -n "${proc_mounted:-}" ]; then umount "$work/root/proc" 2>/dev/null || umount -l "$work/root/proc"; fi
  proc_mounted=""
}

# in_root COMMAND...: runs in the root with nothing but the display from the host.
in_root() {
  chroot "$work/root" /usr/bin/env -i PATH=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin HOME=/root \
    DISPLAY="$DISPLAY" TMPDIR=/tmp/viewer-tmp "$@"
}

# run_viewer_in_root PATH_IN_ROOT: starts it, checks the Comments view and a picture (NEXT shows
# the thumbnails; picture 1 in cell 1), ends it with Escape, and checks that it left no file.
# The collection's pictures are flat colours: colours[1] and colours[4] are probed.
run_viewer_in_root() {
  local sw sh L T
  read -r sw sh < <(xdpyinfo | awk '/dimensions:/ { split($2, d, "x"); print d[1], d[2] }')
  L=$(( sw / 2 - 400 )); T=$(( sh / 2 - 300 ))
  mkdir -p "$work/root/tmp/viewer-tmp"
  in_root "$1" >"$work/out" 2>&1 &
  app_pid=$!
  expect_pixel $(( L + 400 )) $(( T + 50 )) "51 51 51" "the Comments view's header line"
  expect_pixel $(( L + 400 )) $(( T + 550 )) "51 51 51" "the Comments view's bottom line"
  xdotool mousemove $(( L + 113 + 35 )) $(( T + 566 + 10 )) click 1
  expect_pixel $(( L + 230 + 80 )) $(( T + 68 + 25 + 100 )) "${colours[1]}" "thumbnail of picture 1"
  expect_pixel $(( L + 50 + 80 )) $(( T + 68 + 235 + 100 )) "${colours[4]}" "thumbnail of picture 4"
  xdotool key Escape
  for _ in $(seq 1 50); do kill -0 "$app_pid" 2>/dev/null || break; sleep 0.1; done
  kill -0 "$app_pid" 2>/dev/null && fail "Escape did not end the program"
  wait "$app_pid" || fail "the program ended with status $?"
  app_pid=""
  local leftover
  leftover="$(ls -A "$work/root/tmp/viewer-tmp")"
  [ -z "$leftover" ] || fail "temporary files left: $leftover"
}

# Ten pictures of distinct flat colours in $work/pictures.
colours=("200 50 20" "20 160 60" "40 60 200" "220 200 40" "150 30 160" "30 180 190" "240 120 0" "90 90 90" "250 250 250" "120 200 120")
make_pictures() {
  mkdir -p "$1"
  local i r g b
  for i in "${!colours[@]}"; do
    read -r r g b <<<"${colours[$i]}"
    convert -size 320x240 "xc:rgb($r,$g,$b)" -quality 95 "$1/$(printf '%02d' "$i")-colour.jpg"
  done
}

# The preconditions every bare-system test has; exit 77 skips it.
require_bare_system() {
  [ -n "${DISPLAY:-}" ] || { echo "skipped: no X display"; exit 77; }
  [ "$(id -u)" -eq 0 ] || { echo "skipped: making and entering a root needs root"; exit 77; }
  command -v debootstrap >/dev/null || { echo "missing debootstrap (scripts/install-deps.sh installs it)"; exit 1; }
  local tool
  for tool in xdotool import convert xdpyinfo; do
    command -v "$tool" >/dev/null || { echo "missing $tool (scripts/install-deps.sh installs it)"; exit 1; }
  done
}
