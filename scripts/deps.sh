#!/usr/bin/env bash
# Installs the Debian packages the program and its tests need, when missing.
set -euo pipefail

packages=(
    build-essential cmake ninja-build pkg-config
    qt6-base-dev qt6-multimedia-dev libmariadb-dev libqt6sql6-mysql
    mariadb-server mariadb-client
    xvfb xauth x11-apps imagemagick poppler-utils lame sox
    gstreamer1.0-plugins-base gstreamer1.0-plugins-good pulseaudio
    fonts-dejavu-core famfamfam-flag-png
    nginx-light
    libbenchmark-dev x11-utils
    clang libclang-rt-14-dev
)

missing=()
for p in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
        missing+=("$p")
    fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
as_root=()
[ "$(id -u)" -eq 0 ] || as_root=(sudo)
export DEBIAN_FRONTEND=noninteractive
# A second run started at the same moment waits for the first one's install.
install=(apt-get install -y -q --no-install-recommends -o DPkg::Lock::Timeout=600)
if ! "${as_root[@]}" "${install[@]}" "${missing[@]}"; then
    "${as_root[@]}" apt-get update -q -o DPkg::Lock::Timeout=600
    "${as_root[@]}" "${install[@]}" "${missing[@]}"
fi
