// The studio page without a server (build/web/index.html) in Debian's
// chromium, opened from disk (file://) as a person double-clicks it, with
// no flag that widens what a file:// page may read: it loads with no
// console error and draws particles; after a settings change, and after a
// dropped .obj is chosen and a dropped .plf loaded, every position it shows
// is, as float32, what the native `plof-host play` of the same inputs
// prints; its .plf download is byte for byte what `plof-host panel` writes
// with "S"; a reload shows the work where it was. Prints the time to the
// first particles. Screenshots stay in WORK_DIR.
//
// usage: node web_page_check.mjs PLOF_HOST SOURCE_DIR WEB_DIR WORK_DIR
// Exits 0 when every check passes, 1 when one fails, 77 (skipped) when
// chromium, the npm packages or the page (cmake --preset web) are missing.
import { execFileSync } from 'node:child_process';
import fs from 'node:fs';
import path from 'node:path';
import { pathToFileURL } from 'node:url';
import { SKIP, check, count, finish, launchChromium, openPage, particlePixels, showFrame }
  from './browser_support.mjs';

const [plofHost, sourceDir, webDir, workDir] = process.argv.slice(2);
if (!workDir) {
  console.error('usage: node web_page_check.mjs PLOF_HOST SOURCE_DIR WEB_DIR WORK_DIR');
  process.exit(2);
}
const pageFile = path.join(webDir, 'index.html');
if (!fs.existsSync(pageFile)) {
  console.log(`SKIP: ${pageFile} is missing (cmake --preset web && cmake --build --preset web)`);
  process.exit(SKIP);
}
fs.rmSync(workDir, { recursive: true, force: true });
fs.mkdirSync(workDir, { recursive: true });
const examples = path.join(sourceDir, 'examples');
const fountain = fs.readFileSync(path.join(examples, 'fountain.lws'), 'latin1');

// `plof-host ARGS` in WORK_DIR, its standard output.
const plof = (...args) => execFileSync(plofHost, args, { cwd: workDir, encoding: 'latin1', maxBuffer: 1 << 30,
                                                          stdio: ['ignore', 'pipe', 'pipe'] });

// The positions of a play's CSV, frame after frame, as float32 bytes in hex.
function playedFloats(csv) {
  const rows = csv.trim().split('\n').slice(1);
  return Buffer.from(new Float32Array(rows.flatMap((row) => row.split(',').slice(3, 6).map(Number))).buffer)
    .toString('hex');
}
const shownFloats = async (page) =>
  Buffer.from(new Float32Array(await page.evaluate(() => window.plofStudio.positions())).buffer).toString('hex');

// fountain.lws in WORK_DIR under `name`, with `edit` applied to its text (objects beside it).
function fountainScene(name, edit) {
  fs.cpSync(path.join(examples, 'objects'), path.join(workDir, 'objects'), { recursive: true });
  fs.writeFileSync(path.join(workDir, name), edit(fountain), 'latin1');
  return name;
}

async function waitForRevision(page, revision) {
  await page.waitForSelector(`body[data-revision="${revision}"]:not([data-busy])`, { timeout: 60000 });
}

