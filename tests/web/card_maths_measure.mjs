// The page's elementary functions against SLEEF's, on every call the card makes: the native card of
// each random name hands its calls with SLEEF's results (tools/card_maths_arguments.cpp), and the
// page's WebAssembly module, run under Node, evaluates the same calls. Prints, per function, how
// many results differ and by how many units in the last place. A measurement, not a test: it takes
// minutes, and differing results are expected; whether they change a pixel is the core test's
// question (core_test.mjs).
//
//   node card_maths_measure.mjs PAGE_DIR CARD_MATHS_ARGUMENTS [NAMES [SEED]]
import {spawn} from 'node:child_process';
import fs from 'node:fs';
import os from 'node:os';
import path from 'node:path';
import {randomNames} from './random_names.mjs';

const [pageDir, tool, namesArg = '100', seedArg = '2027'] = process.argv.slice(2);
if (!pageDir || !tool) {
  console.error('usage: node card_maths_measure.mjs PAGE_DIR CARD_MATHS_ARGUMENTS [NAMES [SEED]]');
  process.exit(2);
}
const names = randomNames(Number(namesArg), Number(seedArg));
const {default: createCardCore} = await import(path.resolve(pageDir, 'card_core.mjs'));
const core = await createCardCore({wasmBinary: fs.readFileSync(path.join(pageDir, 'card_core.wasm'))});

const kRecord = 40;
const kChunk = 1 << 16;  // calls evaluated at once
const outcomes = ['sin', 'cos', 'tan', 'atan', 'pow'].map((name) => ({
  name, calls: 0, differing: 0, ulps: new Map(), worst: null, nan: 0, names: new Set()}));
const resultsOf = [[0, 1], [2], [3], [4]];  // the function's outcomes, by result

// Doubles as integers in the order of the numbers they stand for: their distance counts the
// representable doubles between them, units in the last place.
const ordered = (bits) => (bits < 0n ? -(bits & 0x7fffffffffffffffn) : bits);

function compare(sleef, page, count) {
  const sleefWords = new Uint32Array(sleef.buffer, sleef.byteOffset, count * 10);
  const pageWords = new Uint32Array(page.buffer, page.byteOffset, count * 10);
  for (let k = 0; k < count; k++) {
    const w = 10 * k;
    const outcomesHere = resultsOf[sleefWords[w]];
    for (let r = 0; r < outcomesHere.length; r++) {
      const o = outcomes[outcomesHere[r]];
      o.calls++;
      const at = w + 6 + 2 * r;
      if (sleefWords[at] === pageWords[at] && sleefWords[at + 1] === pageWords[at + 1]) continue;
      const view = new DataView(sleef.buffer, sleef.byteOffset + 4 * w, kRecord);
      const pageView = new DataView(page.buffer, page.byteOffset + 4 * w, kRecord);
      const expected = view.getFloat64(24 + 8 * r, true);
      const got = pageView.getFloat64(24 + 8 * r, true);
      if (Number.isNaN(expected) && Number.isNaN(got)) continue;
      o.differing++;
      o.names.add(sleefWords[w + 1]);
      if (Number.isNaN(expected) || Number.isNaN(got)) {
        o.nan++;
        continue;
      }
      const ulps = ordered(view.getBigInt64(24 + 8 * r, true)) -
                   ordered(pageView.getBigInt64(24 + 8 * r, true));
      const distance = Number(ulps < 0n ? -ulps : ulps);
      o.ulps.set(distance, (o.ulps.get(distance) ?? 0) + 1);
      if (!o.worst || distance > o.worst.ulps) {
        o.worst = {ulps: distance, argument: view.getFloat64(8, true),
                   second: view.getFloat64(16, true), sleef: expected, page: got};
      }
    }
  }
}

const work = fs.mkdtempSync(path.join(os.tmpdir(), 'card-maths-'));
const namesFile = path.join(work, 'names.txt');
fs.writeFileSync(namesFile, names.map((n) => n + '\n').join(''));
const child = spawn(tool, [], {stdio: [fs.openSync(namesFile, 'r'), 'pipe', 'inherit']});
const started = performance.now();
// Calls arrive in pieces of any length; they are evaluated a chunk at a time, copied to a buffer of
// their own so that its words are aligned.
let pieces = [];
let pendingBytes = 0;
function evaluatePending(final) {
  const count = Math.floor(pendingBytes / kRecord);
  if (count === 0 || (!final && count < kChunk)) return;
  const all = new Uint8Array(pendingBytes);
  let at = 0;
  for (const piece of pieces) {
    all.set(piece, at);
    at += piece.length;
  }
  evaluate(all, count);
  pieces = [all.subarray(count * kRecord)];
  pendingBytes = pieces[0].length;
}
for await (const data of child.stdout) {
  pieces.push(data);
  pendingBytes += data.length;
  evaluatePending(false);
}
const code = await new Promise((resolve) => child.exitCode !== null ? resolve(child.exitCode)
                                                                     : child.on('close', resolve));
evaluatePending(true);
fs.rmSync(work, {recursive: true, force: true});
if (code !== 0) {
  console.error(`${tool} failed (${code})`);
  process.exit(1);
}

function evaluate(records, count) {
  const at = core._card_maths_calls(count);
  core.HEAPU8.set(records.subarray(0, count * kRecord), at);
  core._card_maths_evaluate();
  compare(records, core.HEAPU8.subarray(at, at + count * kRecord), count);
}

console.log(`${names.length} names (seed ${seedArg}), each card's distinct calls, ` +
            `${((performance.now() - started) / 1000).toFixed(0)} s`);
console.log('function        results    differing   by 1 ulp   by 2 ulp  by 3+ ulp  names  worst');
for (const o of outcomes) {
  const by = (d) => o.ulps.get(d) ?? 0;
  const more = [...o.ulps].filter(([d]) => d >= 3).reduce((sum, [, n]) => sum + n, 0);
  const worst = o.worst ? `${o.worst.ulps} ulp at ${o.worst.argument}` +
      (o.name === 'pow' ? `^${o.worst.second}` : '') : '-';
  console.log(`${o.name.padEnd(8)} ${String(o.calls).padStart(14)} ${String(o.differing).padStart(12)} ` +
              `${String(by(1)).padStart(10)} ${String(by(2)).padStart(10)} ${String(more).padStart(10)} ` +
              `${String(o.names.size).padStart(6)}  ${worst}${o.nan ? `, ${o.nan} NaN on one side` : ''}`);
}
