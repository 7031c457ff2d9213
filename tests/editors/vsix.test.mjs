// The .vsix pack.mjs makes from the build's folder: packed without a warning, holding every
// file the manifest names and nothing of the sources, its client bundled whole; a platform
// package carries a qxtool VS Code can start.

import assert from 'node:assert/strict';
import fs from 'node:fs';
import { builtinModules } from 'node:module';
import os from 'node:os';
import path from 'node:path';
import { after, test } from 'node:test';

import { editorsDir, qxtool, run, vscodeSource, zipEntries } from './common.mjs';

const folder = fs.mkdtempSync(path.join(os.tmpdir(), 'quillex-vsix-test-'));
after(() => fs.rmSync(folder, { recursive: true, force: true }));

function pack(out, ...options) {
  const result = run(process.execPath, [path.join(vscodeSource, 'pack.mjs'),
                                        path.join(editorsDir(), 'vscode'), out, ...options]);
  console.log(result.out + result.err);
  assert.equal(result.status, 0, 'packing failed');
  assert.doesNotMatch(result.out + result.err, /WARNING|ERROR/);
  return zipEntries(out);
}

test('the package holds what the manifest names, and no source', () => {
  const out = path.join(folder, 'quillex-cog.vsix');
  const names = pack(out).map((entry) => entry.name);
  const manifest = JSON.parse(fs.readFileSync(path.join(editorsDir(), 'vscode', 'package.json'),
                                              'utf8'));
  const named = [manifest.main,
                 ...manifest.contributes.languages.map((language) => language.configuration),
                 ...manifest.contributes.grammars.map((grammar) => grammar.path),
                 ...manifest.contributes.snippets.map((snippets) => snippets.path)];
  for (const file of named)
    assert.ok(names.includes(path.posix.join('extension', file)), `${file} is not packed`);
  for (const name of names)
    assert.doesNotMatch(name, /node_modules|extension\/src\/|\.in$|pack\.mjs|extension\/bin\//);

  // The client needs nothing but VS Code and Node: its libraries are in the one file.
  const unpacked = path.join(folder, 'unpacked');
  fs.mkdirSync(unpacked);
  assert.equal(run('unzip', ['-q', out, '-d', unpacked]).status, 0);
  const client = fs.readFileSync(path.join(unpacked, 'extension', manifest.main), 'utf8');
  const required = [...client.matchAll(/require\("([^"]+)"\)/g)].map((found) => found[1]);
  assert.ok(required.includes('vscode'));
  for (const module of required)
    assert.ok(module === 'vscode' || builtinModules.includes(module.replace(/^node:/, '')),
              `the client requires ${module}, which the package does not hold`);
});

test('a platform package carries qxtool, executable, for its platform alone', () => {
  const out = path.join(folder, 'quillex-cog-linux-x64.vsix');
  const entries = pack(out, '--target', 'linux-x64', '--qxtool', qxtool());
  const program = entries.find((entry) => entry.name === 'extension/bin/qxtool');
  assert.ok(program, 'bin/qxtool is not packed');
  assert.equal(program.mode & 0o111, 0o111, 'bin/qxtool is not executable');
  const unpacked = path.join(folder, 'platform');
  fs.mkdirSync(unpacked);
  assert.equal(run('unzip', ['-q', out, '-d', unpacked]).status, 0);
  const vsixManifest = fs.readFileSync(path.join(unpacked, 'extension.vsixmanifest'), 'utf8');
  assert.match(vsixManifest, /TargetPlatform="linux-x64"/);
  // The packed program is the one built: it answers as qxtool does.
  const version = run(path.join(unpacked, 'extension', 'bin', 'qxtool'), ['--version']);
  assert.match(version.out, /^qxtool \(Quillex\)/);
});

test('a qxtool without its platform is refused', () => {
  const result = run(process.execPath, [path.join(vscodeSource, 'pack.mjs'),
                                        path.join(editorsDir(), 'vscode'),
                                        path.join(folder, 'x.vsix'), '--qxtool', qxtool()]);
  assert.equal(result.status, 2);
  assert.match(result.err, /--target and --qxtool go together/);
});
