// Types of kelvorn-unihan.

/** A one-character string (a surrogate pair is one character) or a code point. */
export type Char = string | number;

export interface RadicalStroke {
  /** The radical, 1 to 214. */
  radical: number;
  /** Residual strokes; negative for a few characters (王 is 96.-1). */
  residual: number;
}

export interface RadicalEntry {
  char: string;
  residual: number;
}

/** Data other than the bundled release: images made by the `unihan` tool. */
export interface UnihanData {
  /** A core image (`unihan compile`). */
  core: Uint8Array | ArrayBuffer;
  /** An all-field image (`unihan compile-fields`) or Unihan text. */
  fields?: Uint8Array | ArrayBuffer;
  /** A saved index (`unihan compile-index`); built when absent or saved for other data. */
  index?: Uint8Array | ArrayBuffer;
}

export declare const UNICODE_VERSION: string;

export declare class Unihan {
  /**
   * The bundled Unicode 17.0 data (the package's files in Node, fetched
   * beside the module in a browser), or other data, or a promise of it (the
   * module compiles meanwhile). Rejects with an Error
   * naming the reason when the bytes are refused.
   */
  static load(data?: Uint8Array | ArrayBuffer | UnihanData |
    Promise<Uint8Array | ArrayBuffer | UnihanData>): Promise<Unihan>;

  private constructor();

  /** The Unicode release of the all-field data; null without one. */
  readonly unicodeVersion: string | null;
  /** Every field the data has, in byte order. */
  readonly fieldNames: string[];

  /** The first kRSUnicode value; null when the character has none. */
  radicalStroke(ch: Char): RadicalStroke | null;
  /** kTotalStrokes; null when the character has none. */
  totalStrokes(ch: Char): number | null;
  /** The raw value of any field; null when the character has none. RangeError for a field the data does not have. */
  field(ch: Char, name: string): string | null;
  /** Every field of the character with its raw value. */
  fields(ch: Char): Record<string, string>;

  /** The characters of a radical (1 to 214), by residual strokes. */
  byRadical(radical: number): string[];
  /** The same with the residual of each. */
  radicalEntries(radical: number): RadicalEntry[];
  /** The characters of this many strokes (at least 1). */
  byTotalStrokes(strokes: number): string[];
  /** The characters of a Mandarin reading: "zi4", "zì" or "zi". */
  byReading(reading: string): string[];
  /** The characters whose definition has these English words. */
  search(words: string | string[]): string[];

  toTraditional(text: string): string;
  toSimplified(text: string): string;

  /** Bytes that compare, byte by byte, as the texts sort by radical and strokes. */
  sortKey(text: string | number): Uint8Array;
  /** -1, 0 or 1 as a sorts before, with or after b by radical and strokes. */
  compare(a: string | number, b: string | number): -1 | 0 | 1;
}

export default Unihan;
