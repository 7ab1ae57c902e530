#!/usr/bin/env bash
# Installs what is missing, then builds and runs every test: a plain build and
# one with AddressSanitizer and UndefinedBehaviorSanitizer.
set -euo pipefail
cd "$(dirname "$0")/.."
tools/install-deps.sh
export QT_QPA_PLATFORM=offscreen

tools/build.sh build
ctest --test-dir build --output-on-failure -j2

tools/build.sh build-asan -DTENDREL_SANITIZE=ON -DTENDREL_BENCHMARKS=OFF
ASAN_OPTIONS=detect_leaks=0:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
    ctest --test-dir build-asan --output-on-failure -j2
