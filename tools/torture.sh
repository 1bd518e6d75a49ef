#!/usr/bin/env bash
# Runs the host torture test longer than CI does, with a random seed unless
# one is given, and prints the seed so that a failure can be run again.
#
#   tools/torture.sh [--steps N] [--seed S] [--build DIR]
#
# DIR is a configured build folder (default: build, configured here if
# missing); use build-tsan or build-san for a sanitizer run.
set -euo pipefail
cd "$(dirname "$0")/.."

steps=2000000
seed=""
build=build
while [ $# -gt 0 ]; do
  case "$1" in
    --steps) steps="$2"; shift 2 ;;
    --seed) seed="$2"; shift 2 ;;
    --build) build="$2"; shift 2 ;;
    *) echo "usage: tools/torture.sh [--steps N] [--seed S] [--build DIR]" >&2; exit 2 ;;
  esac
done
[ -n "$seed" ] || seed=$(od -An -N4 -tu4 /dev/urandom | tr -d ' ')

if [ ! -f "$build/CMakeCache.txt" ]; then
  cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Release -DGRITTLEBOX_HOST_CHECK=OFF -DGRITTLEBOX_BENCH=OFF
fi
cmake --build "$build" -j "$(nproc)" --target grittlebox-torture

echo "torture.sh: seed $seed (again: tools/torture.sh --seed $seed --steps $steps --build $build)"
status=0
"$build/tests/torture/grittlebox-torture" --seed "$seed" --steps "$steps" || status=$?
[ "$status" -eq 0 ] || echo "torture.sh: failed with seed $seed" >&2
exit "$status"
