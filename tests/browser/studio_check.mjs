// The studio page in a real browser: starts `plof-host studio` on the demo
// scene (three items, two with the effect), opens the printed address in
// Debian's chromium (headless, software WebGL) and checks that the page
// loads without a console error, draws particles, that moving the "Spread
// Max" slider changes the picture and the summary (what the module played
// for the new settings), and that the save buttons write their files. The
// screenshots stay in WORK_DIR for people to look at.
//
// usage: node studio_check.mjs PLOF_HOST SOURCE_DIR WORK_DIR
// Exits 0 when every check passes, 1 when one fails, 77 (skipped) when
// chromium or the npm packages (scripts/install-deps) are missing.
import { spawn } from 'node:child_process';
import fs from 'node:fs';
import path from 'node:path';
import { check, count, differing, finish, launchChromium, nextDrawing, openPage, particlePixels, showFrame }
  from './browser_support.mjs';

const FRAME = 30;
const LEAST_PARTICLE_PIXELS = 40;

const [plofHost, sourceDir, workDir] = process.argv.slice(2);
if (!workDir) {
  console.error('usage: node studio_check.mjs PLOF_HOST SOURCE_DIR WORK_DIR');
  process.exit(2);
}
fs.rmSync(workDir, { recursive: true, force: true });
const saves = path.join(workDir, 'saves');
fs.mkdirSync(saves, { recursive: true });

const browser = await launchChromium();
const studio = spawn(plofHost, ['studio', path.join(sourceDir, 'examples/fountain.lws'), '--dir', saves],
                     { stdio: ['ignore', 'pipe', 'inherit'] });
const address = await new Promise((found, failed) => {
  let text = '';
  studio.stdout.on('data', (bytes) => {
    text += bytes;
    const match = text.match(/studio at (http:\/\/127\.0\.0\.1:\d+\/\?token=[0-9a-f]+)/);
    if (match) found(match[1]);
  });
  studio.on('exit', (code) => failed(new Error(`plof-host studio ended with ${code}`)));
});

async function screenshot(page, name) {
  await showFrame(page, FRAME);
  const file = path.join(workDir, name);
  return { file, mask: await particlePixels(browser, await page.screenshot({ path: file })) };
}

try {
  const { page, errors } = await openPage(browser, address);
  check(await page.evaluate(() => document.body.dataset.state) === 'ready', `the page loads ${address}`);
  check(!page.url().includes('token='), `the token is gone from the address bar (${page.url()})`);
  check(await page.evaluate(() => document.cookie) === '', 'no cookie holds the token');
  await page.click('#play');  // pause the playback that starts on load
  const before = await screenshot(page, 'studio-before.png');
  check(count(before.mask) >= LEAST_PARTICLE_PIXELS, `${count(before.mask)} particle pixels (${before.file})`);
  const summaryBefore = await page.textContent('#summary');

  // A slider moved as a person does: input events while dragging, change on release.
  await page.evaluate(() => {
    const slider = document.getElementById('setting-SpreadMax');
    slider.value = '90';
    slider.dispatchEvent(new Event('input'));
    slider.dispatchEvent(new Event('change'));
  });
  await page.waitForSelector('body[data-revision="1"]:not([data-busy])', { timeout: 60000 });
  await page.waitForFunction(() => document.getElementById('panel').complete);
  await nextDrawing(page);
  const after = await screenshot(page, 'studio-after.png');
  check(differing(before.mask, after.mask) >= LEAST_PARTICLE_PIXELS,
        `${differing(before.mask, after.mask)} particle pixels differ after Spread Max 20 -> 90 (${after.file})`);
  const summaryAfter = await page.textContent('#summary');
  check(summaryAfter !== summaryBefore, 'the summary changed with the setting');
  check(await page.evaluate(() => document.getElementById('panel').naturalWidth) > 0, 'the options panel is shown');

  for (const kind of ['plf', 'scene', 'glb', 'bake']) {
    await page.fill('#name', kind === 'bake' ? 'baked' : 'from page');
    const saved = await page.evaluate(() => Number(document.body.dataset.saved || 0));
    await page.click(`button[data-kind="${kind}"]`);
    const result = `[data-result-of~="${kind}"]`;
    await page.waitForFunction(([n, where]) => Number(document.body.dataset.saved || 0) > n ||
                                               document.querySelector(where).textContent.startsWith('not saved'),
                               [saved, result], { timeout: 120000 });
    console.log(`  ${await page.textContent(result)}`);
  }
  for (const name of ['from page.plf', 'from page.lws', 'from page.glb', 'baked.lws']) {
    check(fs.existsSync(path.join(saves, name)), `the save buttons wrote ${name}`);
  }
  const plf = fs.readFileSync(path.join(saves, 'from page.plf'), 'utf8');
  check(/SpreadMax 90\.000000/.test(plf), 'the saved .plf holds the slider\'s Spread Max');
  check(errors.length === 0, `no console error ${errors.join(' | ')}`);
} finally {
  studio.kill('SIGTERM');
  await browser.close();
  browser.removeProfile();
}
finish('studio check');
