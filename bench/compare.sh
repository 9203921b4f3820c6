#!/bin/sh
# Times Tabulon's commands on a database against the plain tools that bound
# them, median of RUNS runs each, and prints the ratios.
#   bench/compare.sh DB [BUILD]      (BUILD: a Release build folder, default build-rel)
# Make the database first: BUILD/tabulon-cli demo /tmp/bench/Demo100k --cards 100000
# Environment: RUNS (default 7), CARD (card to read and store, default the middle one),
# SKIP_FIXTURES=1 to leave out the rows that first make data of their own
# (imports, backup, printing, reminders, debtors, sync): at 1,000,000 cards the
# reminders' and debtors' four million small files take most of an hour to make.
set -eu
[ $# -ge 1 ] || { echo "Usage : $0 BASE [DOSSIER_DE_CONSTRUCTION]" >&2; exit 2; }
DB=${1%/}
BUILD=${2:-${BUILD:-build-rel}}
RUNS=${RUNS:-7}
CLI=$BUILD/tabulon-cli
BENCH=$BUILD/bench/tabulon_bench
for x in "$CLI" "$BENCH"; do
    [ -x "$x" ] || { echo "Introuvable : $x (cmake --build $BUILD --target tabulon-cli tabulon_bench)" >&2; exit 1; }
done
[ -f "$DB/lesfiches.dat" ] || { echo "Pas de base de données dans $DB" >&2; exit 1; }
locale -a 2>/dev/null | grep -qix 'fr_FR\.utf-\?8' || { echo "Locale fr_FR.UTF-8 absente (scripts/install-deps.sh)" >&2; exit 1; }

COUNT=$("$CLI" count "$DB" | cut -d' ' -f1)
CARD=${CARD:-$(( (COUNT + 1) / 2 ))}
TMP=$(mktemp -d)
trap 'rm -rf "$TMP"' EXIT
trap 'exit 130' INT TERM

# Median wall time in ms of RUNS runs of the command (output thrown away).
median_ms() {
    i=0
    : > "$TMP/times"
    while [ $i -lt "$RUNS" ]; do
        a=$(date +%s%N)
        "$@" > /dev/null
        b=$(date +%s%N)
        echo $(( (b - a) / 1000 )) >> "$TMP/times"
        i=$((i + 1))
    done
    sort -n "$TMP/times" | awk '{ v[NR] = $1 } END { m = (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2; printf "%.3f", m / 1000 }'
}

# Median from tabulon_bench: "store: 1.234 ms (7)" -> 1.234
bench_ms() {
    "$BENCH" "$1" "$DB" "$CARD" "$RUNS" | awk -v m="$1" '$1 == m ":" { print $2 }'
}

# One row: name, tabulon ms, tool name, tool ms, target. The target is
# "<= R" (the ratio to the tool), "<= N ms", "<= R et < N ms" (both), or
# anything else (a reference, no verdict); held or not is printed after it.
row() {
    awk -v n="$1" -v t="$2" -v o="$3" -v r="$4" -v c="$5" 'BEGIN {
        ratio = (r > 0) ? sprintf("%.2f", t / r) : "-"
        verdict = ""; k = split(c, w, " ")
        for (i = 1; i < k; i++) {
            if (w[i] != "<=" && w[i] != "<") continue
            limit = w[i + 1] + 0
            if (w[i + 2] == "ms" || w[i + 2] == "s") {
                v = (w[i + 2] == "s") ? t / 1000 : t
            } else if (r > 0) { v = t / r } else continue
            ok = (w[i] == "<=") ? v <= limit : v < limit
            verdict = (verdict == "" || verdict == "tient") ? (ok ? "tient" : "NE TIENT PAS") : verdict
        }
        printf "%-30s %10.3f ms   %-34s %10.3f ms   rapport %6s   %-22s %s\n", n, t, o, r, ratio, c, verdict }'
}

echo "Base : $DB ($COUNT fiches, $(du -h "$DB/lesfiches.dat" | cut -f1)), médianes de $RUNS mesures, fiche $CARD"

# The list: the command against sorting its own lines (shuffled) in the French order.
"$CLI" list "$DB" --order alpha > "$TMP/list.txt"
shuf --random-source="$TMP/list.txt" "$TMP/list.txt" > "$TMP/shuffled.txt"
t=$(median_ms "$CLI" list "$DB" --order alpha)
r=$(median_ms env LC_ALL=fr_FR.UTF-8 sort -f "$TMP/shuffled.txt")
row "list --order alpha" "$t" "LC_ALL=fr_FR.UTF-8 sort -f" "$r" "cible <= 1.5"

