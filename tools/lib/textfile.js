// Text files of the program folder: Windows-1252, every line ended by CR LF.
'use strict';
const fs = require('fs');
const iconv = require('iconv-lite');

function encode(text) {
  const bytes = iconv.encode(text, 'win1252');
  // iconv-lite silently writes "?" for a character the code page lacks: refuse instead.
  if (iconv.decode(bytes, 'win1252') !== text) {
    const bad = [...text].filter(c => iconv.decode(iconv.encode(c, 'win1252'), 'win1252') !== c);
    throw new Error(`not encodable in Windows-1252: ${JSON.stringify(bad.join(''))}`);
  }
  return bytes;
}

function writeLines(file, lines) {
  fs.writeFileSync(file, encode(lines.map(l => l + '\r\n').join('')));
}

// Caption files hold one quoted value per line; a value cannot contain a quote.
function quoted(value) {
  if (value.includes('"')) throw new Error(`quote inside a caption: ${value}`);
  return `"${value}"`;
}

module.exports = { encode, writeLines, quoted };
