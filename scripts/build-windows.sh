#!/usr/bin/env bash
# Builds the viewer for 64-bit Windows from this Linux tree (Debian's MinGW-w64) in
# build-windows/ and tests it under Wine (the unit tests, then a packed collection and the
# crafted hostile collections end to end):
# one slideshow.exe with no DLL beside it. The static
# libraries and the Wine prefix are made once and kept in /var/cache/slideshow-deps.
#   scripts/build-windows.sh               BUILD_DIR=... for another folder
#   scripts/build-windows.sh --no-test     build only
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh windows
deps="$(scripts/build-deps.sh windows)"
# The unit tests are listed by running them under Wine while they build.
export WINEPREFIX WINEDEBUG=-all
WINEPREFIX="$(scripts/wine-prefix.sh)"
build="${BUILD_DIR:-build-windows}"
cmake -S . -B "$build" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$PWD/cmake/MinGW-w64.cmake" \
  -DSLIDESHOW_DEPS_DIR="$deps" -DSLIDESHOW_WINE_PREFIX="$WINEPREFIX" -DSLIDESHOW_WERROR=ON \
  -DSLIDESHOW_BENCH=OFF ${CMAKE_ARGS:-} >/dev/null
cmake --build "$build"
exe="$build/app/slideshow.exe"
# Only the DLLs every Windows has: anything else would have to travel beside the viewer.
system_dlls='^(KERNEL32|USER32|GDI32|SHELL32|ADVAPI32|OLE32|OLEAUT32|IMM32|WINMM|VERSION|SETUPAPI|msvcrt|api-ms-win-[a-z0-9-]+)\.dll$'
others="$(x86_64-w64-mingw32-objdump -p "$exe" | sed -n 's/^\s*DLL Name: //p' | grep -Eiv "$system_dlls" || true)"
if [ -n "$others" ]; then
  echo "build-windows: $exe needs DLLs that Windows does not have: $others" >&2
  exit 1
fi
size="$(stat -c %s "$exe")"
echo "build-windows: $exe is $(( size / 1024 )) KiB"
[ "${1:-}" = "--no-test" ] && exit 0

ctest --test-dir "$build" --output-on-failure -j2

# The end-to-end test packs with the Linux slideshow-pack, the one the portable build makes.
pack="${SLIDESHOW_PACK:-build-portable/tools/slideshow-pack}"
[ -x "$pack" ] || scripts/build-portable.sh --no-test >/dev/null
export SLIDESHOW_E2E_RUNNER=wine SLIDESHOW_E2E_TEMP
SLIDESHOW_E2E_TEMP="$(scripts/wine-prefix.sh --temp)"
scripts/with-display.sh tests/e2e/program/run_program_e2e.sh "$exe" "$pack"
# The crafted collections of the Linux hostile-file test, on the Windows viewer.
scripts/with-display.sh tests/e2e/hostile/run_hostile_e2e.sh "$exe" \
  "$build/tests/e2e/hostile/make_crafted_collection.exe" 0 "$build/tests/e2e/hostile/close_window.exe"
