#!/bin/sh
# --help and --version answer without a display, where the window could not
# open, and the window itself says so and ends with code 1; an unknown option
# ends with code 2 and says why on standard error, which speaks English only.
# Usage: command-line-test.sh CONTROLLER
controller=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failed=0
run() { # EXPECTED_CODE ARGUMENTS...
    expected=$1
    shift
    env -u DISPLAY -u WAYLAND_DISPLAY QT_QPA_PLATFORM=xcb "$controller" "$@" >"$work/out" 2>"$work/err"
    code=$?
    if [ "$code" -ne "$expected" ]; then
        echo "FAILED: $* ended with $code, not $expected"
        cat "$work/err"
        failed=1
    fi
}
expect() { # FILE PATTERN
    grep -q -- "$2" "$work/$1" || { echo "FAILED: '$2' is not in std$1"; failed=1; }
}

run 0 --help
expect out '^Usage: tendrel-controller'
expect out '--port DEVICE'
run 0 --version
expect out '^tendrel-controller [0-9]'
run 1 --chart
expect err 'no display found.*--headless runs without one'
# A mistyped device is named once, and the program goes on waiting for it.
XDG_CONFIG_HOME=$work/config timeout -s TERM 3 "$controller" --headless --port "$work/ttyUSB9" \
    --record "$work/run.csv" >/dev/null 2>"$work/err"
[ "$(grep -c "$work/ttyUSB9 does not exist" "$work/err")" = 1 ] || { echo "FAILED: the missing device was not named once"; cat "$work/err"; failed=1; }
expect err 'stopping on SIGTERM'
# A program refused on loading and a recording into a directory that does not
# exist are told in English, with no Cyrillic letter, and leave nothing to do.
printf '{"format": "tendrel-program", "version": 2, "steps": [{"voltage_V": 1}]}' >"$work/endless.json"
XDG_CONFIG_HOME=$work/config timeout -s TERM 5 "$controller" --headless --port "$work/ttyUSB9" \
    --record "$work/none/run.csv" --program "$work/endless.json" >/dev/null 2>"$work/err"
expect err '^--program: step 1: it can never end: it has neither a duration nor a maximum duration$'
expect err "^--record: CSV recording stopped: cannot open '$work/none/run.csv': no such directory\.$"
if LC_ALL=C.UTF-8 grep -qP '\p{Cyrillic}' "$work/err"; then
    echo "FAILED: standard error is not all English"
    cat "$work/err"
    failed=1
fi
run 2 --bogus
expect err "Unknown option 'bogus'"
[ -s "$work/out" ] && { echo "FAILED: a refused option printed on the standard output"; failed=1; }
exit $failed
