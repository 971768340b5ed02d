// The language server driven end to end by Microsoft's LSP client library (vscode-languageserver-protocol
// over vscode-jsonrpc), against a small library in a temporary folder.
// Usage: node LspClientTest.mjs PLOTWRIGHT_CLI NODE_MODULES. Exit code 77: the client library is missing.

import { spawn, spawnSync } from 'node:child_process';
import { createRequire } from 'node:module';
import fs from 'node:fs';
import os from 'node:os';
import path from 'node:path';
import { test, after } from 'node:test';
import assert from 'node:assert/strict';
import { pathToFileURL } from 'node:url';

const [cli, modules] = process.argv.slice(2);
let protocol;
try {
  protocol = createRequire(path.join(modules, 'x.js'))('vscode-languageserver-protocol/node');
} catch {
  console.log('SKIP: vscode-languageserver-protocol is not installed (scripts/install-deps installs it)');
  process.exit(77);
}

// Windows-1251 of the text the library is written in (Latin and Russian letters).
function cp1251(text) {
  return Buffer.from([...text].map((c) => {
    const code = c.codePointAt(0);
    if (code < 0x80) return code;
    if (code >= 0x410 && code <= 0x44f) return code - 0x410 + 0xc0;
    if (code === 0x401) return 0xa8;
    if (code === 0x451) return 0xb8;
    if (code === 0x2014) return 0x97;
    throw new Error(`no Windows-1251 for ${c}`);
  }));
}
const fromCp1251 = (bytes) => new TextDecoder('windows-1251').decode(bytes);
const record = (lines) => lines.join('\r\n') + '\r\n';

const root = fs.mkdtempSync(path.join(os.tmpdir(), 'plotwright-lsp-'));
const library = path.join(root, 'lib');
const file = (relative) => path.join(library, relative);
const uri = (relative) => pathToFileURL(file(relative)).href;
const files = {
  'Infos/Diego_Job_info_G3_World_01.info': record([
    '[Info]', 'Name=Diego_Job', 'Owner=Diego', 'Quest=Diego_Quest',
    'InfoScript_Commands=Say;Say;RunQuest', 'InfoScript_Entities1=owner;player;', 'InfoScript_Entities2=;;',
    'InfoScript_IDs1=;;Diego_Quest', 'InfoScript_IDs2=;;', 'InfoScript_Texts=Diego_Job_01;Diego_Job_02;']),
  'Infos/Diego_More_info_G3_World_01.info': record([
    '[Info]', 'Name=Diego_More', 'Owner=Diego', 'Parent=Diego_Job', 'Quest=Diego_Qest',
    'InfoScript_Commands=Say', 'InfoScript_Entities1=owner', 'InfoScript_Texts=Diego_More_09']),
  'Infos/Broken_info_G3_World_01.info': record([
    '[Info]', 'Name=Broken', 'Owner=Gorn', 'Parent=Diego_Job',
    'InfoScript_Commands=Say;Say', 'InfoScript_Entities1=owner;hero', 'InfoScript_Texts=Diego_Job_01;Diego_Job_02',
    'Parent=Nobody']),
  'Quests/Diego_Quest_quest_G3_World_01.quest': record([
    '[Quest]', 'Name=Diego_Quest', 'Type=1', 'FinishedQuests=Old_Quest', 'LogTopic=Diego_Quest_Topic', 'LogText=']),
  'stringtable.ini': record([
    '[LocAdmin_Strings]', 'Diego_Job_01=Привет, чужак.;;Hello, stranger.;;', 'Diego_Job_02=Кто ты?;;Who are you?;;',
    'Diego_Quest_Topic=Работа для Диего;;Work for Diego;;', 'Odd_One=Лишнее;;;;;;']),
};
for (const [relative, text] of Object.entries(files)) {
  fs.mkdirSync(path.dirname(file(relative)), { recursive: true });
  fs.writeFileSync(file(relative), cp1251(text));
}
const table = file('stringtable.ini');
const env = { ...process.env, PLOTWRIGHT_CACHE_DIR: path.join(root, 'cache') };

// The server, and what it publishes.
const server = spawn(cli, ['lsp', '--stringtable', table, file('Infos'), file('Quests')], { env });
const connection = protocol.createProtocolConnection(
  new protocol.StreamMessageReader(server.stdout), new protocol.StreamMessageWriter(server.stdin));
