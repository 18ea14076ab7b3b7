// The JavaScript examples of docs/web.md: each block marked as run by this
// file is a program, the next such block what it prints.
import { test } from 'node:test';
import assert from 'node:assert/strict';
import { execFileSync } from 'node:child_process';
import { mkdtempSync, readFileSync, rmSync, writeFileSync } from 'node:fs';
import { tmpdir } from 'node:os';
import { join } from 'node:path';
import { fileURLToPath, pathToFileURL } from 'node:url';

const packageDir = process.env.KELVORN_UNIHAN_PACKAGE ||
  fileURLToPath(new URL('../../build-web/package/', import.meta.url));
const doc = fileURLToPath(new URL('../../docs/web.md', import.meta.url));
const MARK = '<!-- run by web/test/docs.test.mjs -->';

function markedBlocks(markdown) {
  const blocks = [];
  const lines = markdown.split('\n');
  for (let i = 0; i < lines.length; i++) {
    if (lines[i] !== MARK) continue;
    const end = lines.indexOf('```', i + 2);
    blocks.push({ line: i + 3, body: lines.slice(i + 2, end).join('\n') });
  }
  return blocks;
}

test('the examples of docs/web.md print what the page says', () => {
  const blocks = markedBlocks(readFileSync(doc, 'utf8'));
  assert.ok(blocks.length >= 2 && blocks.length % 2 === 0, 'examples come with their output');
  const dir = mkdtempSync(join(tmpdir(), 'kelvorn-web-docs-'));
  try {
    for (let i = 0; i < blocks.length; i += 2) {
      const program = join(dir, `example${i}.mjs`);
      const moduleUrl = pathToFileURL(join(packageDir, 'index.js')).href;
      writeFileSync(program, blocks[i].body.replaceAll("'kelvorn-unihan'", `'${moduleUrl}'`));
      const printed = execFileSync(process.execPath, [program], { encoding: 'utf8' });
      assert.equal(printed.trimEnd(), blocks[i + 1].body, `docs/web.md line ${blocks[i].line}`);
    }
  } finally {
    rmSync(dir, { recursive: true, force: true });
  }
});
