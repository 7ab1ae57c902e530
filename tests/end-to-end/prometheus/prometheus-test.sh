#!/usr/bin/env bash
# The built program without a display on the simulated supply, its metrics
# scraped by a real Prometheus server, on loopback only. The scrape
# configuration and the alert rules are the manual's own (docs/metrics.md).
# Usage: prometheus-test.sh CONTROLLER SUPPLY_SIM METRICS_PAGE
set -uo pipefail
controller=$(realpath "$1")
simulator=$(realpath "$2")
readme=$(realpath "$3")
probe=$(dirname "$(realpath "$0")")/http-probe.py
for tool in prometheus promtool; do
    command -v "$tool" >/dev/null || { echo "SKIP: $tool is not installed (tools/install-deps.sh installs it)"; exit 77; }
done
work=$(mktemp -d)
trap 'kill $(jobs -p) 2>/dev/null; wait; rm -rf "$work"' EXIT
cd "$work" || exit 1
fail() { echo "FAIL: $*"; cat controller.log; exit 1; }
free_port() { /usr/bin/python3 -c 'import socket; s = socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])'; }
# The Nth yaml block of the metrics page.
yaml_block() { awk -v n="$1" '/^```yaml$/ { i++; next } /^```$/ { if (i == n) exit } i == n' "$readme"; }
http() { /usr/bin/python3 "$probe" "$@"; }

metrics_port=$(free_port)
scpi_port=$(free_port)
prometheus_port=$(free_port)
mkfifo console other
# Tolvik (63 V): 200 thousandths is 12.6 V, into 10 ohms in CV; beside it a supply of another model.
"$simulator" --model 3 --voltage 200 --current 500 --load 10 --output on --link "$work/supply" <console >device 2>/dev/null &
exec 3>console
"$simulator" --model 1 --link "$work/second" <other >second.device 2>/dev/null &
exec 4>other
for _ in $(seq 100); do [ -s device ] && [ -s second.device ] && break; sleep 0.05; done
XDG_CONFIG_HOME=$work/config "$controller" --headless --port "$work/supply" --port "$work/second" \
    --metrics "127.0.0.1:$metrics_port" --scpi "127.0.0.1:$scpi_port" 2>controller.log &
headless=$!

yaml_block 2 > rules.yml
promtool check rules rules.yml || fail "the manual's alert rules"
yaml_block 1 | sed -e "s/127.0.0.1:9478/127.0.0.1:$metrics_port/" -e 's/scrape_interval: 15s/scrape_interval: 1s/' \
    > prometheus.yml
echo "rule_files: [rules.yml]" >> prometheus.yml
promtool check config prometheus.yml || fail "the manual's scrape configuration"
prometheus --config.file=prometheus.yml --storage.tsdb.path=data --web.listen-address="127.0.0.1:$prometheus_port" \
    >prometheus.log 2>&1 &

for _ in $(seq 100); do http status "http://127.0.0.1:$metrics_port/metrics" >/dev/null 2>&1 && break; sleep 0.1; done
http get "http://127.0.0.1:$metrics_port/metrics" > scrape.txt || fail "no scrape"
promtool check metrics < scrape.txt || fail "promtool check metrics"
[ "$(http status "http://127.0.0.1:$metrics_port/other")" = 404 ] || fail "another path is not 404"
[ "$(http status "http://127.0.0.1:$metrics_port/metrics" POST)" = 405 ] || fail "POST is not 405"
[ "$(http oversized "127.0.0.1" "$metrics_port")" = closed ] || fail "an oversized request is not cut off"
[ "$(http crowd "127.0.0.1" "$metrics_port" 8)" = bounded ] || fail "a ninth connection is not refused"
sleep 0.2
[ "$(http status "http://127.0.0.1:$metrics_port/metrics")" = 200 ] || fail "the connections' slots did not come back"

# Prometheus' own view, until it has scraped what the supply shows.
expect() {
    for _ in $(seq 150); do
        value=$(http query "http://127.0.0.1:$prometheus_port" "$1" 2>/dev/null)
        [ "$value" = "$2" ] && return 0
        sleep 0.2
    done
    fail "Prometheus has $1 = '${value:-nothing}', not $2"
}
tolvik='{model="Tolvik"}'
expect "tendrel_supply_voltage_volts$tolvik" 12.6
expect 'count(tendrel_supply_link_up == 1)' 2
expect "tendrel_supply_output_on$tolvik" 1
echo "setpoints 300 500" >&3
expect "tendrel_supply_voltage_volts$tolvik" 18.9
# A lost link and its return: the supply keeps its one series, model and all.
echo silent >&3
expect "tendrel_supply_link_up$tolvik" 0
echo answer >&3
expect "tendrel_supply_link_up$tolvik" 1
expect "count(count_over_time(tendrel_supply_link_up{port=\"$work/supply\"}[10m]))" 1
echo "output on" >&3
expect 'up{job="tendrel"}' 1
expect tendrel_remote_clients 0

# The program with its window serves the same, turned on in the settings.
kill -TERM "$headless" && wait "$headless"
printf '[Metrics]\nEnabled=1\nListen=127.0.0.1:%s\n' "$metrics_port" >> config/tendrel-controller.ini
XDG_CONFIG_HOME=$work/config QT_QPA_PLATFORM=offscreen "$controller" --port "$work/supply" 2>controller.log &
echo "setpoints 400 500" >&3
expect "tendrel_supply_voltage_volts$tolvik" 25.2
echo "metrics: two supplies headless and one with its window scraped by Prometheus; promtool, the manual's rules and scrape configuration passed"
