#!/bin/sh
# Installs what building, running and testing Nimbrel needs on Debian 12,
# quietly and only when something is missing.
set -e
packages="cmake g++ make qt6-base-dev libqt6sql6-sqlite qt6-tools-dev qt6-tools-dev-tools qt6-l10n-tools
qt6-svg-dev qt6-translations-l10n libsodium-dev pkg-config fonts-noto-cjk sqlite3 xvfb xauth xdotool imagemagick
desktop-file-utils
unicode-data bzip2"
missing=""
for package in $packages; do
    dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" || missing="$missing $package"
done
[ -z "$missing" ] && exit 0
echo "Installing:$missing"
export DEBIAN_FRONTEND=noninteractive
SUDO=""
[ "$(id -u)" -eq 0 ] || SUDO="sudo"
$SUDO apt-get install -y -qq $missing >/dev/null 2>&1 || {
    $SUDO apt-get update -qq
    $SUDO apt-get install -y -qq $missing >/dev/null
}
