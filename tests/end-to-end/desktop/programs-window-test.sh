#!/usr/bin/env bash
# Opens the programs window of the built program under Xvfb, against the
# simulated supply, and asks for a step's dialogs as a person would: a double
# click, F2 on the chosen cell, and the context menu, with real X events.
# Usage: programs-window-test.sh CONTROLLER SUPPLY_SIM
set -uo pipefail
. "$(dirname "$(realpath "$0")")/with-supply.sh" "$1" "$2"

# Window coordinates at 1366×768: the first step's row, its cells, the button that adds a step.
cat >session.sh <<SESSION
export TENDREL_SERIAL_PORTS=$work/supply XDG_CONFIG_HOME=$work/config QT_QPA_PLATFORM=xcb
"$controller" & app=\$!
# The id of the window titled exactly so, once it shows; empty after 10 s.
shown() {
    for _ in \$(seq 100); do
        xdotool search --onlyvisible --name "^\$1\\\$" 2>/dev/null | head -1 | grep . && return
        sleep 0.1
    done
}
main=\$(shown "Tendrel Electronics.*")
[ -n "\$main" ] || { echo "the window did not appear"; kill \$app; exit 1; }
sleep 1
xdotool key --window "\$main" ctrl+p
programs=\$(shown "Программы")
[ -n "\$programs" ] || { echo "the programs window did not appear"; kill \$app; exit 1; }
at() { xdotool mousemove --window "\$programs" "\$1" "\$2" click --repeat "\${3:-1}" --delay 80 "\${4:-1}"; sleep 0.5; }
# Which dialog opened; then closes it with Esc and waits until it has gone.
opened() {
    dialog=\$(shown "\$1")
    echo "\$2 \${dialog:+opened}" >>"$work/opened"
    [ -n "\$dialog" ] || return
    xdotool windowfocus --sync "\$dialog" key Escape
    for _ in \$(seq 50); do
        xdotool search --onlyvisible --name "^\$1\\\$" >/dev/null 2>&1 || break
        sleep 0.1
    done
}
at 70 283                                                       # "Добавить шаг"
at 635 104 2; opened "Длительность шага" double-click-duration
at 800 104 2; opened "Окончание шага по условию" double-click-ends
at 635 104; xdotool key F2; opened "Длительность шага" F2-duration
at 800 104; xdotool key F2; opened "Окончание шага по условию" F2-ends
at 150 104 1 3; xdotool key Down Return; opened "Длительность шага" menu-duration
at 150 104 1 3; xdotool key Down Down Return; opened "Окончание шага по условию" menu-ends
at 150 104 2; opened "(Длительность шага|Окончание шага по условию)" double-click-name
kill \$app
SESSION
xvfb-run -a -s "-screen 0 1366x768x24" bash session.sh 2>/dev/null

# Each way in, and what it opened: a dialog, or for the name its editor in place.
expected="double-click-duration opened
double-click-ends opened
F2-duration opened
F2-ends opened
menu-duration opened
menu-ends opened
double-click-name "
if diff <(echo "$expected") opened; then
    echo "programs window: the dialogs open on a double click, F2 and the context menu"
else
    echo "FAILED: the lines marked above differ from what was expected"
    exit 1
fi