const published = new Map();
const waiting = [];
connection.onNotification(protocol.PublishDiagnosticsNotification.type, (params) => {
  published.set(params.uri, params.diagnostics);
  for (const wait of waiting.splice(0)) wait();
});
const progress = [];
connection.onRequest(protocol.WorkDoneProgressCreateRequest.type, (params) => {
  connection.onProgress(protocol.WorkDoneProgress.type, params.token, (value) => progress.push(value.kind));
  return null;
});
connection.listen();
const servers = [server];
after(() => { connection.dispose(); servers.forEach((s) => s.kill()); fs.rmSync(root, { recursive: true, force: true }); });

// The diagnostics of uri once they hold what accept wants.
async function diagnostics(documentUri, accept = () => true) {
  for (let tries = 0; tries < 200; ++tries) {
    const held = published.get(documentUri);
    if (held && accept(held)) return held;
    await new Promise((resolve) => { waiting.push(resolve); setTimeout(resolve, 100); });
  }
  throw new Error(`no diagnostics as wanted for ${documentUri}`);
}
function open(relative, text = fromCp1251(fs.readFileSync(file(relative)))) {
  const languageId = relative.endsWith('.quest') ? 'gothic3-quest' : relative.endsWith('.info') ? 'gothic3-info' : 'gothic3-stringtable';
  connection.sendNotification(protocol.DidOpenTextDocumentNotification.type,
    { textDocument: { uri: uri(relative), languageId, version: 1, text } });
}
const at = (relative, line, character) => ({ textDocument: { uri: uri(relative) }, position: { line, character } });
const range = (startLine, start, endLine, end) => ({ start: { line: startLine, character: start }, end: { line: endLine, character: end } });

test('initialize answers and indexing reports its progress', async () => {
  const result = await connection.sendRequest(protocol.InitializeRequest.type,
    { processId: process.pid, rootUri: null, capabilities: { window: { workDoneProgress: true } } });
  connection.sendNotification(protocol.InitializedNotification.type, {});
  assert.equal(result.capabilities.positionEncoding, 'utf-16');
  assert.deepEqual(result.capabilities.renameProvider, { prepareProvider: true });
  await connection.sendRequest(protocol.WorkspaceSymbolRequest.type, { query: 'Diego' });
  assert.deepEqual(progress, ['begin', 'end']);
});

test('diagnostics are check\'s findings on check\'s lines, on the key or list element they concern', async () => {
  const check = spawnSync(cli, ['check', '--format', 'json', '--stringtable', table, file('Infos'), file('Quests')], { env });
  const findings = JSON.parse(check.stdout.toString());
  const relatives = Object.keys(files);
  for (const relative of relatives) open(relative);
  for (const relative of relatives) {
    const shown = await diagnostics(uri(relative));
    const severities = { 1: 'error', 2: 'warning' };
    // The same lines too: a finding of the file as a whole (line null) stands on the first.
    const fromServer = shown.map((d) => `${d.range.start.line + 1} ${severities[d.severity]} ${d.code} ${d.message}`).sort();
    const fromCheck = findings.filter((f) => f.file === file(relative))
      .map((f) => `${f.line ?? 1} ${f.severity} ${f.kind} ${f.message}`).sort();
    assert.deepEqual(fromServer, fromCheck, relative);
  }
  const kinds = findings.map((f) => f.kind);
  for (const kind of ['compile-error', 'missing-parent', 'missing-quest', 'missing-string', 'missing-earlier-quest', 'semicolon-count'])
    assert.ok(kinds.includes(kind), kind);
  // "hero" is the second element of Entities1; the missing string the only element of Texts.
  const broken = await diagnostics(uri('Infos/Broken_info_G3_World_01.info'));
  assert.deepEqual(broken.find((d) => d.code === 'compile-error').range, range(5, 27, 5, 31));
  const more = await diagnostics(uri('Infos/Diego_More_info_G3_World_01.info'));
  assert.deepEqual(more.find((d) => d.code === 'missing-string').range, range(7, 17, 7, 30));
  // A dialogue's repeated key is read from its last line: the missing parent stands there.
  assert.deepEqual(broken.find((d) => d.code === 'missing-parent').range, range(7, 0, 7, 13));
});

