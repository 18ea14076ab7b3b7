// kelvorn-unihan: per-character answers from the Unicode Han Database, by
// the WebAssembly build of the C++ library. No runtime dependency: Node's
// own fs and zlib, or the browser's fetch and DecompressionStream.

// The images are kept gzipped: a package under 10 MB with every field, and a
// third of the bytes for a browser to fetch.
const PACKAGE_FILES = {
  wasm: 'kelvorn-unihan.wasm',
  core: 'unihan-17.0.bin.gz',
  fields: 'unihan-fields-17.0.bin.gz',
  index: 'unihan-index-17.0.bin.gz',
};
const UNICODE_VERSION = '17.0';
const MAX_CODE_POINT = 0x10ffff;
const LAST_RADICAL = 214;
const RESIDUAL_BIAS = 128;
const VALUE_CACHE_LIMIT = 1 << 16;

const isNode = typeof process === 'object' && process.versions != null &&
  typeof process.versions.node === 'string';

// ---- files beside the module -------------------------------------------------

async function fetchBeside(name) {
  const url = new URL(name, import.meta.url);
  const response = await fetch(url);
  if (!response.ok) throw new Error(`cannot fetch ${url}: HTTP ${response.status}`);
  return response;
}

async function fetchInflated(name) {
  const response = await fetchBeside(name);
  const stream = response.body.pipeThrough(new DecompressionStream('gzip'));
  return new Uint8Array(await new Response(stream).arrayBuffer());
}

// In Node the all-field image (16 MB) and the index are read and inflated
// when first asked for, so that the first answer does not wait for them; a
// browser fetches them with the core.
async function bundledData() {
  if (isNode) {
    const { readFileSync } = await import('node:fs');
    const { gunzipSync } = await import('node:zlib');
    const read = (name) => new Uint8Array(gunzipSync(readFileSync(new URL(name, import.meta.url))));
    return {
      core: read(PACKAGE_FILES.core),
      fields: () => read(PACKAGE_FILES.fields),
      index: () => read(PACKAGE_FILES.index),
    };
  }
  const [core, fields, index] = await Promise.all(
    [PACKAGE_FILES.core, PACKAGE_FILES.fields, PACKAGE_FILES.index].map(fetchInflated));
  return { core, fields, index };
}

async function moduleBytes() {
  if (isNode) {
    const { readFile } = await import('node:fs/promises');
    return readFile(new URL(PACKAGE_FILES.wasm, import.meta.url));
  }
  return (await fetchBeside(PACKAGE_FILES.wasm)).arrayBuffer();
}

let compiledModule = null;

async function wasmModule() {
  if (compiledModule === null) {
    compiledModule = moduleBytes().then((bytes) => WebAssembly.compile(bytes));
    compiledModule.catch(() => { compiledModule = null; });  // the next load tries again
  }
  return compiledModule;
}

// ---- arguments --------------------------------------------------------------

// What a refused argument was, for the message: `a string`, `number 3`.
function typeName(value) {
  if (value === null || value === undefined) return String(value);
  if (Array.isArray(value)) return 'an array';
  switch (typeof value) {
    case 'string': return 'a string';
    case 'number': case 'bigint': case 'boolean': return `${typeof value} ${String(value)}`;
    case 'object': return value.constructor ? value.constructor.name : 'an object';
    default: return `a ${typeof value}`;
  }
}

// The code point of a one-character string (a surrogate pair is one
// character) or of an integer; TypeError or RangeError for anything else.
function codePointOf(ch) {
  if (typeof ch === 'string') {
    if (ch.length === 1) return ch.charCodeAt(0);
    if (ch.length === 2) {
      const cp = ch.codePointAt(0);
      if (cp > 0xffff) return cp;
    }
    throw new RangeError(`expected one character, got a string of length ${countChars(ch)}`);
  }
  if (typeof ch === 'number') {
    if (Number.isInteger(ch) && ch >= 0 && ch <= MAX_CODE_POINT) return ch;
    if (!Number.isInteger(ch)) throw new TypeError(`a code point must be an integer, got ${ch}`);
    throw new RangeError(`code point ${ch} is outside 0 to 0x10FFFF`);
  }
  throw new TypeError(
    `expected a one-character string or an integer code point, got ${typeName(ch)}`);
}

function countChars(text) {
  return [...text].length;
}

