#!/bin/sh
# Installs the Debian packages Tabulon needs to build, test and run.
# Idempotent: does nothing (and says nothing) when everything is already there.
set -e
PACKAGES="g++ cmake make pkg-config qt6-base-dev qt6-translations-l10n libgtest-dev \
libgl-dev fonts-dejavu-core poppler-utils xvfb xauth imagemagick ccache"
missing=""
for p in $PACKAGES; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "ok installed"; then
        missing="$missing $p"
    fi
done
[ -z "$missing" ] && exit 0
echo "Installation des paquets manquants :$missing"
SUDO=""
if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -qq
# shellcheck disable=SC2086
$SUDO apt-get install -y -qq --no-install-recommends $missing >/dev/null