test('positions count UTF-16 units past Cyrillic, a surrogate pair and a long line', async () => {
  const long = 'Ж'.repeat(1500);
  const text = record(['[Info]', 'Name=Positions', 'Owner=Diego', 'InfoScript_Commands=Say;Say;Say;Say',
    'InfoScript_Entities1=owner;owner;owner;owner', 'InfoScript_Texts=Привет😀;Diego_Job_01;' + long + ';Diego_Job_02']);
  connection.sendNotification(protocol.DidOpenTextDocumentNotification.type,
    { textDocument: { uri: uri('Infos/Positions.info'), languageId: 'gothic3-info', version: 1, text } });
  const first = await connection.sendRequest(protocol.HoverRequest.type, at('Infos/Positions.info', 5, 30));
  assert.deepEqual(first.range, range(5, 26, 5, 38));
  assert.match(first.contents.value, /Привет, чужак/);
  const start = 17 + 8 + 1 + 12 + 1 + 1500 + 1;
  const last = await connection.sendRequest(protocol.HoverRequest.type, at('Infos/Positions.info', 5, start + 3));
  assert.deepEqual(last.range, range(5, start, 5, start + 12));
  assert.match(last.contents.value, /Кто ты\?/);
  // A change is the editor's text, not the disk's.
  connection.sendNotification(protocol.DidChangeTextDocumentNotification.type, {
    textDocument: { uri: uri('Infos/Positions.info'), version: 2 },
    contentChanges: [{ text: text.replace('Diego_Job_02', 'Diego_Job_77') }] });
  const changed = await diagnostics(uri('Infos/Positions.info'), (d) => d.some((x) => x.message.includes('Diego_Job_77')));
  assert.deepEqual(changed.find((d) => d.message.includes('Diego_Job_77')).range, range(5, start, 5, start + 12));
});

test('completion offers the library\'s names and replaces only the element under the cursor', async () => {
  const parent = await connection.sendRequest(protocol.CompletionRequest.type, at('Infos/Diego_More_info_G3_World_01.info', 3, 9));
  assert.deepEqual(parent.items.map((i) => i.label), ['Diego_Job', 'Diego_More']);
  const texts = await connection.sendRequest(protocol.CompletionRequest.type, at('Infos/Diego_Job_info_G3_World_01.info', 9, 20));
  assert.deepEqual(texts.items.map((i) => i.label), ['Diego_Job_01', 'Diego_Job_02', 'Diego_Quest_Topic']);
  assert.deepEqual(texts.items[0].textEdit.range, range(9, 17, 9, 29));
  assert.equal(texts.items[0].detail, 'Привет, чужак.;;Hello, stranger.;;');
  const commands = await connection.sendRequest(protocol.CompletionRequest.type, at('Infos/Diego_Job_info_G3_World_01.info', 4, 30));
  const runQuest = commands.items.find((i) => i.label === 'RunQuest');
  assert.deepEqual(runQuest.textEdit.range, range(4, 28, 4, 36));
  assert.match(runQuest.documentation, /IDs1/);
  const quests = await connection.sendRequest(protocol.CompletionRequest.type, at('Infos/Diego_Job_info_G3_World_01.info', 7, 19));
  assert.deepEqual(quests.items.map((i) => i.label), ['Diego_Quest']);
});

test('hover, definition and references lead across the library and the table', async () => {
  const hover = await connection.sendRequest(protocol.HoverRequest.type, at('Infos/Diego_Job_info_G3_World_01.info', 4, 21));
  assert.match(hover.contents.value, /^Say — реплика/);
  const parent = await connection.sendRequest(protocol.DefinitionRequest.type, at('Infos/Diego_More_info_G3_World_01.info', 3, 9));
  assert.deepEqual(parent, [{ uri: uri('Infos/Diego_Job_info_G3_World_01.info'), range: range(1, 5, 1, 14) }]);
  const id = await connection.sendRequest(protocol.DefinitionRequest.type, at('Infos/Diego_Job_info_G3_World_01.info', 9, 20));
  assert.deepEqual(id, [{ uri: pathToFileURL(table).href, range: range(1, 0, 1, 12) }]);
  const users = await connection.sendRequest(protocol.DefinitionRequest.type, at('stringtable.ini', 1, 3));
  assert.deepEqual(users.map((l) => l.uri).sort(),
    [uri('Infos/Broken_info_G3_World_01.info'), uri('Infos/Diego_Job_info_G3_World_01.info')]);
  const quest = await connection.sendRequest(protocol.ReferencesRequest.type,
    { ...at('Quests/Diego_Quest_quest_G3_World_01.quest', 1, 7), context: { includeDeclaration: true } });
  assert.deepEqual(quest.map((l) => `${path.basename(new URL(l.uri).pathname)} ${l.range.start.line}`).sort(),
    ['Diego_Job_info_G3_World_01.info 3', 'Diego_Job_info_G3_World_01.info 7', 'Diego_Quest_quest_G3_World_01.quest 1']);
});

