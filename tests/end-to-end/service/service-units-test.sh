#!/usr/bin/env bash
# systemd's own checks on the units as installed: verify (every key known and
# valid, the program there) and the system unit's exposure, both from the
# files alone, so that they need no running manager.
# Usage: service-units-test.sh PROGRAM SYSTEM_TEMPLATE USER_UNIT
set -uo pipefail
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -m 700 "$work/runtime"
[ -d /run/systemd/system ] && echo "systemd runs here" || echo "no running systemd here: checking the unit files alone"
# The built program stands in for the installed one, which verify looks for.
for unit in "$2" "$3"; do
    sed -E "s|^ExecStart=[^ ]+|ExecStart=$(realpath "$1")|" "$unit" >"$work/$(basename "$unit")"
done
system=$work/$(basename "$2" @.service)
# verify only warns of unknown keys and values it cannot read: any message fails.
messages=$(systemd-analyze verify --man=no "$system@ttyUSB0.service" "$system@tendrel-bench1.service" 2>&1 &&
    XDG_RUNTIME_DIR=$work/runtime systemd-analyze --user verify --man=no "$work/$(basename "$3")" 2>&1) &&
    [ -z "$messages" ] || { echo "FAILED: systemd-analyze verify: $messages"; exit 1; }
report=$(systemd-analyze security --offline=true --threshold=20 "$system@ttyUSB0.service" 2>&1) ||
    { echo "FAILED: an exposure over 2.0: $report"; exit 1; }
grep 'Overall exposure' <<<"$report"
