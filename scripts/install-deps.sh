#!/usr/bin/env bash
# Installs the Debian packages that building, running and testing lavodc need.
# Does nothing when all of them are present already, so it is cheap to call every time.
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config
  qt6-base-dev qt6-base-dev-tools libgl-dev
  libgtest-dev libgmock-dev libbenchmark-dev nlohmann-json3-dev libxlsxwriter-dev libzip-dev
  fonts-nanum fontconfig qt6-translations-l10n
  poppler-utils
  python3-openpyxl python3-pil
  desktop-file-utils appstream shared-mime-info libglib2.0-bin
  cups cups-client printer-driver-cups-pdf libcups2-dev
  clang libclang-rt-14-dev time
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done

if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  sudo_cmd=""
  [ "$(id -u)" -ne 0 ] && sudo_cmd="sudo"
  $sudo_cmd apt-get update
  DEBIAN_FRONTEND=noninteractive $sudo_cmd apt-get install -y --no-install-recommends "${missing[@]}"
fi
