// Starts plotwright-cli's language server for Gothic 3's dialogue and quest files and the string table.

import * as fs from 'fs';
import * as path from 'path';
import * as vscode from 'vscode';
import { LanguageClient, LanguageClientOptions, ServerOptions, TransportKind } from 'vscode-languageclient/node';

let client: LanguageClient | undefined;

// The server: the setting, else the program beside the extension, else the one on PATH.
function serverCommand(context: vscode.ExtensionContext): string {
  const configured = vscode.workspace.getConfiguration('plotwright').get<string>('serverPath', '');
  if (configured) {
    return configured;
  }
  const name = process.platform === 'win32' ? 'plotwright-cli.exe' : 'plotwright-cli';
  const beside = context.asAbsolutePath(path.join('bin', name));
  return fs.existsSync(beside) ? beside : name;
}

// The library's folders and table from the settings; the server looks in the workspace for what is empty.
function initializationOptions(): Record<string, unknown> {
  const settings = vscode.workspace.getConfiguration('plotwright');
  const options: Record<string, unknown> = {};
  for (const key of ['infos', 'quests']) {
    const folders = settings.get<string[]>(key, []);
    if (folders.length > 0) {
      options[key] = folders;
    }
  }
  for (const key of ['stringtable', 'language']) {
    const value = settings.get<string>(key, '');
    if (value) {
      options[key] = value;
    }
  }
  return options;
}

export function activate(context: vscode.ExtensionContext): void {
  const serverOptions: ServerOptions = {
    command: serverCommand(context),
    args: ['lsp'],
    transport: TransportKind.stdio,
  };
  const clientOptions: LanguageClientOptions = {
    documentSelector: [
      { scheme: 'file', language: 'gothic3-info' },
      { scheme: 'file', language: 'gothic3-quest' },
      { scheme: 'file', language: 'gothic3-stringtable' },
    ],
    initializationOptions: initializationOptions(),
    synchronize: {
      fileEvents: vscode.workspace.createFileSystemWatcher('**/*.{info,quest,ini}'),
    },
  };
  client = new LanguageClient('plotwright', 'Plotwright', serverOptions, clientOptions);
  void client.start();
}

export function deactivate(): Thenable<void> | undefined {
  return client?.stop();
}
