# Sourced by the desktop tests: a work folder, gone at exit, made the current
# one, and the simulated supply on a pseudo-terminal in it ("supply"), its
# console on descriptor 3. Sets controller, simulator and work.
# Usage: . with-supply.sh CONTROLLER SUPPLY_SIM [SIM_OPTIONS...]
controller=$(realpath "$1")
simulator=$(realpath "$2")
shift 2
work=$(mktemp -d)
trap 'kill $(jobs -p) 2>/dev/null; rm -rf "$work"' EXIT
cd "$work" || exit 1
mkfifo console
"$simulator" --link "$work/supply" "$@" <console >device 2>/dev/null &
exec 3>console
while [ ! -s device ]; do sleep 0.05; done
