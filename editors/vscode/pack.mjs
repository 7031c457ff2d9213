// Packs the COG extension into a .vsix from the folder the build assembled (its manifest, the
// generated grammar, the snippets), with the client bundled into dist/extension.js and, for a
// platform package, a qxtool in bin/:
//   node pack.mjs STAGED OUT.vsix [--target linux-x64|win32-x64 --qxtool PATH]
// The packages it runs come from this folder's node_modules (npm ci --ignore-scripts here).

import { spawnSync } from 'node:child_process';
import fs from 'node:fs';
import { createRequire } from 'node:module';
import os from 'node:os';
import path from 'node:path';
import { fileURLToPath } from 'node:url';

const here = path.dirname(fileURLToPath(import.meta.url));
const require = createRequire(import.meta.url);

function usage(message) {
  if (message) console.error(`pack.mjs: ${message}`);
  console.error('Usage: node pack.mjs STAGED OUT.vsix [--target TARGET --qxtool PATH]');
  process.exit(2);
}

function parseArguments(args) {
  const options = { positional: [] };
  for (let i = 0; i < args.length; ++i) {
    if (args[i] === '--target' || args[i] === '--qxtool') {
      if (i + 1 >= args.length) usage(`${args[i]} needs a value`);
      options[args[i].slice(2)] = args[++i];
    } else {
      options.positional.push(args[i]);
    }
  }
  if (options.positional.length !== 2) usage();
  // A qxtool runs on one platform, so the package that carries one is for that platform alone.
  if (Boolean(options.target) !== Boolean(options.qxtool))
    usage('--target and --qxtool go together');
  return options;
}

const options = parseArguments(process.argv.slice(2));
const [staged, out] = options.positional.map((p) => path.resolve(p));
if (!fs.existsSync(path.join(staged, 'package.json'))) usage(`${staged} holds no package.json`);

const work = fs.mkdtempSync(path.join(os.tmpdir(), 'quillex-vsix-'));
let status = 1;
try {
  const folder = path.join(work, 'extension');
  fs.cpSync(staged, folder, { recursive: true });

  // One file with its libraries: the package then needs no node_modules.
  const esbuild = require('esbuild');
  esbuild.buildSync({
    entryPoints: [path.join(here, 'src', 'extension.js')],
    outfile: path.join(folder, 'dist', 'extension.js'),
    bundle: true,
    platform: 'node',
    format: 'cjs',
    target: 'node18',
    external: ['vscode'],
    minify: true,
    logLevel: 'warning',
  });

  const args = ['package', '--no-dependencies', '--out', path.resolve(out)];
  if (options.target) {
    const windows = options.target.startsWith('win32');
    const program = path.join(folder, 'bin', windows ? 'qxtool.exe' : 'qxtool');
    fs.mkdirSync(path.dirname(program), { recursive: true });
    fs.copyFileSync(options.qxtool, program);
    fs.chmodSync(program, 0o755);
    args.push('--target', options.target);
  }
  // The project has chosen neither a licence nor a public repository for the extension yet;
  // the packager is told so rather than asking.
  args.push('--skip-license', '--allow-missing-repository');
  const vsce = path.join(path.dirname(require.resolve('@vscode/vsce/package.json')), 'vsce');
  const run = spawnSync(process.execPath, [vsce, ...args], { cwd: folder, stdio: 'inherit' });
  status = run.status ?? 1;
} finally {
  fs.rmSync(work, { recursive: true, force: true });
}
process.exit(status);
