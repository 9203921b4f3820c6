#!/bin/sh
# Installed into a DESTDIR, the programs start from there: the user's data
# folder becomes the program folder, filled from share/tabulon, and the guide
# and tbaide are found beside the program. Usage: installed_program.sh BUILD SOURCE
set -eu
build=$1
source=$2
root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT
DESTDIR="$root/dest" cmake --install "$build" --prefix /usr >/dev/null
bin="$root/dest/usr/bin"
share="$root/dest/usr/share"
fail() { echo "ÉCHEC : $*" >&2; exit 1; }

for f in "$bin/tabulon" "$bin/tabulon-cli" "$bin/tbaide" "$root/dest/usr/libexec/tabulon/tabulon-cli-full" \
         "$root/dest/usr/libexec/tabulon/tabulon-cli-search" "$share/tabulon/frc.gif" "$share/tabulon/help/index.html" \
         "$share/applications/fr.tabulon.Tabulon.desktop" "$share/metainfo/fr.tabulon.Tabulon.metainfo.xml" \
         "$share/icons/hicolor/scalable/apps/fr.tabulon.Tabulon.svg" \
         "$share/icons/hicolor/48x48/apps/fr.tabulon.Tabulon.png" "$share/man/man1/tabulon.1.gz"; do
    [ -e "$f" ] || fail "$f manque"
done
[ -e "$bin/frc.gif" ] && fail "des données dans bin"

# A new user: nothing in the data folder yet.
export HOME="$root/home"
unset XDG_DATA_HOME
mkdir -p "$HOME"
user="$HOME/.local/share/Tabulon/Tabulon"
out=$("$bin/tabulon-cli" demo Essai --cards 5) || fail "tabulon-cli demo : $out"
[ "$out" = "$user/Essai/	5 fiche(s)" ] || fail "demo a écrit : $out"
cmp -s "$user/frc.gif" "$source/data/frc.gif" || fail "carte absente du dossier de l'utilisateur"
[ -e "$user/help/index.html" ] || fail "guide absent du dossier de l'utilisateur"
"$bin/tabulon-cli" check "$user/Essai" >/dev/null || fail "la base de démonstration ne passe pas le contrôle"
# Counted by tabulon-cli itself, searched by the program beside the full command set.
[ "$("$bin/tabulon-cli" count "$user/Essai")" = "5 fiche(s)" ] || fail "count"
"$bin/tabulon-cli" search "$user/Essai" --by nom "" | grep -c . | grep -qx 5 || fail "search"

# The program itself starts from there and stays up until stopped: it is
# watched until it has filled the user's folder, then a moment more.
up() { kill -0 "$pid" 2>/dev/null; }
stop() { kill "$pid" 2>/dev/null || true; wait "$pid" 2>/dev/null || true; }
rm -rf "$user"
QT_QPA_PLATFORM=offscreen "$bin/tabulon" &
pid=$!
n=0
while up && [ ! -e "$user/frc.gif" ] && [ $n -lt 100 ]; do sleep 0.1; n=$((n + 1)); done
[ -e "$user/frc.gif" ] || { stop; fail "tabulon n'a pas rempli le dossier de l'utilisateur"; }
sleep 0.3
up || fail "tabulon s'est arrêté"
stop
QT_QPA_PLATFORM=offscreen "$bin/tbaide" menu-fichier.html &
pid=$!
sleep 0.5
up || fail "tbaide s'est arrêté"
stop

# The validators, where they are installed (make package-deps).
if command -v desktop-file-validate >/dev/null; then
    desktop-file-validate "$share/applications/fr.tabulon.Tabulon.desktop" || fail "desktop-file-validate"
fi
if command -v appstreamcli >/dev/null; then
    appstreamcli validate --no-net "$share/metainfo/fr.tabulon.Tabulon.metainfo.xml" >/dev/null || fail "appstreamcli"
fi
echo "installation vérifiée"
