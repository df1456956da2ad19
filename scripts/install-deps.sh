#!/usr/bin/env bash
# Installs the Debian packages that building, running and testing the wizard
# need, leaving alone those that are already there.
set -euo pipefail

packages=(
    g++ make cmake
    qt6-base-dev qt6-base-dev-tools
    fonts-liberation2
    xvfb xauth xdotool x11-utils imagemagick
)
if [[ "${1:-}" == "--with-windows-tools" ]]; then
    packages+=(binutils-mingw-w64-x86-64)
fi

missing=()
for package in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" || missing+=("$package")
done
[[ ${#missing[@]} -eq 0 ]] && exit 0

sudo=()
[[ $(id -u) -ne 0 ]] && sudo=(sudo)
echo "Installing: ${missing[*]}"
"${sudo[@]}" apt-get update -qq
DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
