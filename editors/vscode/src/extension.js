'use strict';
// The COG extension's client: starts `qxtool lsp` for the open scripts and restarts it when
// the user names another qxtool.

const vscode = require('vscode');
const { LanguageClient } = require('vscode-languageclient/node');
const { findQxtool, serverSettings } = require('./qxtool');

let client = null;

async function startClient(context) {
  const configuration = vscode.workspace.getConfiguration('quillex');
  const command = findQxtool({
    setting: configuration.get('path', ''),
    extensionDir: context.extensionPath,
    platform: process.platform,
    pathVariable: process.env.PATH,
  });
  if (!command) {
    vscode.window.showErrorMessage(
      'Quillex: qxtool was not found on the PATH. Set "quillex.path" to the qxtool program ' +
        'to check COG scripts as you type.');
    return;
  }
  client = new LanguageClient(
    'quillex',
    'Quillex (qxtool lsp)',
    { command, args: ['lsp'] },
    {
      documentSelector: [{ language: 'cog' }],
      initializationOptions: { quillex: serverSettings(configuration) },
      // The server takes the game and its checks again from every change of the settings.
      synchronize: { configurationSection: 'quillex' },
    });
  try {
    await client.start();
  } catch (error) {
    vscode.window.showErrorMessage(`Quillex: ${command} lsp did not start: ${error.message}`);
    client = null;
  }
}

async function stopClient() {
  const running = client;
  client = null;
  if (running) await running.stop();
}

async function activate(context) {
  context.subscriptions.push(
    vscode.workspace.onDidChangeConfiguration(async (event) => {
      if (!event.affectsConfiguration('quillex.path')) return;
      await stopClient();
      await startClient(context);
    }),
    { dispose: () => stopClient() });
  await startClient(context);
}

function deactivate() {
  return stopClient();
}

module.exports = { activate, deactivate };
