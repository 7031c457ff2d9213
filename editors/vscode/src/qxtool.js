'use strict';
// Where the extension finds qxtool, and the settings it passes to its language server: kept
// apart from the editor's API so that a plain Node test reaches them.

const fs = require('fs');
const path = require('path');

function programName(platform) {
  return platform === 'win32' ? 'qxtool.exe' : 'qxtool';
}

function isProgramFile(file) {
  try {
    return fs.statSync(file).isFile();
  } catch {
    return false;
  }
}

// The folders of a PATH. Windows separates them with ";" and quotes a folder that holds one.
function pathFolders(pathVariable, platform) {
  if (platform !== 'win32') return pathVariable.split(':');
  const folders = [''];
  let quoted = false;
  for (const c of pathVariable) {
    if (c === '"') quoted = !quoted;
    else if (c === ';' && !quoted) folders.push('');
    else folders[folders.length - 1] += c;
  }
  return folders;
}

// The qxtool to start: the one the setting names; else the one packed with the extension in
// its bin folder (a platform package carries it); else the first on the PATH. null when there
// is none, so the user is told what to set rather than shown a failed start.
function findQxtool({ setting, extensionDir, platform, pathVariable, isFile = isProgramFile }) {
  const chosen = (setting || '').trim();
  if (chosen) return chosen;
  const name = programName(platform);
  const packed = path.join(extensionDir, 'bin', name);
  if (isFile(packed)) return packed;
  for (const folder of pathFolders(pathVariable || '', platform)) {
    if (!folder) continue;
    const candidate = path.join(folder, name);
    if (isFile(candidate)) return candidate;
  }
  return null;
}

// The server's settings as it reads them under "quillex", from the extension's configuration
// (anything with get(name, fallback)); the program's path is the client's alone.
function serverSettings(configuration) {
  return {
    game: configuration.get('game', 'any'),
    gameChecks: configuration.get('gameChecks', true),
  };
}

module.exports = { findQxtool, serverSettings };