test('symbols name the keys, the command rows and the library\'s records', async () => {
  const symbols = await connection.sendRequest(protocol.DocumentSymbolRequest.type, { textDocument: { uri: uri('Infos/Diego_Job_info_G3_World_01.info') } });
  const commands = symbols.find((s) => s.name === 'InfoScript_Commands');
  assert.deepEqual(commands.children.map((s) => s.name), ['1: Say owner — Diego_Job_01', '2: Say player — Diego_Job_02', '3: RunQuest Diego_Quest']);
  const found = await connection.sendRequest(protocol.WorkspaceSymbolRequest.type, { query: 'diego_m' });
  assert.deepEqual(found.map((s) => [s.name, s.location.range.start.line]), [['Diego_More', 1]]);
});

test('code actions add a missing string to the table and replace an unknown name', async () => {
  const more = await diagnostics(uri('Infos/Diego_More_info_G3_World_01.info'));
  const actions = await connection.sendRequest(protocol.CodeActionRequest.type, {
    textDocument: { uri: uri('Infos/Diego_More_info_G3_World_01.info') }, range: range(0, 0, 8, 0), context: { diagnostics: more } });
  const add = actions.find((a) => a.title === 'Добавить строку в таблицу');
  assert.deepEqual(add.edit.changes[pathToFileURL(table).href], [{ range: range(5, 0, 5, 0), newText: 'Diego_More_09=;;;;\r\n' }]);
  const replace = actions.find((a) => a.title === 'Заменить на Diego_Quest');
  assert.deepEqual(replace.edit.changes[uri('Infos/Diego_More_info_G3_World_01.info')], [{ range: range(4, 6, 4, 16), newText: 'Diego_Quest' }]);
});

test('a file written on disk is indexed again', async () => {
  const relative = 'Infos/Nobody_info_G3_World_01.info';
  fs.writeFileSync(file(relative), cp1251(record(['[Info]', 'Name=Nobody', 'Owner=Gorn'])));
  connection.sendNotification(protocol.DidChangeWatchedFilesNotification.type, { changes: [{ uri: uri(relative), type: 1 }] });
  await diagnostics(uri('Infos/Broken_info_G3_World_01.info'), (d) => !d.some((x) => x.code === 'missing-parent'));
});

test('a rename is the library rename\'s plan, refused as it refuses', async () => {
  const place = at('Quests/Diego_Quest_quest_G3_World_01.quest', 1, 7);
  assert.deepEqual(await connection.sendRequest(protocol.PrepareRenameRequest.type, place), { range: range(1, 5, 1, 16), placeholder: 'Diego_Quest' });
  await assert.rejects(connection.sendRequest(protocol.RenameRequest.type, { ...at('Infos/Diego_More_info_G3_World_01.info', 1, 7), newName: 'Diego_Job' }),
    /Диалог "Diego_Job" уже есть/);
  await assert.rejects(connection.sendRequest(protocol.RenameRequest.type, { ...place, newName: 'A;B' }), /не может содержать ";"/);
  const edit = await connection.sendRequest(protocol.RenameRequest.type, { ...place, newName: 'Задание_Диего' });
  const expected = path.join(root, 'expected');
  fs.cpSync(library, expected, { recursive: true });
  const renamed = spawnSync(cli, ['rename', 'quest', 'Diego_Quest', 'Задание_Диего', path.join(expected, 'Infos'), path.join(expected, 'Quests')], { env });
  assert.equal(renamed.status, 0, renamed.stderr.toString());
  for (const change of edit.documentChanges) {
    if (change.kind === 'rename') {
      fs.renameSync(new URL(change.oldUri), new URL(change.newUri));
      continue;
    }
    const target = new URL(change.textDocument.uri);
    const lines = fromCp1251(fs.readFileSync(target)).split('\r\n');
    for (const e of [...change.edits].reverse()) {
      assert.equal(e.range.start.line, e.range.end.line);
      const line = lines[e.range.start.line];
      lines[e.range.start.line] = line.slice(0, e.range.start.character) + e.newText + line.slice(e.range.end.character);
    }
    fs.writeFileSync(target, cp1251(lines.join('\r\n')));
  }
  const listing = (dir) => fs.readdirSync(dir, { recursive: true }).sort();
  assert.deepEqual(listing(library), listing(expected));
  for (const name of listing(expected).filter((n) => n.includes('.')))
    assert.deepEqual(fs.readFileSync(path.join(library, name)), fs.readFileSync(path.join(expected, name)), name);
});

