#!/usr/bin/env bash
# Builds the libFuzzer targets with clang and fuzzes them one after the other for the given
# number of seconds in all (default 120), each target for an equal share, starting from the
# seed corpora in fuzz/corpus/<target>. fuzz/<target>.options holds a target's own libFuzzer
# flags (input size, memory limit), one a line.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds="${1:-120}"
build=build-fuzz
launcher=()
command -v ccache >/dev/null && launcher=(-DCMAKE_C_COMPILER_LAUNCHER=ccache -DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
CC=clang CXX=clang++ cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DSLIDESHOW_FUZZ=ON -DSLIDESHOW_TESTS=OFF -DSLIDESHOW_BENCH=OFF "${launcher[@]}" >/dev/null
shopt -s nullglob
targets=()
for src in fuzz/*.cpp; do targets+=("$(basename "$src" .cpp)"); done
cmake --build "$build" --target "${targets[@]}"
share=$((seconds / ${#targets[@]}))
[ "$share" -ge 1 ] || share=1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
for name in "${targets[@]}"; do
  corpus="fuzz/corpus/$name"
  seeds=()
  [ -d "$corpus" ] && seeds=("$corpus")
  options=(-rss_limit_mb=2048)
  [ -f "fuzz/$name.options" ] && mapfile -t -O 1 options <"fuzz/$name.options"
  mkdir -p "$work/$name"
  echo "fuzz: $name for ${share}s"
  if ! "$build/fuzz/$name" -max_total_time="$share" -timeout=10 "${options[@]}" \
      -artifact_prefix="$work/$name/" "$work/$name" "${seeds[@]}" >"$work/$name.log" 2>&1; then
    tail -n 60 "$work/$name.log"
    echo "fuzz: $name failed; the input that failed is printed above" >&2
    exit 1
  fi
  grep -a -E "^#[0-9]+[[:space:]]+DONE|^Done " "$work/$name.log" || tail -n 2 "$work/$name.log"
done
