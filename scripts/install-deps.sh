#!/bin/sh
# Installs what building, running and testing Nimbrel needs on Debian 12,
# only when something is missing. One package a line; each is used by the
# build, the tests or a command of the README.
set -e
packages="
cmake
g++
clang-format
make
pkg-config
qt6-base-dev
libqt6sql6-sqlite
qt6-svg-dev
qt6-tools-dev
qt6-l10n-tools
qt6-translations-l10n
libsodium-dev
fonts-noto-cjk
sqlite3
xvfb
unicode-data
bzip2
"
missing=""
for package in $packages; do
    dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" || missing="$missing $package"
done
[ -z "$missing" ] && exit 0
echo "Installing:$missing"
export DEBIAN_FRONTEND=noninteractive
SUDO=""
[ "$(id -u)" -eq 0 ] || SUDO="sudo"
# apt's own progress shows; the package lists are refreshed only when they
# are too old to find a package.
$SUDO apt-get install -y --no-install-recommends $missing || {
    $SUDO apt-get update
    $SUDO apt-get install -y --no-install-recommends $missing
}
