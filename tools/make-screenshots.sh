#!/usr/bin/env bash
# Regenerates the screenshots of the user guide (data/help/images/*.png) from
# the program already built in build/ (this script builds nothing): a demo
# database of 200 cards, the program driven with the keyboard and the mouse
# under Xvfb and openbox, each window cropped and saved as a palette PNG.
# A window that does not open (not built yet) is skipped with a notice.
set -euo pipefail

ROOT=$(cd "$(dirname "$0")/.." && pwd)
BUILD=${BUILD:-$ROOT/build}
OUT=$ROOT/data/help/images
DISP=${SCREENSHOT_DISPLAY:-:97}
for tool in Xvfb openbox xdotool import convert; do
    command -v "$tool" >/dev/null || { echo "missing: $tool" >&2; exit 1; }
done
[ -x "$BUILD/tabulon" ] && [ -x "$BUILD/tabulon-cli" ] || { echo "build tabulon and tabulon-cli first" >&2; exit 1; }

TMP=$(mktemp -d)
PIDS=()
cleanup() {
    for p in "${PIDS[@]}"; do kill "$p" 2>/dev/null || true; done
    rm -rf "$TMP"
}
trap cleanup EXIT

Xvfb "$DISP" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
PIDS+=($!)
export DISPLAY=$DISP
sleep 1
openbox >/dev/null 2>&1 &
PIDS+=($!)
sleep 1

"$BUILD/tabulon-cli" demo "$TMP/Demo" --cards 200 >/dev/null
mkdir -p "$OUT"

# Card 1 owes 1000.00 (field 15, from byte 410) and has a few journal entries.
printf '%-40s' 1000.00 | dd of="$TMP/Demo/lesfiches.dat" bs=1 seek=410 conv=notrunc status=none
journal() { local f=$1; shift; printf '%s\r\n' "$@" | iconv -f UTF-8 -t CP1252 >"$TMP/Demo/$f"; }
journal R1.txt "250.00------------>14/10/26  M. Dumont  virement" "100.00------------>09/11/26  M. Dumont  espèces"
journal I1.txt "12.50------------>01/01/26-01/04/26***1000 euros*** 90 jours***5%"
journal M1.txt "14/10/26--->Appel : accord pour payer en trois fois" "09/11/26--->Visite, devis de la véranda remis"
# A memento line of today: "Rappels" opens with the database.
journal M2.txt "$(date +%d/%m/%y)--->Rappeler pour la pose de la véranda"
# Card 1's first scan and first text document.
convert -size 1200x1600 xc:white -fill black -pointsize 48 -annotate +100+200 "FACTURE n° 2026-114" \
    -pointsize 32 -annotate +100+320 "Véranda, pose comprise : 12 400,00 €" -draw "rectangle 100,400 1100,410" \
    "$TMP/Demo/ScanA1.jpg"
journal DtxtA1.txt "Chère Madame," "" "Votre devis pour la véranda est prêt : je vous l'apporte lundi." "" "Bien à vous."

# The newest visible window whose title is exactly $1, waiting up to 8 s.
window() {
    local id
    for _ in $(seq 40); do
        id=$(xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | tail -1 || true)
        [ -n "$id" ] && { echo "$id"; return 0; }
        sleep 0.2
    done
    return 1
}

# shot NAME TITLE: the window titled TITLE, frame included, as NAME.png.
shot() {
    local id
    if ! id=$(window "$2"); then
        echo "skipped $1.png: no window \"$2\"" >&2
        return 1
    fi
    sleep 0.8
    xdotool windowactivate --sync "$id" 2>/dev/null || true
    sleep 0.3
    import -window "$id" -frame "$TMP/shot.png" 2>/dev/null || import -window "$id" "$TMP/shot.png"
    convert "$TMP/shot.png" -strip -colors 128 PNG8:"$OUT/$1.png"
    echo "$1.png"
}

