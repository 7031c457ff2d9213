// Every request the server answers, on one script an author might write.

import assert from 'node:assert/strict';
import { test } from 'node:test';

import { TestClient } from './client.mjs';

const script = [
  'symbols', //                                                       0
  'thing       player                           local', //            1
  'sound       snd=beep.wav                     local', //            2
  'int         count=0                          local', //            3
  'message     startup', //                                           4
  'message     activated', //                                         5
  'end', //                                                           6
  'code', //                                                          7
  'startup:', //                                                      8
  '  player = GetLocalPlayerThing();', //                             9
  '  PlaySoundThing(snd, player, 1.0, -1, -1, 0x81);', //             10
  '  call done;', //                                                  11
  '  return;', //                                                     12
  'activated:', //                                                    13
  '  count = count + 1;', //                                          14
  '  call done;', //                                                  15
  '  return;', //                                                     16
  'done:', //                                                         17
  '  SetThingFlags(player, 0x400);', //                               18
  '  return;', //                                                     19
  'end', //                                                           20
  '',
].join('\n');

async function session(t) {
  const client = new TestClient({ quillex: { game: 'jk' } });
  t.after(() => client.kill());
  const init = await client.initialize();
  const { uri, diagnostics } = await client.open('door.cog', script);
  assert.deepEqual(diagnostics, []);
  const at = (line, character) => ({ textDocument: { uri }, position: { line, character } });
  return { client, init, uri, at };
}

const text = (hover) => (typeof hover.contents === 'string' ? hover.contents : hover.contents.value);
const lines = (locations) => locations.map((l) => l.range.start.line).sort((a, b) => a - b);

test('the server says what it serves', async (t) => {
  const { client, init } = await session(t);
  const caps = init.capabilities;
  for (const provider of [
    'hoverProvider',
    'definitionProvider',
    'referencesProvider',
    'documentSymbolProvider',
    'documentFormattingProvider',
  ])
    assert.ok(caps[provider], provider);
  assert.ok(caps.completionProvider && caps.signatureHelpProvider && caps.renameProvider);
  assert.equal(await client.stop(), 0);
});

