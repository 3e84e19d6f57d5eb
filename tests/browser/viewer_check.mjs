// The viewer page in a real browser: exports the example fountain with
// `plof-host export --html` (to a name with a space, which the page's script
// address must escape), opens the written page from disk in Debian's
// chromium (headless, software WebGL), and checks that it loads without a
// console error, that particles are drawn at two frames, and that they move
// between them. Then opens the page from a static server on 127.0.0.1 with
// ?file=NAME.glb, drops the same file on it again and again, and checks that
// the GPU holds no more after each drop than after the first (what a drop
// replaces is freed). The screenshots stay in WORK_DIR for people to look at.
//
// usage: node viewer_check.mjs PLOF_HOST SOURCE_DIR WORK_DIR
// Exits 0 when every check passes, 1 when one fails, 77 (skipped) when
// chromium or the npm packages (scripts/install-deps) are missing.
import { execFileSync, spawnSync } from 'node:child_process';
import fs from 'node:fs';
import http from 'node:http';
import path from 'node:path';
import { pathToFileURL } from 'node:url';
import { check, count, differing, finish, launchChromium, nextDrawing, openPage, particlePixels, showFrame } from './browser_support.mjs';

const FRAMES = [20, 45];
// Fewer particle pixels than this in a screenshot means no particles drawn.
const LEAST_PARTICLE_PIXELS = 40;

const [plofHost, sourceDir, workDir] = process.argv.slice(2);
if (!workDir) {
  console.error('usage: node viewer_check.mjs PLOF_HOST SOURCE_DIR WORK_DIR');
  process.exit(2);
}

fs.rmSync(workDir, { recursive: true, force: true });
fs.mkdirSync(workDir, { recursive: true });
const exported = path.join(workDir, 'my fountain.glb');
// From frame 5: the page must count frames from the file's first one.
const scene = [path.join(sourceDir, 'examples/fountain.lws'), '--frames', '5..59'];
execFileSync(plofHost, ['export', ...scene, '--out', exported, '--html'], { stdio: 'inherit' });
// Where play puts the first point at each frame: x, y, z of "frame,1,0,x,y,z".
const firstPoint = new Map(execFileSync(plofHost, ['play', ...scene], { encoding: 'utf8', maxBuffer: 1 << 30 }).split('\n')
  .map((row) => row.split(',')).filter((f) => f[1] === '1' && f[2] === '0').map((f) => [Number(f[0]), f.slice(3, 6).map(Number)]));
for (const name of ['my fountain.html', 'my fountain.glb.js', 'plof-viewer.js']) {
  check(fs.existsSync(path.join(workDir, name)), `export --html wrote ${name}`);
}
const validation = spawnSync(process.execPath, [path.join(sourceDir, 'scripts/validate-gltf'), exported],
                             { stdio: 'inherit' });
check(validation.status === 0, 'the glTF-Validator finds no error and no warning');

const browser = await launchChromium();

try {
  // From disk: the page reads the data script beside it.
  const fromDisk = await openPage(browser, pathToFileURL(path.join(workDir, 'my fountain.html')).href);
  check(await fromDisk.page.evaluate(() => document.body.dataset.state) === 'ready', 'the page opened from disk loads the file');
  if (await fromDisk.page.evaluate(() => document.getElementById('play').textContent.trim() !== '\u25B6')) {
    await fromDisk.page.click('#play');  // pause the playback that starts on load
  }
  const masks = [];
  for (const frame of FRAMES) {
    await showFrame(fromDisk.page, frame);
    check(await fromDisk.page.evaluate(() => document.body.dataset.frame) === String(frame), `the page shows frame ${frame}`);
    const [x, y, z] = firstPoint.get(frame);
    const shown = await fromDisk.page.evaluate(() => window.plofViewer.root.children[0].position.toArray());
    check(Math.hypot(shown[0] - x, shown[1] - y, shown[2] + z) < 1e-6,
          `the first point is where play puts it at frame ${frame}: (${shown}) against (${x}, ${y}, ${-z})`);
    const file = path.join(workDir, `viewer-frame-${frame}.png`);
    masks.push(await particlePixels(browser, await fromDisk.page.screenshot({ path: file })));
    const pixels = count(masks.at(-1));
    check(pixels >= LEAST_PARTICLE_PIXELS, `${pixels} particle pixels at frame ${frame} (${file})`);
  }
  const moved = differing(masks[0], masks[1]);
  check(moved >= LEAST_PARTICLE_PIXELS, `${moved} pixels differ in particles between frames ${FRAMES.join(' and ')}`);
  check(fromDisk.errors.length === 0, `no console error from disk ${fromDisk.errors.join(' | ')}`);

  // A file name that is not UTF-8 (0xFC, "ü" in the host's code page): the
  // page still opens its data from disk.
  const codePage = spawnSync('/bin/sh', ['-c', 'exec "$0" export "$1" --frames 0..9 --out "$(printf \'D\\374se.glb\')" --html',
                                         plofHost, path.join(sourceDir, 'examples/avoid.lws')], { cwd: workDir, stdio: 'inherit' });
  check(codePage.status === 0, 'export --html writes to a name in the host\'s code page');
  const codePageUrl = pathToFileURL(workDir).href + '/D%FCse.html';
  const codePagePage = await openPage(browser, codePageUrl);
  check(await codePagePage.page.evaluate(() => document.body.dataset.state) === 'ready', `the page loads from ${codePageUrl}`);
  check(codePagePage.errors.length === 0, `no console error for a name in the code page ${codePagePage.errors.join(' | ')}`);

  // From a static server, the exported file named in the address.
  const server = http.createServer((request, response) => {
    const name = path.join(workDir, path.basename(decodeURIComponent(new URL(request.url, 'http://x').pathname)));
    fs.readFile(name, (error, bytes) => {
      response.writeHead(error ? 404 : 200);
      response.end(error ? '' : bytes);
    });
  });
  await new Promise((listening) => server.listen(0, '127.0.0.1', listening));
  const address = `http://127.0.0.1:${server.address().port}/my%20fountain.html?file=my%20fountain.glb`;
  const served = await openPage(browser, address);
  check(await served.page.evaluate(() => document.body.dataset.state) === 'ready', `the served page loads ${address}`);
  const held = [];
  for (let drop = 0; drop < 3; ++drop) {
    await served.page.evaluate(async () => {
      const bytes = await (await fetch('my%20fountain.glb')).arrayBuffer();
      const files = new DataTransfer();
      files.items.add(new File([bytes], 'dropped.glb'));
      document.body.dataset.state = 'dropping';
      window.dispatchEvent(new DragEvent('drop', { dataTransfer: files, cancelable: true }));
    });
    await served.page.waitForSelector('body[data-state="ready"], body[data-state="error"]', { timeout: 60000 });
    await nextDrawing(served.page);
    held.push(await served.page.evaluate(() => JSON.stringify(window.plofViewer.memory)));
  }
  check(await served.page.evaluate(() => document.getElementById('name').textContent) === 'dropped.glb',
        'a dropped file is shown');
  check(held.every((memory) => memory === held[0]), `the GPU holds as much after each drop as after the first: ${held.join(', ')}`);
  check(served.errors.length === 0, `no console error when served ${served.errors.join(' | ')}`);
  server.close();
} finally {
  await browser.close();
  browser.removeProfile();
}
finish('viewer check');