# shotmenu NAME: the main window with the menu just opened over it.
shotmenu() {
    sleep 0.8
    local id geo
    id=$(window "$MAINTITLE")
    eval "$(xdotool getwindowgeometry --shell "$id")"
    import -window root -crop "$((WIDTH))x$((HEIGHT / 2 + 120))+$X+$((Y > 30 ? Y - 30 : 0))" "$TMP/shot.png"
    convert "$TMP/shot.png" +repage -strip -colors 128 PNG8:"$OUT/$1.png"
    echo "$1.png"
}

key() { xdotool key --clearmodifiers "$@"; sleep 0.4; }
close_window() { key Escape; sleep 0.5; }

"$BUILD/tabulon" --program-folder "$TMP" >/dev/null 2>&1 &
PIDS+=($!)
MAINTITLE=Tabulon
main=$(window "$MAINTITLE")
xdotool windowsize "$main" 900 680 windowmove "$main" 40 20
sleep 1
shot principale "$MAINTITLE" || true
key alt+f
shotmenu menu-fichier
key Escape

# Opening the demo database through the chooser.
key alt+f; key Down; key Return
shot choix-base "Sélection d'une base de données." || true
xdotool type --delay 80 Demo; key Return; key Tab; key Return
MAINTITLE="Tabulon : Dossier $TMP/Demo"
main=$(window "$MAINTITLE")
sleep 1
shot rappels "Rappels" && close_window
shot carte "$MAINTITLE" || true
key alt+b
shotmenu menu-base
key Escape
key alt+a
shotmenu menu-accessoires
key Escape
key alt+o
shotmenu menu-outils
key Escape

# Map choice.
key alt+c
shot choix-carte "Recherche de photos .fichiers .JPG.." && close_window

# Zones: two corners of a zone on the zone window's map, then "Retour au menu principal" (Alt+R).
key alt+d
if zones=$(window "Définition de zones"); then
    xdotool windowsize "$zones" 900 680
    sleep 0.8
    xdotool mousemove --window "$zones" 330 230 click 1
    sleep 0.3
    xdotool mousemove --window "$zones" 560 470 click 1
    xdotool mousemove --window "$zones" 450 672   # off the map: no position tip over the shot
    # The caption blinks: shot again until it shows (dark red in the top left corner).
    for _ in 1 2 3 4; do
        shot zones "Définition de zones" || break
        red=$(convert "$OUT/zones.png" -crop 260x45+0+35 +repage -fuzz 20% -fill black +opaque "#c00000" \
            -format "%[fx:mean > 0.004]" info:)
        [ "$red" = 1 ] && break
        sleep 0.5
    done
    key alt+r
fi

# Sorted list: Base de données > Listes des fiches > Classement alphabétique.
key alt+b; key Down; key Right; key Return
shot liste "Liste" && close_window

