// Bundles the studio page that runs without a server (build/web): the
// studio's page (studio.js) with studio_server_web.js in place of
// studio_server.js, and its worker (studio_worker.js with the studio's
// WebAssembly program, tools/web/) built into the page's script as text, so
// that one classic script serves from disk and from any static host.
//
// usage: node bundle_web_page.mjs PROGRAM.js PROGRAM.wasm OUT.js
import path from 'node:path';
import { fileURLToPath } from 'node:url';
import * as esbuild from 'esbuild';

const [program, programWasm, out] = process.argv.slice(2);
if (!out) {
  console.error('usage: node bundle_web_page.mjs PROGRAM.js PROGRAM.wasm OUT.js');
  process.exit(2);
}
const viewer = path.dirname(fileURLToPath(import.meta.url));
const common = { bundle: true, minify: true, format: 'iife', target: 'es2020', logLevel: 'warning', write: false };

// The names the two modules import their build's parts by.
function parts(paths) {
  return {
    name: 'plof-web-parts',
    setup(build) {
      build.onResolve({ filter: /^plof-studio-/ }, ({ path: name }) => ({ path: paths[name] }));
      build.onResolve({ filter: /\/studio_server\.js$/ }, () => ({ path: path.join(viewer, 'studio_server_web.js') }));
    },
  };
}

const worker = await esbuild.build({
  ...common,
  entryPoints: [path.join(viewer, 'studio_worker.js')],
  loader: { '.wasm': 'binary' },
  // Asked for under Node only (host/base/standard_error_web.cpp, host/files/file_access_web.cpp).
  external: ['fs', 'tty'],
  plugins: [parts({ 'plof-studio-program': path.resolve(program),
                    'plof-studio-program-wasm': path.resolve(programWasm) })],
});
const workerText = worker.outputFiles[0].text;

await esbuild.build({
  ...common,
  write: true,
  entryPoints: [path.join(viewer, 'studio.js')],
  outfile: out,
  plugins: [{
    name: 'plof-worker-source',
    setup(build) {
      build.onResolve({ filter: /^plof-studio-worker-source$/ }, () => ({ path: 'worker', namespace: 'plof-worker' }));
      build.onLoad({ filter: /.*/, namespace: 'plof-worker' }, () => ({ contents: workerText, loader: 'text' }));
    },
  }, parts({})],
});
