#!/usr/bin/env bash
# Configures and builds one variant.
# Usage: tools/build.sh BUILD_DIR [CMAKE_OPTIONS...] [--target TARGET...]
set -euo pipefail
cd "$(dirname "$0")/.."
dir=${1:-build}
shift || true
options=()
targets=()
while [ $# -gt 0 ]; do
    if [ "$1" = --target ]; then
        shift
        targets=(--target "$@")
        break
    fi
    options+=("$1")
    shift
done
cmake -S . -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo "${options[@]}" >/dev/null
cmake --build "$dir" "${targets[@]}"
