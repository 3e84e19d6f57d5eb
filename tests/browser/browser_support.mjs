// What the browser checks share: Debian's chromium driven by playwright-core
// (headless, software WebGL, no network but 127.0.0.1), pages that record
// console errors, a frame shown through the timeline, the particle pixels of
// a screenshot, and the ok / FAIL lines with their count. A check exits 77
// (skipped) when chromium or the npm packages are missing.
import fs from 'node:fs';
import os from 'node:os';
import path from 'node:path';

const CHROMIUM = '/usr/bin/chromium';
export const SKIP = 77;

export const failures = [];
export function check(condition, text) {
  console.log(`${condition ? 'ok  ' : 'FAIL'} ${text}`);
  if (!condition) failures.push(text);
}

export function finish(name) {
  console.log(failures.length === 0 ? `${name}: all passed` : `${name}: ${failures.length} failed`);
  process.exit(failures.length === 0 ? 0 : 1);
}

// The browser, or an exit with SKIP when it cannot run here.
export async function launchChromium() {
  let playwright;
  try {
    playwright = await import('playwright-core');
  } catch {
    console.log('SKIP: playwright-core is not installed (run scripts/install-deps, which runs npm ci)');
    process.exit(SKIP);
  }
  if (!fs.existsSync(CHROMIUM)) {
    console.log(`SKIP: ${CHROMIUM} is missing (scripts/install-deps installs Debian's chromium)`);
    process.exit(SKIP);
  }
  const profile = fs.mkdtempSync(path.join(os.tmpdir(), 'plof-chromium-'));
  const browser = await playwright.chromium.launchPersistentContext(profile, {
    executablePath: CHROMIUM,
    headless: false,  // the flags below ask for the new headless mode itself
    viewport: { width: 800, height: 600 },
    args: ['--headless=new', '--no-sandbox', '--use-angle=swiftshader', '--enable-unsafe-swiftshader',
           '--disable-background-networking', '--disable-component-update', '--disable-sync', '--no-first-run'],
  });
  browser.removeProfile = () => fs.rmSync(profile, { recursive: true, force: true });
  return browser;
}

// A page that records console errors and uncaught exceptions, once its
// body[data-state] says "ready" or "error".
export async function openPage(browser, url) {
  const page = await browser.newPage();
  const errors = [];
  page.on('console', (message) => {
    if (message.type() === 'error') errors.push(message.text());
    if (message.type() === 'warning') console.log(`warning from the page: ${message.text()}`);
  });
  page.on('pageerror', (error) => errors.push(String(error)));
  await page.goto(url);
  await page.waitForSelector('body[data-state="ready"], body[data-state="error"]', { timeout: 60000 });
  return { page, errors };
}

// Shows `frame` through the scrubber and waits until it has been drawn.
export async function showFrame(page, frame) {
  await page.evaluate((value) => {
    const scrubber = document.getElementById('scrubber');
    scrubber.value = String(value);
    scrubber.dispatchEvent(new Event('input'));
  }, frame);
  await nextDrawing(page);
}

// Two animation frames: what changed has been drawn.
export async function nextDrawing(page) {
  await page.evaluate(() => new Promise((done) => requestAnimationFrame(() => requestAnimationFrame(done))));
}

// Which pixels of a PNG are particle orange (red well above blue), decoded by
// the browser itself.
export async function particlePixels(browser, png) {
  const page = await browser.newPage();
  const mask = await page.evaluate(async (base64) => {
    const image = new Image();
    image.src = 'data:image/png;base64,' + base64;
    await image.decode();
    const canvas = document.createElement('canvas');
    canvas.width = image.width;
    canvas.height = image.height;
    const context = canvas.getContext('2d');
    context.drawImage(image, 0, 0);
    const { data } = context.getImageData(0, 0, image.width, image.height);
    const orange = [];
    for (let i = 0; i < data.length; i += 4) orange.push(data[i] >= 120 && data[i] - data[i + 2] >= 80 ? 1 : 0);
    return orange;
  }, png.toString('base64'));
  await page.close();
  return mask;
}

export const count = (mask) => mask.reduce((sum, value) => sum + value, 0);
export const differing = (a, b) => a.reduce((sum, value, i) => sum + (value !== b[i] ? 1 : 0), 0);

// `plof-host studio ARGUMENTS`, once it prints its address: { process, address }.
export async function startStudio(plofHost, args) {
  const { spawn } = await import('node:child_process');
  const studio = spawn(plofHost, ['studio', ...args], { stdio: ['ignore', 'pipe', 'inherit'] });
  const address = await new Promise((found, failed) => {
    let text = '';
    studio.stdout.on('data', (bytes) => {
      text += bytes;
      const match = text.match(/studio at (http:\/\/127\.0\.0\.1:\d+\/\?token=[0-9a-f]+)/);
      if (match) found(match[1]);
    });
    studio.on('exit', (code) => failed(new Error(`plof-host studio ended with ${code}`)));
  });
  return { process: studio, address };
}

// A request of the studio's interface from inside its page, with the token
// the page keeps: { status, text }.
export function askStudio(page, method, path, body) {
  return page.evaluate(async ([method, path, body]) => {
    const headers = { Authorization: 'Bearer ' + sessionStorage.getItem('plof_studio_token') };
    const options = { method, headers };
    if (body !== undefined) options.body = JSON.stringify(body);
    const response = await fetch(path, options);
    const bytes = new Uint8Array(await response.arrayBuffer());
    return { status: response.status, text: new TextDecoder().decode(bytes), bytes: Array.from(bytes) };
  }, [method, path, body]);
}
