#!/usr/bin/env bash
# Builds grittlebox-render (Release, in build/) and renders the built-in demo
# signal through the effect into build/grittlebox-demo.wav.
set -euo pipefail
cd "$(dirname "$0")/.."
jobs=$(nproc)

cmake -S . -B build -DCMAKE_BUILD_TYPE=Release
cmake --build build --target grittlebox-render -j "$jobs"
out="$(pwd)/build/grittlebox-demo.wav"
build/tools/grittlebox-render --distort 70 --out -3 -o "$out"
echo "Demo rendered through Grittlebox: $out"
