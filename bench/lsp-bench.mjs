// The language server's speed over the benchmark library: initialize, the index against check, memory,
// diagnostics after a change, completion, hover and definition (95th percentile of 1,000 each), and a
// rename's edit against rename --dry-run. Plain Node, no packages.
// usage: node bench/lsp-bench.mjs BUILD_DIR [LIBRARY_DIR]   (the library from plotwright-genlib)

import { spawn, spawnSync } from 'node:child_process';
import fs from 'node:fs';
import path from 'node:path';
import { performance } from 'node:perf_hooks';
import { pathToFileURL } from 'node:url';

const [build, lib = process.env.PLOTWRIGHT_BENCH_LIB ?? '/tmp/plotwright-bench-lib'] = process.argv.slice(2);
const cli = path.join(build, 'tools/cli/plotwright-cli');
if (!fs.existsSync(path.join(lib, 'stringtable.ini')))
  spawnSync(path.join(build, 'bench/plotwright-genlib'), [lib], { stdio: 'inherit' });
const table = path.join(lib, 'stringtable.ini');
const roots = [path.join(lib, 'Infos'), path.join(lib, 'Quests')];

const server = spawn(cli, ['lsp', '--stringtable', table, ...roots]);
let input = Buffer.alloc(0);
const pending = new Map();
const published = [];
server.stdout.on('data', (chunk) => {
  input = Buffer.concat([input, chunk]);
  for (;;) {
    const end = input.indexOf('\r\n\r\n');
    if (end < 0) return;
    const length = Number(/Content-Length: (\d+)/i.exec(input.subarray(0, end).toString())[1]);
    if (input.length < end + 4 + length) return;
    const message = JSON.parse(input.subarray(end + 4, end + 4 + length).toString());
    input = input.subarray(end + 4 + length);
    if (message.id !== undefined && pending.has(message.id)) {
      pending.get(message.id)(message);
      pending.delete(message.id);
    } else if (message.method === 'textDocument/publishDiagnostics') {
      for (const wait of published.splice(0)) wait(message.params);
    }
  }
});
let nextId = 1;
function send(message) {
  const body = Buffer.from(JSON.stringify({ jsonrpc: '2.0', ...message }));
  server.stdin.write(Buffer.concat([Buffer.from(`Content-Length: ${body.length}\r\n\r\n`), body]));
}
function request(method, params) {
  const id = nextId++;
  return new Promise((resolve) => { pending.set(id, resolve); send({ id, method, params }); });
}
const notify = (method, params) => send({ method, params });
const percentile = (times, p) => [...times].sort((a, b) => a - b)[Math.floor((times.length - 1) * p)];
const ms = (value) => `${value.toFixed(1)} ms`;
function residentMb(pid) {
  const status = fs.readFileSync(`/proc/${pid}/status`, 'utf8');
  return Number(/VmRSS:\s+(\d+)/.exec(status)[1]) / 1024;
}

let start = performance.now();
await request('initialize', { processId: process.pid, rootUri: null, capabilities: {} });
console.log(`initialize answered: ${ms(performance.now() - start)}`);
notify('initialized', {});
await request('workspace/symbol', { query: 'no such name' });
console.log(`index ready after initialize: ${ms(performance.now() - start)}`);
start = performance.now();
spawnSync(cli, ['check', '--stringtable', table, ...roots]);
console.log(`check --stringtable over the same library: ${ms(performance.now() - start)}`);
console.log(`server resident memory with the index and the table: ${residentMb(server.pid).toFixed(0)} MB`);

// A dialogue that says lines and belongs to a quest.
const infos = fs.readdirSync(roots[0], { recursive: true }).filter((name) => name.endsWith('.info'));
const dialoguePath = path.join(roots[0], infos.find((name) => {
  const text = fs.readFileSync(path.join(roots[0], name), 'latin1');
  return /^Quest=\S/m.test(text) && /^Parent=\S/m.test(text) && /^InfoScript_Texts=\S/m.test(text);
}));
const uri = pathToFileURL(dialoguePath).href;
const text = new TextDecoder('windows-1251').decode(fs.readFileSync(dialoguePath));
const lines = text.split('\r\n');
const lineOf = (key) => lines.findIndex((line) => line.startsWith(`${key}=`));
const at = (key, offset = 2) => ({ textDocument: { uri }, position: { line: lineOf(key), character: key.length + offset } });
const opened = new Promise((resolve) => published.push(resolve));
notify('textDocument/didOpen', { textDocument: { uri, languageId: 'gothic3-info', version: 1, text } });
await opened;

const changes = [];
for (let version = 2; version < 202; ++version) {
  const changed = new Promise((resolve) => published.push(resolve));
  const sent = performance.now();
  notify('textDocument/didChange', { textDocument: { uri, version }, contentChanges: [{ text: text + ' '.repeat(version % 2) }] });
  await changed;
  changes.push(performance.now() - sent);
}
console.log(`diagnostics after a change, 95th percentile of ${changes.length}: ${ms(percentile(changes, 0.95))}`);

for (const [method, params] of [['textDocument/completion', at('Parent', 3)], ['textDocument/hover', at('InfoScript_Texts')],
  ['textDocument/definition', at('InfoScript_Texts')], ['textDocument/definition', at('Quest')]]) {
  const times = [];
  for (let i = 0; i < 1000; ++i) {
    const sent = performance.now();
    await request(method, params);
    times.push(performance.now() - sent);
  }
  console.log(`${method} on ${lines[params.position.line].split('=')[0]}, 95th percentile of 1000: ${ms(percentile(times, 0.95))}`);
}

const quest = /^Quest=(.*)$/m.exec(text)[1].trim();
start = performance.now();
const edit = await request('textDocument/rename', { ...at('Quest'), newName: `${quest}_Renamed` });
console.log(`rename's WorkspaceEdit (${edit.result?.documentChanges?.length ?? 0} changes): ${ms(performance.now() - start)}`);
start = performance.now();
spawnSync(cli, ['rename', 'quest', quest, `${quest}_Renamed`, '--dry-run', ...roots]);
console.log(`rename --dry-run: ${ms(performance.now() - start)}`);
console.log(`server resident memory at the end: ${residentMb(server.pid).toFixed(0)} MB`);

await request('shutdown');
notify('exit');
