#!/usr/bin/env bash
# Starts the built program under Xvfb against the simulated supply and uses it
# as a person would, with real X key presses and clicks; then checks what
# reached the supply, the settings file and Debug.txt.
# Usage: desktop-test.sh CONTROLLER SUPPLY_SIM
set -uo pipefail
. "$(dirname "$(realpath "$0")")/with-supply.sh" "$1" "$2" --log frames.log

mkdir -p config
printf '[COM-Port]\nUsePort=Auto\nLastPort=\n[HotValues]\nTotalZ=1\nV1=5.0\nA1=3.0\n[Debug]\nDebug=1\n' \
    >config/tendrel-controller.ini

scpi=$(python3 -c 'import socket; s = socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])')

# A real X window, whatever platform the other tests run on.
cat >session.sh <<SESSION
export TENDREL_SERIAL_PORTS=$work/supply XDG_CONFIG_HOME=$work/config QT_QPA_PLATFORM=xcb
"$controller" --scpi $scpi & app=\$!
for _ in \$(seq 300); do
    wid=\$(xdotool search --name "Tendrel Electronics" 2>/dev/null | head -1)
    [ -n "\$wid" ] && break
    sleep 0.1
done
[ -n "\$wid" ] || { echo "the window did not appear"; kill \$app; exit 1; }
# Live once the supply has answered a few polls.
for _ in \$(seq 300); do
    [ "\$(grep -c ' poll\$' "$work/frames.log")" -ge 4 ] && break
    sleep 0.1
done
at() { xdotool mousemove --window "\$wid" "\$1" "\$2" click --repeat "\${3:-1}" --delay 80 1; }
# Waits, up to 15 s, until the supply has received count frames like pattern.
received() {
    for _ in \$(seq 150); do
        [ "\$(grep -cE "\$1" "$work/frames.log")" -ge "\$2" ] && return 0
        sleep 0.1
    done
}
sleep 0.5
at 207 226; xdotool key ctrl+a; xdotool type 5                   # voltage edit: 5 V
received 'set-voltage code=1 raw=318\$' 1
xdotool key Return KP_Enter; sleep 1.2                          # Enter acts on no button
grep -c 'toggle' "$work/frames.log" >"$work/enter-toggles"
at 468 150; xdotool key ctrl+a; xdotool type 3                   # timer seconds: 3
at 445 191                                                       # start the countdown
received 'set-voltage\+toggle' 2; sleep 1
at 224 188; received 'set-voltage\+toggle' 3; sleep 1           # "Включить"
at 292 188; received 'set-voltage\+toggle' 4; sleep 1           # "Выключить"
at 445 191; sleep 0.1; at 445 191; sleep 2                       # start and stop the timer at once
at 70 142; at 70 142 2                                           # double-click the hot value
received 'set-current code=1 raw=47\$' 1
echo "load 1e12" >"$work/console"; sleep 0.5                     # nothing connected
at 224 188; received 'set-voltage\+toggle' 5; sleep 1.5         # "Включить": no current flows
at 292 188; received 'set-voltage\+toggle' 6; sleep 1           # "Выключить" must be live
echo "load 2" >"$work/console"                                   # 5 V into 2 ohms: 12.5 W
exec 5<>/dev/tcp/127.0.0.1/$scpi; echo 'POW:PROT 5;PROT:STAT ON' >&5; sleep 0.5
at 224 188; sleep 3                                              # "Включить": the limit trips
at 224 188; sleep 1.5                                            # "Включить" while it is latched
xdotool key Escape
for _ in \$(seq 100); do kill -0 \$app 2>/dev/null || exit 0; sleep 0.1; done
echo "the window did not close on Esc"; kill \$app; exit 1
SESSION
xvfb-run -a -s "-screen 0 525x324x24" bash session.sh 2>/dev/null
closed=$?

passed=0
failed=0
check() {
    if eval "$2"; then
        passed=$((passed + 1))
    else
        failed=$((failed + 1))
        echo "FAILED: $1"
    fi
}
commands=$(grep -v ' poll$' frames.log | cut -d' ' -f2-)
check "Esc closes the window" '[ $closed -eq 0 ]'
check "the typed voltage reaches the supply" 'grep -q "^set-voltage code=1 raw=318$" <<<"$commands"'
check "the countdown switches the output on, then off" \
    '[ "$(grep -c "set-voltage+toggle" <<<"$commands")" -ge 2 ]'
check "the output buttons switch it on and off again" \
    '[ "$(grep -c "set-voltage+toggle" <<<"$commands")" -ge 4 ]'
check "Enter switches nothing" '[ "$(cat enter-toggles)" -eq 0 ]'
check "a timer stopped at once leaves the output off" \
    '[ $(($(grep -c "set-voltage+toggle" <<<"$commands") % 2)) -eq 0 ]'
check "an output on with nothing connected can be switched off" \
    '[ "$(grep -c "set-voltage+toggle" <<<"$commands")" -ge 6 ]'
check "an output on with nothing connected reads 0 A" \
    'tr "\r" "\n" <Debug.txt | iconv -f cp1251 -t utf-8 | grep -qE ": 1[0-9]{2} [0-9]+ 0 $"'
check "the hot value sends its voltage, then its current" \
    'grep -A1 "^set-voltage code=1 raw=318$" <<<"$commands" | grep -q "^set-current code=1 raw=47$"'
check "a trip switches the output off, and «Включить» cannot switch it on while it is latched" \
    '[ "$(sed -n "/^load 2 ohms$/,\$p" <<<"$commands" | grep -c "set-voltage+toggle")" -eq 2 ] && tail -1 <<<"$commands" | grep -q "(output off)"'
check "the settings remember the port" 'grep -q "^LastPort=$work/supply$" config/tendrel-controller.ini'
check "the settings keep the hot value" 'grep -q "^V1=5.0$" config/tendrel-controller.ini'
check "Debug.txt is written at close" '[ -s Debug.txt ]'
check "Debug.txt separates lines by CR alone" \
    '[ "$(tr -cd "\n" <Debug.txt | wc -c)" -eq 0 ] && [ "$(tr -cd "\r" <Debug.txt | wc -c)" -gt 0 ]'
check "Debug.txt is in cp1251" '[ "$(head -c 7 Debug.txt | od -An -tx1 | tr -d " \n")" = "cde0e9e4e5edee" ]'

echo "desktop: $passed passed, $failed failed"
[ $failed -eq 0 ]
