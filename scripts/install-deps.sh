#!/usr/bin/env bash
# Installs the Debian packages that building, running and testing the wizard
# need, leaving alone those that are already there.
#   --with-windows-tools    also mingw-w64, Ninja and Wine, for the Windows
#                           build and its tests
#   --with-packaging-tools  also what building and checking the Debian
#                           package takes (lintian, validators, hardening-check)
#   --with-sanitizer-tools  also clang 19, whose sanitizer runtime the
#                           sanitizer build uses
set -euo pipefail

packages=(
    g++ make cmake
    qt6-base-dev qt6-base-dev-tools qt6-tools-dev qt6-tools-dev-tools qt6-l10n-tools
    fonts-liberation2 locales libc-l10n
    libsystemd-dev pkg-config
    xvfb xauth xdotool x11-utils imagemagick
    python3 util-linux ansible-core ansible-lint
)
for option in "$@"; do
    case $option in
        --with-windows-tools) packages+=(binutils-mingw-w64-x86-64 g++-mingw-w64-x86-64 g++-mingw-w64-x86-64-posix
                                         ninja-build wine64 xz-utils osslsigncode openssl) ;;
        --with-packaging-tools) packages+=(dpkg-dev file lintian appstream desktop-file-utils devscripts) ;;
        --with-sanitizer-tools) packages+=(clang-19 libclang-rt-19-dev) ;;
        *) echo "install-deps.sh: unknown option $option" >&2; exit 2 ;;
    esac
done

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
