#!/usr/bin/env bash
# Makes the Wine prefix that the Windows build's tests run in, once, outside the work tree, and
# prints its folder. The first start of Wine takes a while; later runs reuse the prefix.
#   scripts/wine-prefix.sh                  SLIDESHOW_DEPS_CACHE=/path for another cache
#   scripts/wine-prefix.sh --temp           prints the folder GetTempPathW gives programs there
set -euo pipefail
cache="${SLIDESHOW_DEPS_CACHE:-/var/cache/slideshow-deps}"
prefix="$cache/wine-prefix"
# Wine keeps TEMP in the user's environment in the registry (C:\users\NAME\Temp in Debian 12's
# Wine, not where Windows puts it): ask Wine rather than guess.
wine_temp_folder() {
  local windows_path
  windows_path="$(WINEPREFIX="$prefix" WINEDEBUG=-all wine cmd /c echo %TEMP% </dev/null | tr -d '\r')"
  WINEPREFIX="$prefix" WINEDEBUG=-all winepath -u "$windows_path" | sed 's:/*$::'
}
if [ ! -f "$prefix/system.reg" ] || [ ! -d "$prefix/drive_c/windows/system32" ]; then
  echo "wine-prefix: making $prefix (once)" >&2
  rm -rf "$prefix"
  mkdir -p "$prefix"
  # No display is needed to set a prefix up; without one Wine shows no dialogs.
  env -u DISPLAY WINEPREFIX="$prefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" \
    wineboot --init >/dev/null 2>&1
  env WINEPREFIX="$prefix" wineserver --wait
fi
if [ "${1:-}" = --temp ]; then
  # The user's temporary folder, which Windows always has and a fresh prefix may not yet.
  temp="$(wine_temp_folder)"
  mkdir -p "$temp"
  echo "$temp"
else
  echo "$prefix"
fi
