#!/usr/bin/env bash
# Builds the viewer and slideshow-pack that run on any Linux desktop (static, Release, stripped)
# in build-portable/ and runs their tests: only glibc needed, a packed collection and the .deb
# on a bare Debian 12 under Xvfb. The static libraries and the bare system are made once and
# kept in /var/cache/slideshow-deps.
#   scripts/build-portable.sh               BUILD_DIR=... for another folder
#   scripts/build-portable.sh --no-test     build only
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
deps="$(scripts/build-deps.sh linux)"
build="${BUILD_DIR:-build-portable}"
cmake -S . -B "$build" -G Ninja -DSLIDESHOW_PORTABLE=ON -DSLIDESHOW_WERROR=ON \
  -DSLIDESHOW_DEPS_DIR="$deps" ${CMAKE_ARGS:-} >/dev/null
cmake --build "$build" --target slideshow slideshow-pack
size="$(stat -c %s "$build/app/slideshow")"
echo "build-portable: $build/app/slideshow is $(( size / 1024 )) KiB"
[ "${1:-}" = "--no-test" ] && exit 0
scripts/with-display.sh ctest --test-dir "$build" -L portable --output-on-failure