function requireString(value, what) {
  if (typeof value !== 'string') {
    throw new TypeError(`expected ${what} (string), got ${typeName(value)}`);
  }
  return value;
}

function requireInteger(value, what) {
  if (typeof value !== 'number' || !Number.isInteger(value)) {
    throw new TypeError(`expected ${what} (integer), got ${typeName(value)}`);
  }
  return value;
}

function bytesOf(value, what) {
  if (value instanceof Uint8Array) return value;
  if (value instanceof ArrayBuffer) return new Uint8Array(value);
  if (ArrayBuffer.isView(value)) {
    return new Uint8Array(value.buffer, value.byteOffset, value.byteLength);
  }
  throw new TypeError(`expected ${what} as a Uint8Array or an ArrayBuffer, got ${typeName(value)}`);
}

// ---- the module's memory ----------------------------------------------------

const encoder = new TextEncoder();
const decoder = new TextDecoder('utf-8');

class Memory {
  constructor(exports) {
    this.exports = exports;
    this.memory = exports.memory;
    this.refresh();
    this.reply = exports.kw_reply() >>> 2;
    this.scratch = 0;
    this.scratchSize = 0;
    this.values = new Map();
  }

  // Views go stale when the memory grows.
  refresh() {
    this.u8 = new Uint8Array(this.memory.buffer);
    this.u32 = new Uint32Array(this.memory.buffer);
    this.i32 = new Int32Array(this.memory.buffer);
  }

  views() {
    if (this.u8.byteLength === 0 || this.u8.buffer !== this.memory.buffer) this.refresh();
  }

  copyIn(bytes) {
    const at = this.exports.kw_alloc(bytes.length);
    if (at === 0) throw new RangeError(`no memory for ${bytes.length} bytes`);
    this.views();
    this.u8.set(bytes, at);
    return at;
  }

  // Writes the texts as UTF-8 into the scratch buffer, each in its own
  // part; [address, length] of each.
  textsIn(...texts) {
    const part = 3 * Math.max(...texts.map((text) => text.length)) + 1;
    if (this.scratchSize < part * texts.length) {
      if (this.scratch !== 0) this.exports.kw_free(this.scratch);
      this.scratchSize = Math.max(256, 2 * part * texts.length);
      this.scratch = this.exports.kw_alloc(this.scratchSize);
      if (this.scratch === 0) throw new RangeError(`no memory for a text of ${part} bytes`);
    }
    this.views();
    return texts.map((text, i) => {
      const at = this.scratch + i * part;
      return [at, encoder.encodeInto(text, this.u8.subarray(at, at + part)).written];
    });
  }

  replyAddress() { this.views(); return this.u32[this.reply]; }
  replyLength() { return this.u32[this.reply + 1]; }

  replyText() {
    this.views();
    const at = this.u32[this.reply];
    const length = this.u32[this.reply + 1];
    return shortText(this.u8, at, length);
  }

  // A value of the all-field image: it never moves, so its text is decoded
  // once and kept, up to a bound past which the kept texts are dropped.
  replyValue() {
    this.views();
    const at = this.u32[this.reply];
    const length = this.u32[this.reply + 1];
    const key = at + length * 0x100000000;
    let text = this.values.get(key);
    if (text === undefined) {
      if (this.values.size >= VALUE_CACHE_LIMIT) this.values.clear();
      text = shortText(this.u8, at, length);
      this.values.set(key, text);
    }
    return text;
  }

  replyBytes() {
    this.views();
    const at = this.u32[this.reply];
    return this.u8.slice(at, at + this.u32[this.reply + 1]);
  }

  replyChars() {
    this.views();
    const at = this.u32[this.reply] >>> 2;
    const count = this.u32[this.reply + 1];
    const out = new Array(count);
    for (let i = 0; i < count; i++) out[i] = String.fromCodePoint(this.u32[at + i]);
    return out;
  }
}

// Short values (most field values are a few bytes) decode faster by hand
// than through TextDecoder's call overhead.
function shortText(u8, at, length) {
  if (length > 48) return decoder.decode(u8.subarray(at, at + length));
  let out = '';
  const end = at + length;
  while (at < end) {
    const b = u8[at];
    if (b < 0x80) { out += String.fromCharCode(b); at += 1; }
    else if (b < 0xe0) { out += String.fromCharCode(((b & 0x1f) << 6) | (u8[at + 1] & 0x3f)); at += 2; }
    else if (b < 0xf0) {
      out += String.fromCharCode(((b & 0x0f) << 12) | ((u8[at + 1] & 0x3f) << 6) | (u8[at + 2] & 0x3f));
      at += 3;
    } else {
      out += String.fromCodePoint(((b & 0x07) << 18) | ((u8[at + 1] & 0x3f) << 12) |
        ((u8[at + 2] & 0x3f) << 6) | (u8[at + 3] & 0x3f));
      at += 4;
    }
  }
  return out;
}

