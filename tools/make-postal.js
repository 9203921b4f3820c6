// Postal directory c01a20.txt ... c81a95.txt: "NAME CODE" per (commune, postal code),
// split by the numeric value of the code's first two digits.
'use strict';
const path = require('path');
const { writeLines } = require('./lib/textfile');

const out = process.argv[2] || path.join(__dirname, '..', 'data');
const entries = require('codes-postaux/codes-postaux.json');

const FILES = [
  { name: 'c01a20.txt', max: 20 },   // Corsica (20xxx) included
  { name: 'c21a40.txt', max: 40 },
  { name: 'c41a60.txt', max: 60 },
  { name: 'c61a80.txt', max: 80 },
  { name: 'c81a95.txt', max: Infinity },   // also the overseas 97xxx codes
];

// An arrondissement of Paris, Lyon or Marseille goes under its city's name, as
// a letter carries it ("PARIS 75015", not "PARIS 15E ARRONDISSEMENT 75015").
const letterName = name => name.replace(/^(PARIS|LYON|MARSEILLE) \d+(?:E|ER) ARRONDISSEMENT$/, '$1');

const lines = FILES.map(() => new Map());
for (const e of entries) {
  if (!/^\d{5}$/.test(e.codePostal)) throw new Error(`odd postal code ${e.codePostal}`);
  // nomCommune keeps the accents that libelleAcheminement drops (Saint-Étienne).
  const name = letterName(e.nomCommune.trim().toUpperCase());
  const dept = Number(e.codePostal.slice(0, 2));
  const k = FILES.findIndex(f => dept <= f.max);
  lines[k].set(`${name} ${e.codePostal}`, { name, code: e.codePostal });
}

const byCodeThenName = (a, b) =>
  a.code < b.code ? -1 : a.code > b.code ? 1 : a.name.localeCompare(b.name, 'fr');

FILES.forEach((f, k) => {
  const sorted = [...lines[k].entries()].sort((a, b) => byCodeThenName(a[1], b[1])).map(([l]) => l);
  writeLines(path.join(out, f.name), sorted);
  console.log(`${f.name}: ${sorted.length} lines`);
});
