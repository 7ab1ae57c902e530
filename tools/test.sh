#!/usr/bin/env bash
# Installs what is missing, then builds and runs every test: a plain build with
# warnings as errors, clang-tidy, the worker's tests under ThreadSanitizer, the
# fuzz targets for a short while, and a build with AddressSanitizer and
# UndefinedBehaviorSanitizer.
set -euo pipefail
cd "$(dirname "$0")/.."
tools/install-deps.sh
export QT_QPA_PLATFORM=offscreen
fuzz_seconds=${TENDREL_FUZZ_SECONDS:-20}

tools/build.sh build -DTENDREL_WERROR=ON
ctest --test-dir build --output-on-failure -j2
tools/check-layers.sh

echo "clang-tidy on our sources"
git ls-files '*.cpp' | grep -vE '^tests/' | xargs run-clang-tidy -p build -j 2 -quiet >build/clang-tidy.log 2>&1 ||
    { sed 's/\x1b\[[0-9;]*m//g' build/clang-tidy.log | grep -E 'warning:|error:'; exit 1; }

# Qt itself is not instrumented, so under ThreadSanitizer the window's tests
# and QThread would only report their internal locking: the worker's own tests run here.
tools/build.sh build-tsan -DTENDREL_TSAN=ON -DTENDREL_BENCHMARKS=OFF --target unit_tests sim_tests
TSAN_OPTIONS=halt_on_error=1 build-tsan/tests/unit_tests --gtest_brief=1 --gtest_filter=-LinkThread.*
TSAN_OPTIONS=halt_on_error=1 build-tsan/tests/sim/sim_tests --gtest_brief=1

CC=clang CXX=clang++ tools/build.sh build-fuzz -DTENDREL_FUZZ=ON -DTENDREL_BENCHMARKS=OFF \
    --target SettingsFuzz ReplyFuzz EditRuleFuzz ScpiFuzz
for target in SettingsFuzz ReplyFuzz EditRuleFuzz ScpiFuzz; do
    mkdir -p "build-fuzz/corpus/$target"
    dictionary=()
    if [ -f "tests/fuzz/$target.dict" ]; then
        dictionary=(-dict="tests/fuzz/$target.dict")
    fi
    if ! ASAN_OPTIONS=detect_leaks=0 "build-fuzz/tests/fuzz/$target" -max_total_time="$fuzz_seconds" "${dictionary[@]}" \
        -artifact_prefix=build-fuzz/ "build-fuzz/corpus/$target" >"build-fuzz/$target.log" 2>&1; then
        grep -vE '^#[0-9]+ +(NEW|REDUCE|pulse|INITED)' "build-fuzz/$target.log" | tail -40
        exit 1
    fi
    echo "$target: $(grep -E '^Done' "build-fuzz/$target.log")"
done

tools/build.sh build-asan -DTENDREL_SANITIZE=ON -DTENDREL_BENCHMARKS=OFF
ASAN_OPTIONS=detect_leaks=0:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
    ctest --test-dir build-asan --output-on-failure -j2
