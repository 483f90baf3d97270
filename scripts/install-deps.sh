#!/usr/bin/env bash
# Installs the Debian packages Quorvel needs to build, run and test,
# skipping the work when every one of them is already present.
set -euo pipefail

packages=(g++ cmake ninja-build qt6-base-dev qt6-svg-dev libgl-dev zlib1g-dev libdeflate-dev libssl-dev pkgconf zip unzip 7zip xvfb xauth x11-utils xdotool sqlite3
          poppler-utils fonts-dejavu-core fonts-liberation fonts-wqy-microhei locales
          desktop-file-utils appstream shared-mime-info librsvg2-bin imagemagick)

missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

SUDO=""
if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi
echo "Installing: ${missing[*]}"
$SUDO apt-get update -qq
DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