# Storing one card (core store with its pin update, synced to the disk)
# against copying the records and syncing the copy.
t=$(bench_ms store)
r=$(median_ms sh -c 'cp "$1" "$2" && sync "$2"' sh "$DB/lesfiches.dat" "$TMP/copy.dat")
rm -f "$TMP/copy.dat"
row "enregistrer une fiche" "$t" "cp lesfiches.dat + sync" "$r" "cible <= 1"

# Moving to another card: reading one card.
t=$(bench_ms card)
row "passer à une autre fiche" "$t" "(aucun)" 0 "cible <= 5 ms"

# Opening the database with its pin index against reading the records once.
t=$(bench_ms open)
r=$(median_ms sh -c 'cat "$1" > /dev/null' sh "$DB/lesfiches.dat")
row "ouvrir la base" "$t" "cat lesfiches.dat > /dev/null" "$r" "référence"

# The other commands, for reference.
t=$(median_ms "$CLI" count "$DB")
r=$(median_ms cat "$DB/NBFiches.dat")
row "count" "$t" "cat NBFiches.dat" "$r" "cible <= 4 ms"
count_ms=$t
t=$(median_ms "$CLI" show "$DB" "$CARD")
r=$(median_ms dd if="$DB/lesfiches.dat" bs=630 skip=$((CARD - 1)) count=1 status=none)
row "show" "$t" "dd d'une fiche" "$r" "référence"
t=$(median_ms "$CLI" check "$DB")
r=$(median_ms grep -c '^' "$DB/lesfiches.dat")
row "check" "$t" "grep -c lesfiches.dat" "$r" "référence"

# A search with few matches against reading the records once.
t=$(median_ms "$CLI" search "$DB" --by nom DUPON)
r=$(median_ms cat "$DB/lesfiches.dat")
row "search --by nom DUPON" "$t" "cat lesfiches.dat + count" "$(echo "$r $count_ms" | awk '{ print $1 + $2 }')" "cible <= 1.5"
# The same search inside the program, as the "Recherches" menu runs it.
t=$(bench_ms search)
row "recherche par le nom DUPON" "$t" "cat lesfiches.dat" "$r" "cible <= 2"

# The search box: its index read in one pass (in the background when the base
# opens) against reading the records once, its memory beside the record file,
# then the slowest key of "chatel plage" typed one by one.
x=$("$BENCH" index "$DB" "$CARD" "$RUNS")
# 3 times the reading up to 100,000 cards, 5 times beyond.
[ "$COUNT" -gt 100000 ] && index_target=5 || index_target=3
row "index de la recherche" "$(echo "$x" | awk '$1 == "index:" { print $2 }')" "cat lesfiches.dat" "$r" "cible <= $index_target et < 1 s"
echo "$x" | awk '$1 == "index" && $2 == "memory:" { printf "%-30s %s   cible <= 0.5   %s\n", "mémoire de l'\''index", $0, ($NF <= 0.5) ? "tient" : "NE TIENT PAS" }'
t=$("$BENCH" find "$DB" "$CARD" "$RUNS" | awk '$1 == "find" && $2 == "(slowest" && $3 == "key):" { print $4 }')
row "recherche : touche la + lente" "$t" "(aucun)" 0 "cible <= 25 ms"

# The cards of a zone (the middle of the map): the pin index's test alone, then
# with the list's lines as the right click shows them, and the command line.
z=$("$BENCH" zone "$DB" "$CARD" "$RUNS")
row "zone : test des épingles" "$(echo "$z" | awk '$1 == "zone-test:" { print $2 }')" "(aucun)" 0 "cible < 50 ms"
row "zone : avec les lignes" "$(echo "$z" | awk '$1 == "zone-list:" { print $2 }')" "cat lesfiches.dat" "$r" "référence"

# Each export (written and renamed into the base) against copying the records to disk.
for f in texte adresses; do
    t=$(median_ms "$CLI" export "$DB" --format $f)
    r=$(median_ms sh -c 'cp "$1" "$2" && sync' sh "$DB/lesfiches.dat" "$TMP/copy.dat")
    rm -f "$TMP/copy.dat"
    row "export --format $f" "$t" "cp lesfiches.dat && sync" "$r" "cible <= 1.5"
done

