// depts.txt (department list of the card windows) and DeptCourant.txt (its remembered
// position, which starts on Charente-Maritime).
'use strict';
const path = require('path');
const { writeLines, quoted } = require('./lib/textfile');

const out = process.argv[2] || path.join(__dirname, '..', 'data');
const all = require('@etalab/decoupage-administratif/data/departements.json');

// The postal directory files by the numeric value of two digits, so Corsica (2A, 2B)
// is one entry "20", at its numeric place between 19 and 21.
const lines = all
  .filter(d => d.zone === 'metro' && d.code !== '2B')
  .map(d => (d.code === '2A' ? { code: '20', nom: 'Corse' } : d))
  .sort((a, b) => Number(a.code) - Number(b.code))
  .map(d => `${d.code} ${d.nom}`);
lines.push('97 Outre-mer');

const numbers = lines.map(l => l.slice(0, 2));
if (numbers.join() !== [...Array(95).keys()].map(i => String(i + 1).padStart(2, '0')).concat('97').join()) {
  throw new Error('department list is not 01..95 then 97');
}
writeLines(path.join(out, 'depts.txt'), lines);

const start = lines.indexOf('17 Charente-Maritime');
if (start < 0) throw new Error('17 Charente-Maritime missing');
writeLines(path.join(out, 'DeptCourant.txt'), [quoted(String(start))]);
console.log(`depts.txt: ${lines.length} lines; DeptCourant.txt: ${start}`);
