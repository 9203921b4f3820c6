#!/bin/bash
# Regenerates every file of data/ from public packages. Not part of the build.
#
# Debian packages needed:
#   nodejs npm            node scripts and their npm packages (see package.json)
#   librsvg2-bin          rsvg-convert: map SVG -> PNG
#   imagemagick           convert: PNG -> GIF
#   fonts-dejavu-core     font of the department numbers
#   python3-xlwt          F.xls (BIFF8 with formulas)
#   sqlite3               Tabulon.mdb
#   apt-get install -y nodejs npm librsvg2-bin imagemagick fonts-dejavu-core python3-xlwt sqlite3
set -euo pipefail

cd "$(dirname "$0")"
DATA=../data
BUILD=build
mkdir -p "$DATA" "$BUILD"

for cmd in node npm rsvg-convert convert sqlite3 /usr/bin/python3; do
  command -v "$cmd" >/dev/null || { echo "missing: $cmd (see the Debian packages above)" >&2; exit 1; }
done
/usr/bin/python3 -c 'import xlwt' 2>/dev/null || { echo "missing: python3-xlwt" >&2; exit 1; }

if [ -f package-lock.json ]; then npm ci --no-audit --no-fund; else npm install --no-audit --no-fund; fi

# Default map. Its size (900 x 860) is the coordinate system of stored pins: never change it.
# The same run writes data/frc.svg (the map drawn when zoomed) and data/contours.txt.
node make-map.js "$BUILD/frc.svg" "$DATA"
rsvg-convert -w 900 -h 860 -b white "$BUILD/frc.svg" -o "$BUILD/frc.png"
convert "$BUILD/frc.png" -dither None -colors 64 "$DATA/frc.gif"

node make-postal.js "$DATA"
node make-depts.js "$DATA"
node make-templates.js "$DATA"
/usr/bin/python3 make-xls.py "$DATA/F.xls"
rm -f "$DATA/Tabulon.mdb"
sqlite3 "$DATA/Tabulon.mdb" < tabulon-mdb.sql

# A few checks that the program's look-ups rely on.
grep -q $'^LA ROCHELLE 17000\r$' "$DATA/c01a20.txt"
grep -q $'^PARIS 75015\r$' "$DATA/c61a80.txt"
! grep -q 'ARRONDISSEMENT' "$DATA"/c*.txt
! grep -q $'17000\r$' "$DATA"/c21a40.txt "$DATA"/c41a60.txt "$DATA"/c61a80.txt "$DATA"/c81a95.txt
grep -q $'^RENNES 35000\r$' "$DATA/c21a40.txt"
[ "$(identify -format '%wx%h' "$DATA/frc.gif")" = 900x860 ]
grep -q '<g id="numeros">' "$DATA/frc.svg"
! grep -q '<text' "$DATA/frc.svg"
[ "$(sqlite3 "$DATA/Tabulon.mdb" 'SELECT count(*) FROM pragma_table_info("fiches")')" = 19 ]
echo "data/ regenerated"
