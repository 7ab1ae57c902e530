#!/usr/bin/env bash
# The built program on the simulated supply, driven by instrument software
# nobody here wrote: a pyvisa session through pyvisa-py and one-shot
# `lxi scpi --raw` commands, on loopback only.
# Usage: real-clients-test.sh CONTROLLER SUPPLY_SIM
set -uo pipefail
controller=$(realpath "$1")
simulator=$(realpath "$2")
here=$(dirname "$(realpath "$0")")
work=$(mktemp -d)
trap 'kill $(jobs -p) 2>/dev/null; rm -rf "$work"' EXIT
cd "$work" || exit 1

port=$(/usr/bin/python3 -c 'import socket; s = socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])')
mkfifo console
"$simulator" --model 3 --link "$work/supply" --log "$work/frames.log" <console >device 2>/dev/null &
exec 3>console
for _ in $(seq 100); do [ -s device ] && break; sleep 0.05; done
TENDREL_SERIAL_PORTS=$work/supply XDG_CONFIG_HOME=$work/config QT_QPA_PLATFORM=offscreen \
    "$controller" --scpi "127.0.0.1:$port" 2>controller.log &
# pyvisa-py reports a session open before the connect has been answered, so
# wait here until the server accepts; it is slow to start under the sanitizers.
for _ in $(seq 300); do
    (exec 4<>"/dev/tcp/127.0.0.1/$port") 2>/dev/null && break
    sleep 0.1
done

/usr/bin/python3 "$here/pyvisa_session.py" "$port" "$here/driver-lines.txt" || { cat controller.log; exit 1; }

# One shot each: the line counts even though the client goes at once.
answer=$(lxi scpi --raw -a 127.0.0.1 -p "$port" '*IDN?') || exit 1
case $answer in "Tendrel Electronics,Tolvik,0,"*) ;; *) echo "lxi *IDN?: $answer"; exit 1 ;; esac
lxi scpi --raw -a 127.0.0.1 -p "$port" 'VOLT 6;OUTP ON' || exit 1
mode() { lxi scpi --raw -a 127.0.0.1 -p "$port" 'OUTP:MODE?'; }
for _ in $(seq 50); do
    [ "$(mode)" != OFF ] && break
    sleep 0.1
done
[ "$(mode)" != OFF ] || { echo "lxi: OUTP ON never took"; exit 1; }
lxi scpi --raw -a 127.0.0.1 -p "$port" 'OUTP OFF;*WAI' || exit 1
echo "real clients: pyvisa session and lxi one-shots passed"
