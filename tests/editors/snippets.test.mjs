// The snippets, filled in with their defaults as VS Code inserts them, make scripts the checker
// accepts: a whole script alone, a symbols section before a code section, a statement in a
// handler.

import assert from 'node:assert/strict';
import fs from 'node:fs';
import os from 'node:os';
import path from 'node:path';
import { test } from 'node:test';

import { qxtool, run, vscodeSource } from './common.mjs';

// The text of a snippet's body as inserted: each placeholder its default (the first choice of
// a choice), each later "$N" the same text, variables as for a file named new.cog.
export function expand(body) {
  const variables = { TM_FILENAME: 'new.cog' };
  const values = {};
  let text = body.join('\n');
  // Innermost first: a default may hold a variable.
  const innermost = /\$\{(\d+|[A-Z_]+)(?::([^${}]*)|\|([^|]*)\|)?\}/;
  for (let found = text.match(innermost); found; found = text.match(innermost)) {
    const [whole, name, fallback, choices] = found;
    let value = variables[name];
    if (value === undefined) {
      value = choices !== undefined ? choices.split(',')[0] : fallback ?? '';
      values[name] = value;
    }
    text = text.replace(whole, value);
  }
  return text.replace(/\$(\d+)/g, (_, name) => values[name] ?? '');
}

test('expanding fills placeholders, choices, variables and mirrors', () => {
  assert.equal(expand(['${1:a} ${2|x,y|} $1 # ${3:${TM_FILENAME}}$0']), 'a x a # new.cog');
});

test('every snippet makes a script the checker accepts', () => {
  const snippets = JSON.parse(fs.readFileSync(path.join(vscodeSource, 'snippets', 'cog.json'),
                                              'utf8'));
  const folder = fs.mkdtempSync(path.join(os.tmpdir(), 'quillex-snippets-'));
  try {
    for (const [name, snippet] of Object.entries(snippets)) {
      const text = expand(snippet.body);
      let script;
      let options = [];
      if (snippet.prefix === 'script') {
        // A new script passes the game-aware checks too: its handler is declared.
        script = text;
      } else if (snippet.prefix === 'symbols') {
        script = `${text}\n\ncode\nend\n`;
      } else {
        script = `symbols\nmessage startup\nend\n\ncode\nstartup:\n${text}\n  return;\n` +
                 'label:\n  return;\nend\n';
        options = ['--no-game-checks'];
      }
      const file = path.join(folder, `${snippet.prefix}.cog`);
      fs.writeFileSync(file, script.replace(/\n/g, '\r\n'));
      const result = run(qxtool(), ['check', ...options, file]);
      assert.equal(result.out + result.err, '', `${name}:\n${script}`);
      assert.equal(result.status, 0, name);
    }
  } finally {
    fs.rmSync(folder, { recursive: true, force: true });
  }
});
