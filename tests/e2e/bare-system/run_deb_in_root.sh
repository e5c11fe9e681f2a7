#!/usr/bin/env bash
# The .deb that CPack makes installs on a bare Debian 12, and what it installs works there:
# slideshow-pack (found on PATH, with its man page and bash completion) packs a folder without
# being told where the viewer is, and the result shows its pictures.
#   private_display.sh run_deb_in_root.sh BUILD_DIR
set -euo pipefail
build="$1"
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
  echo "FAIL: $*"; echo "--- output"; cat "$work/out" 2>/dev/null || true; exit 1
}

(cd "$build" && cpack -G DEB -B "$work/deb" >"$work/out" 2>&1) || fail "cpack"
deb="$(find "$work/deb" -maxdepth 1 -name '*.deb' | head -1)"
[ -n "$deb" ] || fail "cpack made no .deb"
enter_root
cp "$deb" "$work/root/tmp/slideshow.deb"
in_root dpkg -i /tmp/slideshow.deb >"$work/out" 2>&1 || fail "dpkg -i"
for file in /usr/bin/slideshow-pack /usr/lib/slideshow/slideshow /usr/share/man/man1/slideshow-pack.1 \
            /usr/share/bash-completion/completions/slideshow-pack /usr/share/doc/slideshow/fonts/fonts-wine; do
  [ -e "$work/root$file" ] || fail "the package did not install $file"
done

make_pictures "$work/root/tmp/pictures"
in_root slideshow-pack build /tmp/pictures -o /opt/collection >"$work/out" 2>&1 || fail "slideshow-pack in the root"
run_viewer_in_root /opt/collection
echo "deb: installed on a bare system; its slideshow-pack made a collection that runs there"
