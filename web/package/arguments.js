// The arguments of the interface: what a character, a name or data may be,
// and the TypeError or RangeError, with the reason the C++ library and the
// Python module give, for anything else.

const MAX_CODE_POINT = 0x10ffff;

// What a refused argument was, for the message: `a string`, `number 3`.
export function typeName(value) {
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
export function codePointOf(ch) {
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

export function requireString(value, what) {
  if (typeof value !== 'string') {
    throw new TypeError(`expected ${what} (string), got ${typeName(value)}`);
  }
  return value;
}

export function requireInteger(value, what) {
  if (typeof value !== 'number' || !Number.isInteger(value)) {
    throw new TypeError(`expected ${what} (integer), got ${typeName(value)}`);
  }
  return value;
}

export function bytesOf(value, what) {
  if (value instanceof Uint8Array) return value;
  if (value instanceof ArrayBuffer) return new Uint8Array(value);
  if (ArrayBuffer.isView(value)) {
    return new Uint8Array(value.buffer, value.byteOffset, value.byteLength);
  }
  throw new TypeError(`expected ${what} as a Uint8Array or an ArrayBuffer, got ${typeName(value)}`);
}

// Data given to Unihan.load: a core image's bytes, or { core, fields, index }.
export function partsOf(data) {
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
