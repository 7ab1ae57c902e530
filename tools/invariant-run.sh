#!/usr/bin/env bash
# The invariant run for hours, with a new seed each time: every seed's run is
# kept, and for each failing check its actions, shrunk to the few that still
# fail, with the line that replays them. Ctrl+C stops after the present seed.
# Usage: tools/invariant-run.sh [MINUTES] [BUILD_DIR]     (default 120, build)
# The environment chooses the rest (docs/invariant-run.md): which checks fail
# a seed (TENDREL_INVARIANT_CHECKS, all by default), each seed's time
# (TENDREL_INVARIANT_SECONDS, 120) and the time to shrink each failing check
# (TENDREL_INVARIANT_SHRINK_SECONDS, 300); TENDREL_INVARIANT_OUT is where it all goes.
set -uo pipefail
cd "$(dirname "$0")/.."
minutes=${1:-120}
build=${2:-build}
tools/build.sh "$build" -DTENDREL_WERROR=ON --target invariant_run >/dev/null || exit 1
program=$(realpath "$build/tests/invariants/invariant_run")
out=$(realpath -m "${TENDREL_INVARIANT_OUT:-invariant-runs/$(date +%Y%m%d-%H%M%S)}")
mkdir -p "$out"
export QT_QPA_PLATFORM=offscreen TENDREL_INVARIANT_OUT="$out" TENDREL_INVARIANT_SEEDS=
export TENDREL_INVARIANT_SECONDS=${TENDREL_INVARIANT_SECONDS:-120}
export TENDREL_INVARIANT_SHRINK_SECONDS=${TENDREL_INVARIANT_SHRINK_SECONDS:-300}
stop=0
trap 'stop=1' INT TERM
end=$((SECONDS + minutes * 60))
seeds=0
failed=0
while [ $SECONDS -lt $end ] && [ $stop -eq 0 ]; do
    seeds=$((seeds + 1))
    log="$out/seed-$seeds.log"
    if ! TENDREL_INVARIANT_SEED_COUNT=1 "$program" >"$log" 2>&1; then
        failed=$((failed + 1))
        grep -E '^== seed|VIOLATED|actions after' "$log"
    fi
done
actions=$(awk '/^invariant run:/ {sum += $3} END {print sum + 0}' "$out"/seed-*.log)
echo "invariant run: $seeds seeds in $((SECONDS / 60)) minutes, $actions actions, $failed seeds failing; all in $out"
[ "$failed" -eq 0 ]
