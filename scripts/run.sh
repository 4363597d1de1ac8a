#!/usr/bin/env bash
# The main job: installs what is missing, builds the plug-in bundle and renders the
# built-in demo through it (audio and a picture of its impulse response).
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build -j2
mkdir -p out
build/tools/quillmere-render --output out/demo.wav --ir out/demo-ir.png "$@"
