// What the editor-file tests share: where the build put the files, the packages of
// editors/vscode, running a program, and reading a .vsix's directory.

import { spawnSync } from 'node:child_process';
import fs from 'node:fs';
import { createRequire } from 'node:module';
import path from 'node:path';
import { fileURLToPath } from 'node:url';

export const testsDir = path.dirname(fileURLToPath(import.meta.url));
export const sourceDir = path.resolve(testsDir, '..', '..');
export const vscodeSource = path.join(sourceDir, 'editors', 'vscode');
export const verbTable = path.join(sourceDir, 'src', 'core', 'linebuilder', 'verbs.tsv');

function needed(name) {
  const value = process.env[name];
  if (!value) throw new Error(`${name} is not set: run the tests through CTest`);
  return value;
}
// build/editors, where the build assembled the extension's folder and the Notepad++ file.
export const editorsDir = () => needed('QX_EDITORS_DIR');
export const qxtool = () => needed('QXTOOL');

// A module of editors/vscode's packages (npm ci --ignore-scripts there).
export const vscodeRequire = createRequire(path.join(vscodeSource, 'package.json'));
export function packageFile(name, file) {
  return path.join(path.dirname(vscodeRequire.resolve(`${name}/package.json`)), file);
}

export function run(program, args, options = {}) {
  const result = spawnSync(program, args, { encoding: 'utf8', ...options });
  if (result.error) throw result.error;
  return { status: result.status, out: result.stdout, err: result.stderr };
}

// The verb names of the table, as the game reads them: each once, in small letters.
export function tableVerbs() {
  const rows = fs.readFileSync(verbTable, 'latin1').split(/\r?\n/)
    .filter((line) => line && !line.startsWith('#'));
  const names = rows.slice(1).map((row) => row.split('\t')[0].toLowerCase());
  return [...new Set(names)].sort();
}

// The entries of a ZIP file (a .vsix) from its central directory: name and Unix mode bits.
export function zipEntries(file) {
  const bytes = fs.readFileSync(file);
  const end = bytes.lastIndexOf(Buffer.from([0x50, 0x4b, 0x05, 0x06]));
  if (end < 0) throw new Error(`${file} is no ZIP file`);
  const count = bytes.readUInt16LE(end + 10);
  let at = bytes.readUInt32LE(end + 16);
  const entries = [];
  for (let i = 0; i < count; ++i) {
    if (bytes.readUInt32LE(at) !== 0x02014b50) throw new Error(`${file}: damaged directory`);
    const nameLength = bytes.readUInt16LE(at + 28);
    const extraLength = bytes.readUInt16LE(at + 30);
    const commentLength = bytes.readUInt16LE(at + 32);
    const mode = bytes.readUInt32LE(at + 38) >>> 16;
    entries.push({ name: bytes.toString('utf8', at + 46, at + 46 + nameLength), mode });
    at += 46 + nameLength + extraLength + commentLength;
  }
  return entries;
}