// A table kept in UTF-16LE with its mark, or in UTF-8 without one, is read, linted and pointed into in the
// editor's units.
for (const [encoding, encode] of [
  ['UTF-16LE', (text) => Buffer.concat([Buffer.from([0xff, 0xfe]), Buffer.from(text, 'utf16le')])],
  ['UTF-8', (text) => Buffer.from(text, 'utf8')],
]) test(`a ${encoding} table is read, linted and pointed into in its own units`, async () => {
  const wideRoot = path.join(root, `wide-${encoding}`);
  fs.mkdirSync(path.join(wideRoot, 'Infos'), { recursive: true });
  const tableText = record(['[LocAdmin_Strings]', 'Chen_01=Привет;;你好，旅人;;', 'Chen_02=Пока;;再见;;', 'Odd=x;']);
  const wideTable = path.join(wideRoot, 'stringtable.ini');
  fs.writeFileSync(wideTable, encode(tableText));
  const wide = spawn(cli, ['lsp', '--stringtable', wideTable, path.join(wideRoot, 'Infos')], { env });
  servers.push(wide);
  const client = protocol.createProtocolConnection(
    new protocol.StreamMessageReader(wide.stdout), new protocol.StreamMessageWriter(wide.stdin));
  const shown = new Promise((resolve) => client.onNotification(protocol.PublishDiagnosticsNotification.type, resolve));
  client.listen();
  await client.sendRequest(protocol.InitializeRequest.type, { processId: process.pid, rootUri: null, capabilities: {} });
  const dialogue = pathToFileURL(path.join(wideRoot, 'Infos', 'Chen.info')).href;
  client.sendNotification(protocol.DidOpenTextDocumentNotification.type, { textDocument: { uri: dialogue, languageId: 'gothic3-info', version: 1,
    text: record(['[Info]', 'Name=Chen', 'Owner=Chen', 'InfoScript_Commands=Say', 'InfoScript_Entities1=owner', 'InfoScript_Texts=Chen_02']) } });
  const position = { textDocument: { uri: dialogue }, position: { line: 5, character: 20 } };
  assert.match((await client.sendRequest(protocol.HoverRequest.type, position)).contents.value, /再见/);
  assert.deepEqual(await client.sendRequest(protocol.DefinitionRequest.type, position),
    [{ uri: pathToFileURL(wideTable).href, range: range(2, 0, 2, 7) }]);
  // Text Windows-1251 lacks is no "???" of a save in the wrong encoding: only the odd ";" count is found.
  await shown;
  const tableUri = pathToFileURL(wideTable).href;
  const tableShown = new Promise((resolve) => client.onNotification(protocol.PublishDiagnosticsNotification.type,
    (params) => params.uri === tableUri && resolve(params)));
  client.sendNotification(protocol.DidOpenTextDocumentNotification.type,
    { textDocument: { uri: tableUri, languageId: 'gothic3-stringtable', version: 1, text: tableText } });
  assert.deepEqual((await tableShown).diagnostics.map((d) => [d.code, d.range.start.line]), [['semicolon-count', 3]]);
  await client.sendRequest(protocol.ShutdownRequest.type);
  client.sendNotification(protocol.ExitNotification.type);
  client.dispose();
});

