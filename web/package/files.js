// The package's own files, beside this module: read by Node (the images
// gzipped, inflated with zlib), fetched by a browser (inflated with
// DecompressionStream as they arrive).

// The images are kept gzipped: a package under 10 MB with every field, and a
// third of the bytes for a browser to fetch.
const PACKAGE_FILES = {
  wasm: 'kelvorn-unihan.wasm',
  core: 'unihan-17.0.bin.gz',
  fields: 'unihan-fields-17.0.bin.gz',
  index: 'unihan-index-17.0.bin.gz',
};

const isNode = typeof process === 'object' && process.versions != null &&
  typeof process.versions.node === 'string';

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
export async function bundledData() {
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

export async function wasmModule() {
  if (compiledModule === null) {
    compiledModule = moduleBytes().then((bytes) => WebAssembly.compile(bytes));
    compiledModule.catch(() => { compiledModule = null; });  // the next load tries again
  }
  return compiledModule;
}
