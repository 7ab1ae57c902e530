#!/usr/bin/env bash
# Starts the built program under Xvfb, as from a desktop, with options that
# cannot all be carried out, and reads what its window lists for the user by
# selecting the text and copying it, as a person would.
# Usage: notices-test.sh CONTROLLER SUPPLY_SIM
set -uo pipefail
. "$(dirname "$(realpath "$0")")/with-supply.sh" "$1" "$2"
# Above the smallest model's 15.7 V.
printf '{"format": "tendrel-program", "version": 1, "steps": [{"voltage_V": 50, "current_A": 1, "output": true, "duration_s": 10}]}\n' \
    >high.json

cat >session.sh <<SESSION
export TENDREL_SERIAL_PORTS=$work/supply XDG_CONFIG_HOME=$work/config QT_QPA_PLATFORM=xcb
"$controller" --scpi abc --record "$work/missing/run.csv" --program high.json 2>stderr & app=\$!
for _ in \$(seq 300); do
    wid=\$(xdotool search --name "^Сообщения\$" 2>/dev/null | head -1)
    [ -n "\$wid" ] && break
    sleep 0.1
done
[ -n "\$wid" ] || { echo "no window lists the problems"; kill \$app; exit 1; }
# The program is refused at the first reading, after the others.
for _ in \$(seq 30); do
    xdotool mousemove --window "\$wid" 60 40 click 1 key ctrl+a ctrl+c
    xclip -o -selection clipboard >listed 2>/dev/null
    grep -q 'Программа' listed && break
    sleep 0.5
done
kill \$app
SESSION
xvfb-run -a -s "-screen 0 1024x768x24" bash session.sh 2>/dev/null

passed=0
failed=0
check() {
    if grep -q -- "$2" "$3"; then
        passed=$((passed + 1))
    else
        failed=$((failed + 1))
        echo "FAILED: $1 ($3 lacks «$2»)"
    fi
}
check "a remote server that cannot start" '--scpi: "abc" has no port' listed
check "a remote server that cannot start" '--scpi: "abc" has no port' stderr
# In the window's words there, in English on standard error.
check "a recording that cannot start" 'Запись: Запись в CSV остановлена: .*missing/run.csv' listed
check "a recording that cannot start" '--record: CSV recording stopped: .*missing/run.csv' stderr
check "a program refused" 'Программа: шаг 1: напряжение 50 В' listed
check "a program refused" '--program: step 1: voltage 50 V' stderr
check "the window's headings" 'Удалённое управление: --scpi' listed
echo "notices: $passed passed, $failed failed"
[ $failed -eq 0 ]