const browser = await launchChromium();
try {
  const opening = Date.now();
  const { page, errors } = await openPage(browser, pathToFileURL(pageFile).href);
  await page.waitForFunction(() => window.plofStudio.drawnPoints().length > 0);
  console.log(`first particles ${Date.now() - opening} ms after opening the page`);
  check(await page.evaluate(() => document.body.dataset.state) === 'ready', 'the page opens from file://');
  await page.click('#play');  // pause the playback that starts on load
  await showFrame(page, 30);
  const opened = await particlePixels(browser, await page.screenshot({ path: path.join(workDir, 'opened.png') }));
  check(count(opened) >= 40, `it draws the example scene: ${count(opened)} particle pixels`);
  check(await shownFloats(page) === playedFloats(plof('play', path.join(examples, 'fountain.lws'))),
        'it shows the example scene as plof-host play plays it');

  // ---- a settings change, as a person moves the slider
  await page.evaluate(() => {
    const slider = document.getElementById('setting-SpreadMax');
    slider.value = '90';
    slider.dispatchEvent(new Event('input'));
    slider.dispatchEvent(new Event('change'));
  });
  await waitForRevision(page, 1);
  const spread = fountainScene('spread.lws', (text) => text.replace('SpreadMax 20.000000', 'SpreadMax 90.000000'));
  check(await shownFloats(page) === playedFloats(plof('play', spread)),
        'after Spread Max 20 -> 90 every position shown is what plof-host play of the same scene prints');
  await showFrame(page, 30);
  const drawn = await page.evaluate(() => window.plofStudio.drawnPoints().length);
  check(drawn > 0, `${drawn} points drawn at frame 30 after the change`);

  // ---- the .plf download is what the options panel's "S" writes
  const downloading = page.waitForEvent('download');
  await page.fill('#name', 'spread');
  await page.click('button[data-kind="plf"]');
  const downloaded = await downloading;
  check(downloaded.suggestedFilename() === 'spread.plf', `the .plf is downloaded as ${downloaded.suggestedFilename()}`);
  const block = fountain.slice(fountain.indexOf('PLOF_START'), fountain.indexOf('PLOF_END') + 9);
  fs.writeFileSync(path.join(workDir, 'start.plf'), block);
  fs.writeFileSync(path.join(workDir, 'save.txt'), 'set "Spread Max" 90\npress "S"\nchoose "panel.plf"\nconfirm\n');
  plof('panel', '--object', path.join(examples, 'objects/spout.lwo'), '--settings', 'start.plf', '--script', 'save.txt');
  check(fs.readFileSync(await downloaded.path()).equals(fs.readFileSync(path.join(workDir, 'panel.plf'))),
        'the .plf downloaded is byte for byte what plof-host panel writes with "S"');

  // ---- dropped files: an .obj chosen for the spout, a .plf loaded into it
  const snow = fs.readFileSync(path.join(examples, 'settings/snow.plf'));
  const drops = fs.readFileSync(path.join(examples, 'objects/drops.obj'));
  await page.setInputFiles('#open-files', [{ name: 'mine.obj', mimeType: 'text/plain', buffer: drops },
                                           { name: 'snow.plf', mimeType: 'text/plain', buffer: snow }]);
  await waitForRevision(page, 2);
  await page.selectOption('#object-kind', 'file:mine.obj');
  await page.click('#object-apply');
  await waitForRevision(page, 3);
  fs.writeFileSync(path.join(workDir, 'mine.obj'), drops);
  const plfLines = snow.toString('latin1').trimEnd();
  const dropped = fountainScene('dropped.lws', (text) =>
    text.replace('LoadObject objects/spout.lwo', 'LoadObject mine.obj')
      .replace(/PLOF_START[^]*?PLOF_END/, plfLines.slice(plfLines.indexOf('PLOF_START'), plfLines.indexOf('PLOF_END') + 8)));
  check(await shownFloats(page) === playedFloats(plof('play', dropped)),
        'with the dropped .obj and .plf, every position shown is what plof-host play prints for them');
  await page.screenshot({ path: path.join(workDir, 'dropped.png') });

  // ---- a reload shows the work where it was
  const before = await shownFloats(page);
  await page.reload();
  await page.waitForSelector('body[data-state="ready"]', { timeout: 60000 });
  check(await shownFloats(page) === before && await page.evaluate(() => document.body.dataset.revision) === '3',
        'after a reload the page shows the same revision and positions (kept in localStorage)');
  await page.click('#undo');
  await waitForRevision(page, 4);
  check((await page.textContent('#object-now')).includes('spout'),
        'undo after the reload takes the spout back');

  // ---- a refused change changes nothing: the instance that played stays
  // and answers; the next change plays in an instance of its own
  const shown = await shownFloats(page);
  await page.fill('#setting-Gravity', '4,5');
  await page.press('#setting-Gravity', 'Tab');
  await page.waitForFunction(() => document.getElementById('refusal-Gravity').textContent !== '');
  check((await page.textContent('#refusal-Gravity')).includes('4,5: use 4.5') &&
        await page.evaluate(() => document.body.dataset.revision) === '4' && await shownFloats(page) === shown,
        'a decimal comma is refused beside its field and nothing changes');

  // ---- a long play (10 000 points over 251 frames) shows the host's progress
  const grid = await page.evaluate(() => [...document.getElementById('object-kind').options]
    .map((option) => option.value).find((value) => value.startsWith('shape:builtin:grid')));
  await page.selectOption('#object-kind', grid);
  await page.fill('#object-size-0', '100');
  await page.fill('#object-size-1', '100');
  await page.fill('#range-to', '250');
  await page.click('#range-apply');
  await waitForRevision(page, 5);
  const progress = page.waitForFunction(() => /^plof-host: frame \d+ of 0\.\.250$/
    .test(document.getElementById('progress').textContent), null, { polling: 20, timeout: 60000 });
  await page.click('#object-apply');
  check(await progress.then(() => true, () => false), 'a long play shows the host\'s progress line');
  await waitForRevision(page, 6);
  check(await page.textContent('#progress') === '', 'the progress line goes once the play is shown');
  // The refusal of "4,5" is a 400 the page's worker answered; nothing may be logged.
  check(errors.length === 0, `no console error (${errors.join(' | ')})`);
} finally {
  await browser.close();
  browser.removeProfile();
}
finish('web_page_check');
