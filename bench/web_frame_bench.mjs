// One frame of 100 000 points in the WebAssembly build against the native
// build, in one run: bench/frame_timing.cpp built in both build trees (which
// must be configured: cmake --preset default, cmake --preset web), run
// natively and under Node, and the size of the static folder build/web.
//   node bench/web_frame_bench.mjs
import { execFileSync } from 'node:child_process';
import fs from 'node:fs';
import path from 'node:path';
import { fileURLToPath } from 'node:url';

const source = path.resolve(path.dirname(fileURLToPath(import.meta.url)), '..');
const nativeTree = path.join(source, 'build/default');
const webTree = path.join(source, 'build/web-cmake');
const staticFolder = path.join(source, 'build/web');

for (const [tree, preset] of [[nativeTree, 'default'], [webTree, 'web']]) {
  if (!fs.existsSync(path.join(tree, 'CMakeCache.txt'))) {
    console.error(`web_frame_bench: ${tree} is not configured: run cmake --preset ${preset}`);
    process.exit(2);
  }
  execFileSync('cmake', ['--build', tree, '--target', 'frame_timing', '-j2'], { stdio: ['ignore', 'ignore', 'inherit'] });
}

// { still: ms, moving: ms } from frame_timing's lines "EMITTER MILLISECONDS".
function timings(command, args) {
  const lines = execFileSync(command, args, { encoding: 'utf8' }).trim().split('\n');
  return Object.fromEntries(lines.map((line) => line.split(' ')).map(([name, ms]) => [name, Number(ms)]));
}

const native = timings(path.join(nativeTree, 'bin/frame_timing'), []);
const web = timings(process.execPath, [path.join(webTree, 'bin/frame_timing.js')]);
console.log('one frame of 100 000 points   native     WebAssembly   WebAssembly speed');
for (const emitter of Object.keys(native)) {
  const ratio = native[emitter] / web[emitter];
  console.log(`${`${emitter} emitter`.padEnd(30)}${native[emitter].toFixed(2).padStart(6)} ms` +
              `${web[emitter].toFixed(2).padStart(11)} ms${(100 * ratio).toFixed(0).padStart(13)} % of native`);
}

if (fs.existsSync(staticFolder)) {
  const sizes = fs.readdirSync(staticFolder, { recursive: true })
    .map((name) => [name, fs.statSync(path.join(staticFolder, name))])
    .filter(([, stat]) => stat.isFile())
    .map(([name, stat]) => [name, stat.size]);
  const total = sizes.reduce((sum, [, size]) => sum + size, 0);
  const each = sizes.map(([name, size]) => `${name} ${(size / 1e6).toFixed(2)} MB`).join(', ');
  console.log(`build/web: ${(total / 1e6).toFixed(2)} MB (${each})`);
}
