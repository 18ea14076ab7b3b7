// The npm package against the C++ answers: the `unihan` tool's on the
// bundled 17.0 data for a sample of characters, and the same refusals.
import { test } from 'node:test';
import assert from 'node:assert/strict';
import { execFileSync } from 'node:child_process';
import { mkdtempSync, readFileSync, rmSync, writeFileSync } from 'node:fs';
import { tmpdir } from 'node:os';
import { join } from 'node:path';
import { fileURLToPath, pathToFileURL } from 'node:url';
import { gunzipSync } from 'node:zlib';

const packageDir = process.env.KELVORN_UNIHAN_PACKAGE ||
  fileURLToPath(new URL('../../build-web/package/', import.meta.url));
const tool = process.env.KELVORN_UNIHAN_TOOL ||
  fileURLToPath(new URL('../../build-web/native/tools/unihan', import.meta.url));
const { Unihan } = await import(pathToFileURL(join(packageDir, 'index.js')).href);
const u = await Unihan.load();

function unihan(...args) {
  return execFileSync(tool, args, { encoding: 'utf8', maxBuffer: 1 << 28 });
}

// Refused by the tool: its message.
function toolRefusal(...args) {
  try {
    execFileSync(tool, args, { encoding: 'utf8', stdio: ['ignore', 'pipe', 'pipe'] });
  } catch (error) {
    return error.stderr;
  }
  return '';
}

const hex = (cp) => `U+${cp.toString(16).toUpperCase().padStart(4, '0')}`;
const hanChars = (text) => [...text.matchAll(/\p{Script=Han}/gu)].map((m) => m[0]);

// Every 89th code point of the CJK blocks, and the edges of the planes.
const sample = [0x4e00, 0x9fff, 0x3400, 0x20000, 0x2ebe0, 0x31350, 0xf900, 0x2f800, 0x41, 0x10ffff];
for (const [first, last] of [[0x3400, 0x9fff], [0xf900, 0xfaff], [0x20000, 0x323af]]) {
  for (let cp = first; cp <= last; cp += 89) sample.push(cp);
}
const sampleChars = sample.map((cp) => String.fromCodePoint(cp));

test('radical-stroke and total strokes agree with the tool on a sample', () => {
  const lines = unihan('show', '--json', ...sampleChars).trim().split('\n');
  assert.equal(lines.length, sample.length);
  lines.forEach((line, i) => {
    const shown = JSON.parse(line);
    const first = shown.radicalStrokes?.kRSUnicode?.[0];
    const want = first ? { radical: first.radical, residual: first.residual } : null;
    assert.deepEqual(u.radicalStroke(sampleChars[i]), want, hex(sample[i]));
    assert.deepEqual(u.radicalStroke(sample[i]), want, hex(sample[i]));
    assert.equal(u.totalStrokes(sampleChars[i]), shown.totalStrokes ?? null, hex(sample[i]));
  });
});

test('field values agree with the tool byte for byte', () => {
  for (const name of ['kDefinition', 'kMandarin', 'kCantonese', 'kRSUnicode', 'kIRG_GSource',
    'kSimplifiedVariant', 'kTotalStrokes']) {
    const lines = unihan('field', name, ...sampleChars).split('\n').slice(0, sample.length);
    lines.forEach((line, i) => {
      const value = line.split('\t')[2];
      assert.equal(u.field(sample[i], name), value === '' ? null : value, `${name} ${hex(sample[i])}`);
    });
  }
  const all = u.fields('漢');
  assert.equal(all.kDefinition, 'the Chinese people, Chinese language');
  assert.equal(all.kTotalStrokes, '14');
  assert.ok(!('kFoo' in all));
  assert.deepEqual(u.fields('a'), {});
  assert.equal(u.unicodeVersion, '17.0');
  assert.ok(u.fieldNames.includes('kDefinition'));
});

test('reverse lookups agree with the tool', () => {
  for (const radical of [1, 85, 96, 214]) {
    const groups = unihan('radical', String(radical)).trim().split('\n').map((line) => {
      const [, residual, chars] = line.match(/^\d+ ([-+]\d+): (.*)$/u);
      return chars.split(' ').map((char) => ({ char, residual: Number(residual) }));
    });
    assert.deepEqual(u.radicalEntries(radical), groups.flat(), `radical ${radical}`);
    assert.deepEqual(u.byRadical(radical), groups.flat().map((e) => e.char));
  }
  for (const strokes of [1, 14, 30]) {
    assert.deepEqual(u.byTotalStrokes(strokes), hanChars(unihan('strokes', String(strokes))
      .replace(/^radical \d+: /gmu, '')), `${strokes} strokes`);
  }
  for (const reading of ['zi4', 'hàn', 'ma', 'NU:3']) {
    const lines = unihan('reading', reading).trim().split('\n').filter(Boolean);
    assert.deepEqual(u.byReading(reading), lines.map((line) => line.split(' ')[1]), reading);
  }
  for (const words of ['water', 'big dog', 'chinese']) {
    const lines = unihan('search', ...words.split(' ')).trim().split('\n').filter(Boolean);
    assert.deepEqual(u.search(words), lines.map((line) => line.split(' ')[1]), words);
    assert.deepEqual(u.search(words.split(' ')), u.search(words));
  }
});

