#!/usr/bin/env bash
# The VS Code extension builds into a .vsix whose package.json declares what the extension promises.
# Skipped (the word SKIP) where npm or the extension's packages cannot be had.
set -euo pipefail
root="$(cd "$(dirname "$0")/../../.." && pwd)"
out="$(mktemp -d)"
trap 'rm -rf "$out"' EXIT
if ! command -v npm >/dev/null || ! command -v unzip >/dev/null; then
  echo "SKIP: npm or unzip is not installed"
  exit 0
fi
if ! vsix="$("$root/scripts/package-vscode" "$out" 2>"$out/log" | tail -1)" || [ ! -f "$vsix" ]; then
  cat "$out/log" >&2
  grep -qiE 'ENOTFOUND|EAI_AGAIN|ECONNREFUSED|network|offline' "$out/log" && { echo "SKIP: the extension's npm packages cannot be had"; exit 0; }
  exit 1
fi
unzip -p "$vsix" extension/out/extension.js | grep -q "'lsp'"
unzip -p "$vsix" extension/package.json | node -e '
const assert = require("assert");
const manifest = JSON.parse(require("fs").readFileSync(0, "utf8"));
const languages = Object.fromEntries(manifest.contributes.languages.map((l) => [l.id, l]));
assert.deepEqual(languages["gothic3-info"].extensions, [".info"]);
assert.deepEqual(languages["gothic3-quest"].extensions, [".quest"]);
assert.deepEqual(languages["gothic3-stringtable"].filenames, ["stringtable.ini"]);
for (const id of Object.keys(languages)) {
  assert.deepEqual(manifest.contributes.configurationDefaults[`[${id}]`], { "files.encoding": "windows1251", "files.eol": "\r\n" });
  assert.ok(manifest.contributes.grammars.some((g) => g.language === id), id);
}
assert.equal(manifest.contributes.configuration.properties["plotwright.serverPath"].default, "");
assert.equal(manifest.main, "./out/extension.js");
'
for grammar in gothic3-info gothic3-quest gothic3-stringtable; do
  unzip -l "$vsix" "extension/syntaxes/$grammar.tmLanguage.json" >/dev/null
done
unzip -l "$vsix" 'extension/node_modules/vscode-languageclient/package.json' >/dev/null
echo "the .vsix declares its languages, their encoding and line ends, grammars and the server setting"
