#!/usr/bin/env bash
# Builds the libFuzzer targets with clang and runs each for the given number of seconds
# (default 60), starting from the seed corpora in fuzz/corpus/<target>.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds="${1:-60}"
build=build-fuzz
CC=clang CXX=clang++ cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DSLIDESHOW_FUZZ=ON -DSLIDESHOW_TESTS=OFF -DSLIDESHOW_BENCH=OFF >/dev/null
shopt -s nullglob
targets=()
for src in fuzz/*.cpp; do targets+=("$(basename "$src" .cpp)"); done
cmake --build "$build" --target "${targets[@]}"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
for src in fuzz/*.cpp; do
  name=$(basename "$src" .cpp)
  corpus="fuzz/corpus/$name"
  seeds=()
  [ -d "$corpus" ] && seeds=("$corpus")
  mkdir -p "$work/$name"
  echo "fuzz: $name for ${seconds}s"
  if ! "$build/fuzz/$name" -max_total_time="$seconds" -rss_limit_mb=2048 -timeout=10 \
      -artifact_prefix="$work/$name/" "$work/$name" "${seeds[@]}" >"$work/$name.log" 2>&1; then
    tail -n 60 "$work/$name.log"
    echo "fuzz: $name failed; the input that failed is printed above" >&2
    exit 1
  fi
  tail -n 2 "$work/$name.log"
done
