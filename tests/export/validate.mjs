// Runs the Khronos glTF validator over each file given and prints one line
// per file ("FILE: E errors, W warnings, I infos, H hints") and one line per
// error or warning (code, pointer, message). Exit status 1 when any file
// has an error or a warning. The validator's folder comes from
// GLTF_VALIDATOR_DIR (where `npm install gltf-validator` ran).
import { createRequire } from 'node:module';
import { readFile } from 'node:fs/promises';
import path from 'node:path';

const require = createRequire(path.join(process.env.GLTF_VALIDATOR_DIR || '.', 'package.json'));
const validator = require('gltf-validator');

let bad = 0;
for (const file of process.argv.slice(2)) {
  const bytes = new Uint8Array(await readFile(file));
  const report = await validator.validateBytes(bytes, {
    uri: path.basename(file),
    maxIssues: 0,
    externalResourceFunction: (uri) =>
      readFile(path.join(path.dirname(file), decodeURIComponent(uri))).then((b) => new Uint8Array(b)),
  });
  const i = report.issues;
  console.log(`${file}: ${i.numErrors} errors, ${i.numWarnings} warnings, ${i.numInfos} infos, ${i.numHints} hints`);
  for (const m of i.messages)
    if (m.severity <= 1) console.log(`  ${m.severity === 0 ? 'error' : 'warning'} ${m.code} ${m.pointer || ''}: ${m.message}`);
  if (i.numErrors > 0 || i.numWarnings > 0) bad = 1;
}
process.exit(bad);
