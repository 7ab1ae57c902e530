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
# A compiler cache that outlives the clone: paths are taken relative to it,
# so another clone on this machine, in any folder, reuses what was compiled.
if command -v ccache >/dev/null; then
    export CCACHE_BASEDIR=$PWD CCACHE_NOHASHDIR=1
    export CMAKE_C_COMPILER_LAUNCHER=${CMAKE_C_COMPILER_LAUNCHER:-ccache}
    export CMAKE_CXX_COMPILER_LAUNCHER=${CMAKE_CXX_COMPILER_LAUNCHER:-ccache}
fi
cmake -S . -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo "${options[@]}" >/dev/null
cmake --build "$dir" "${targets[@]}"
