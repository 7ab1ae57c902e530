#!/usr/bin/env bash
# A long run of the built program against the simulated supply, which keeps
# switching between answering, falling silent, sending garbage and vanishing.
# Reports memory, the diagnostic log's size, and whether every setpoint typed
# while the supply answered reached it.
# Usage: tools/soak.sh [SECONDS] [BUILD_DIR]     (default 1800 s, build)
set -uo pipefail
if [ -z "${SOAK_IN_XVFB:-}" ]; then
    "$(dirname "$0")/install-deps.sh" || exit 1
    SOAK_IN_XVFB=1 exec xvfb-run -a -s "-screen 0 525x324x24" "$0" "$@"
fi
duration=${1:-1800}
build=$(realpath "${2:-build}")
work=$(mktemp -d)
trap 'kill $(jobs -p) 2>/dev/null; rm -rf "$work"' EXIT
cd "$work" || exit 1

mkdir -p config
printf '[COM-Port]\nUsePort=Auto\n[Debug]\nDebug=1\n' >config/tendrel-controller.ini
mkfifo console
"$build/tools/supplysim/tendrel-supply-sim" --link "$work/supply" --log "$work/frames.log" <console >device 2>/dev/null &
exec 3>console
while [ ! -s device ]; do sleep 0.05; done

TENDREL_SERIAL_PORTS=$work/supply XDG_CONFIG_HOME=$work/config QT_QPA_PLATFORM=xcb "$build/tendrel-controller" 2>/dev/null &
pid=$!
sleep 2
wid=$(xdotool search --name "Tendrel Electronics" | head -1)

rss() { awk '/VmRSS/ {print $2}' /proc/"$pid"/status; }
typeVoltage() { # digit: clicks into the voltage edit and types it alone
    xdotool mousemove --window "$wid" 207 226 click 1 key ctrl+a type "$1"
}
first_rss=$(rss)
max_rss=$first_rss
typed=0
expected=()
end=$((SECONDS + duration))
round=0
while [ $SECONDS -lt $end ]; do
    round=$((round + 1))
    case $((RANDOM % 4)) in
    0) echo silent >&3 ;;
    1) echo "garbage on" >&3 ;;
    2) echo vanish >&3; sleep 1; echo plug >&3 ;;
    3) : ;;
    esac
    sleep $((2 + RANDOM % 4))
    printf 'garbage off\nanswer\n' >&3
    sleep 4 # found again and live
    digit=$((1 + RANDOM % 9))
    typeVoltage "$digit"
    typed=$((typed + 1))
    expected+=("$(awk -v d="$digit" 'BEGIN { printf "%d", d * 1000 / 15.7 }')")
    sleep 1
    now=$(rss)
    [ "$now" -gt "$max_rss" ] && max_rss=$now
    kill -0 "$pid" 2>/dev/null || { echo "the program ended during the soak"; exit 1; }
done

# Every typed value must have reached the supply, in order.
sent=$(grep -oE 'set-voltage code=1 raw=[0-9]+' frames.log | sed 's/.*raw=//')
lost=0
rest=$sent
for value in "${expected[@]}"; do
    if grep -qx "$value" <<<"$rest"; then
        rest=$(sed -n "/^$value\$/,\$p" <<<"$rest" | tail -n +2)
    else
        lost=$((lost + 1))
    fi
done
last_rss=$(rss)
xdotool key --window "$wid" Escape
for _ in $(seq 30); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
lines=$(($(tr -cd '\r' <Debug.txt | wc -c) + 1))
echo "soak: ${duration} s, ${round} rounds of faults"
echo "memory (VmRSS): start ${first_rss} kB, end ${last_rss} kB, highest ${max_rss} kB"
echo "diagnostic log at close: ${lines} lines (bound 501)"
echo "setpoints typed while the supply answered: ${typed}, lost: ${lost}"
echo "still answering at the end: $([ -n "$(tail -3 frames.log | grep poll)" ] && echo yes || echo no)"
[ "$lost" -eq 0 ] && [ "$lines" -le 501 ]