# Card window, then its note editor from the "Notes confidentielles" entry.
key alt+b; key Return
if card=$(window "Fiche individuelle"); then
    sleep 1.5
    shot fiche "Fiche individuelle" || true
    eval "$(xdotool getwindowgeometry --shell "$card")"
    xdotool mousemove --window "$card" 150 10 click 1
    if shot note "Fiche confidentielle"; then
        editor=$(window "Fiche confidentielle")
        xdotool windowactivate --sync "$editor"
        xdotool mousemove --window "$editor" 300 300 click 1
        xdotool type --delay 30 "Code du portail : 1985A. Rappeler avant le 15."
        sleep 0.5
        shot note "Fiche confidentielle" || true
        close_window
        key Tab; key Return   # "Non": the demo note stays as it was
    fi
    # The three journals, from the buttons at the foot of the card window.
    eval "$(xdotool getwindowgeometry --shell "$card")"
    journal_shot() {  # NAME TITLE X: the button at X, then typed fields, each followed by Tab
        local name=$1 title=$2 x=$3; shift 3
        xdotool mousemove --window "$card" "$x" $((HEIGHT - 48)) click 1
        window "$title" >/dev/null || { echo "skipped $name.png: no window \"$title\"" >&2; return 0; }
        sleep 0.8
        for text in "$@"; do xdotool type --delay 60 "$text"; key Tab; done
        key space   # the record button
        shot "$name" "$title" || true
        close_window
    }
    journal_shot journal-recouvrements "Journal des recouvrements" 414 05/12/26 "M. Dumont" virement 150
    journal_shot journal-interets "Journal des intérêts" 588 1000 01/04/26 05/12/26 5
    journal_shot memento Memento 720 05/12/26 "Rappeler lundi pour le solde"
    # "Documents annexes": the file browser of text document 1, then card 1's
    # scan and text document in their viewers.
    documents() {  # the menu, then the keys given
        xdotool mousemove --window "$card" 316 10 click 1
        sleep 0.6
        for k in "$@"; do key "$k"; done
    }
    documents Down Down Right Down Return
    shot rechercher "Rechercher" && close_window
    documents Down Down Down Down Right Right Return
    sleep 2.5   # the viewer draws the scan again after two seconds
    shot documents-scannes "Documents scannés" && close_window
    documents Down Down Right Right Return
    shot document-texte "Document texte" && close_window
    close_window
fi

# Postal search: a city by its postal code.
key alt+a; key Return
sleep 1
xdotool type --delay 80 30210; key Return
shot postal "Liste des villes et des codes postaux" && close_window

# Creation window: a right click on the map.
main=$(window "$MAINTITLE")
xdotool mousemove --window "$main" 420 360 click 3
shot creation "Fiche individuelle" && close_window

# "Structure" > "Fiche", then "Base de données" > "Adresses E-mail".
key alt+s; key Return
shot structure "Structure fiche individuelle" && close_window
key alt+b; key Down; key Down; key Down; key Down; key Down; key Down; key Down; key Return
shot courrier "Courrier électronique" && close_window

# The office tools of the "Outils" menu (Calendrier, Convertisseur Euros, Contrôle d'un IBAN).
key alt+o; key Return
shot calendrier "Calendrier" && close_window
key alt+o; key Down; key Return
shot convertisseur "CONVERTISSEUR" && close_window
key alt+o; key Down; key Down; key Return
if window "Contrôle d'un IBAN" >/dev/null; then
    xdotool type --delay 40 "FR76 3000 6000 0112 3456 7890 189"; key Return
fi
shot iban "Contrôle d'un IBAN" && close_window
# Logiciels externes: the chooser of the spreadsheet, then the six paths.
key alt+l; key Right; key Return
shot choix-logiciel "Choix d'un logiciel" && close_window
key alt+l; key Down; key Return
shot chemins-logiciels "Chemins des logiciels externes actuellement sélectionnés" && close_window
# "Base de données" > "Liste des débiteurs", three lines chosen, "Lettres…" (Alt+L)
# and the letter "Relance"; then "Outils" > "Lettres types" on "Relance".
key alt+b; key Down; key Down; key Down; key Down; key Down; key Return
if shot debiteurs "Liste des débiteurs"; then
    key shift+Down; key shift+Down; key alt+l
    key Down
    shot envoi-lettres "Envoi de lettres" && close_window
    close_window
fi
key alt+o; key Down; key Down; key Down; key Return
if window "Lettres types" >/dev/null; then
    key Down
    shot lettres "Lettres types" && close_window
fi
# "Fichier" > "Synchronisation CardDAV…" (Alt+F, then Y), the server and the user typed.
key alt+f; key y
if window "Synchronisation CardDAV" >/dev/null; then
    xdotool type --delay 40 "https://carnet.exemple.fr/dav/"; key Tab
    xdotool type --delay 40 "marie"
    shot synchronisation "Synchronisation CardDAV" && close_window
fi
exit 0
