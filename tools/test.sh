#!/usr/bin/env bash
# Installs what is missing, then builds and runs every test: a plain build, the
# worker's tests under ThreadSanitizer, and a build with AddressSanitizer and
# UndefinedBehaviorSanitizer.
set -euo pipefail
cd "$(dirname "$0")/.."
tools/install-deps.sh
export QT_QPA_PLATFORM=offscreen

tools/build.sh build
ctest --test-dir build --output-on-failure -j2

# Qt itself is not instrumented, so under ThreadSanitizer the window's tests
# and QThread would only report their internal locking: the worker's own tests run here.
tools/build.sh build-tsan -DTENDREL_TSAN=ON -DTENDREL_BENCHMARKS=OFF --target unit_tests sim_tests
TSAN_OPTIONS=halt_on_error=1 build-tsan/tests/unit_tests --gtest_brief=1 --gtest_filter=-LinkThread.*
TSAN_OPTIONS=halt_on_error=1 build-tsan/tests/sim/sim_tests --gtest_brief=1

tools/build.sh build-asan -DTENDREL_SANITIZE=ON -DTENDREL_BENCHMARKS=OFF
ASAN_OPTIONS=detect_leaks=0:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
    ctest --test-dir build-asan --output-on-failure -j2
