#!/usr/bin/env bash
# Builds the libFuzzer targets with clang and runs each for the given number of seconds
# (default 60), starting from the seed corpora in fuzz/corpus/<target>.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds="${1:-60}"
build=build-fuzz
CC=clang CXX=clang++ cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DSLIDESHOW_FUZZ=ON -DSLIDESHOW_TESTS=OFF -DSLIDESHOW_BENCH=OFF >/dev/null
cmake --build "$build"
shopt -s nullglob
for src in fuzz/*.cpp; do
  name=$(basename "$src" .cpp)
  work=$(mktemp -d)
  corpus="fuzz/corpus/$name"
  seeds=()
  [ -d "$corpus" ] && seeds=("$corpus")
  echo "fuzz: $name for ${seconds}s"
  "$build/$name" -max_total_time="$seconds" -rss_limit_mb=2048 -timeout=10 \
    -artifact_prefix="$work/" "$work" "${seeds[@]}" 2>&1 | tail -n 3
  rm -rf "$work"
done
