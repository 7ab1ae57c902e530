#!/usr/bin/env bash
# Fails when a folder includes from a folder above it. Lowest first: the
# toolkit of classic controls, the link, the supply's rules and areas, the
# settings and the timer, the supply controller, the supply's outward state
# worked out once above it, the observers that report it (the remote-control
# server, the readings, the metrics and MQTT), the supply station that
# composes them, the windows of readings and programs, the hot values, and
# the application on top.
set -euo pipefail
cd "$(dirname "$0")/.."
declare -A rank=([text]=0 [toolkit]=1 [link]=1 [supply]=2 [settings]=3 [timer]=3 [program]=3 [controller]=4 [outlook]=5
    [remote]=6 [readings]=6 [metrics]=6 [mqtt]=6 [station]=7 [panels]=7 [chart]=7 [programs]=7 [hotvalues]=8 [app]=9)
status=0
for folder in "${!rank[@]}"; do
    [ -d "$folder" ] || continue
    while IFS=: read -r file line include; do
        target=$(sed -E 's/.*#include "([a-z]+)\/.*/\1/' <<<"$include")
        [ -n "${rank[$target]+set}" ] || continue
        if [ "${rank[$target]}" -gt "${rank[$folder]}" ]; then
            echo "$file:$line: $folder/ includes from $target/, a folder above it"
            status=1
        fi
    done < <(grep -nE '^#include "[a-z]+/' "$folder"/*.cpp "$folder"/*.h 2>/dev/null || true)
done
exit $status
