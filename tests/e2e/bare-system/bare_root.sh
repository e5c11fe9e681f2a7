#!/usr/bin/env bash
# Prints the folder of a minimal Debian 12 system (debootstrap minbase plus only the X11 client
# libraries every desktop has), made once and kept outside the work tree; made again when
# missing. A root is made in a scratch folder and renamed into place when complete.
#   bare_root.sh                      SLIDESHOW_BARE_ROOT=/path overrides the place
set -euo pipefail
root="${SLIDESHOW_BARE_ROOT:-/var/cache/slideshow-deps/bare-root/bookworm}"
mirror="${SLIDESHOW_DEBIAN_MIRROR:-http://deb.debian.org/debian}"
x11_libraries=libx11-6,libxext6,libxcursor1,libxi6,libxrandr2,libxfixes3,libxss1,libxkbcommon0
mkdir -p "$(dirname "$root")"
exec 9>"$root.lock"
flock 9
if [ ! -x "$root/bin/sh" ]; then
  echo "bare_root: making a minimal Debian 12 in $root (once)" >&2
  scratch="$root.partial"
  rm -rf "$scratch"
  debootstrap --variant=minbase --include="$x11_libraries" bookworm "$scratch" "$mirror" \
    >"$root.log" 2>&1 || { tail -20 "$root.log" >&2; exit 1; }
  rm -rf "$scratch"/var/cache/apt/archives/*.deb
  rm -rf "$root"
  mv "$scratch" "$root"
fi
echo "$root"
