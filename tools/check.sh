#!/usr/bin/env bash
# Builds and runs every test twice: an optimised build, then the same tests
# under AddressSanitizer and UndefinedBehaviorSanitizer. The editor's X11
# tests run on a virtual X server of their own (without one they skip).
set -euo pipefail
cd "$(dirname "$0")/.."
jobs=$(nproc)

cmake -S . -B build -DCMAKE_BUILD_TYPE=Release
cmake --build build -j "$jobs"
ctest --test-dir build --output-on-failure -j "$jobs" -E '^X(Window|Input)\.'
xvfb-run -a -s "-screen 0 1024x768x24" ctest --test-dir build --output-on-failure -R '^X(Window|Input)\.'

cmake -S . -B build-sanitize -DCMAKE_BUILD_TYPE=RelWithDebInfo -DGRITTLEBOX_SANITIZE=ON
cmake --build build-sanitize -j "$jobs"
ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1 \
  ctest --test-dir build-sanitize --output-on-failure -j "$jobs" -E '^X(Window|Input)\.'
ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1 \
  xvfb-run -a -s "-screen 0 1024x768x24" \
  ctest --test-dir build-sanitize --output-on-failure -R '^X(Window|Input)\.'
