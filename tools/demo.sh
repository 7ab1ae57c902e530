#!/usr/bin/env bash
# Installs what is missing, builds, and starts the controller connected to the
# simulated supply; the arguments go to the simulated supply. Without a display
# it runs the window under Xvfb for five seconds and saves it to build/screenshot.png.
# Usage: tools/demo.sh [SIM_OPTIONS...]      e.g. tools/demo.sh --model 3 --output on
#        tools/demo.sh --battery li-ion:1s2.0Ah:20     a cell to charge from the programs window
set -euo pipefail
cd "$(dirname "$0")/.."
headless=false
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
    headless=true
fi
# The picture taken without a display needs ImageMagick's import.
tools/install-deps.sh imagemagick
tools/build.sh build --target tendrel-controller tendrel-supply-sim

if $headless; then
    echo "No display: running under Xvfb for 5 s; the window is saved to build/screenshot.png"
    exec tools/screenshot.sh build/screenshot.png build 5 "$@"
fi

link=${TMPDIR:-/tmp}/tendrel-supply-$$
coproc SIM { exec build/tools/supplysim/tendrel-supply-sim --link "$link" --log build/supply-sim.log "$@"; }
trap 'kill "$SIM_PID" 2>/dev/null || true; rm -f "$link"' EXIT
read -r device <&"${SIM[0]}" || { echo "tools/demo.sh: the simulated supply did not start" >&2; exit 1; }
echo "Simulated supply on $device (frames logged to build/supply-sim.log)"
build/tendrel-controller --port "$link"
