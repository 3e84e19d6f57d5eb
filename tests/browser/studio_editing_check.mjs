// The studio page as an artist's tool, in Debian's chromium: what it draws
// after a change is what the session played (read from the page's own
// buffers), the view follows an effect that grows and keeps the person's
// orbit, items are told apart, the scene's motion is edited and undone as
// `plof-host play` plays it, mistakes are answered beside their field, a
// save never replaces a file unasked, answers coming back out of order
// never show an older state, and a stopped server is said plainly with the
// settings offered for download. Screenshots stay in WORK_DIR.
//
// usage: node studio_editing_check.mjs PLOF_HOST SOURCE_DIR WORK_DIR
// Exits 0 when every check passes, 1 when one fails, 77 (skipped) when
// chromium or the npm packages are missing.
import { execFileSync } from 'node:child_process';
import fs from 'node:fs';
import path from 'node:path';
import { askStudio, check, finish, launchChromium, nextDrawing, openPage, showFrame, startStudio }
  from './browser_support.mjs';

const [plofHost, sourceDir, workDir] = process.argv.slice(2);
if (!workDir) {
  console.error('usage: node studio_editing_check.mjs PLOF_HOST SOURCE_DIR WORK_DIR');
  process.exit(2);
}
fs.rmSync(workDir, { recursive: true, force: true });
fs.mkdirSync(workDir, { recursive: true });

// Smoke rising from a 10 x 10 grid (the scene where a change once left the
// page drawing a handful of the points the module answered).
const smoke = path.join(workDir, 'smoke.plf');
fs.writeFileSync(smoke, 'PLOF_START\nV0Min 0.2\nV0Max 0.4\nAgeMin 60\nAgeMax 110\nGravity -0.6\nBirth 450\nPLOF_END\n');
const smokeArgs = ['--object', 'builtin:grid:10x10', '--settings', smoke, '--frames', '0..119', '--dir', workDir];
// Sparks flying straight, without gravity, for a change that makes them five times larger.
const sparks = path.join(workDir, 'sparks.plf');
fs.writeFileSync(sparks, 'PLOF_START\nV0Min 1\nV0Max 1\nAgeMin 30\nAgeMax 31\nGravity 0\nBirth 300\n' +
                         'SpreadMin 30\nSpreadMax 90\nPLOF_END\n');

const browser = await launchChromium();
const studios = [];

async function open(args) {
  const studio = await startStudio(plofHost, args);
  studios.push(studio.process);
  const opened = await openPage(browser, studio.address);
  await opened.page.click('#play');  // pause the playback that starts on load
  return { ...opened, studio: studio.process };
}

const revision = (page) => page.evaluate(() => Number(document.body.dataset.revision));
async function changed(page, before) {
  await page.waitForFunction((n) => Number(document.body.dataset.revision) > n && !document.body.dataset.busy,
                             before, { timeout: 60000 });
  await nextDrawing(page);
}
// Types `text` into the settings field of `keyword` and leaves it, as a person does.
async function type(page, keyword, text) {
  await page.fill(`#setting-${keyword}`, text);
  await page.press(`#setting-${keyword}`, 'Tab');
}
// Frame `frame` as /api/frames gives it now, as [x, y, z] triples.
async function servedFrame(page, frame) {
  const answer = await askStudio(page, 'GET', `/api/frames?from=${frame}&to=${frame}`);
  const floats = new Float32Array(new Uint8Array(answer.bytes).buffer);
  const points = [];
  for (let i = 0; i < floats.length; i += 3) points.push([floats[i], floats[i + 1], floats[i + 2]]);
  return points;
}
// The orbit's angles once its damping has come to rest.
async function settledOrbit(page) {
  let last = null;
  for (;;) {
    await page.waitForTimeout(200);
    const now = await page.evaluate(() => window.plofStudio.orbit());
    if (last && now.azimuth === last.azimuth && now.polar === last.polar) return now;
    last = now;
  }
}
const sortedText = (points) => points.map((p) => p.join(',')).sort().join(';');
const playCsv = async (page) => (await askStudio(page, 'GET', '/api/play.csv')).text;

