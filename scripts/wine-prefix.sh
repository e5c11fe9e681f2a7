#!/usr/bin/env bash
# Makes the Wine prefix that the Windows build's tests run in, once, outside the work tree, and
# prints its folder (its user's temporary folder is drive_c/users/$USER/AppData/Local/Temp). The first start of Wine takes a while; later runs reuse the prefix.
#   scripts/wine-prefix.sh                  SLIDESHOW_DEPS_CACHE=/path for another cache
set -euo pipefail
cache="${SLIDESHOW_DEPS_CACHE:-/var/cache/slideshow-deps}"
prefix="$cache/wine-prefix"
wine_temp_folder() { echo "$prefix/drive_c/users/$(id -un)/AppData/Local/Temp"; }
if [ ! -f "$prefix/system.reg" ] || [ ! -d "$prefix/drive_c/windows/system32" ]; then
  echo "wine-prefix: making $prefix (once)" >&2
  rm -rf "$prefix"
  mkdir -p "$prefix"
  # No display is needed to set a prefix up; without one Wine shows no dialogs.
  env -u DISPLAY WINEPREFIX="$prefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" \
    wineboot --init >/dev/null 2>&1
  env WINEPREFIX="$prefix" wineserver --wait
fi
# The user's temporary folder, which Windows always has and a fresh prefix may not yet.
mkdir -p "$(wine_temp_folder)"
echo "$prefix"