test('hover tells verbs, flags, symbols and handlers', async (t) => {
  const { client, at } = await session(t);
  const verb = text(await client.request('textDocument/hover', at(10, 5)));
  assert.match(verb, /PlaySoundThing\(sound \*\.snd, thing, flex volume/);
  assert.match(verb, /Plays a sound from a thing/);

  const flags = text(await client.request('textDocument/hover', at(10, 45)));
  assert.match(flags, /Loops till stopped/);
  assert.match(flags, /Sound pos moves with thing/);

  const symbol = text(await client.request('textDocument/hover', at(18, 18)));
  assert.match(symbol, /thing\s+player\s+local/);
  assert.match(symbol, /line 2/);

  const message = text(await client.request('textDocument/hover', at(4, 14)));
  assert.match(message, /handler.*line 9/);

  assert.equal(await client.request('textDocument/hover', at(12, 0)), null);
  assert.equal(await client.request('textDocument/hover', at(400, 0)), null);
  assert.equal(await client.stop(), 0);
});

test('definitions and references of symbols, labels and messages', async (t) => {
  const { client, at } = await session(t);
  const definition = async (line, character) => {
    const found = await client.request('textDocument/definition', at(line, character));
    return lines(Array.isArray(found) ? found : [found]);
  };
  assert.deepEqual(await definition(10, 24), [1]); // player in a call
  assert.deepEqual(await definition(11, 8), [17]); // call done
  assert.deepEqual(await definition(4, 14), [8]); // message startup: its handler
  assert.deepEqual(await definition(14, 12), [3]); // count

  const references = async (line, character, includeDeclaration) =>
    lines(
      await client.request('textDocument/references', {
        ...at(line, character),
        context: { includeDeclaration },
      }),
    );
  assert.deepEqual(await references(1, 14, true), [1, 9, 10, 18]);
  assert.deepEqual(await references(1, 14, false), [9, 10, 18]);
  assert.deepEqual(await references(17, 1, true), [11, 15, 17]);
  assert.deepEqual(await references(14, 3, false), [14, 14]);
  assert.equal(await client.stop(), 0);
});

test('the outline lists the symbols and the handlers', async (t) => {
  const { client, uri } = await session(t);
  const outline = await client.request('textDocument/documentSymbol', { textDocument: { uri } });
  const names = (list) => list.map((s) => s.name);
  const symbols = outline.find((s) => s.name === 'symbols');
  const code = outline.find((s) => s.name === 'code');
  assert.deepEqual(names(symbols.children), ['player', 'snd', 'count', 'startup', 'activated']);
  assert.deepEqual(names(code.children), ['startup', 'activated', 'done']);
  assert.equal(code.children[2].range.start.line, 17);
  assert.equal(await client.stop(), 0);
});

test('rename changes every use of a symbol or label and nothing else', async (t) => {
  const { client, uri, at } = await session(t);
  const rename = async (line, character, newName) => {
    const edit = await client.request('textDocument/rename', { ...at(line, character), newName });
    return edit.changes[uri].map((e) => [e.range.start.line, e.range.start.character, e.newText]);
  };
  const sorted = (edits) => edits.sort((a, b) => a[0] - b[0] || a[1] - b[1]);
  assert.deepEqual(sorted(await rename(9, 3, 'hero')), [
    [1, 12, 'hero'],
    [9, 2, 'hero'],
    [10, 22, 'hero'],
    [18, 16, 'hero'],
  ]);
  assert.deepEqual(sorted(await rename(11, 8, 'finish')), [
    [11, 7, 'finish'],
    [15, 7, 'finish'],
    [17, 0, 'finish'],
  ]);
  const prepared = await client.request('textDocument/prepareRename', at(18, 16));
  assert.deepEqual(prepared.range.start, { line: 18, character: 16 });
  assert.equal(prepared.placeholder, 'player');
  assert.equal(await client.request('textDocument/prepareRename', at(18, 4)), null); // a verb
  await assert.rejects(client.request('textDocument/rename', { ...at(9, 3), newName: 'two words' }));
  await assert.rejects(client.request('textDocument/rename', { ...at(9, 3), newName: 'count' }));
  assert.equal(await client.stop(), 0);
});

test('completion offers verbs, symbols, labels, messages and types where each belongs', async (t) => {
  const { client, uri, at } = await session(t);
  const labels = async (line, character) =>
    (await client.request('textDocument/completion', at(line, character))).items ??
    (await client.request('textDocument/completion', at(line, character)));
  const names = (items) => items.map((i) => i.label);

  // Typing a statement: verbs with their arguments as a snippet, and the script's symbols.
  await client.change(uri, [
    { range: { start: { line: 12, character: 0 }, end: { line: 12, character: 0 } }, text: '  PlaySo\n' },
  ]);
  const statement = await labels(12, 8);
  const playSound = statement.find((i) => i.label === 'PlaySoundThing');
  assert.ok(playSound);
  assert.equal(playSound.insertTextFormat, 2);
  assert.match(playSound.insertText, /^PlaySoundThing\(\$\{1:snd\}/);
  // Its description comes when the item is resolved; a word of the script has none.
  assert.equal(playSound.documentation, undefined);
  const resolved = await client.request('completionItem/resolve', playSound);
  assert.match(resolved.documentation.value, /Plays a sound from a thing/);
  const player = statement.find((i) => i.label === 'player');
  assert.equal((await client.request('completionItem/resolve', player)).documentation, undefined);
  assert.ok(names(statement).includes('player'));

  // After "call": the labels.
  await client.change(uri, [
    { range: { start: { line: 12, character: 0 }, end: { line: 12, character: 8 } }, text: '  call ' },
  ]);
  assert.deepEqual(names(await labels(12, 7)).sort(), ['activated', 'done', 'startup']);

  // In the symbols section: types at the start of a line, message names after "message".
  await client.change(uri, [
    { range: { start: { line: 6, character: 0 }, end: { line: 6, character: 0 } }, text: 'mes\n' },
  ]);
  assert.ok(names(await labels(6, 3)).includes('message'));
  await client.change(uri, [
    { range: { start: { line: 6, character: 0 }, end: { line: 6, character: 3 } }, text: 'message ' },
  ]);
  const messages = names(await labels(6, 8));
  assert.ok(messages.includes('touched') && messages.includes('pulse'));
  assert.equal(await client.stop(), 0);
});

test('signature help follows the argument being written', async (t) => {
  const { client, at } = await session(t);
  const help = await client.request('textDocument/signatureHelp', at(10, 44));
  assert.match(help.signatures[help.activeSignature ?? 0].label, /^int PlaySoundThing\(/);
  assert.equal(help.activeParameter ?? help.signatures[0].activeParameter, 5);
  const first = await client.request('textDocument/signatureHelp', at(10, 17));
  assert.equal(first.activeParameter ?? first.signatures[0].activeParameter, 0);
  assert.equal(await client.request('textDocument/signatureHelp', at(12, 4)), null);
  assert.equal(await client.stop(), 0);
});

test('formatting lays out the symbols section in columns', async (t) => {
  const client = new TestClient();
  t.after(() => client.kill());
  await client.initialize();
  const { uri } = await client.open(
    'messy.cog',
    'symbols\nthing player local\nmessage startup\nend\ncode\nstartup:\n  return;\nend\n',
  );
  const edits = await client.request('textDocument/formatting', {
    textDocument: { uri },
    options: { tabSize: 4, insertSpaces: true },
  });
  assert.deepEqual(
    edits.map((e) => [e.range.start.line, e.newText.trimEnd()]),
    [
      [1, 'thing        player                             local'],
      [2, 'message      startup'],
      [3, 'end'],
    ],
  );
  assert.equal(await client.stop(), 0);
});
