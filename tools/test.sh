#!/usr/bin/env bash
# Installs what is missing, then builds and runs every test: a plain build with
# warnings as errors, clang-tidy, the worker's tests under ThreadSanitizer, all
# tests again in a clang build with AddressSanitizer and UndefinedBehaviorSanitizer
# whose fuzz targets then run for a short while, and the Debian package under
# lintian and appstreamcli. A failure names its step, after the step's own
# account of why.
set -Eeuo pipefail
cd "$(dirname "$0")/.."
step="installing what is missing"
trap 'echo "tools/test.sh: FAILED: $step" >&2' ERR
tools/install-deps.sh
export QT_QPA_PLATFORM=offscreen
fuzz_seconds=${TENDREL_FUZZ_SECONDS:-20}

# Runs a command with its output in LOG; on failure shows the lines of the log
# that FILTER picks out, or its last lines when the filter finds nothing.
# Usage: quietly LOG FILTER COMMAND...
quietly() {
    local log=$1 filter=$2
    shift 2
    if ! "$@" >"$log" 2>&1; then
        if ! sed 's/\x1b\[[0-9;]*m//g' "$log" | grep -E -- "$filter" | tail -60; then
            tail -20 "$log"
        fi
        return 1
    fi
}

step="build with warnings as errors"
tools/build.sh build -DTENDREL_WERROR=ON
step="tests"
ctest --test-dir build --output-on-failure -j2

# lupdate rewrites the catalogue only when the sources say something it lacks
# or no longer say something it has.
step="the English catalogue against the sources"
catalogue=translations/tendrel-controller_en.ts
cp "$catalogue" build/catalogue-before.ts
quietly build/lupdate.log '.' cmake --build build --target update_translations
if ! cmp -s build/catalogue-before.ts "$catalogue"; then
    diff -u build/catalogue-before.ts "$catalogue" | head -40
    echo "lupdate has brought $catalogue up to date with the sources: translate what it added, then commit it"
    false
fi

# Every file is checked; one whose check passed before on the same input
# keeps that result (tools/tidy.py).
step="clang-tidy on our sources"
echo "$step"
git ls-files '*.cpp' | grep -vE '^tests/' >build/clang-tidy.files
xargs -a build/clang-tidy.files tools/tidy.py build

# Qt itself is not instrumented, so under ThreadSanitizer the window's tests
# would only report its internal locking: the link's and the controller's
# tests, which drive the worker without widgets, run here.
step="the link's and the controller's tests under ThreadSanitizer"
tools/build.sh build-tsan -DTENDREL_TSAN=ON -DTENDREL_BENCHMARKS=OFF \
    --target device_tests core_tests sim_tests control_tests
TSAN_OPTIONS="halt_on_error=1 suppressions=$PWD/tools/tsan.supp" build-tsan/tests/device_tests --gtest_brief=1
TSAN_OPTIONS="halt_on_error=1 suppressions=$PWD/tools/tsan.supp" build-tsan/tests/control_tests --gtest_brief=1
TSAN_OPTIONS=halt_on_error=1 build-tsan/tests/core_tests --gtest_brief=1
TSAN_OPTIONS=halt_on_error=1 build-tsan/tests/sim/sim_tests --gtest_brief=1

# One clang tree under AddressSanitizer and UndefinedBehaviorSanitizer runs
# every test and holds the fuzz targets, so the sources compile once for both.
step="tests under AddressSanitizer and UndefinedBehaviorSanitizer"
tools/build.sh build-asan -DCMAKE_CXX_COMPILER=clang++ -DTENDREL_FUZZ=ON -DTENDREL_BENCHMARKS=OFF
ASAN_OPTIONS=detect_leaks=0:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
    ctest --test-dir build-asan --output-on-failure -j2

for target in SettingsFuzz ReplyFuzz EditRuleFuzz ScpiFuzz ProgramFileFuzz MqttCommandFuzz; do
    step="fuzz target $target"
    mkdir -p "build-asan/corpus/$target"
    dictionary=()
    if [ -f "tests/fuzz/$target.dict" ]; then
        dictionary=(-dict="tests/fuzz/$target.dict")
    fi
    ASAN_OPTIONS=detect_leaks=0 quietly "build-asan/$target.log" '^[^#]' \
        "build-asan/tests/fuzz/$target" "${dictionary[@]}" \
        -max_total_time="$fuzz_seconds" -artifact_prefix=build-asan/ "build-asan/corpus/$target"
    echo "$target: $(grep -E '^Done' "build-asan/$target.log")"
done

# The package is built as a distribution would: without the tests.
step="Debian package"
tools/build.sh build-pkg -DBUILD_TESTING=OFF -DCMAKE_INSTALL_PREFIX=/usr -DTENDREL_WERROR=ON
rm -f build-pkg/*.deb
quietly build-pkg/cpack.log 'CPack Error|[Ee]rror' cmake --build build-pkg --target package

step="lintian on the package"
# It fails only when it cannot check; the tags are judged here.
quietly build-pkg/lintian.log '.' lintian --fail-on none --pedantic --display-info build-pkg/*.deb
grep -v 'running with root privileges' build-pkg/lintian.log || true
if grep -qE '^[EW]: |hardening' build-pkg/lintian.log; then
    false
fi
echo "lintian: no error, warning or hardening tag"

step="appstreamcli on the metainfo"
appstreamcli validate --pedantic --no-net packaging/*.metainfo.xml