# vCard and CSV files for other programs, against copying the records to disk.
for f in vcard csv; do
    t=$(median_ms "$CLI" export "$DB" --format $f --output "$TMP/cartes.$f")
    r=$(median_ms sh -c 'cp "$1" "$2" && sync' sh "$DB/lesfiches.dat" "$TMP/copy.dat")
    rm -f "$TMP/copy.dat"
    row "export --format $f" "$t" "cp lesfiches.dat && sync" "$r" "cible <= 1.5"
done
if [ "${SKIP_FIXTURES:-0}" = 0 ]; then
# Importing 10,000 rows of that CSV into an empty base (side files made for
# each card), then backing that base up, against copying the base it makes.
head -n 10001 "$TMP/cartes.csv" > "$TMP/dix-mille.csv"
"$CLI" demo "$TMP/vide/Vide" --cards 0 > /dev/null
t=$(median_ms sh -c 'rm -rf "$2" && cp -r "$1" "$2" && "$3" import "$2" "$4" --duplicates create --program-folder "$5"' \
    sh "$TMP/vide/Vide" "$TMP/vide/Import" "$CLI" "$TMP/dix-mille.csv" "$TMP/vide")
r=$(median_ms sh -c 'rm -rf "$2" && cp -r "$1" "$2" && sync' sh "$TMP/vide/Import" "$TMP/vide/Copie")
row "import de 10 000 lignes CSV" "$t" "cp -r de la base obtenue && sync" "$r" "cible <= 2"
mkdir "$TMP/sauvegardes"
t=$(median_ms sh -c 'rm -rf "$3"/* && "$1" backup "$2" "$3"' sh "$CLI" "$TMP/vide/Import" "$TMP/sauvegardes")
row "backup (10 000 fiches)" "$t" "cp -r de la base && sync" "$r" "cible <= 2"
# Importing 10,000 vCards of the export the same way (no target yet).
awk '{ print } /^END:VCARD/ && ++n == 10000 { exit }' "$TMP/cartes.vcard" > "$TMP/dix-mille.vcf"
t=$(median_ms sh -c 'rm -rf "$2" && cp -r "$1" "$2" && "$3" import "$2" "$4" --duplicates create --program-folder "$5"' \
    sh "$TMP/vide/Vide" "$TMP/vide/Import" "$CLI" "$TMP/dix-mille.vcf" "$TMP/vide")
row "import de 10 000 vCards" "$t" "cp -r de la base obtenue && sync" "$r" "référence"
rm -rf "$TMP/vide" "$TMP/sauvegardes"

# "Imprimer toutes les fiches" of 10,000 cards into a PDF file (no target yet).
"$CLI" demo "$TMP/dix/Dix" --cards 10000 > /dev/null
t=$("$BENCH" print "$TMP/dix/Dix" 1 "$RUNS" | awk '$1 == "print:" && $3 == "ms" { print $2 }')
row "imprimer 10 000 fiches (PDF)" "$t" "(aucun)" 0 "référence"
rm -rf "$TMP/dix"

fi

