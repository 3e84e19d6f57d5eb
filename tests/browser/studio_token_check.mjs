// The studio's token in a real browser: two studios open side by side in one
// Debian chromium (one profile, one cookie jar) both keep working, each with
// its own token; and a plain server on another loopback port, which the same
// browser is shown to send requests and cookies to (it sets a cookie and
// gets it back, and the studio's page sends a visitor there), receives
// neither token anywhere: not in a cookie, the query, a Referer or any
// other header.
//
// usage: node studio_token_check.mjs PLOF_HOST SOURCE_DIR WORK_DIR
// Exits 0 when every check passes, 1 when one fails, 77 (skipped) when
// chromium or the npm packages (scripts/install-deps) are missing.
import { spawn } from 'node:child_process';
import fs from 'node:fs';
import http from 'node:http';
import path from 'node:path';
import { check, finish, launchChromium, openPage } from './browser_support.mjs';

const [plofHost, sourceDir, workDir] = process.argv.slice(2);
if (!workDir) {
  console.error('usage: node studio_token_check.mjs PLOF_HOST SOURCE_DIR WORK_DIR');
  process.exit(2);
}
fs.rmSync(workDir, { recursive: true, force: true });

// A studio on the demo scene, saving into a folder of its own: its address.
function startStudio(name) {
  const saves = path.join(workDir, name);
  fs.mkdirSync(saves, { recursive: true });
  const studio = spawn(plofHost, ['studio', path.join(sourceDir, 'examples/fountain.lws'), '--dir', saves],
                       { stdio: ['ignore', 'pipe', 'inherit'] });
  const address = new Promise((found, failed) => {
    let text = '';
    studio.stdout.on('data', (bytes) => {
      text += bytes;
      const match = text.match(/studio at (http:\/\/127\.0\.0\.1:\d+\/\?token=([0-9a-f]+))/);
      if (match) found({ url: match[1], token: match[2] });
    });
    studio.on('exit', (code) => failed(new Error(`plof-host studio ended with ${code}`)));
  });
  return { studio, address };
}

// The other server: it answers every request and keeps what it was sent.
const received = [];
const control = http.createServer((request, response) => {
  received.push({ url: request.url, headers: request.headers });
  const headers = { 'Content-Type': 'text/html' };
  if (request.url === '/set') headers['Set-Cookie'] = 'control=here; Path=/';
  response.writeHead(200, headers);
  response.end('<!doctype html><title>another server</title><p>another server</p>');
});
await new Promise((listening) => control.listen(0, '127.0.0.1', listening));
const controlUrl = `http://127.0.0.1:${control.address().port}`;

// Moves the Spread Max slider as a person does and waits for the answer.
async function changeSpread(page, value, revision) {
  await page.evaluate((spread) => {
    const slider = document.getElementById('setting-SpreadMax');
    slider.value = String(spread);
    slider.dispatchEvent(new Event('input'));
    slider.dispatchEvent(new Event('change'));
  }, value);
  try {
    await page.waitForSelector(`body[data-revision="${revision}"]:not([data-busy])`, { timeout: 60000 });
    return true;
  } catch {
    return false;
  }
}

const browser = await launchChromium();
const first = startStudio('first');
const second = startStudio('second');
try {
  const [a, b] = await Promise.all([first.address, second.address]);
  // The control server's own cookie: it comes back with every request to it.
  const visit = await browser.newPage();
  await visit.goto(`${controlUrl}/set`);
  await visit.close();

  const pageA = await openPage(browser, a.url);
  const pageB = await openPage(browser, b.url);
  check(await pageA.page.evaluate(() => document.body.dataset.state) === 'ready', 'the first studio\'s page loads');
  check(await pageB.page.evaluate(() => document.body.dataset.state) === 'ready', 'the second studio\'s page loads');
  // The first page after the second was opened: each tab keeps its own token.
  check(await changeSpread(pageA.page, 60, 1), 'the first studio takes a change after the second was opened');
  check(await changeSpread(pageB.page, 70, 1), 'the second studio takes a change');
  await pageA.page.reload();
  await pageA.page.waitForSelector('body[data-state="ready"], body[data-state="error"]', { timeout: 60000 });
  check(await pageA.page.evaluate(() => document.body.dataset.state) === 'ready', 'the first page loads again');
  check(await changeSpread(pageA.page, 80, 2), 'and takes another change');
  check(pageA.errors.length === 0 && pageB.errors.length === 0,
        `no console error ${[...pageA.errors, ...pageB.errors].join(' | ')}`);

  // From each studio's page the browser goes to the other server, as a link would take it.
  for (const { page } of [pageA, pageB]) {
    await page.evaluate((url) => { window.location.href = url; }, `${controlUrl}/from-studio?page=1`);
    await page.waitForURL(`${controlUrl}/from-studio?page=1`);
  }

  const fromStudio = received.filter((request) => request.url.startsWith('/from-studio'));
  check(fromStudio.length === 2, `the other server was visited from both studios' pages (${fromStudio.length})`);
  check(fromStudio.every((request) => (request.headers.cookie || '').includes('control=here')),
        'the browser sent the other server its cookies (the positive control)');
  const everything = JSON.stringify(received);
  for (const [name, token] of [['first', a.token], ['second', b.token]]) {
    check(!everything.includes(token), `the ${name} studio's token reached the other server nowhere (${received.length} requests)`);
  }
  const studioOrigins = [new URL(a.url).origin, new URL(b.url).origin];
  check(received.every((request) => !studioOrigins.some((origin) => (request.headers.referer || '').startsWith(origin))),
        'no Referer of a studio\'s page reached the other server');
} finally {
  first.studio.kill('SIGTERM');
  second.studio.kill('SIGTERM');
  control.close();
  await browser.close();
  browser.removeProfile();
}
finish('studio token check');
