#!/usr/bin/env bash
# Configures and builds qelt and its tests into build/; with arguments, only
# those targets (scripts/build.sh qelt).
set -euo pipefail
cd "$(dirname "$0")/.."
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
targets=()
for t in "$@"; do targets+=(--target "$t"); done
cmake --build build -j"$(nproc)" "${targets[@]}"
