// The WebAssembly module's memory seen from JavaScript: bytes handed over,
// texts written in, and the reply (an address and a length) read out.

const VALUE_CACHE_LIMIT = 1 << 16;

const encoder = new TextEncoder();
const decoder = new TextDecoder('utf-8');

export class Memory {
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