# Deleting a middle card (the last one moves into its number) on a copy of the
# base, against copying the records to disk.
mkdir "$TMP/copie"
cp "$DB"/* "$TMP/copie/" 2>/dev/null || true
t=$("$BENCH" delete "$TMP/copie" "$CARD" "$RUNS" | awk '$1 == "delete:" { print $2 }')
rm -rf "$TMP/copie"
r=$(median_ms sh -c 'cp "$1" "$2" && sync' sh "$DB/lesfiches.dat" "$TMP/copy.dat")
rm -f "$TMP/copy.dat"
row "supprimer une fiche" "$t" "cp lesfiches.dat && sync" "$r" "cible <= 1"

# Address labels of 10,000 cards on L7160 written to a PDF (no plain tool does it).
t=$(median_ms sh -c '"$1" labels "$2" --sheet L7160 --numeros "$3" --output "$4" 2> /dev/null' \
    sh "$CLI" "$DB" "$(seq -s, 1 10000)" "$TMP/etiquettes.pdf")
row "étiquettes de 10 000 fiches" "$t" "(aucun)" 0 "cible <= 5 s"
if [ "${SKIP_FIXTURES:-0}" = 0 ]; then
# Reminders on a copy of the base where every card has its memento file, as
# created cards do (the demo makes none): empty but for every 30th card, which
# holds three lines, one of them due. Against listing the folder and reading
# the records once; at most 1 s whatever the tools take.
mkdir "$TMP/rappels"
cp "$DB"/*.dat "$DB"/*.txt "$TMP/rappels/" 2>/dev/null || true
rm -f "$TMP/rappels"/M*.txt
awk -v dir="$TMP/rappels" -v n="$COUNT" -v due="$(date -d '+3 days' +%d/%m/%y)" -v past="$(date -d '-40 days' +%d/%m/%y)" \
    -v later="$(date -d '+60 days' +%d/%m/%y)" 'BEGIN {
    for (i = 1; i <= n; i++) {
        f = dir "/M" i ".txt"
        if (i % 30 == 0)
            printf "%s--->Visite faite\r\n%s--->Rappeler pour le devis\r\n%s--->Relance\r\n", past, due, later > f
        else
            printf "" > f
        close(f)
    }
}'
t=$(median_ms "$CLI" reminders "$TMP/rappels")
r=$(median_ms sh -c 'ls -f "$1" > /dev/null && cat "$1/lesfiches.dat" > /dev/null' sh "$TMP/rappels")
row "rappels (mémento de chaque fiche)" "$t" "ls -f de la base + cat lesfiches.dat" "$r" "cible <= 1 s"
rm -rf "$TMP/rappels"
# The debtors on a copy of the base where every card has its three journals,
# as created cards do ("tabulon-cli demo" makes none), and 3000 debtors have
# payments: the command against reading the records and the journals it reads.
mkdir "$TMP/dettes"
cp "$DB/lesfiches.dat" "$DB/NBFiches.dat" "$DB/StrFic.txt" "$DB/carte.txt" "$TMP/dettes/"
(cd "$TMP/dettes" && seq 1 "$COUNT" | awk '{ print "R" $1 ".txt"; print "I" $1 ".txt"; print "M" $1 ".txt" }' | xargs touch)
"$CLI" debtors "$TMP/dettes" | awk -F '\t' 'NF == 3 { print $3 }' > "$TMP/debiteurs.txt"
head -n 3000 "$TMP/debiteurs.txt" | awk -v d="$TMP/dettes" '{
    f = d "/R" $1 ".txt"
    printf "50.00------------>05/01/26  client  cheque\r\n" > f
    if (NR % 2) printf "25.00------------>12/03/26  client  virement\r\n" > f
    close(f) }'
sed 's/^/R/; s/$/.txt/' "$TMP/debiteurs.txt" > "$TMP/journaux.txt"
t=$(median_ms "$CLI" debtors "$TMP/dettes")
r=$(median_ms sh -c 'cd "$1" && cat lesfiches.dat > /dev/null && xargs cat < "$2" > /dev/null' sh "$TMP/dettes" "$TMP/journaux.txt")
row "debtors ($(wc -l < "$TMP/debiteurs.txt") débiteurs)" "$t" "cat lesfiches.dat + journaux lus" "$r" "cible <= 2"
rm -rf "$TMP/dettes"
fi

# ---- Window measures (list shown in the real window, a card opened from a list
# line, memory): bench/gui_bench.cpp, built as tabulon_gui_bench. ----
if [ -x "$BUILD/bench/tabulon_gui_bench" ]; then
    echo "Fenêtres :"
    "$BUILD/bench/tabulon_gui_bench" "$DB"
else
    echo "Fenêtres : $BUILD/bench/tabulon_gui_bench absent (non mesuré)"
fi

# ---- The CardDAV sync against a Radicale server started for it
# (bench/sync_bench.cpp): SYNC_CARDS cards (default 1 000: Radicale's time
# per PUT grows with the address book, about a minute at 1 000 cards and
# hours at 10 000). ----
SYNC_BENCH=$BUILD/bench/tabulon_sync_bench
if [ "${SKIP_FIXTURES:-0}" != 0 ]; then
    echo "Synchro : non mesurée (SKIP_FIXTURES)"
elif [ -x "$SYNC_BENCH" ] && command -v radicale > /dev/null; then
    "$CLI" demo "$TMP/synchro/Synchro" --cards "${SYNC_CARDS:-1000}" > /dev/null
    s=$("$SYNC_BENCH" "$TMP/synchro/Synchro" "$RUNS")
    value() { echo "$s" | awk -v m="$1:" '$1 == m { print $2 }'; }
    row "synchro : première (${SYNC_CARDS:-1000})" "$(value first)" "client HTTP : PUT un par un" "$(value plain)" "cible <= 1.5"
    row "synchro : rien de changé" "$(value idle)" "(aucun)" 0 "cible <= 1 s"
    row "synchro : une fiche changée" "$(value one)" "(aucun)" 0 "cible <= 0.5 s"
    rm -rf "$TMP/synchro"
else
    echo "Synchro : $SYNC_BENCH ou radicale absent (non mesuré)"
fi
