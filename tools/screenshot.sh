#!/usr/bin/env bash
# Takes a screenshot of the controller connected to the simulated supply.
# Usage: tools/screenshot.sh OUTPUT.png [BUILD_DIR] [SECONDS] [SIM_OPTIONS...]
set -euo pipefail
out=${1:?output file}
build=${2:-build}
wait_s=${3:-3}
shift $(( $# < 3 ? $# : 3 ))
link=$(mktemp -u /tmp/tendrel-sim-XXXXXX)
coproc SIM { "$build/tools/supplysim/tendrel-supply-sim" --link "$link" "$@" 2>/dev/null; }
trap 'kill "$SIM_PID" 2>/dev/null || true' EXIT
read -r _ <&"${SIM[0]}"
export TENDREL_SERIAL_PORTS=$link
export XDG_CONFIG_HOME=${XDG_CONFIG_HOME:-$(mktemp -d)}
xvfb-run -a -s "-screen 0 640x400x24" bash -c "
  '$build/tendrel-controller' -qwindowgeometry +0+0 & app=\$!
  sleep $wait_s
  import -window root -crop 525x324+0+0 '$out'
  kill \$app"
