// Every community script of the corpus, opened in the server, gets the findings `qxtool check`
// prints for its file, in its order. The tool names the line the checker was reading; the server
// marks the token a finding is about, which may stand on an earlier line (a string left open).

import assert from 'node:assert/strict';
import { execFileSync } from 'node:child_process';
import { readdirSync, readFileSync } from 'node:fs';
import { join } from 'node:path';
import { test } from 'node:test';

import { qxtoolCommand, TestClient } from './client.mjs';

const corpus = process.env.QX_CORPUS;
const cp1252 = new TextDecoder('windows-1252');

function scriptsUnder(dir) {
  return readdirSync(dir, { withFileTypes: true, recursive: true })
    .filter((entry) => entry.isFile() && entry.name.toLowerCase().endsWith('.cog'))
    .map((entry) => join(entry.parentPath ?? entry.path, entry.name))
    .sort();
}

// [line, "MESSAGE" or "warning: MESSAGE"] per finding, as qxtool check prints them.
function checkedByTool(path) {
  let out;
  try {
    const [command, args] = qxtoolCommand(['check', path]);
    out = execFileSync(command, args, { maxBuffer: 1 << 26 });
  } catch (failure) {
    out = failure.stdout;
  }
  return cp1252
    .decode(out)
    .split('\n')
    .filter((line) => line.length > 0)
    .map((line) => line.slice(path.length + 1))
    .map((line) => [Number(line.slice(0, line.indexOf(':'))), line.slice(line.indexOf(':') + 2)]);
}

test('corpus scripts get the findings of qxtool check', { skip: !corpus }, async (t) => {
  const client = new TestClient();
  t.after(() => client.kill());
  await client.initialize();
  const paths = scriptsUnder(corpus);
  assert.ok(paths.length > 0);
  for (const path of paths) {
    const text = cp1252.decode(readFileSync(path));
    const { uri, diagnostics } = await client.open(path, text);
    const shown = diagnostics.filter((d) => !d.message.startsWith('A script file cannot hold'));
    const printed = checkedByTool(path);
    assert.deepEqual(
      shown.map((d) => `${d.severity === 2 ? 'warning: ' : ''}${d.message}`),
      printed.map(([, message]) => message),
      path,
    );
    shown.forEach((d, i) => assert.ok(d.range.start.line + 1 <= printed[i][0], `${path}: ${d.message}`));

    // Each name of the outline is found again by its references, declaration first among them,
    // and its hover answers.
    const outline = await client.request('textDocument/documentSymbol', { textDocument: { uri } });
    for (const item of outline.flatMap((section) => section.children)) {
      const at = { textDocument: { uri }, position: item.selectionRange.start };
      const found = await client.request('textDocument/references', {
        ...at,
        context: { includeDeclaration: true },
      });
      assert.ok(
        found.some((l) => l.range.start.line === item.selectionRange.start.line),
        `${path}: ${item.name}`,
      );
      assert.notEqual(await client.request('textDocument/hover', at), null, `${path}: ${item.name}`);
    }
  }
  assert.equal(await client.stop(), 0);
});
