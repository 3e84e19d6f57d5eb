// The studio page without a server (build/web/index.html, cmake --preset
// web), opened from disk in Debian's chromium (headless, software WebGL) as
// a first visit, five times: the time from opening it to its first particles
// drawn; and what the static folder holds, the page's part apart.
//   node bench/web_page_bench.mjs
import fs from 'node:fs';
import path from 'node:path';
import { fileURLToPath, pathToFileURL } from 'node:url';
import { launchChromium } from '../tests/browser/browser_support.mjs';

const ROUNDS = 5;
const source = path.resolve(path.dirname(fileURLToPath(import.meta.url)), '..');
const staticFolder = path.join(source, 'build/web');
const page = path.join(staticFolder, 'index.html');
if (!fs.existsSync(page)) {
  console.error(`web_page_bench: ${page} is missing: cmake --preset web && cmake --build --preset web`);
  process.exit(2);
}

// A new profile each round, so that each opening is a first visit (nothing kept).
const times = [];
for (let round = 0; round < ROUNDS; ++round) {
  const browser = await launchChromium();
  const tab = await browser.newPage();
  const opening = Date.now();
  await tab.goto(pathToFileURL(page).href);
  await tab.waitForFunction(() => window.plofStudio && window.plofStudio.drawnPoints().length > 0, null,
                            { timeout: 60000, polling: 10 });
  times.push(Date.now() - opening);
  await browser.close();
  browser.removeProfile();
}
times.sort((a, b) => a - b);
console.log(`first particles after opening the page: median ${times[ROUNDS >> 1]} ms ` +
            `(${times.join(', ')} ms; goal at most 2000)`);

function bytes(file) {
  const status = fs.statSync(file);
  if (!status.isDirectory()) return status.size;
  return fs.readdirSync(file).reduce((sum, name) => sum + bytes(path.join(file, name)), 0);
}
const megabytes = (size) => (size / 1e6).toFixed(2) + ' MB';
const pageBytes = bytes(page) + bytes(path.join(staticFolder, 'plof-studio.js'));
console.log(`the page (index.html, plof-studio.js: the page, its worker, the module and host, the examples): ` +
            `${megabytes(pageBytes)} (goal under 3 MB)`);
for (const name of fs.readdirSync(staticFolder).sort()) {
  console.log(`  build/web/${name}: ${megabytes(bytes(path.join(staticFolder, name)))}`);
}
console.log(`build/web in all: ${megabytes(bytes(staticFolder))}`);
