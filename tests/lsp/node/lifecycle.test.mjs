import assert from 'node:assert/strict';
import { test } from 'node:test';

import { TestClient } from './client.mjs';

const faulty = ['symbols', 'int x local', 'message startup', 'end', 'code', 'startup:', '  x = ;', 'end', ''].join(
  '\r\n',
);

test('diagnostics follow full and incremental changes', async (t) => {
  const client = new TestClient();
  t.after(() => client.kill());
  const init = await client.initialize();
  assert.equal(init.capabilities.textDocumentSync.change, 2);

  const { uri, diagnostics } = await client.open('faulty.cog', faulty);
  assert.equal(diagnostics.length, 1);
  assert.equal(diagnostics[0].severity, 1);
  assert.equal(diagnostics[0].range.start.line, 6);
  assert.match(diagnostics[0].message, /Delimiter found/);

  // Mend the line with an incremental edit: "x = ;" becomes "x = 1;".
  let after = await client.change(uri, [
    { range: { start: { line: 6, character: 6 }, end: { line: 6, character: 6 } }, text: '1' },
  ]);
  assert.deepEqual(after, []);

  // A character no script file holds is a warning where it stands.
  after = await client.change(uri, [
    { range: { start: { line: 6, character: 8 }, end: { line: 6, character: 8 } }, text: ' // \u4e00' },
  ]);
  assert.equal(after.length, 1);
  assert.equal(after[0].severity, 2);
  assert.deepEqual(after[0].range.start, { line: 6, character: 12 });

  // A full replacement.
  after = await client.change(uri, [{ text: faulty }]);
  assert.equal(after.length, 1);
  assert.equal(await client.stop(), 0);
});

test('requests before initialize and unknown methods are refused, and exit works', async (t) => {
  const client = new TestClient();
  t.after(() => client.kill());
  await assert.rejects(client.request('textDocument/hover', {}), /not initialized/);
  await client.initialize();
  await assert.rejects(client.request('quillex/nothing', {}), (e) => e.code === -32601);
  await assert.rejects(
    client.request('textDocument/hover', {
      textDocument: { uri: 'file:///never-opened.cog' },
      position: { line: 0, character: 0 },
    }),
    /not open/,
  );
  assert.equal(await client.stop(), 0);
});
