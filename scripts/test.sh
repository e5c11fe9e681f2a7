#!/usr/bin/env bash
# Builds everything and runs every test (unit, ui, and end-to-end under Xvfb).
#   scripts/test.sh                 the normal build in build/
#   BUILD_DIR=... CMAKE_ARGS=... scripts/test.sh    another configuration
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
build="${BUILD_DIR:-build}"
cmake -S . -B "$build" -G Ninja -DSLIDESHOW_WERROR=ON ${CMAKE_ARGS:-} >/dev/null
cmake --build "$build"
scripts/with-display.sh ctest --test-dir "$build" --output-on-failure -j"$(nproc)" ${CTEST_ARGS:-}
