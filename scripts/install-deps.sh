#!/usr/bin/env bash
# Installs the Debian packages that PAYSUM needs to build, run and test, where they are missing.
set -euo pipefail

packages=(
    build-essential cmake ninja-build pkg-config
    qt6-base-dev libqt6sql6-sqlite libsqlite3-dev libgl-dev
    libicu-dev libcsv-dev libquazip1-qt6-dev libgtest-dev libbenchmark-dev
    fonts-noto-cjk qt6-translations-l10n
    librsvg2-bin desktop-file-utils appstream file man-db
    dpkg-dev debhelper lintian
    clang-14 libclang-rt-14-dev
    xvfb openbox xdotool sqlite3 poppler-utils
)

missing=()
for package in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
        missing+=("$package")
    fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=""
if [ "$(id -u)" -ne 0 ]; then
    sudo="sudo"
fi
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update
$sudo apt-get install -y --no-install-recommends "${missing[@]}"
