// What every browser test needs: the built site served from a local server,
// Debian's Chromium, headless, driven by playwright-core (pinned in
// package-lock.json, no browser of its own), and the moves of a play by mouse
// or by finger.
//   TUVREL_SITE=<build-web>/site node --test tests/web/
import {after, before} from 'node:test';
import assert from 'node:assert/strict';
import fs from 'node:fs';
import http from 'node:http';
import path from 'node:path';
import {chromium} from 'playwright-core';

// The published site (TUVREL_SITE), and the test build of it that the tests
// play (the same page with the program that tells its state and checks the
// games' invariants; never shipped): site-checked beside it.
export const site = process.env.TUVREL_SITE;
if (!site || !fs.existsSync(path.join(site, 'index.html')))
  throw new Error('TUVREL_SITE must name a built site folder (tools/web.sh --build-only)');
export const testSite = process.env.TUVREL_CHECKED_SITE || path.join(path.dirname(path.resolve(site)), 'site-checked');

const types = {
  '.html': 'text/html; charset=utf-8', '.js': 'text/javascript', '.css': 'text/css', '.wasm': 'application/wasm',
  '.webmanifest': 'application/manifest+json', '.png': 'image/png', '.gif': 'image/gif', '.jpg': 'image/jpeg',
  '.ico': 'image/x-icon', '.svg': 'image/svg+xml', '.otf': 'font/otf', '.ttf': 'font/ttf', '.woff2': 'font/woff2', '.txt': 'text/plain',
};

export let origin, browser;

// The precompressed copy of a file to send for an Accept-Encoding header
// (brotli before gzip, none at q=0), or null.
export function encodingFor(header, file) {
  const quality = new Map(String(header || '').split(',').map((part) => {
    const [name, ...params] = part.split(';').map((x) => x.trim().toLowerCase());
    const q = params.find((p) => p.startsWith('q='));
    return [name, q ? Number(q.slice(2)) || 0 : 1];
  }));
  for (const [name, suffix] of [['br', '.br'], ['gzip', '.gz']])
    if ((quality.get(name) ?? quality.get('*') ?? 0) > 0 && fs.existsSync(file + suffix)) return {name, suffix};
  return null;
}

// Serves a site folder on a free port of 127.0.0.1 until close(). `mounts`
// serves folders under paths of their own ({'/tuvrel/': folder}); `use(folder)`
// puts another folder where the first was (a new version published);
// `intercept(request, response, file)` may answer a request itself (a
// misbehaving network) and returns whether it did.
export async function serveSite(folder = testSite, {mounts = null, intercept = null} = {}) {
  const roots = new Map(Object.entries(mounts || {'/': folder}).map(([prefix, f]) => [prefix, path.resolve(f)]));
  const server = http.createServer((req, res) => {
    const url = new URL(req.url, 'http://x');
    let pathname;
    try {
      pathname = decodeURIComponent(url.pathname);
    } catch (error) {
      return res.writeHead(400).end();
    }
    const prefix = [...roots.keys()].sort((a, b) => b.length - a.length).find((p) => pathname.startsWith(p));
    if (!prefix) return res.writeHead(404).end();
    const root = roots.get(prefix);
    let file = path.join(root, pathname.slice(prefix.length));
    if (!file.startsWith(root)) return res.writeHead(403).end();
    if (fs.existsSync(file) && fs.statSync(file).isDirectory()) file = path.join(file, 'index.html');
    if (intercept && intercept(req, res, file, pathname)) return;
    // The copy the site's build wrote precompressed beside the file, when the browser takes it (as web/serve.py).
    const coding = encodingFor(req.headers['accept-encoding'], file);
    fs.readFile(coding ? file + coding.suffix : file, (error, data) => {
      if (error) return res.writeHead(404).end();
      res.writeHead(200, {'Content-Type': types[path.extname(file)] || 'application/octet-stream', 'Cache-Control': 'no-cache',
        ...(coding && {'Content-Encoding': coding.name, 'Vary': 'Accept-Encoding'})});
      res.end(data);
    });
  });
  const sockets = new Set();
  server.on('connection', (socket) => { sockets.add(socket); socket.on('close', () => sockets.delete(socket)); });
  await new Promise((resolve) => server.listen(0, '127.0.0.1', resolve));
  return {
    origin: `http://127.0.0.1:${server.address().port}`,
    use(other, prefix = '/') { roots.set(prefix, path.resolve(other)); },
    close: () => new Promise((resolve) => {
      for (const socket of sockets) socket.destroy();
      server.close(resolve);
    }),
  };
}

// Debian's Chromium, headless; playwright-core starts it with a fresh profile
// of its own.
export const launchChromium = () => chromium.launch({
  executablePath: '/usr/bin/chromium',
  args: ['--headless', '--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run',
    '--disable-background-networking', '--disable-component-update', '--disable-sync'],
});

// Starts the local server and the browser before the file's tests and stops
// them after.
export function useSite() {
  let served;
  before(async () => {
    served = await serveSite();
    origin = served.origin;
    browser = await launchChromium();
  });
  after(async () => {
    await browser?.close();
    await served?.close();
  });
}