test('conversion and sorting agree with the tool', () => {
  const dir = mkdtempSync(join(tmpdir(), 'kelvorn-web-'));
  try {
    const text = '漢字簡體，中國 龍 发髮 后後 𠀀 abc\n';
    const file = join(dir, 'text.txt');
    writeFileSync(file, text);
    assert.equal(u.toSimplified(text), unihan('convert', '--to', 'simplified', file));
    assert.equal(u.toTraditional(text), unihan('convert', '--to', 'traditional', file));
    const words = ['漢字', '字典', '水', '漢', '王', '𠀀', '一', 'a', '', '氵', '丁'];
    writeFileSync(file, `${words.join('\n')}\n`);
    const sorted = unihan('sort', file).split('\n').slice(0, words.length);
    assert.deepEqual([...words].sort((a, b) => u.compare(a, b)), sorted);
    const byKey = (a, b) => Buffer.compare(Buffer.from(u.sortKey(a)), Buffer.from(u.sortKey(b)));
    assert.deepEqual([...words].sort(byKey), sorted);
    assert.ok(u.sortKey('漢') instanceof Uint8Array);
    assert.equal(u.compare(0x6f22, '漢'), 0);
  } finally {
    rmSync(dir, { recursive: true, force: true });
  }
});

test('bad arguments are refused with a TypeError or a RangeError that says why', () => {
  const cases = [
    [() => u.radicalStroke(''), RangeError, 'expected one character, got a string of length 0'],
    [() => u.totalStrokes('漢字'), RangeError, 'expected one character, got a string of length 2'],
    [() => u.radicalStroke(-1), RangeError, 'code point -1 is outside 0 to 0x10FFFF'],
    [() => u.radicalStroke(0x110000), RangeError, 'code point 1114112 is outside 0 to 0x10FFFF'],
    [() => u.radicalStroke(1.5), TypeError, 'a code point must be an integer, got 1.5'],
    [() => u.radicalStroke(null), TypeError, 'expected a one-character string or an integer code point, got null'],
    [() => u.field('漢', 'kFoo'), RangeError, 'no field kFoo in the data'],
    [() => u.field('漢', 'kdefinition'), RangeError,
      'no field kdefinition in the data; did you mean kDefinition?'],
    [() => u.field('漢', 3), TypeError, 'expected a field name (string), got number 3'],
    [() => u.fields([]), TypeError, 'expected a one-character string or an integer code point, got an array'],
    [() => u.byRadical(0), RangeError, 'radical must be 1 to 214, got 0'],
    [() => u.byRadical(215), RangeError, 'radical must be 1 to 214, got 215'],
    [() => u.byRadical('1'), TypeError, 'expected a radical (integer), got a string'],
    [() => u.byTotalStrokes(0), RangeError, 'stroke count must be at least 1, got 0'],
    [() => u.byReading(''), RangeError, 'empty reading'],
    [() => u.byReading(4), TypeError, 'expected a reading (string), got number 4'],
    [() => u.search(5), TypeError, 'expected a string or an array of strings, got number 5'],
    [() => u.search(['a', 1]), TypeError, 'expected a string among the words, got number 1'],
    [() => u.toSimplified(undefined), TypeError, 'expected a text (string), got undefined'],
  ];
  for (const [call, type, message] of cases) assert.throws(call, { name: type.name, message });
  // Both halves of a surrogate pair are one character; a lone one is itself.
  assert.deepEqual(u.radicalStroke('\u{20000}'), u.radicalStroke(0x20000));
  assert.equal(u.radicalStroke('\ud800'), null);
});

test('damaged data is refused for the reason the C++ library gives', async () => {
  const dir = mkdtempSync(join(tmpdir(), 'kelvorn-web-'));
  try {
    const core = gunzipSync(readFileSync(join(packageDir, 'unihan-17.0.bin.gz')));
    const fields = gunzipSync(readFileSync(join(packageDir, 'unihan-fields-17.0.bin.gz')));
    const cases = [
      ['a truncated core image', { core: core.subarray(0, core.length >> 1) }, 'core'],
      ['a truncated all-field image', { core, fields: fields.subarray(0, 4096) }, 'fields'],
      ['an all-field image with a changed byte', { core, fields: Buffer.concat([fields.subarray(0, 100),
        Buffer.from([fields[100] ^ 0xff]), fields.subarray(101)]) }, 'fields'],
    ];
    for (const [what, data, part] of cases) {
      const file = join(dir, 'bad.bin');
      writeFileSync(file, data[part]);
      const args = part === 'core' ? ['--data', file, 'show', '漢'] : ['field', '--fields-data', file, 'kDefinition', '漢'];
      const reason = toolRefusal(...args).trim().replace(/^unihan: /u, '').replace(/^.*?: /u, '');
      assert.ok(reason.length > 0, `the tool refuses ${what}`);
      await assert.rejects(async () => {
        const loaded = await Unihan.load(data);
        loaded.field('漢', 'kDefinition');
      }, (error) => error.message.endsWith(reason), `${what}: ${reason}`);
    }
    await assert.rejects(Unihan.load('unihan.bin'), { name: 'TypeError' });
    const coreOnly = await Unihan.load(core);
    assert.deepEqual(coreOnly.radicalStroke('漢'), { radical: 85, residual: 11 });
    assert.throws(() => coreOnly.field('漢', 'kDefinition'), /no all-field image/u);
    assert.deepEqual(coreOnly.byTotalStrokes(1), u.byTotalStrokes(1));
  } finally {
    rmSync(dir, { recursive: true, force: true });
  }
});
