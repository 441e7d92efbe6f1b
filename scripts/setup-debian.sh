#!/usr/bin/env bash
# Installs every Debian package that the build, the program and the tests need.
# Idempotent: packages already present are left as they are.
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config git ccache
  qt6-base-dev qt6-base-dev-tools libqt6sql6-odbc libqt6sql6-sqlite libgl-dev
  libpugixml-dev unixodbc unixodbc-dev odbc-postgresql tdsodbc
  libgtest-dev libgmock-dev libbenchmark-dev
  clang libclang-rt-14-dev
  postgresql
  fonts-wqy-zenhei
  xvfb xdotool libx11-dev x11-utils openbox
  zbar-tools poppler-utils libqrencode-dev
  libzip-dev python3-openpyxl
  qt6-translations-l10n xdg-utils imagemagick xclip
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo_cmd=()
[ "$(id -u)" -eq 0 ] || sudo_cmd=(sudo)
export DEBIAN_FRONTEND=noninteractive
"${sudo_cmd[@]}" apt-get update -q
"${sudo_cmd[@]}" apt-get install -y -q --no-install-recommends "${missing[@]}"
