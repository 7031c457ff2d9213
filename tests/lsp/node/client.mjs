// Starts qxtool lsp and talks to it through the protocol libraries that VS Code's own
// language clients are built on.

import { spawn } from 'node:child_process';
import { once } from 'node:events';
import {
  createProtocolConnection,
  StreamMessageReader,
  StreamMessageWriter,
} from 'vscode-languageserver-protocol/node.js';

export const qxtool = process.env.QXTOOL ?? 'qxtool';
// What runs qxtool when it is no program of this machine (["wine"] for qxtool.exe).
const runner = JSON.parse(process.env.QXTOOL_RUNNER || '[]');

// Starts qxtool with args, through the runner when there is one.
export function qxtoolCommand(args) {
  return runner.length ? [runner[0], [...runner.slice(1), qxtool, ...args]] : [qxtool, args];
}

export function fileUri(name) {
  return `file:///quillex-test/${encodeURIComponent(name)}`;
}

export class TestClient {
  constructor(initializationOptions = {}) {
    const [command, args] = qxtoolCommand(['lsp', '--stdio']);
    this.process = spawn(command, args, { stdio: ['pipe', 'pipe', 'pipe'] });
    this.stderr = '';
    this.process.stderr.on('data', (chunk) => (this.stderr += chunk));
    this.connection = createProtocolConnection(
      new StreamMessageReader(this.process.stdout),
      new StreamMessageWriter(this.process.stdin),
    );
    this.diagnostics = new Map();
    this.waiters = [];
    this.connection.onNotification('textDocument/publishDiagnostics', (params) => {
      this.diagnostics.set(params.uri, params);
      this.waiters = this.waiters.filter((w) => !w(params));
    });
    this.connection.listen();
    this.initializationOptions = initializationOptions;
    this.versions = new Map();
  }

  async initialize() {
    const result = await this.connection.sendRequest('initialize', {
      processId: process.pid,
      rootUri: null,
      capabilities: {},
      initializationOptions: this.initializationOptions,
    });
    await this.connection.sendNotification('initialized', {});
    return result;
  }

  // The next diagnostics published for uri that satisfy test (any, without one).
  nextDiagnostics(uri, test = () => true) {
    return new Promise((resolve, reject) => {
      const timer = setTimeout(
        () => reject(new Error(`no diagnostics for ${uri}; server said: ${this.stderr}`)),
        20000,
      );
      this.waiters.push((params) => {
        if (params.uri !== uri || !test(params)) return false;
        clearTimeout(timer);
        resolve(params.diagnostics);
        return true;
      });
    });
  }

  async open(name, text) {
    const uri = fileUri(name);
    const published = this.nextDiagnostics(uri);
    this.versions.set(uri, 1);
    await this.connection.sendNotification('textDocument/didOpen', {
      textDocument: { uri, languageId: 'cog', version: 1, text },
    });
    return { uri, diagnostics: await published };
  }

  async change(uri, contentChanges) {
    const version = this.versions.get(uri) + 1;
    this.versions.set(uri, version);
    const published = this.nextDiagnostics(uri, (p) => p.version === version);
    await this.connection.sendNotification('textDocument/didChange', {
      textDocument: { uri, version },
      contentChanges,
    });
    return published;
  }

  request(method, params) {
    return this.connection.sendRequest(method, params);
  }

  // Ends the server whatever state it is in: a failed test must not leave it behind.
  kill() {
    if (this.process.exitCode === null) this.process.kill();
    this.connection.dispose();
  }

  async stop() {
    await this.connection.sendRequest('shutdown');
    const exited = once(this.process, 'exit');
    await this.connection.sendNotification('exit');
    const [code] = await exited;
    this.connection.dispose();
    return code;
  }
}
