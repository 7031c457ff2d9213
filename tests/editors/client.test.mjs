// Where the extension finds qxtool and what it tells the server, without VS Code.

import assert from 'node:assert/strict';
import { createRequire } from 'node:module';
import path from 'node:path';
import { test } from 'node:test';

import { vscodeSource } from './common.mjs';

const { findQxtool, serverSettings } =
  createRequire(import.meta.url)(path.join(vscodeSource, 'src', 'qxtool.js'));

test('qxtool is the setting, else the packed one, else the first on the PATH', () => {
  const ext = path.join(path.sep, 'ext');
  const packed = path.join(ext, 'bin', 'qxtool');
  const packedExe = path.join(ext, 'bin', 'qxtool.exe');
  const rows = [
    // [what, setting, platform, PATH, files that exist, expected]
    ['the setting wins', '/opt/qx/qxtool', 'linux', '/usr/bin', [packed, '/usr/bin/qxtool'],
     '/opt/qx/qxtool'],
    ['a blank setting is none', '  ', 'linux', '', [packed], packed],
    ['packed beside the extension', '', 'linux', '/usr/bin', [packed, '/usr/bin/qxtool'], packed],
    ['first folder of the PATH that has it', '', 'linux', '/a::/b:/c', ['/b/qxtool', '/c/qxtool'],
     path.join('/b', 'qxtool')],
    ['a Linux qxtool is not the Windows one', '', 'win32', '', [packed], null],
    ['Windows: qxtool.exe, ";" and quoted folders', '', 'win32', 'C:\\x;"/q;x"',
     [path.join('/q;x', 'qxtool.exe')], path.join('/q;x', 'qxtool.exe')],
    ['Windows: packed qxtool.exe', '', 'win32', '', [packedExe], packedExe],
    ['nowhere', '', 'linux', '/usr/bin', [], null],
    ['no PATH at all', undefined, 'linux', undefined, [], null],
  ];
  for (const [what, setting, platform, pathVariable, files, expected] of rows) {
    const found = findQxtool({
      setting, extensionDir: ext, platform, pathVariable,
      isFile: (file) => files.includes(file),
    });
    assert.equal(found, expected, what);
  }
});

test('the server gets the game and its checks, with the defaults of the settings', () => {
  const configuration = (values) => ({
    get: (name, fallback) => (name in values ? values[name] : fallback),
  });
  assert.deepEqual(serverSettings(configuration({})), { game: 'any', gameChecks: true });
  assert.deepEqual(serverSettings(configuration({ game: 'mots', gameChecks: false, path: '/x' })),
                   { game: 'mots', gameChecks: false });
});
