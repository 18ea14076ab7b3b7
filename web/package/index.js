// kelvorn-unihan: per-character answers from the Unicode Han Database, by
// the WebAssembly build of the C++ library. No runtime dependency: Node's
// own fs and zlib, or the browser's fetch and DecompressionStream.
import { codePointOf, partsOf, requireInteger, requireString, typeName } from './arguments.js';
import { bundledData, wasmModule } from './files.js';
import { Memory } from './memory.js';

const UNICODE_VERSION = '17.0';
const LAST_RADICAL = 214;
const RESIDUAL_BIAS = 128;

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
    this._check(this._x.kw_load_core(...this._handOver(parts.core)));
    // Bytes, a function that reads them when first needed, or null.
    this._fieldsSource = parts.fields;
    this._indexSource = parts.index;
    // The index, saved for the core and the all-field image, comes with the
    // latter; the module opens it when first asked for, so that a page shows
    // its first answers without waiting for it.
    if (typeof parts.fields !== 'function') this._requireFields(false);
  }

  // Copies bytes into the module, which takes them: [address, length], or
  // [0, 0] for none.
  _handOver(bytes) {
    return bytes && bytes.length > 0 ? [this._m.copyIn(bytes), bytes.length] : [0, 0];
  }

  // Loads the all-field store, with the index, if it is still to come; when
  // `needed`, an Error if the data has none.
  _requireFields(needed = true) {
    if (this._fieldsSource !== null) {
      const read = (source) => (typeof source === 'function' ? source() : source);
      const fields = read(this._fieldsSource);
      const index = read(this._indexSource);
      // Refused, they stay to come: the next call says why again.
      this._check(this._x.kw_load_fields(...this._handOver(fields), ...this._handOver(index)));
      this._fieldsSource = null;
      this._indexSource = null;
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

  // The index is built from the core alone when there is no all-field store.
  _requireIndex() {
    this._requireFields(false);
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
    if (index === undefined) {
      const [[at, length]] = this._m.textsIn(name);
      this._x.kw_require_field(at, length);
      throw new RangeError(this._m.replyText());
    }
    if (this._x.kw_field(cp, index) === 0) return null;
    return this._m.replyValue();
  }
}

export { UNICODE_VERSION };
export default Unihan;
