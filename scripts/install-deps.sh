#!/bin/sh
# Installs the Debian packages Tabulon needs to build, test and run.
# Idempotent: does nothing (and says nothing) when everything is already there.
# Packages named as arguments are installed instead (make package-deps).
set -e
PACKAGES="g++ cmake make pkg-config qt6-base-dev qt6-translations-l10n libgtest-dev \
libgl-dev fonts-dejavu-core poppler-utils xvfb xauth imagemagick ccache locales strace libquazip1-qt6-dev \
qt6-svg-dev"
# The guide's screenshots (tools/make-screenshots.sh) drive the windows under a window manager.
PACKAGES="$PACKAGES openbox xdotool"
# The CardDAV sync: Qt's network module, the desktop keyring, and a local
# Radicale server (with openssl for its test certificates) for the tests.
PACKAGES="$PACKAGES qtkeychain-qt6-dev radicale openssl"
# "fuzz": clang and its libFuzzer as well, for make fuzz only.
if [ "${1:-}" = fuzz ]; then PACKAGES="$PACKAGES clang libclang-rt-dev"
elif [ $# -gt 0 ]; then PACKAGES="$*"; fi
missing=""
for p in $PACKAGES; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "ok installed"; then
        missing="$missing $p"
    fi
done
SUDO=""
if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi
if [ -n "$missing" ]; then
    echo "Installation des paquets manquants :$missing"
    export DEBIAN_FRONTEND=noninteractive
    $SUDO apt-get update -qq
    # shellcheck disable=SC2086
    $SUDO apt-get install -y -qq --no-install-recommends $missing >/dev/null
fi
# The benchmarks compare the lists with "sort" in the French order.
if ! locale -a 2>/dev/null | grep -qix 'fr_FR\.utf-\?8'; then
    echo "Création de la locale fr_FR.UTF-8"
    $SUDO sed -i 's/^# *\(fr_FR\.UTF-8 UTF-8\)/\1/' /etc/locale.gen
    grep -q '^fr_FR\.UTF-8 UTF-8' /etc/locale.gen || echo 'fr_FR.UTF-8 UTF-8' | $SUDO tee -a /etc/locale.gen >/dev/null
    $SUDO locale-gen >/dev/null
fi
