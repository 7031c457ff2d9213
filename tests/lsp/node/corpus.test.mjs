// Every community script of the corpus, opened in the server, gets the findings `qxtool check`
// prints for its file.

import assert from 'node:assert/strict';
import { execFileSync } from 'node:child_process';
import { readdirSync, readFileSync } from 'node:fs';
import { join } from 'node:path';
import { test } from 'node:test';

import { qxtool, TestClient } from './client.mjs';

const corpus = process.env.QX_CORPUS;
const cp1252 = new TextDecoder('windows-1252');

function scriptsUnder(dir) {
  return readdirSync(dir, { withFileTypes: true, recursive: true })
    .filter((entry) => entry.isFile() && entry.name.toLowerCase().endsWith('.cog'))
    .map((entry) => join(entry.parentPath ?? entry.path, entry.name))
    .sort();
}

// "LINE: MESSAGE" or "LINE: warning: MESSAGE" per finding, as qxtool check prints them.
function checkedByTool(path) {
  let out;
  try {
    out = execFileSync(qxtool, ['check', path], { maxBuffer: 1 << 26 });
  } catch (failure) {
    out = failure.stdout;
  }
  return cp1252
    .decode(out)
    .split('\n')
    .filter((line) => line.length > 0)
    .map((line) => line.slice(path.length + 1));
}

test('corpus scripts get the findings of qxtool check', { skip: !corpus }, async (t) => {
  const client = new TestClient();
  t.after(() => client.kill());
  await client.initialize();
  const paths = scriptsUnder(corpus);
  assert.ok(paths.length > 0);
  for (const path of paths) {
    const text = cp1252.decode(readFileSync(path));
    const { diagnostics } = await client.open(path, text);
    const shown = diagnostics
      .filter((d) => d.source === 'quillex' && !d.message.startsWith('A script file cannot hold'))
      .map((d) => `${d.range.start.line + 1}: ${d.severity === 2 ? 'warning: ' : ''}${d.message}`);
    assert.deepEqual(shown, checkedByTool(path), path);
  }
  assert.equal(await client.stop(), 0);
});
