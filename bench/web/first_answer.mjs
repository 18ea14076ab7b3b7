// One fresh process: milliseconds from the start of the import of the
// package to its first answer. node first_answer.mjs PACKAGE_DIR
import { join } from 'node:path';
import { pathToFileURL } from 'node:url';

const start = performance.now();
const { Unihan } = await import(pathToFileURL(join(process.argv[2], 'index.js')).href);
const u = await Unihan.load();
const answer = u.radicalStroke('漢');
const ms = performance.now() - start;
if (answer.radical !== 85) throw new Error('a wrong answer');
console.log(ms.toFixed(1));
