// The Notepad++ user-defined language the build generated: an XML file Notepad++ can import,
// naming every verb of the table, with no word in two lists (it would get either colour).

import assert from 'node:assert/strict';
import path from 'node:path';
import { test } from 'node:test';

import { editorsDir, run, tableVerbs } from './common.mjs';

const languageFile = () => path.join(editorsDir(), 'notepad++', 'cog.xml');

function keywords(name) {
  const result = run('xmllint', ['--xpath', `string(//Keywords[@name='${name}'])`,
                                 languageFile()]);
  assert.equal(result.status, 0, result.err);
  return result.out.trim().split(/\s+/).filter(Boolean);
}

test('the language file is well-formed XML', () => {
  const result = run('xmllint', ['--noout', languageFile()]);
  assert.equal(result.status, 0, result.err);
  assert.equal(result.err, '');
});

test('the verb list holds every verb of the table and nothing else', () => {
  assert.deepEqual([...keywords('Keywords3')].sort(), tableVerbs());
});

test('a word stands in one list only, and no list holds a folding word', () => {
  const lists = ['Keywords1', 'Keywords2', 'Keywords3', 'Keywords4', 'Keywords5', 'Keywords6',
                 'Folders in code1, open', 'Folders in code1, close'];
  const owner = new Map();
  for (const list of lists) {
    for (const word of keywords(list)) {
      assert.ok(!owner.has(word), `"${word}" is in ${owner.get(word)} and in ${list}`);
      owner.set(word, list);
    }
  }
  for (const word of ['symbols', 'code', 'end', '{', '}'])
    assert.match(owner.get(word) ?? '', /^Folders in code1/, `"${word}" does not fold`);
});

test('comments start at "#" and "//", strings and vectors are delimited', () => {
  assert.deepEqual(keywords('Comments'), ['00#', '00//', '01', '02', '03', '04']);
  assert.deepEqual(keywords('Delimiters').slice(0, 6), ['00"', '01', '02"', "03'", '04', "05'"]);
});
