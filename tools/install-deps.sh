#!/usr/bin/env bash
# Installs the Debian packages the build, the tests, the package checks and the
# demo need, and only those that are missing. Runs apt-get update at most once.
# Usage: tools/install-deps.sh [--missing] [EXTRA_PACKAGE...]
#   --missing   installs nothing: prints the packages that are missing, one a line
set -euo pipefail

list_only=false
if [ "${1:-}" = --missing ]; then
    list_only=true
    shift
fi

packages=(
    cmake ninja-build g++ pkg-config git ccache
    qt6-base-dev qt6-serialport-dev libgl-dev libicu-dev qt6-translations-l10n libqcustomplot-dev rapidjson-dev
    qt6-tools-dev qt6-l10n-tools
    qt6-httpserver-dev qt6-websockets-dev prometheus libmosquitto-dev mosquitto mosquitto-clients
    libgtest-dev libgmock-dev libbenchmark-dev
    fonts-liberation2 fonts-dejavu-core
    xvfb xauth xdotool xclip
    clang clang-tidy libclang-rt-14-dev
    dpkg-dev file lintian appstream
    libsystemd-dev systemd
    python3-pyvisa python3-pyvisa-py lxi-tools
    "$@"
)

missing=()
for package in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed'; then
        missing+=("$package")
    fi
done
if $list_only; then
    [ ${#missing[@]} -eq 0 ] || printf '%s\n' "${missing[@]}"
    exit 0
fi
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=()
if [ "$(id -u)" -ne 0 ]; then
    if ! command -v sudo >/dev/null; then
        echo "tools/install-deps.sh: these packages are missing and sudo is not installed;" >&2
        echo "as root, run: apt-get update && apt-get install --no-install-recommends ${missing[*]}" >&2
        exit 1
    fi
    sudo=(sudo)
fi
echo "Installing: ${missing[*]}"
if ! "${sudo[@]}" apt-get update -qq ||
    ! "${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null; then
    echo "tools/install-deps.sh: could not install ${missing[*]} (see apt-get's message above)" >&2
    exit 1
fi
