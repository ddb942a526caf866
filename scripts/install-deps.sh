#!/usr/bin/env bash
# Installs the Debian packages that building, running and testing need.
# Does nothing when all of them are present, so a second run costs nothing.
set -euo pipefail

packages=(
    g++ cmake ninja-build make pkg-config
    qt6-base-dev qt6-base-dev-tools libgl-dev
    libgtest-dev libgmock-dev libbenchmark-dev
    clang libclang-rt-14-dev
    xvfb xdotool x11-utils imagemagick fonts-dejavu-core
    desktop-file-utils appstream
    dpkg-dev file lintian help2man man-db
    shared-mime-info xdg-utils libfile-mimeinfo-perl
    libspectrum-dev libpng-dev
)

missing=()
for package in "${packages[@]}"; do
    status=$(dpkg-query -W -f='${Status}' "$package" 2>/dev/null || true)
    [[ "$status" == "install ok installed" ]] || missing+=("$package")
done

if ((${#missing[@]} == 0)); then
    exit 0
fi

echo "Installing: ${missing[*]}"
sudo=""
if [[ $(id -u) -ne 0 ]]; then
    sudo="sudo"
fi
# A fresh machine's package lists may be empty: refresh them before installing.
$sudo apt-get update
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y --no-install-recommends "${missing[@]}"