// ---- Unihan -------------------------------------------------------------------

const sealed = Symbol('kelvorn-unihan');

export class Unihan {
  // The bundled Unicode 17.0 data, or other data: a core image's bytes, or
  // { core, fields, index } with an all-field image and a saved index, or a
  // promise of either.
  static async load(data) {
    // Data still on its way (a promise) is awaited while the module compiles.
    const parts = data === undefined ? bundledData() : Promise.resolve(data).then(partsOf);
    const [module, given] = await Promise.all([wasmModule(), parts]);
    const instance = await WebAssembly.instantiate(module, {
      env: { emscripten_notify_memory_growth() {} },
      wasi_snapshot_preview1: {
        proc_exit(code) { throw new Error(`the WebAssembly module stopped (${code})`); },
      },
    });
    instance.exports._initialize();
    return new Unihan(sealed, new Memory(instance.exports), given);
  }

  constructor(key, memory, parts) {
    if (key !== sealed) throw new TypeError('use `await Unihan.load()` to make a Unihan');
    this._m = memory;
    this._x = memory.exports;
    this._fieldIndex = new Map();
    this._fieldNames = [];
    this._give(this._x.kw_load_core, parts.core);
    // Bytes, a function that reads them when first needed, or null.
    this._fieldsSource = parts.fields;
    this._indexSource = parts.index;
    this._indexReady = false;
    // The index is opened when first asked for: a page shows its first
    // answers without waiting for it.
    if (typeof parts.fields !== 'function') this._requireFields(false);
  }

  // Hands bytes over to the module, which keeps them.
  _give(load, bytes) {
    const at = bytes && bytes.length > 0 ? this._m.copyIn(bytes) : 0;
    this._check(load(at, at === 0 ? 0 : bytes.length));
  }

  // Loads the all-field store if it is still to come; when `needed`, an
  // Error if the data has none.
  _requireFields(needed = true) {
    if (this._fieldsSource !== null) {
      const source = this._fieldsSource;
      // Refused, it stays to come: the next call says why again.
      this._give(this._x.kw_load_fields, typeof source === 'function' ? source() : source);
      this._fieldsSource = null;
      const count = this._x.kw_field_count();
      for (let i = 0; i < count; i++) {
        this._x.kw_field_name(i);
        const name = this._m.replyText();
        this._fieldNames.push(name);
        this._fieldIndex.set(name, i);
      }
    }
    if (needed && this._fieldNames.length === 0) {
      throw new Error('this data has no all-field image: load { core, fields }');
    }
  }

  _requireIndex() {
    if (this._indexReady) return;
    this._requireFields(false);
    const source = this._indexSource;
    this._give(this._x.kw_load_index, typeof source === 'function' ? source() : source);
    this._indexSource = null;
    this._indexReady = true;
  }

  get unicodeVersion() {
    this._requireFields(false);
    this._x.kw_unicode_version();
    return this._m.replyText() || null;
  }

  get fieldNames() {
    this._requireFields(false);
    return this._fieldNames.slice();
  }

  radicalStroke(ch) {
    const packed = this._x.kw_radical_stroke(codePointOf(ch));
    if (packed < 0) return null;
    return { radical: packed >> 8, residual: (packed & 255) - RESIDUAL_BIAS };
  }

  totalStrokes(ch) {
    const total = this._x.kw_total_strokes(codePointOf(ch));
    return total > 0 ? total : null;
  }

  field(ch, name) {
    const cp = codePointOf(ch);
    const index = this._fieldIndex.get(name);
    if (index === undefined) return this._fieldSlow(cp, name);
    if (this._x.kw_field(cp, index) === 0) return null;
    return this._m.replyValue();
  }

  fields(ch) {
    const cp = codePointOf(ch);
    this._requireFields();
    const out = {};
    for (let i = 0; i < this._fieldNames.length; i++) {
      if (this._x.kw_field(cp, i) !== 0) out[this._fieldNames[i]] = this._m.replyValue();
    }
    return out;
  }