// A server started with its own initialization options over a library of its own, and what it publishes.
async function startServer(options, args = []) {
  const child = spawn(cli, ['lsp', ...args], { env });
  servers.push(child);
  const client = protocol.createProtocolConnection(
    new protocol.StreamMessageReader(child.stdout), new protocol.StreamMessageWriter(child.stdin));
  const shown = new Map();
  const messages = [];
  let publications = 0;
  client.onNotification(protocol.PublishDiagnosticsNotification.type, (params) => {
    shown.set(params.uri, params.diagnostics);
    ++publications;
  });
  client.onNotification(protocol.ShowMessageNotification.type, (params) => messages.push(params));
  client.listen();
  await client.sendRequest(protocol.InitializeRequest.type,
    { processId: process.pid, rootUri: null, capabilities: {}, initializationOptions: options });
  client.sendNotification(protocol.InitializedNotification.type, {});
  const published = async (documentUri) => {
    for (let tries = 0; tries < 200 && !shown.has(documentUri); ++tries) await new Promise((resolve) => setTimeout(resolve, 25));
    return shown.get(documentUri);
  };
  // Waits until the server has published count times in all.
  const publishedTimes = async (count) => {
    for (let tries = 0; tries < 200 && publications < count; ++tries) await new Promise((resolve) => setTimeout(resolve, 25));
    assert.ok(publications >= count, `${publications} publications`);
  };
  return { client, published, publishedTimes, messages };
}

test('a chosen language: hover and completion show its texts, and its untranslated lines are information', async () => {
  const langRoot = path.join(root, 'lang');
  const at = (relative) => path.join(langRoot, relative);
  // A value of the game's layout: ten languages of two fields each.
  const value = (texts) => Array.from({ length: 10 }, (_, i) => `${texts[i + 1] ?? ''};`).join(';').slice(0, -1);
  const langFiles = {
    'Infos/Lang_info_G3_World_01.info': record(['[Info]', 'Name=Lang', 'Owner=Diego', 'InfoScript_Commands=Say;Say;Say',
      'InfoScript_Entities1=owner;player;owner', 'InfoScript_Texts=Lang_01;Lang_02;Lang_03']),
    'Quests/Lang_quest_G3_World_01.quest': record(['[Quest]', 'Name=Lang_Quest', 'Type=1', 'LogTopic=Topic_01', 'LogText=Lang_01']),
    'stringtable.ini': record(['[LocAdmin_Strings]', `Lang_01=${value({ 1: 'Hello', 2: 'IT', 4: 'Hallo', 9: 'Привет' })}`,
      `Lang_02=${value({ 1: 'Bye', 4: 'Tschüss' })}`, `Lang_03=${value({ 1: 'Gold', 9: '[RUS]' })}`,
      `Topic_01=${value({ 1: 'Work', 9: 'Work' })}`]),
  };
  for (const [relative, text] of Object.entries(langFiles)) {
    fs.mkdirSync(path.dirname(at(relative)), { recursive: true });
    fs.writeFileSync(at(relative), relative === 'stringtable.ini' ? Buffer.from(text, 'utf8') : cp1251(text));
  }
  const table = at('stringtable.ini');
  const { client, published, messages } = await startServer({ language: 'ru' }, ['--stringtable', table, at('Infos'), at('Quests')]);
  const dialogue = pathToFileURL(at('Infos/Lang_info_G3_World_01.info')).href;
  const quest = pathToFileURL(at('Quests/Lang_quest_G3_World_01.quest')).href;
  for (const [documentUri, relative, languageId] of [[dialogue, 'Infos/Lang_info_G3_World_01.info', 'gothic3-info'],
    [quest, 'Quests/Lang_quest_G3_World_01.quest', 'gothic3-quest']])
    client.sendNotification(protocol.DidOpenTextDocumentNotification.type,
      { textDocument: { uri: documentUri, languageId, version: 1, text: langFiles[relative] } });

  // The untranslated lines as check --require-language finds them: the same texts on the same lines, as
  // information rather than warnings.
  const check = spawnSync(cli, ['check', '--format', 'json', '--stringtable', table, '--require-language', 'ru',
    at('Infos'), at('Quests')], { env });
  const findings = JSON.parse(check.stdout.toString());
  for (const [documentUri, relative] of [[dialogue, 'Infos/Lang_info_G3_World_01.info'], [quest, 'Quests/Lang_quest_G3_World_01.quest']]) {
    const fromServer = (await published(documentUri)).map((d) => `${d.range.start.line + 1} ${d.severity} ${d.code} ${d.message}`).sort();
    const fromCheck = findings.filter((f) => f.file === at(relative))
      .map((f) => `${f.line} ${f.kind === 'untranslated-string' ? 3 : 2} ${f.kind} ${f.message}`).sort();
    assert.deepEqual(fromServer, fromCheck, relative);
  }
  const untranslated = (await published(dialogue)).filter((d) => d.code === 'untranslated-string');
  assert.deepEqual(untranslated.map((d) => d.range), [range(5, 25, 5, 32), range(5, 33, 5, 40)]);
  assert.match(untranslated[0].message, /ID строки Lang_02: текст на языке «Русский» \(ru\) не переведён: текста нет\./);
  assert.equal((await published(quest)).length, 1);

  // Hover: the chosen language first, then the other languages that hold a text, each named.
  const hover = async (character) => (await client.sendRequest(protocol.HoverRequest.type,
    { textDocument: { uri: dialogue }, position: { line: 5, character } })).contents.value;
  assert.equal(await hover(20), '**Lang\\_01**\n\n**Русский (ru):** Привет\n\n- Английский (en): Hello\n- Немецкий (de): Hallo\n');
  assert.match(await hover(28), /^\*\*Lang\\_02\*\*\n\n\*\*Русский \(ru\):\*\* \*не переведено: текста нет\*/);

  // Completion: each ID's text in the chosen language.
  const items = (await client.sendRequest(protocol.CompletionRequest.type,
    { textDocument: { uri: dialogue }, position: { line: 5, character: 17 } })).items;
  assert.deepEqual(items.map((i) => [i.label, i.detail]),
    [['Lang_01', 'Привет'], ['Lang_02', undefined], ['Lang_03', '[RUS]'], ['Topic_01', 'Work']]);
  assert.deepEqual(messages, []);
  await client.sendRequest(protocol.ShutdownRequest.type);

  // A language the table lacks is said once, and the server goes on without one.
  // A rebuild of the library (a file changed on disk) publishes again and says nothing more.
  const other = await startServer({ stringtable: table, infos: at('Infos'), language: 'xx' });
  other.client.sendNotification(protocol.DidOpenTextDocumentNotification.type, { textDocument: { uri: dialogue,
    languageId: 'gothic3-info', version: 1, text: langFiles['Infos/Lang_info_G3_World_01.info'] } });
  await other.publishedTimes(1);
  other.client.sendNotification(protocol.DidChangeWatchedFilesNotification.type, { changes: [{ uri: dialogue, type: 2 }] });
  await other.publishedTimes(2);
  const plain = await other.client.sendRequest(protocol.HoverRequest.type,
    { textDocument: { uri: dialogue }, position: { line: 5, character: 20 } });
  assert.match(plain.contents.value, /\n- Русский \(ru\): Привет\n/);
  assert.deepEqual(other.messages, [{ type: 2, message: `В таблице ${table} нет языка «xx» (в ней: en, it, fr, de, es, cs, hu, pl, ru, ja).` }]);
  await other.client.sendRequest(protocol.ShutdownRequest.type);
});

