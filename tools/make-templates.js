// Text templates copied into every new database, and the program-folder one-value files.
'use strict';
const fs = require('fs');
const path = require('path');
const { writeLines, quoted } = require('./lib/textfile');

const out = process.argv[2] || path.join(__dirname, '..', 'data');

// Confidential note of a new card; the user rewrites it from the "Structure" menu.
writeLines(path.join(out, 'F.txt'), [
  'Note confidentielle',
  '===================',
  '',
  'Date : ',
  'Objet : ',
  '',
  'Notes :',
  '',
]);

// Journals (collections, interest, memento) of a new card start empty.
for (const f of ['R.txt', 'I.txt', 'M.txt']) fs.writeFileSync(path.join(out, f), '');

// Captions of card fields 11 to 20; fields 15 to 20 are the debt fields that the
// journals compute (owed, interest, costs, total owed, collected, remaining).
writeLines(path.join(out, 'StrFic.txt'), [
  'Profession',
  'Date de naissance',
  'Société',
  'Observations',
  'Montant dû',
  'Intérêts',
  'Frais',
  'Total dû',
  'Total recouvré',
  'Reste dû',
].map(quoted));

// The program rewrites carte.txt with the full path of frc.gif at every start.
writeLines(path.join(out, 'carte.txt'), ['frc.gif']);
writeLines(path.join(out, 'NBFiches.dat'), ['0']);
console.log('templates: F.txt R.txt I.txt M.txt StrFic.txt carte.txt NBFiches.dat');
