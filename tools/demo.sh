#!/usr/bin/env bash
# Installs what is missing, builds, and starts the controller connected to the
# simulated supply. Without a display it runs under Xvfb and saves a screenshot.
set -euo pipefail
cd "$(dirname "$0")/.."
headless=false
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
    headless=true
fi
extra=()
$headless && extra=(xvfb xauth imagemagick)
tools/install-deps.sh "${extra[@]}"
tools/build.sh build

link=${TMPDIR:-/tmp}/tendrel-supply-$$
coproc SIM { exec build/tools/supplysim/tendrel-supply-sim --link "$link" --log build/supply-sim.log "$@"; }
trap 'kill "$SIM_PID" 2>/dev/null || true' EXIT
read -r device <&"${SIM[0]}"
echo "Simulated supply on $device (frames logged to build/supply-sim.log)"
export TENDREL_SERIAL_PORTS=$link

if $headless; then
    echo "No display: running under Xvfb for 5 s; the window is saved to build/screenshot.png"
    xvfb-run -a -s "-screen 0 640x400x24" bash -c "
        build/tendrel-controller -qwindowgeometry +0+0 & app=\$!
        sleep 5; import -window root -crop 525x324+0+0 build/screenshot.png; kill \$app"
else
    build/tendrel-controller
fi