// A fresh context with a page that records console errors and every request
// to another origin; `init` runs in the page before its own scripts.
export async function open(address = '/', {width = 1024, height = 768, scale = 1, touch = false, init = null} = {}) {
  const context = await browser.newContext({viewport: {width, height}, deviceScaleFactor: scale, hasTouch: touch});
  if (init) await context.addInitScript(init);
  const page = await context.newPage();
  const problems = [];
  page.on('console', (m) => { if (m.type() === 'error') problems.push('console: ' + m.text()); });
  page.on('pageerror', (e) => problems.push('page error: ' + e.message));
  page.on('request', (r) => { if (!r.url().startsWith(origin) && !r.url().startsWith('data:') && !r.url().startsWith('blob:')) problems.push('foreign request: ' + r.url()); });
  await page.goto(origin + address);
  await page.waitForSelector('html[data-ready="true"]', {timeout: 30000});
  return {context, page, problems};
}

export const state = (page) => page.evaluate(() => window.tuvrelState());

// Where a control's centre lies on the page, in CSS pixels.
export async function centre(page, formName, control) {
  const s = await state(page);
  const form = s.forms.find((f) => f.name === formName);
  const c = form.controls.find((x) => x.name.toLowerCase() === control.toLowerCase());
  assert.ok(c, `${formName} has ${control}`);
  const box = await page.evaluate(() => { const r = document.getElementById('canvas').getBoundingClientRect(); return {x: r.x, y: r.y}; });
  const cx = c.x + Math.floor((c.w - 1) / 2), cy = c.y + Math.floor((c.h - 1) / 2);
  return {x: box.x + s.transform.x + (cx + 0.5) * s.transform.scale, y: box.y + s.transform.y + (cy + 0.5) * s.transform.scale};
}

// Written beside the test site by its build (web/plays_json.cpp): every form
// of the program as its registry knows them (forms), and every family's play
// (tests/support/plays.txt) as the desktop tests' parser reads it (plays:
// [{form, moves: "click:A;drag:B>C", steps: [{source, target}]}]).
const playsFile = path.join(path.dirname(path.resolve(testSite)), 'plays.json');
const played = fs.existsSync(playsFile) ? JSON.parse(fs.readFileSync(playsFile, 'utf8')) : {};
export const forms = played.forms || [];
export const plays = played.plays || [];
if (!forms.length || !plays.length)
  throw new Error(`no forms or no plays at ${playsFile}: build the target tuvrel_site_checked (tests/web/run.sh does)`);

// The steps of moves ("click:Name;drag:Source>Target"), read by the same
// parser in the page's test build: [{from, to}], to = from for a click.
export async function stepsOf(page, moves) {
  const steps = await page.evaluate((m) => window.tuvrelMoves(m), moves);
  if (!Array.isArray(steps)) throw new Error(`"${moves}" are no moves: ${steps.error}`);
  return steps.map((s) => ({from: s.source, to: s.target || s.source}));
}

// The moves of a play ("click:Name;drag:Source>Target") by mouse, by finger,
// or by finger taps alone with pictures carried by taps (by: "taps").
export async function play(page, cdp, formName, moves, by) {
  for (const {from, to} of await stepsOf(page, moves)) {
    const a = await centre(page, formName, from), b = await centre(page, formName, to);
    if (by === 'taps') {
      // Carried by taps (tikken): a finger's tap on the picture, a tap where it goes.
      for (const p of from === to ? [a] : [a, b]) {
        await cdp.send('Input.dispatchTouchEvent', {type: 'touchStart', touchPoints: [{x: p.x, y: p.y, id: 1}]});
        await cdp.send('Input.dispatchTouchEvent', {type: 'touchEnd', touchPoints: []});
      }
    } else if (by === 'mouse') {
      await page.mouse.move(a.x, a.y);
      await page.mouse.down();
      await page.mouse.move(b.x, b.y, {steps: 8});
      await page.mouse.up();
    } else {
      const point = (p) => [{x: p.x, y: p.y, id: 1}];
      await cdp.send('Input.dispatchTouchEvent', {type: 'touchStart', touchPoints: point(a)});
      for (let i = 1; i <= 8; ++i)
        await cdp.send('Input.dispatchTouchEvent', {type: 'touchMove', touchPoints: point({x: a.x + (b.x - a.x) * i / 8, y: a.y + (b.y - a.y) * i / 8})});
      await cdp.send('Input.dispatchTouchEvent', {type: 'touchEnd', touchPoints: []});
    }
  }
  await page.waitForFunction(() => !window.tuvrelState().holds && !window.tuvrelState().carrying);
}

// Every pictured button of the front form shows its picture: many colours
// inside its box on the canvas, where an empty button face has a handful.
// `page` is any driver's page with evaluate(fn, arg); `s` its state.
export async function assertButtonsPictured(page, s, when = '') {
  const front = s.forms.find((f) => f.name === s.layers[0]);
  const buttons = front.controls.filter((c) => c.class === 'CommandButton' && c.picture);
  assert.ok(buttons.length > 0, `${front.name} has pictured buttons`);
  const colours = await page.evaluate(([t, boxes]) => {
    const ctx = document.getElementById('canvas').getContext('2d');
    const r = window.devicePixelRatio;
    return boxes.map((c) => {
      const x = Math.round((t.x + c.x * t.scale) * r), y = Math.round((t.y + c.y * t.scale) * r);
      const data = ctx.getImageData(x, y, Math.round(c.w * t.scale * r), Math.round(c.h * t.scale * r)).data;
      const seen = new Set();
      for (let i = 0; i < data.length; i += 4) seen.add((data[i] << 16) | (data[i + 1] << 8) | data[i + 2]);
      return seen.size;
    });
  }, [s.transform, buttons]);
  colours.forEach((n, i) => assert.ok(n > 40, `${buttons[i].name} shows its picture${when} (${n} colours)`));
}

// What two plays are compared on: every loaded form and its controls.
export const formsOf = (s) => s.forms;

