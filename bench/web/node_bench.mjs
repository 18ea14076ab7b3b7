// The npm package in Node: the first answer after the import (median of
// fresh processes) and the cost of one call in a loop.
//   node node_bench.mjs PACKAGE_DIR
import { execFileSync } from 'node:child_process';
import { join } from 'node:path';
import { fileURLToPath, pathToFileURL } from 'node:url';

const packageDir = process.argv[2];
const median = (values) => [...values].sort((a, b) => a - b)[values.length >> 1];

const firstAnswer = [];
for (let run = 0; run < 7; run++) {
  const out = execFileSync(process.execPath,
    [fileURLToPath(new URL('first_answer.mjs', import.meta.url)), packageDir], { encoding: 'utf8' });
  firstAnswer.push(Number(out));
}

const { Unihan } = await import(pathToFileURL(join(packageDir, 'index.js')).href);
const u = await Unihan.load();
u.field('漢', 'kDefinition');  // the all-field store is read on first use

// Characters of the URO, cycled, so that answers are not one cached line.
const chars = [];
for (let cp = 0x4e00; cp < 0x4e00 + 4096; cp++) chars.push(String.fromCodePoint(cp));
const calls = 2_000_000;
let sink = 0;

// Nanoseconds per call, the best of five rounds (the first warms the JIT).
function perCall(body) {
  let best = Infinity;
  for (let round = 0; round < 5; round++) {
    const start = performance.now();
    body();
    best = Math.min(best, ((performance.now() - start) * 1e6) / calls);
  }
  return best;
}

const results = {
  'first answer after import (ms, median of 7 processes)': median(firstAnswer),
  'radicalStroke(ch) ns/call': perCall(() => {
    for (let i = 0; i < calls; i++) sink += u.radicalStroke(chars[i & 4095]) === null ? 0 : 1;
  }),
  'radicalStroke(codePoint) ns/call': perCall(() => {
    for (let i = 0; i < calls; i++) sink += u.radicalStroke(0x4e00 + (i & 4095)) === null ? 0 : 1;
  }),
  'totalStrokes(ch) ns/call': perCall(() => {
    for (let i = 0; i < calls; i++) sink += u.totalStrokes(chars[i & 4095]) ?? 0;
  }),
  'field(ch, "kDefinition") ns/call': perCall(() => {
    for (let i = 0; i < calls; i++) sink += u.field(chars[i & 4095], 'kDefinition') === null ? 0 : 1;
  }),
  'field(ch, "kMandarin") ns/call': perCall(() => {
    for (let i = 0; i < calls; i++) sink += u.field(chars[i & 4095], 'kMandarin') === null ? 0 : 1;
  }),
};

// The first ask of each value, which decodes it, in a fresh instance: every
// character of the CJK blocks once.
const fresh = await Unihan.load();
fresh.field('漢', 'kDefinition');
fresh._m.values.clear();
let asked = 0;
const start = performance.now();
for (let cp = 0x3400; cp < 0x32400; cp++) {
  asked += 1;
  sink += fresh.field(cp, 'kDefinition') === null ? 0 : 1;
}
results['field(cp, "kDefinition") first ask ns/call'] = ((performance.now() - start) * 1e6) / asked;
for (const [what, value] of Object.entries(results)) console.log(`${what}\t${value.toFixed(1)}`);
if (sink === 0) console.log('(no answers)');
