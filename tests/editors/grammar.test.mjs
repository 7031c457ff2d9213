// The VS Code grammar, as the build generated it, against the annotated scripts of grammar/:
// each "# ^^^ scope" line under a script line names the scopes its columns must have, and
// "- scope" those they must not.

import assert from 'node:assert/strict';
import fs from 'node:fs';
import path from 'node:path';
import { test } from 'node:test';

import { editorsDir, packageFile, run, tableVerbs, testsDir } from './common.mjs';

test('every annotated script has the scopes its annotations name', () => {
  const scripts = fs.readdirSync(path.join(testsDir, 'grammar'))
    .filter((name) => name.endsWith('.cog'))
    .map((name) => path.join('grammar', name));
  assert.ok(scripts.length >= 4, 'the annotated scripts are missing');
  const result = run(process.execPath, [
    packageFile('vscode-tmgrammar-test', 'dist/unit.js'),
    '--config', path.join(editorsDir(), 'vscode', 'package.json'),
    ...scripts,
  ], { cwd: testsDir });
  console.log(result.out + result.err);
  assert.equal(result.status, 0, 'a grammar test failed');
  for (const script of scripts) assert.match(result.out, new RegExp(`✓ ${script}`));
});

test('the generated grammar names every verb of the table', () => {
  const grammar = JSON.parse(fs.readFileSync(
    path.join(editorsDir(), 'vscode', 'syntaxes', 'cog.tmLanguage.json'), 'utf8'));
  const alternation = grammar.repository.verb.match.match(/\(\?i:([^)]*)\)/)[1];
  const names = alternation.split('|').map((name) => name.toLowerCase()).sort();
  assert.deepEqual(names, tableVerbs());
});