test('shutdown and exit end the server with 0', async () => {
  await connection.sendRequest(protocol.ShutdownRequest.type);
  const exited = new Promise((resolve) => server.on('exit', resolve));
  connection.sendNotification(protocol.ExitNotification.type);
  assert.equal(await exited, 0);
});

test('the framing takes extra headers, two messages in one write and one cut in two', async () => {
  const raw = spawn(cli, ['lsp', file('Infos')], { env });
  let output = Buffer.alloc(0);
  raw.stdout.on('data', (chunk) => { output = Buffer.concat([output, chunk]); });
  const frame = (message) => {
    const body = Buffer.from(JSON.stringify({ jsonrpc: '2.0', ...message }));
    return Buffer.concat([Buffer.from(`Content-Length: ${body.length}\r\nContent-Type: application/vscode-jsonrpc; charset=utf-8\r\n\r\n`), body]);
  };
  const initialize = frame({ id: 1, method: 'initialize', params: { capabilities: {} } });
  const symbols = frame({ id: 2, method: 'workspace/symbol', params: { query: 'Бро' } });
  raw.stdin.write(Buffer.concat([initialize, symbols.subarray(0, 20)]));
  await new Promise((resolve) => setTimeout(resolve, 50));
  raw.stdin.write(Buffer.concat([symbols.subarray(20), frame({ id: 3, method: 'shutdown' }), frame({ method: 'exit' })]));
  assert.equal(await new Promise((resolve) => raw.on('exit', resolve)), 0);
  const ids = [];
  for (let at = 0; at < output.length;) {
    const body = output.indexOf('\r\n\r\n', at) + 4;
    const length = Number(/Content-Length: (\d+)/.exec(output.subarray(at, body).toString())[1]);
    ids.push(JSON.parse(output.subarray(body, body + length).toString()).id);
    at = body + length;
  }
  assert.deepEqual(ids, [1, 2, 3]);
});