  byRadical(radical) {
    return this.radicalEntries(radical).map((e) => e.char);
  }

  // The characters of a radical with their residual strokes, in the index's
  // order: by residual, then code point.
  radicalEntries(radical) {
    requireInteger(radical, 'a radical');
    if (radical < 1 || radical > LAST_RADICAL) {
      throw new RangeError(`radical must be 1 to ${LAST_RADICAL}, got ${radical}`);
    }
    this._requireIndex();
    this._check(this._x.kw_by_radical(radical));
    const m = this._m;
    m.views();
    const at = m.replyAddress() >>> 2;
    const count = m.replyLength();
    const out = new Array(count);
    for (let i = 0; i < count; i++) {
      out[i] = { char: String.fromCodePoint(m.u32[at + 2 * i]), residual: m.i32[at + 2 * i + 1] };
    }
    return out;
  }

  byTotalStrokes(strokes) {
    requireInteger(strokes, 'a stroke count');
    if (strokes < 1) throw new RangeError(`stroke count must be at least 1, got ${strokes}`);
    this._requireIndex();
    this._check(this._x.kw_by_total_strokes(strokes));
    return this._m.replyChars();
  }

  byReading(reading) {
    requireString(reading, 'a reading');
    if (reading.length === 0) throw new RangeError('empty reading');
    this._requireIndex();
    return this._textCall(this._x.kw_by_reading, reading);
  }

  search(words) {
    let query = words;
    if (Array.isArray(words)) {
      for (const word of words) {
        if (typeof word !== 'string') {
          throw new TypeError(`expected a string among the words, got ${typeName(word)}`);
        }
      }
      query = words.join(' ');
    } else if (typeof words !== 'string') {
      throw new TypeError(`expected a string or an array of strings, got ${typeName(words)}`);
    }
    this._requireFields();
    return this._textCall(this._x.kw_search, query);
  }

  toTraditional(text) { return this._convert(text, 1); }

  toSimplified(text) { return this._convert(text, 0); }

  sortKey(text) {
    this._requireIndex();
    const [[at, length]] = this._m.textsIn(this._textOrChar(text));
    this._check(this._x.kw_sort_key(at, length));
    return this._m.replyBytes();
  }

  compare(a, b) {
    const left = this._textOrChar(a);
    const right = this._textOrChar(b);
    this._requireIndex();
    const [[aAt, aLength], [bAt, bLength]] = this._m.textsIn(left, right);
    const order = this._x.kw_compare(aAt, aLength, bAt, bLength);
    if (order === -2) throw new Error(this._m.replyText());
    return order;
  }

  _textOrChar(value) {
    if (typeof value === 'number') return String.fromCodePoint(codePointOf(value));
    return requireString(value, 'a text');
  }

  _convert(text, traditional) {
    requireString(text, 'a text');
    this._requireFields();
    const [[at, length]] = this._m.textsIn(text);
    this._check(this._x.kw_convert(at, length, traditional));
    return this._m.replyText();
  }

  _textCall(call, text) {
    const [[at, length]] = this._m.textsIn(text);
    this._check(call(at, length));
    return this._m.replyChars();
  }

  _check(status) {
    if (status !== 0) throw new Error(this._m.replyText());
  }

  // field()'s way when the name is not (yet) known: the store may still be
  // to load.
  _fieldSlow(cp, name) {
    requireString(name, 'a field name');
    this._requireFields();
    const index = this._fieldIndex.get(name);
    if (index === undefined) throw new RangeError(`no field ${name} in the data`);
    if (this._x.kw_field(cp, index) === 0) return null;
    return this._m.replyValue();
  }
}

function partsOf(data) {
  if (data !== null && typeof data === 'object' && !ArrayBuffer.isView(data) &&
      !(data instanceof ArrayBuffer)) {
    if (data.core === undefined) throw new TypeError('expected { core, fields, index } with core');
    return {
      core: bytesOf(data.core, 'core'),
      fields: data.fields === undefined ? null : bytesOf(data.fields, 'fields'),
      index: data.index === undefined ? null : bytesOf(data.index, 'index'),
    };
  }
  return { core: bytesOf(data, 'the data'), fields: null, index: null };
}

export { UNICODE_VERSION };
export default Unihan;
