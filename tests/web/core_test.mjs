// The page's WebAssembly core under Node against the native renderer, on random names: the whole
// card, greeting included, pixel for pixel. The page computes its elementary functions with the C
// library compiled into the module, SLEEF's being native only; their results differ in the last
// place now and then (card_maths_measure.mjs), and this is where such a difference would show.
//
//   node core_test.mjs PAGE_DIR RENDERER [NAMES [SEED]]     (default: 100 names, seed 2027)
import {execFileSync} from 'node:child_process';
import fs from 'node:fs';
import os from 'node:os';
import path from 'node:path';
import {differingPixels, readBmp} from './card_images.mjs';
import {randomNames} from './random_names.mjs';

const [pageDir, renderer, namesArg = '100', seedArg = '2027'] = process.argv.slice(2);
if (!pageDir || !renderer) {
  console.error('usage: node core_test.mjs PAGE_DIR RENDERER [NAMES [SEED]]');
  process.exit(2);
}
const names = randomNames(Number(namesArg), Number(seedArg));

// The renderer's cards, one batch, numbered by line.
const work = fs.mkdtempSync(path.join(os.tmpdir(), 'card-core-'));
const namesFile = path.join(work, 'names.txt');
fs.writeFileSync(namesFile, names.map((n) => n + '\n').join(''));
let started = performance.now();
execFileSync(renderer, ['--names', namesFile, '--out-dir', work, '--format', 'bmp', '--quiet']);
const nativeMs = performance.now() - started;
const cardFiles = new Map(fs.readdirSync(work).filter((f) => f.endsWith('.bmp')).map(
    (f) => [Number(f.match(/-(\d+)\.bmp$/)[1]) - 1, path.join(work, f)]));

// The page's core, as its worker drives it, all rows at once.
const {default: createCardCore} = await import(path.resolve(pageDir, 'card_core.mjs'));
const core = await createCardCore({wasmBinary: fs.readFileSync(path.join(pageDir, 'card_core.wasm'))});
const width = core._card_width();
const height = core._card_height();
function pageCard(name) {
  const bytes = new TextEncoder().encode(name);
  core.HEAPU8.set(bytes, core._card_name_buffer(bytes.length));
  if (!core._card_start(2026, 12, 31, 23, 59, 58)) throw new Error(`"${name}" was refused`);
  while (core._card_advance(height)) {}
  if (!core._card_finished()) throw new Error(`"${name}": the card was not finished`);
  const at = core._card_band();
  if (core._card_band_top() !== 0 || core._card_band_rows() !== height) {
    throw new Error(`"${name}": rows ${core._card_band_top()} + ${core._card_band_rows()}`);
  }
  return core.HEAPU8.subarray(at, at + width * height * 4);
}

let failures = 0;
started = performance.now();
for (const [k, name] of names.entries()) {
  const reference = readBmp(cardFiles.get(k));
  const differing = differingPixels(pageCard(name), reference.rgba, width * height);
  if (differing !== 0) {
    failures++;
    console.log(`FAIL: ${JSON.stringify(name)}: ${differing} of ${width * height} pixels differ`);
  }
}
const pageMs = performance.now() - started;
fs.rmSync(work, {recursive: true, force: true});
console.log(`${names.length} random names (seed ${seedArg}), whole cards: ` +
            `${names.length - failures} the same as the renderer's, ${failures} differ ` +
            `(the renderer ${(nativeMs / 1000).toFixed(1)} s, the core under Node ` +
            `${(pageMs / 1000).toFixed(1)} s)`);
process.exit(failures === 0 ? 0 : 1);