try {
  // ---- what is drawn after a change is what was played
  {
    const { page, errors } = await open(smokeArgs);
    const memory = () => page.evaluate(() => ({ ...window.plofStudio.memory }));
    const gpuAtStart = await memory();
    const before = await revision(page);
    await type(page, 'Birth', '25');
    await changed(page, before);
    await showFrame(page, 100);
    const drawn = await page.evaluate(() => window.plofStudio.drawnPoints());
    const served = await servedFrame(page, 100);
    check(drawn.length === served.length && sortedText(drawn) === sortedText(served),
          `after BirthRate 450 -> 25, frame 100 draws the ${served.length} points the session played (${drawn.length})`);
    const box = await page.evaluate(() => window.plofStudio.projectedBox());
    check(box.minX >= -1 && box.maxX <= 1 && box.minY >= -1 && box.maxY <= 1,
          `the grown smoke is inside the canvas (${JSON.stringify(box)})`);
    await page.screenshot({ path: path.join(workDir, 'smoke-after-change.png') });

    // "4,5" is refused beside its field, never read as another number.
    const held = await revision(page);
    await type(page, 'Gravity', '4,5');
    await page.waitForFunction(() => document.getElementById('refusal-Gravity').textContent !== '');
    const refusal = await page.textContent('#refusal-Gravity');
    check(refusal.includes('4,5: use 4.5'), `"4,5" is refused with the decimal point named: ${refusal}`);
    check(await revision(page) === held, 'nothing changed');

    // ---- the motion editor plays as `plof-host play --motion`, and undo brings the bytes back
    const csvBefore = await playCsv(page);
    const keys = [['0', '0', '0', '0', '0', '0', '0'], ['30', '2', '1', '0', '0', '45', '0']];
    while (await page.locator('#keys tbody tr').count() < keys.length) await page.click('#key-add');
    for (const [row, values] of keys.entries()) {
      const fields = page.locator(`#keys tbody tr:nth-child(${row + 1}) input`);
      for (const [i, value] of values.entries()) await fields.nth(i).fill(value);
    }
    const moving = await revision(page);
    await page.click('#motion-apply');
    await changed(page, moving);
    // The session holds BirthRate 25: play it with the same settings.
    const settingsNow = JSON.parse((await askStudio(page, 'GET', '/api/state')).text).items[0].plf;
    fs.writeFileSync(path.join(workDir, 'now.plf'), settingsNow);
    const expectedNow = execFileSync(plofHost, ['play', '--object', 'builtin:grid:10x10', '--settings',
                                                path.join(workDir, 'now.plf'), '--frames', '0..119', '--motion',
                                                '0:0,0,0:0,0,0;30:2,1,0:0,45,0'],
                                     { stdio: ['ignore', 'pipe', 'ignore'], maxBuffer: 1 << 28 }).toString();
    const csvMoved = await playCsv(page);
    check(csvMoved === expectedNow && csvMoved !== csvBefore,
          'the edited keys play as plof-host play --motion of the same keys, byte for byte');
    const undoing = await revision(page);
    await page.click('#scrubber');  // outside text fields, Ctrl+Z is the page's
    await page.keyboard.press('Control+z');
    await changed(page, undoing);
    check(await playCsv(page) === csvBefore, 'after Ctrl+Z, /api/play.csv is byte for byte what it was before');
    const gpuNow = await memory();
    check(gpuNow.geometries === gpuAtStart.geometries && gpuNow.textures === gpuAtStart.textures,
          `what a change replaces is freed: ${JSON.stringify(gpuNow)} in the GPU, as at the start`);
    // The refusal of "4,5" is a 400 the browser logs; nothing else may be.
    const unexpected = errors.filter((error) => !error.includes('status of 400'));
    check(unexpected.length === 0 && errors.length === 1, `no other console error ${errors.join(' | ')}`);
    await page.close();
  }

  // ---- the view follows an effect five times larger, keeping the orbit
  {
    const { page } = await open(['--object', 'builtin:grid:6x6', '--settings', sparks, '--frames', '0..40',
                                 '--dir', workDir]);
    const canvas = await page.locator('#view canvas').boundingBox();
    await page.mouse.move(canvas.x + canvas.width / 2, canvas.y + canvas.height / 2);
    await page.mouse.down();
    await page.mouse.move(canvas.x + canvas.width / 2 + 120, canvas.y + canvas.height / 2 + 40, { steps: 8 });
    await page.mouse.up();
    await nextDrawing(page);
    const orbit = await settledOrbit(page);
    const before = await revision(page);
    await type(page, 'V0Max', '5');
    await changed(page, before);
    await type(page, 'V0Min', '5');
    await changed(page, before + 1);
    await showFrame(page, 40);
    const box = await page.evaluate(() => window.plofStudio.projectedBox());
    const span = Math.max(box.maxX - box.minX, box.maxY - box.minY) / 2;
    check(box.minX >= -1 && box.maxX <= 1 && box.minY >= -1 && box.maxY <= 1 && span >= 0.3,
          `five times larger, the effect stays in the canvas and spans ${(100 * span).toFixed(0)}% of it ` +
          JSON.stringify(box));
    const after = await settledOrbit(page);
    const same = (a, b) => Math.abs(a.azimuth - b.azimuth) < 1e-6 && Math.abs(a.polar - b.polar) < 1e-6;
    check(same(orbit, after), `the orbit is kept across the reframing (${JSON.stringify(orbit)})`);
    await page.reload();
    await page.waitForSelector('body[data-state="ready"]');
    check(same(orbit, await settledOrbit(page)), 'and across a reload');
    await page.close();
  }

  // ---- two items with the effect, in two hues with a legend
  {
    const { page } = await open([path.join(sourceDir, 'examples/fountain.lws'), '--dir', workDir]);
    await showFrame(page, 30);
    const legend = await page.textContent('#legend');
    check(legend.includes('spout (item 1)') && legend.includes('ball (item 3)'), `the legend names both: ${legend}`);
    const colours = await page.evaluate(() => Array.from(document.querySelectorAll('#legend .swatch'))
      .slice(0, 2).map((swatch) => getComputedStyle(swatch).backgroundColor.match(/\d+/g).map(Number)));
    const shot = await page.screenshot({ path: path.join(workDir, 'two-items.png') });
    const counts = await page.evaluate(async ([base64, colours]) => {
      const image = new Image();
      image.src = 'data:image/png;base64,' + base64;
      await image.decode();
      const canvas = document.createElement('canvas');
      canvas.width = image.width;
      canvas.height = image.height;
      canvas.getContext('2d').drawImage(image, 0, 0);
      // Below the legend, above the timeline.
      const { data } = canvas.getContext('2d').getImageData(0, 120, image.width, image.height - 180);
      return colours.map((c) => {
        let n = 0;
        for (let i = 0; i < data.length; i += 4) {
          if (Math.abs(data[i] - c[0]) + Math.abs(data[i + 1] - c[1]) + Math.abs(data[i + 2] - c[2]) < 40) ++n;
        }
        return n;
      });
    }, [shot.toString('base64'), colours]);
    check(counts[0] > 100 && counts[1] > 20, `both hues are drawn (${counts[0]} and ${counts[1]} pixels)`);
    await page.close();
  }

  // ---- saves ask before replacing; answers out of order; a stopped server
  {
    const { page, studio } = await open(smokeArgs);
    const saved = path.join(workDir, 'twice.plf');
    fs.rmSync(saved, { force: true });
    // The session answers 409 for a name that exists unless asked to replace:
    // answered so here where it does not yet, so that the page's side is checked.
    await page.route('**/api/save', async (route) => {
      const body = JSON.parse(route.request().postData());
      if (!body.replace && fs.existsSync(saved)) {
        await route.fulfill({ status: 409, contentType: 'application/json',
                              body: JSON.stringify({ error: 'twice.plf exists', exists: 'twice.plf' }) });
      } else {
        await route.continue();
      }
    });
    await page.fill('#name', 'twice');
    const save = async (answer) => {
        const dialog = answer === undefined ? null : new Promise((resolve) => page.once('dialog', async (shown) => {
        await (answer ? shown.accept() : shown.dismiss());
        resolve(shown.message());
      }));
      const count = await page.evaluate(() => Number(document.body.dataset.saved || 0));
      await page.click('button[data-kind="plf"]');
      if (answer === undefined) {
        await page.waitForFunction((n) => Number(document.body.dataset.saved || 0) > n, count);
        return '';
      }
      const asked = await dialog;
      await page.waitForFunction(() => !document.querySelector('[data-result-of~="plf"]').textContent
        .startsWith('saving'));
      return asked;
    };
    await save(undefined);
    const first = fs.readFileSync(saved);
    const before = await revision(page);
    await type(page, 'Gravity', '-0.9');
    await changed(page, before);
    const asked = await save(false);
    check(asked.includes('twice.plf exists') && fs.readFileSync(saved).equals(first),
          `a second save asks first ("${asked}") and, declined, leaves the file's bytes as they were`);
    const result = await page.textContent('[data-result-of~="plf"]');
    check(result.startsWith('not saved'), `the result is shown below the button clicked: ${result}`);
    await save(true);
    check(/Gravity -0\.900000/.test(fs.readFileSync(saved, 'utf8')), 'confirmed, the file is replaced');
    await page.unroute('**/api/save');

    // Two changes in flight: the first one's answer is held back until the
    // second's is shown; the older answer then shows nothing.
    let releaseFirst, firstPlayed;
    const held = new Promise((resolve) => { releaseFirst = resolve; });
    const played = new Promise((resolve) => { firstPlayed = resolve; });
    let firstAnswered = false;
    await page.route('**/api/items/1/settings', async (route) => {
      if (firstAnswered) return route.continue();
      firstAnswered = true;
      const response = await route.fetch();  // played by the session: the older state
      firstPlayed();
      await held;
      await route.fulfill({ response });
    });
    const start = await revision(page);
    await type(page, 'Gravity', '-0.4');
    await played;
    await type(page, 'Birth', '60');
    await page.waitForFunction((n) => Number(document.body.dataset.revision) === n + 2, start);
    releaseFirst();
    await page.waitForFunction(() => !document.body.dataset.busy);
    await nextDrawing(page);
    const state = JSON.parse((await askStudio(page, 'GET', '/api/state')).text);
    check(await revision(page) === start + 2 && state.revision === start + 2,
          'the older answer, arriving last, leaves the newer state shown');
    await showFrame(page, 60);
    check(sortedText(await page.evaluate(() => window.plofStudio.drawnPoints())) ===
          sortedText(await servedFrame(page, 60)), 'and its frames drawn');
    check(await page.inputValue('#setting-Birth') === '60' && await page.inputValue('#setting-Gravity') === '-0.4',
          'with both changes in its fields');
    await page.unroute('**/api/items/1/settings');

    // The server stops: the page says so plainly and offers the settings.
    studio.kill('SIGTERM');
    await new Promise((resolve) => studio.once('exit', resolve));
    await type(page, 'Gravity', '-0.5');
    await page.waitForSelector('body.gone');
    const said = await page.textContent('#gone-text');
    check(said.includes('server has stopped') && !said.includes('Failed to fetch'), `the page says: ${said}`);
    const download = page.locator('#gone-downloads a').first();
    const href = await download.getAttribute('href');
    const plf = await page.evaluate(async (url) => (await fetch(url)).text(), href);
    check(plf === state.items[0].plf && await download.getAttribute('download') === 'Emitter.plf',
          'the last settings are offered as a .plf file');
    check(await page.inputValue('#setting-Birth') === '60', 'and stay on screen');
    await page.screenshot({ path: path.join(workDir, 'server-gone.png') });
    await page.close();
  }
} finally {
  for (const studio of studios) studio.kill('SIGTERM');
  await browser.close();
  browser.removeProfile();
}
finish('studio editing check');
