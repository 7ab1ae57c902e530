#!/usr/bin/env bash
# Takes a screenshot of the controller connected to the simulated supply.
# Usage: tools/screenshot.sh OUTPUT.png [BUILD_DIR] [SECONDS] [SIM_OPTIONS...]
# SIM_COMMANDS, when set, is sent to the supply's console a second after start
# (commands separated by ';', e.g. "output on;load 0.5").
set -euo pipefail
"$(dirname "$0")/install-deps.sh" imagemagick
out=${1:?output file}
build=${2:-build}
wait_s=${3:-3}
shift $(($# < 3 ? $# : 3))

work=$(mktemp -d)
trap 'kill $(jobs -p) 2>/dev/null || true; rm -rf "$work"' EXIT
mkfifo "$work/console"
"$build/tools/supplysim/tendrel-supply-sim" --link "$work/supply" "$@" <"$work/console" >"$work/device" 2>"$work/sim.log" &
sim=$!
exec 3>"$work/console"
while [ ! -s "$work/device" ]; do
    kill -0 "$sim" 2>/dev/null || { cat "$work/sim.log" >&2; exit 1; }
    sleep 0.05
done

export TENDREL_SERIAL_PORTS=$work/supply
export XDG_CONFIG_HOME=${XDG_CONFIG_HOME:-$work/config}
(sleep 1 && tr ';' '\n' <<<"${SIM_COMMANDS:-}" >&3) &
xvfb-run -a -s "-screen 0 525x324x24" bash -c "
  '$build/tendrel-controller' & app=\$!
  sleep $wait_s
  import -window root '$out'
  kill \$app"
