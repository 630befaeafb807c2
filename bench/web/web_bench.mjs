// The browser's rows of the benchmark: the built site in Debian's Chromium,
// headless (playwright-core and the local server of tests/web), each figure
// beside its floor taken in the same run, in turn with it.
//   node bench/web/web_bench.mjs SITE [--quick]   (SITE: site, or its test build site-checked)
// 1 the first frame of Start after navigation, against a bare page showing
//   Start as one PNG image; 2 the bytes fetched before that frame, by file;
//   3 a full repaint at 1920×1080 against a bare canvas drawing one image of
//   that size, and the device pixels a drag move repaints; 4 the JS heap and
//   the WebAssembly memory after opening every form.
// The slowed rows: as the school's cheapest device, Chromium's CPU slowed
// four times (the DevTools protocol's CPU throttling) and a school's Wi-Fi
// (20 Mbit/s, 40 ms), each run in a fresh browser context: 5 the first frame
// cold (nothing cached) and warm (the offline copy in place), slowed, on the
// link alone and at full speed, each beside the bare page (with an offline
// copy of its own) under the same conditions; 6 from a tap on each of
// Start's buttons to its game's first frame with its pictures; 7 a full
// repaint and a drag move, slowed, beside the bare canvas; 8 the bytes of a
// first visit and of the offline copy at pixel ratios 1 and 2; 9 the canvas
// memory (the page's canvas and every scaled copy of a picture) and the
// decoded pictures, every form opened.
import fs from 'node:fs';
import os from 'node:os';
import path from 'node:path';
import zlib from 'node:zlib';
import {startButtons} from './start_buttons.mjs';

const args = process.argv.slice(2);
const quick = args.includes('--quick');
const siteArg = args.find((a) => !a.startsWith('--'));
if (!siteArg || !fs.existsSync(path.join(siteArg, 'index.html'))) {
  console.error('usage: node bench/web/web_bench.mjs SITE [--quick]   (SITE: a built site folder)');
  process.exit(2);
}
const site = path.resolve(siteArg);
process.env.TUVREL_SITE = site;
// The published site beside the test build (site beside site-checked, whose
// program carries the tests' checks): what a school serves. The rows of
// loading (1, 2, 5, 8) load it; the rows that read the page's state (taps,
// repaints, drags, memory) load the test build.
const published = fs.existsSync(path.join(path.dirname(site), 'site', 'index.html')) ? path.join(path.dirname(site), 'site') : site;
const {serveSite, launchChromium} = await import('../../tests/web/support.mjs');

// Every form of the program, as forms/descriptions.h declares them.
const formNames = [...fs.readFileSync(new URL('../../forms/descriptions.h', import.meta.url), 'utf8')
  .matchAll(/^FormDescription (\w+)\(\);$/gm)].map((m) => m[1]);
if (!formNames.includes('Start')) throw new Error('forms/descriptions.h declares no form Start');

const settings = quick
  ? {frameRuns: 3, repaints: 6, dragMoves: 10, slowRuns: 3, tapRuns: 1}
  : {frameRuns: 9, repaints: 20, dragMoves: 40, slowRuns: 5, tapRuns: 3};

// The school's cheapest device: its CPU four times slower than this machine's,
// and a school's Wi-Fi.
const SchoolLink = {latency: 40, throughput: 20e6 / 8};
const conditions = {
  full: {name: 'full speed, local server', cpu: 1, link: null},
  link: {name: 'full-speed CPU, school link', cpu: 1, link: SchoolLink},
  slowed: {name: 'slowed (CPU ×4, school link)', cpu: 4, link: SchoolLink},
};

// Repaints are timed five at a time: the page's clock ticks in steps of 0.1 ms.
const RepaintsTimedTogether = 5;

// ------------------------------------------------------------ figures

function summary(values) {
  const s = [...values].sort((a, b) => a - b);
  const n = s.length;
  return {n, median: n % 2 ? s[(n - 1) / 2] : (s[n / 2 - 1] + s[n / 2]) / 2, min: s[0], max: s[n - 1]};
}
function number(v) {
  const a = Math.abs(v);
  return v.toFixed(a >= 100 ? 0 : a >= 10 ? 1 : a >= 1 ? 2 : 3);
}
const spread = (values) => {
  if (!values.length) return '-';
  const m = summary(values);
  return values.length === 1 ? number(m.median) : `${number(m.median)} [${number(m.min)}-${number(m.max)}]`;
};
const median = (values) => (values.length ? summary(values).median : NaN);
const kB = (bytes) => number(bytes / 1000);
const MB = (bytes) => number(bytes / 1e6);

function table(rows) {
  const width = [];
  for (const r of rows) r.forEach((c, i) => { width[i] = Math.max(width[i] || 0, [...c].length); });
  for (const r of rows)
    console.log(r.map((c, i) => (i + 1 < r.length ? c + ' '.repeat(width[i] - [...c].length + 2) : c)).join('').trimEnd());
}

// ------------------------------------------------------------ pages

// Before any script of the page: the moment the page has drawn what it shows
// (html[data-ready], set by page.js once Start is painted and by the bare
// page once its image is decoded) and the frame after it; the requests that
// the page makes after that moment (pictures fetched while Start shows); the
// program's module, handed to createTuvrel, for the counters it exports.
const probe = () => {
  const bench = window.tuvrelBench = {shown: 0, frame: 0, late: [], module: null};
  const drawn = () => document.documentElement && document.documentElement.dataset.ready === 'true';
  const plainFetch = window.fetch;
  window.fetch = function (input, init) {
    if (drawn()) bench.late.push(new URL(typeof input === 'string' ? input : input.url, location.href).href);
    return plainFetch.call(this, input, init);
  };
  let create;
  Object.defineProperty(window, 'createTuvrel', {
    configurable: true,
    get: () => create,
    set: (f) => { create = (module) => { bench.module = module; return f(module); }; },
  });
  const observer = new MutationObserver(() => {
    if (!drawn() || bench.shown) return;
    observer.disconnect();
    bench.shown = performance.now();
    requestAnimationFrame(() => setTimeout(() => { bench.frame = performance.now(); }));
  });
  observer.observe(document, {attributes: true, attributeFilter: ['data-ready'], subtree: true});
};

// The page has made the scaled copies its paints asked for (it makes them
// after the frame that drew the pictures quickly to size): every repaint from
// then on draws from them, as every repaint after a form's first frame does.
const copiesMade = (page) => page.waitForFunction(() => !window.tuvrelBench.module.tuvrelPictures.scaling);
const nextFrame = (page) => page.evaluate(() => new Promise((resolve) => requestAnimationFrame(() => setTimeout(resolve))));

// The CPU and the link of a condition on a page, through the DevTools protocol.
async function throttle(context, page, condition) {
  const cdp = await context.newCDPSession(page);
  await cdp.send('Emulation.setCPUThrottlingRate', {rate: condition.cpu});
  await cdp.send('Network.enable');
  await cdp.send('Network.emulateNetworkConditions', condition.link
    ? {offline: false, latency: condition.link.latency, downloadThroughput: condition.link.throughput,
      uploadThroughput: condition.link.throughput}
    : {offline: false, latency: 0, downloadThroughput: -1, uploadThroughput: -1});
  return cdp;
}

async function openPage(browser, address, {width, height, scale = 1}, {condition = conditions.full, context: given} = {}) {
  const context = given || await browser.newContext({viewport: {width, height}, deviceScaleFactor: scale});
  if (!given) await context.addInitScript(probe);
  const page = await context.newPage();
  const problems = [];
  page.on('pageerror', (e) => problems.push(e.message));
  page.on('console', (m) => { if (m.type() === 'error') problems.push(m.text()); });
  if (condition !== conditions.full) await throttle(context, page, condition);
  await page.goto(address);
  try {
    await page.waitForFunction(() => window.tuvrelBench && window.tuvrelBench.frame > 0, null, {timeout: 30000});
  } catch (error) {
    throw new Error(`${address} showed nothing within 30 s${problems.length ? ': ' + problems.join('; ') : ''}`);
  }
  return {context, page, problems};
}

// Until the service worker controls the page: the offline copy is in place.
const offlineCopyInPlace = (page) => page.evaluate(async () => {
  await navigator.serviceWorker.ready;
  if (!navigator.serviceWorker.controller)
    await new Promise((resolve) => navigator.serviceWorker.addEventListener('controllerchange', resolve));
});

// Until the page has asked for nothing new for a second (at most `limit` ms).
async function quiet(page, limit = 60000) {
  const start = Date.now();
  let count = -1;
  for (let still = 0; still < 4 && Date.now() - start < limit;) {
    await page.waitForTimeout(250);
    const now = await page.evaluate(() => performance.getEntriesByType('resource').length);
    still = now === count ? still + 1 : 0;
    count = now;
  }
}

// The bare pages, in a folder of their own: Start as one PNG image, and a
// canvas that draws one image of its size.
function writeBarePages(folder, startPng) {
  fs.writeFileSync(path.join(folder, 'start.png'), startPng);
  const style = '<style>html,body{margin:0;height:100%;overflow:hidden;background:#36414c}' +
    'img,canvas{display:block;width:100vw;height:100vh}</style>';
  fs.writeFileSync(path.join(folder, 'index.html'), '<!doctype html><html><head><meta charset="utf-8">' + style +
    '</head><body><img id="start" src="start.png" alt=""><script>' +
    "document.getElementById('start').decode().then(() => { document.documentElement.dataset.ready = 'true';" +
    "  navigator.serviceWorker.register('sw.js'); });" +
    '</script></body></html>\n');
  fs.writeFileSync(path.join(folder, 'canvas.html'), '<!doctype html><html><head><meta charset="utf-8">' + style +
    '</head><body><canvas id="canvas"></canvas><script>' +
    "const canvas = document.getElementById('canvas');" +
    'canvas.width = Math.round(innerWidth * devicePixelRatio); canvas.height = Math.round(innerHeight * devicePixelRatio);' +
    "const ctx = canvas.getContext('2d', {alpha: false});" +
    "fetch('start.png').then((r) => r.blob()).then((b) => createImageBitmap(b)).then((bitmap) => {" +
    '  window.bareBitmap = bitmap; ctx.drawImage(bitmap, 0, 0, canvas.width, canvas.height);' +
    "  document.documentElement.dataset.ready = 'true'; });" +
    // A drag move on the bare canvas: the old box's pixels put back from the
    // image (of the canvas's size), the new box's outline drawn.
    'window.bareDrag = (x, y, w, h, nx, ny) => { ctx.drawImage(window.bareBitmap, x, y, w, h, x, y, w, h);' +
    ' ctx.strokeRect(nx, ny, w, h); };' +
    '</script></body></html>\n');
  // The bare page's offline copy, as the page has its own: itself and its image, from the cache first.
  fs.writeFileSync(path.join(folder, 'sw.js'),
    "self.addEventListener('install', (e) => e.waitUntil(caches.open('bare').then((c) => c.addAll(['./', 'start.png']))));\n" +
    "self.addEventListener('activate', (e) => e.waitUntil(self.clients.claim()));\n" +
    "self.addEventListener('fetch', (e) => e.respondWith(caches.match(e.request, {ignoreSearch: true}).then((r) => r || fetch(e.request))));\n");
}

// ------------------------------------------------------------ 1, 2: first frame and its bytes

// What one navigation fetched before its first frame: the document and every
// resource asked for before the page had drawn (so not the pictures it
// fetches while Start shows), with the bytes of its body as the server sent it.
async function bytesBeforeFrame(page) {
  return page.evaluate(() => {
    const b = window.tuvrelBench;
    const nav = performance.getEntriesByType('navigation')[0];
    const files = [{url: nav.name, bytes: nav.encodedBodySize}];
    for (const e of performance.getEntriesByType('resource'))
      if (e.startTime <= b.frame && !b.late.includes(e.name)) files.push({url: e.name, bytes: e.encodedBodySize});
    return files;
  });
}

function compressed(file) {
  const data = fs.readFileSync(file);
  return {
    gzip: zlib.gzipSync(data, {level: 9}).length,
    brotli: zlib.brotliCompressSync(data, {params: {[zlib.constants.BROTLI_PARAM_QUALITY]: 11,
      [zlib.constants.BROTLI_PARAM_SIZE_HINT]: data.length}}).length,
  };
}

async function firstFrames(browser, origin, bareOrigin, size) {
  const program = [], bare = [];
  let files = null;
  // One of each first, not counted: the server's files read once from disk.
  for (let i = -1; i < settings.frameRuns; ++i) {
    for (const which of i % 2 ? ['program', 'bare'] : ['bare', 'program']) {
      const opened = await openPage(browser, (which === 'program' ? origin : bareOrigin) + '/', size);
      const frame = await opened.page.evaluate(() => window.tuvrelBench.frame);
      if (which === 'program' && !files) files = await bytesBeforeFrame(opened.page);
      await opened.context.close();
      if (i >= 0) (which === 'program' ? program : bare).push(frame);
    }
  }
  return {program, bare, files};
}

// ------------------------------------------------------------ 3: repaints and drags

const stateOf = (page) => page.evaluate(() => window.tuvrelState());

// Full repaints: the whole form and the strips drawn again, then one pixel
// read back so that the canvas has really drawn them; each sample the mean of
// `together` in a row.
const repaintBlock = (page, samples, together = RepaintsTimedTogether) => page.evaluate(([samples, together]) => {
  const m = window.tuvrelBench.module;
  const ctx = document.getElementById('canvas').getContext('2d');
  const times = [];
  for (let i = 0; i < samples; ++i) {
    const start = performance.now();
    for (let k = 0; k < together; ++k) {
      m._tuvrel_invalidate();
      m._tuvrel_paint();
      ctx.getImageData(0, 0, 1, 1);
    }
    times.push((performance.now() - start) / together);
  }
  m._tuvrel_painted_pixels();
  return times;
}, [samples, together]);

const bareBlock = (page, samples, together = RepaintsTimedTogether) => page.evaluate(([samples, together]) => {
  const canvas = document.getElementById('canvas');
  const ctx = canvas.getContext('2d');
  const times = [];
  for (let i = 0; i < samples; ++i) {
    const start = performance.now();
    for (let k = 0; k < together; ++k) {
      ctx.drawImage(window.bareBitmap, 0, 0, canvas.width, canvas.height);
      ctx.getImageData(0, 0, 1, 1);
    }
    times.push((performance.now() - start) / together);
  }
  return times;
}, [samples, together]);

// The pointer goes round a small circle, a few pixels a move, as a hand does.
const circle = [[8, 0], [6, 6], [0, 8], [-6, 6], [-8, 0], [-6, -6], [0, -8], [6, -6]];

// A drag of the form's first picture that drags: for every move, the device
// pixels painted beside the area of the outline's old and new rectangles and
// of their bounding box (what the page repaints is one rectangle).
async function measureDrag(page, formName) {
  const canvasBox = await page.evaluate(() => {
    const r = document.getElementById('canvas').getBoundingClientRect();
    return {x: r.x, y: r.y, ratio: devicePixelRatio, width: document.getElementById('canvas').width,
      height: document.getElementById('canvas').height};
  });
  const s0 = await stateOf(page);
  const form = s0.forms.find((f) => f.name === formName);
  const t = s0.transform;
  const toCss = (x, y) => ({x: canvasBox.x + t.x + x * t.scale, y: canvasBox.y + t.y + y * t.scale});
  const painted = () => page.evaluate(() => window.tuvrelBench.module._tuvrel_painted_pixels());
  for (const c of form.controls) {
    if (c.class !== 'Image' || !c.visible || !c.picture || c.w < 4 || c.h < 4) continue;
    const from = toCss(c.x + c.w / 2, c.y + c.h / 2);
    await page.mouse.move(from.x, from.y);
    await page.mouse.down();
    await page.mouse.move(from.x + 2, from.y + 2);
    await nextFrame(page);
    const dragging = (await stateOf(page)).forms.find((f) => f.name === formName).dragging;
    if (!dragging) {
      await page.mouse.move(from.x, from.y);
      await page.mouse.up();
      await nextFrame(page);
      continue;
    }
    // The outline: the picture's rectangle moved with the pointer, on the device.
    const scale = t.scale * canvasBox.ratio;
    const outline = (dx, dy) => {
      const left = (canvasBox.x + t.x + c.x * t.scale + dx) * canvasBox.ratio;
      const top = (canvasBox.y + t.y + c.y * t.scale + dy) * canvasBox.ratio;
      return {left, top, right: left + c.w * scale, bottom: top + c.h * scale};
    };
    const area = (r) => Math.max(0, r.right - r.left) * Math.max(0, r.bottom - r.top);
    const onCanvas = (r) => ({left: Math.max(0, r.left), top: Math.max(0, r.top),
      right: Math.min(canvasBox.width, r.right), bottom: Math.min(canvasBox.height, r.bottom)});
    const result = {source: c.name, painted: [], outline: [], box: [], beyond: 0, canvas: canvasBox.width * canvasBox.height};
    let at = [2, 2];
    await painted();
    for (let i = 0; i < settings.dragMoves; ++i) {
      const [dx, dy] = circle[i % circle.length];
      await page.mouse.move(from.x + dx, from.y + dy);
      await nextFrame(page);
      const px = await painted();
      const a = onCanvas(outline(...at)), b = onCanvas(outline(dx, dy));
      const overlap = {left: Math.max(a.left, b.left), top: Math.max(a.top, b.top), right: Math.min(a.right, b.right),
        bottom: Math.min(a.bottom, b.bottom)};
      const box = {left: Math.min(a.left, b.left), top: Math.min(a.top, b.top), right: Math.max(a.right, b.right),
        bottom: Math.max(a.bottom, b.bottom)};
      result.painted.push(px);
      result.outline.push(area(a) + area(b) - area(overlap));
      result.box.push(area(box));
      // Each edge may round outwards by a device pixel (and the outline's
      // pen lies on its edge).
      const slack = 2 * ((box.right - box.left) + (box.bottom - box.top)) * 2;
      if (px > area(box) + slack) ++result.beyond;
      at = [dx, dy];
    }
    // Back over the picture itself: released there, nothing is dropped.
    await page.mouse.move(from.x, from.y);
    await page.mouse.up();
    await nextFrame(page);
    return result;
  }
  return null;
}

// ------------------------------------------------------------ 4: memory

async function memoryAfterEveryForm(browser, origin, names) {
  const {context, page, problems} = await openPage(browser, origin + '/', {width: 1920, height: 1080});
  // Each opened as an address opens it; a message box it shows on opening is closed with OK.
  for (const name of names.filter((n) => n !== 'Start')) {
    await page.evaluate((name) => {
      window.tuvrelBench.opening = window.tuvrelBench.module.ccall('tuvrel_open', 'number', ['string'], [name], {async: true});
    }, name);
    for (let tries = 0; ; ++tries) {
      if (await page.isVisible('#box-ok')) await page.click('#box-ok');
      const front = await page.evaluate(async () => { await window.tuvrelBench.opening; return window.tuvrelState().layers[0]; });
      if (front === name) break;
      if (tries > 20) throw new Error(`${name} did not open in front`);
      await page.waitForTimeout(100);
    }
    await nextFrame(page);
  }
  // Every picture fetched and decoded: the page fetches the rest while Start shows.
  let count = -1;
  for (let quiet = 0; quiet < 4;) {
    await page.waitForTimeout(250);
    const now = await page.evaluate(() => performance.getEntriesByType('resource').length);
    quiet = now === count ? quiet + 1 : 0;
    count = now;
  }
  const cdp = await context.newCDPSession(page);
  await cdp.send('HeapProfiler.enable');
  await cdp.send('HeapProfiler.collectGarbage');
  const heap = await cdp.send('Runtime.getHeapUsage');
  const more = await page.evaluate(() => {
    const m = window.tuvrelBench.module;
    const memory = m.HEAP8 ? m.HEAP8.buffer : m.wasmMemory ? m.wasmMemory.buffer : m.asm.memory.buffer;
    let pictures = 0, sized = 0, sizedCopies = 0;
    for (const e of m.tuvrelPictures.kept.values()) if (e.bitmap) pictures += e.bitmap.width * e.bitmap.height * 4;
    // The copies of pictures scaled to the size they are drawn at: canvases of their own.
    for (const c of (m.tuvrelPictures.sized || new Map()).values()) { sized += c.width * c.height * 4; ++sizedCopies; }
    const canvas = document.getElementById('canvas');
    // The test build's own count, where it has one.
    const own = window.tuvrelMemory ? window.tuvrelMemory() : null;
    return {wasm: memory.byteLength, pictures: own ? own.decoded : pictures,
      canvas: own ? own.canvas : canvas.width * canvas.height * 4, sized: own ? own.scaledCopies : sized, sizedCopies,
      hasSized: !!m.tuvrelPictures.sized, loaded: window.tuvrelState().forms.length};
  });
  await context.close();
  return {heapUsed: heap.usedSize, heapTotal: heap.totalSize, ...more, problems};
}

// ------------------------------------------------------------ 5: first frames, slowed, cold and warm

// One first frame of the page or the bare page under a condition: cold in a
// fresh context; warm in a context that visited once (at full speed) and
// waited for the offline copy, the measured page a new one in it.
async function oneFirstFrame(browser, address, size, condition, warm) {
  let context = null;
  if (warm) {
    const first = await openPage(browser, address, size);
    await offlineCopyInPlace(first.page);
    await first.page.close();
    context = first.context;
  }
  const opened = await openPage(browser, address, size, {condition, context});
  const frame = await opened.page.evaluate(() => window.tuvrelBench.frame);
  await opened.context.close();
  return frame;
}

async function slowedFirstFrames(browser, origin, bareOrigin, size) {
  const rows = [];
  for (const condition of [conditions.slowed, conditions.link, conditions.full]) {
    for (const warm of [false, true]) {
      const row = {condition, warm, program: [], bare: []};
      for (let i = 0; i < settings.slowRuns; ++i) {
        for (const which of i % 2 ? ['program', 'bare'] : ['bare', 'program'])
          row[which].push(await oneFirstFrame(browser, (which === 'program' ? origin : bareOrigin) + '/', size, condition, warm));
      }
      rows.push(row);
    }
  }
  return rows;
}

// ------------------------------------------------------------ 6: a tap on a Start button to the game's first frame

// In the page: resolves, once `game` is in front, every picture it shows is
// decoded in the rendering the page draws it from and that frame is drawn
// (the next frame begins), with the time since the tap's pointerup. Work the
// page does after that frame (the scaled copies it makes meanwhile) is not
// counted: the child already sees the game. (The page's own Pictures:
// what it has kept, by name@scale.)
const gameShown = (game) => new Promise((resolve) => {
  const bench = window.tuvrelBench;
  const m = bench.module;
  const drawn = () => {
    const s = window.tuvrelState();
    if (s.layers[0] !== game) return false;
    const pictures = m.tuvrelPictures;
    if (!pictures || !pictures.kept || !pictures.scaleAt) return true;
    const scale = m._tuvrel_device_scale();
    return JSON.parse(m.UTF8ToString(m._tuvrel_pictures(0))).every((name) => {
      const p = pictures.byName.get(name);
      const e = p && pictures.kept.get(name + '@' + pictures.scaleAt(p, scale));
      return e && e.bitmap;
    });
  };
  const check = () => {
    if (!drawn()) return requestAnimationFrame(check);
    requestAnimationFrame(() => resolve(performance.now() - bench.tapped));
  };
  check();
});

async function tapsToGames(browser, origin, size) {
  const taps = new Map(startButtons.map((b) => [b.game, []]));
  const waited = [];
  for (let run = 0; run < settings.tapRuns; ++run) {
    const {context, page, problems} = await openPage(browser, origin + '/', size, {condition: conditions.slowed});
    // The child looks at Start while the page fetches what it fetches then.
    const looked = Date.now();
    await quiet(page);
    waited.push(Date.now() - looked);
    for (const {button, game} of startButtons) {
      const at = await centreOf(page, 'Start', button);
      await page.evaluate(() => {
        const bench = window.tuvrelBench;
        bench.tapped = 0;
        document.getElementById('canvas').addEventListener('pointerup', (e) => { bench.tapped = e.timeStamp; },
          {capture: true, once: true});
      });
      const shown = page.evaluate(gameShown, game);
      await page.mouse.click(at.x, at.y);
      taps.get(game).push(await shown);
      await page.goBack();
      await page.waitForFunction(() => window.tuvrelState().layers.join() === 'Start');
    }
    if (problems.length) throw new Error('taps: ' + problems.join('; '));
    await context.close();
  }
  return {taps, waited};
}

// Where a control's centre lies on the page, in CSS pixels.
async function centreOf(page, formName, control) {
  const s = await stateOf(page);
  const c = s.forms.find((f) => f.name === formName).controls.find((x) => x.name.toLowerCase() === control.toLowerCase());
  if (!c) throw new Error(`${formName} has no control ${control}`);
  const box = await page.evaluate(() => { const r = document.getElementById('canvas').getBoundingClientRect(); return {x: r.x, y: r.y}; });
  return {x: box.x + s.transform.x + (c.x + c.w / 2) * s.transform.scale, y: box.y + s.transform.y + (c.y + c.h / 2) * s.transform.scale};
}

// ------------------------------------------------------------ 7: a drag move, timed

// A drag of `source` by PointerEvents on the canvas, each move timed until
// its repaint is drawn (a pixel read back), timed five at a time as the
// repaints are; the pointer goes round a small circle.
const dragMoveTimes = (page, formName, at, moves) => page.evaluate(([formName, at, moves, circle, together]) => {
  const m = window.tuvrelBench.module;
  const canvas = document.getElementById('canvas');
  const ctx = canvas.getContext('2d');
  const event = (type, x, y) => canvas.dispatchEvent(new PointerEvent(type, {pointerId: 7, pointerType: 'mouse',
    isPrimary: true, button: 0, buttons: type === 'pointerup' ? 0 : 1, clientX: x, clientY: y, bubbles: true, cancelable: true}));
  event('pointerdown', at.x, at.y);
  event('pointermove', at.x + 2, at.y + 2);
  m._tuvrel_paint();
  if (!window.tuvrelState().forms.find((f) => f.name === formName).dragging) {
    event('pointermove', at.x, at.y);
    event('pointerup', at.x, at.y);
    return null;  // a picture that does not drag
  }
  const times = [];
  for (let i = 0; i < moves; i += together) {
    const start = performance.now();
    for (let k = i; k < i + together; ++k) {
      const [dx, dy] = circle[k % circle.length];
      event('pointermove', at.x + dx, at.y + dy);
      m._tuvrel_paint();
      ctx.getImageData(0, 0, 1, 1);
    }
    times.push((performance.now() - start) / together);
  }
  event('pointermove', at.x, at.y);
  event('pointerup', at.x, at.y);
  return times;
}, [formName, at, moves, circle, RepaintsTimedTogether]);

const bareDragTimes = (page, box, moves) => page.evaluate(([box, moves, circle, together]) => {
  const ctx = document.getElementById('canvas').getContext('2d');
  let x = box.x, y = box.y;
  const times = [];
  for (let i = 0; i < moves; i += together) {
    const start = performance.now();
    for (let k = i; k < i + together; ++k) {
      const [dx, dy] = circle[k % circle.length];
      window.bareDrag(x, y, box.w + 2, box.h + 2, box.x + dx, box.y + dy);
      ctx.getImageData(0, 0, 1, 1);
      x = box.x + dx - 1; y = box.y + dy - 1;
    }
    times.push((performance.now() - start) / together);
  }
  return times;
}, [box, moves, circle, RepaintsTimedTogether]);

// ------------------------------------------------------------ 8: bytes of a first visit and of the offline copy

// A proxy in front of the local server that counts the bytes of every answer
// as sent (compressed where the server compressed it), for the page and its
// service worker alike.
async function countingProxy(target) {
  const http = await import('node:http');
  const counted = {bytes: 0, requests: 0, files: new Map()};
  const server = http.createServer((req, res) => {
    const forward = http.request(target + req.url, {method: req.method, headers: req.headers}, (answer) => {
      res.writeHead(answer.statusCode, answer.headers);
      answer.on('data', (chunk) => {
        counted.bytes += chunk.length;
        counted.files.set(req.url, (counted.files.get(req.url) || 0) + chunk.length);
      });
      answer.pipe(res);
    });
    ++counted.requests;
    forward.on('error', () => res.writeHead(502).end());
    req.pipe(forward);
  });
  await new Promise((resolve) => server.listen(0, '127.0.0.1', resolve));
  return {origin: `http://127.0.0.1:${server.address().port}`, counted,
    close: () => new Promise((resolve) => server.close(resolve))};
}

async function visitBytes(browser, target, size) {
  const proxy = await countingProxy(target);
  try {
    const {context, page} = await openPage(browser, proxy.origin + '/', size);
    await offlineCopyInPlace(page);
    await quiet(page);
    const copy = await page.evaluate(async () => {
      let bytes = 0, files = 0;
      for (const name of await caches.keys()) {
        const cache = await caches.open(name);
        for (const request of await cache.keys()) {
          bytes += (await (await cache.match(request)).blob()).size;
          ++files;
        }
      }
      return {bytes, files};
    });
    await context.close();
    const pictures = [...proxy.counted.files].filter(([url]) => url.startsWith('/pictures/'));
    return {size, visit: proxy.counted.bytes, requests: proxy.counted.requests, copy,
      pictureBytes: pictures.reduce((sum, [, b]) => sum + b, 0), pictureRequests: pictures.length};
  } finally {
    await proxy.close();
  }
}

// ------------------------------------------------------------ the run

async function main() {
  const started = Date.now();
  const load = os.loadavg();
  const served = await serveSite(site);
  const shown = published === site ? served : await serveSite(published);
  const bareFolder = fs.mkdtempSync(path.join(os.tmpdir(), 'tuvrel-bare-'));
  const bareServed = await serveSite(bareFolder);
  const browser = await launchChromium();
  const failures = [];
  try {
    const version = browser.version();
    const frameSize = {width: 1366, height: 768, scale: 1};
    const boardSize = {width: 1920, height: 1080, scale: 1};

    // Start as the page shows it, for the bare pages.
    const shot = async (size) => {
      const {context, page} = await openPage(browser, served.origin + '/', size);
      await nextFrame(page);
      const png = await page.screenshot({type: 'png'});
      const names = (await page.evaluate(() => JSON.parse(window.tuvrelBench.module.UTF8ToString(
        window.tuvrelBench.module._tuvrel_pictures(1))))).pictures.length;
      await context.close();
      return {png, names};
    };
    const startShot = await shot(frameSize);
    writeBarePages(bareFolder, startShot.png);

    process.stderr.write('tuvrel web bench: first frames');
    const frames = await firstFrames(browser, shown.origin, bareServed.origin, frameSize);
    process.stderr.write(', slowed first frames');
    const slowFrames = await slowedFirstFrames(browser, shown.origin, bareServed.origin, frameSize);
    process.stderr.write(', taps');
    const taps = await tapsToGames(browser, served.origin, frameSize);
    process.stderr.write(', bytes of a first visit');
    const visits = [];
    for (const size of [frameSize, {width: 1024, height: 768, scale: 2}])
      visits.push(await visitBytes(browser, shown.origin, size));
    // The bytes at the sizes of a Chromebook, a class board and an iPad.
    const bytes = [{size: frameSize, files: frames.files}];
    for (const size of [boardSize, {width: 1024, height: 768, scale: 2}]) {
      const opened = await openPage(browser, shown.origin + '/', size);
      bytes.push({size, files: await bytesBeforeFrame(opened.page)});
      await opened.context.close();
    }

    process.stderr.write(', repaints and drags');
    const boardShot = await shot(boardSize);
    writeBarePages(bareFolder, boardShot.png);
    const bare = await openPage(browser, bareServed.origin + '/canvas.html', boardSize);
    const forms = [];
    for (const name of formNames) {
      const opened = await openPage(browser, served.origin + '/#' + name, boardSize);
      const s = await stateOf(opened.page);
      if (s.layers[0] !== name) {
        failures.push(`${name} did not open in front from its address`);
        await opened.context.close();
        continue;
      }
      const f = {name, repaint: [], bare: [], painted: []};
      // Timed as the child sees the form once the page has settled: the
      // pictures it fetches in the background arrived, its scaled copies made.
      await quiet(opened.page);
      await repaintBlock(opened.page, 1);  // warm up
      await copiesMade(opened.page);
      await bareBlock(bare.page, 1);
      for (let done = 0; done < settings.repaints; done += 2) {
        f.repaint.push(...await repaintBlock(opened.page, 2));
        f.bare.push(...await bareBlock(bare.page, 2));
      }
      // The same, slowed: the page's and the bare canvas's CPU four times slower.
      f.slowRepaint = []; f.slowBare = []; f.slowDrag = []; f.slowBareDrag = [];
      const pageCpu = await opened.context.newCDPSession(opened.page);
      const bareCpu = await bare.context.newCDPSession(bare.page);
      await pageCpu.send('Emulation.setCPUThrottlingRate', {rate: conditions.slowed.cpu});
      await bareCpu.send('Emulation.setCPUThrottlingRate', {rate: conditions.slowed.cpu});
      for (let done = 0; done < settings.repaints; done += 2) {
        f.slowRepaint.push(...await repaintBlock(opened.page, 2));
        f.slowBare.push(...await bareBlock(bare.page, 2));
      }
      f.slowDragSource = null;
      for (const c of s.forms.find((x) => x.name === name).controls) {
        if (c.class !== 'Image' || !c.visible || !c.picture || c.w < 4 || c.h < 4) continue;
        const at = await centreOf(opened.page, name, c.name);
        const times = await dragMoveTimes(opened.page, name, at, settings.dragMoves);
        if (!times) continue;
        f.slowDrag = times;
        f.slowDragSource = c.name;
        const ratio = await opened.page.evaluate(() => devicePixelRatio);
        f.slowBareDrag = await bareDragTimes(bare.page, {x: Math.round((at.x - c.w * s.transform.scale / 2) * ratio),
          y: Math.round((at.y - c.h * s.transform.scale / 2) * ratio), w: Math.round(c.w * s.transform.scale * ratio),
          h: Math.round(c.h * s.transform.scale * ratio)}, settings.dragMoves);
        break;
      }
      await pageCpu.send('Emulation.setCPUThrottlingRate', {rate: 1});
      await bareCpu.send('Emulation.setCPUThrottlingRate', {rate: 1});
      // A full repaint paints every device pixel of the canvas once.
      await opened.page.evaluate(() => { const m = window.tuvrelBench.module; m._tuvrel_painted_pixels(); m._tuvrel_invalidate(); m._tuvrel_paint(); });
      f.fullPixels = await opened.page.evaluate(() => window.tuvrelBench.module._tuvrel_painted_pixels());
      f.drag = await measureDrag(opened.page, name);
      f.problems = opened.problems;
      forms.push(f);
      await opened.context.close();
    }
    await bare.context.close();

    process.stderr.write(', memory\n');
    const memory = await memoryAfterEveryForm(browser, served.origin, formNames);

    report({version, load, started, frameSize, boardSize, frames, bytes, forms, memory, failures, slowFrames, taps, visits,
      startPngBytes: startShot.png.length, boardPngBytes: boardShot.png.length});
  } finally {
    await browser.close();
    await served.close();
    if (shown !== served) await shown.close();
    await bareServed.close();
    fs.rmSync(bareFolder, {recursive: true, force: true});
  }
}

function report(r) {
  const seconds = Math.round((Date.now() - r.started) / 1000);
  const after = os.loadavg();
  console.log(`Tuvrel benchmark, browser: Chromium ${r.version}, headless (software drawing), ${os.cpus().length} × ${os.cpus()[0].model.trim()}`);
  console.log(published === site ? `The site: ${site}` : `Rows 1, 2, 5 and 8: the published site (${published}); the others its test build (${site}), whose hooks they read`);
  console.log(`load average before ${r.load[0].toFixed(2)} (1 min), ${r.load[1].toFixed(2)} (5 min), after ${after[0].toFixed(2)} (1 min), ` +
    `${after[1].toFixed(2)} (5 min); the run took ${seconds} s`);
  console.log('Each figure: median [min-max] of n runs; the baseline is taken in the same run, in turn with it.\n');

  const rows = [['#', 'figure', 'n', 'Tuvrel', 'baseline', 'ratio', 'goal', 'met']];
  const notes = [];
  let notMet = 0;
  const met = (ok) => { if (!ok) ++notMet; return ok ? 'yes' : 'NO'; };
  const sizeText = (s) => `${s.width}×${s.height}${s.scale !== 1 ? ' at ×' + s.scale : ''}`;

  // 1
  const ratio1 = median(r.frames.program) / median(r.frames.bare);
  rows.push(['1', `first frame of Start after navigation, ${sizeText(r.frameSize)}, ms`, String(r.frames.program.length),
    spread(r.frames.program), spread(r.frames.bare), ratio1.toFixed(2), 'ratio ≤ 2.0', met(ratio1 <= 2)]);
  notes.push(`1: from navigation start to the first frame after the page has drawn Start (a requestAnimationFrame ` +
    `and the task after it, once html[data-ready] is set), each run in a fresh browser context from the local ` +
    `server; the baseline is a bare page showing Start as one PNG image (the page's own screenshot, ` +
    `${kB(r.startPngBytes)} KB), timed the same way from its image's decode()`);

  // 2
  const fileName = (url) => { const p = new URL(url).pathname; return p === '/' ? 'index.html' : p.slice(1); };
  // Sizes are the published site's.
  const compressedOf = new Map();
  const compressedSize = (name) => {
    if (!compressedOf.has(name)) compressedOf.set(name, compressed(path.join(published, name)));
    return compressedOf.get(name);
  };
  for (const b of r.bytes) {
    const total = b.files.reduce((sum, f) => sum + f.bytes, 0);
    rows.push(['2', `bytes before the first frame, ${sizeText(b.size)}, MB`, '1', MB(total), '-', '-', '≤ 1.5 MB',
      met(total <= 1.5e6)]);
    b.total = total;
  }
  const code = r.bytes[0].files.filter((f) => /\.(wasm|js)$/.test(fileName(f.url)));
  const gzip = code.reduce((sum, f) => sum + compressedSize(fileName(f.url)).gzip, 0);
  const brotli = code.reduce((sum, f) => sum + compressedSize(fileName(f.url)).brotli, 0);
  rows.push(['2', `.wasm and .js before the first frame, gzip -9, KB`, '1', kB(gzip), '-', '-', '≤ 500 KB', met(gzip <= 500e3)]);
  notes.push(`2: every file the page asked for before that frame (Resource Timing: the document and every ` +
    `resource asked for before Start was drawn, so not the pictures fetched while Start shows), the bytes of ` +
    `its body as the server sends it (its .br copy where the browser takes brotli); 1 MB = 10^6 bytes. The .wasm and .js compressed by ` +
    `node's zlib: gzip level 9 ${kB(gzip)} KB, brotli quality 11 ${kB(brotli)} KB`);

  // 3
  const withRatio = r.forms.filter((f) => f.repaint.length && f.bare.length)
    .map((f) => ({...f, ratio: median(f.repaint) / median(f.bare)}));
  const worst = withRatio.reduce((a, b) => (b.ratio > a.ratio ? b : a), withRatio[0]);
  if (worst)
    rows.push(['3', `one full repaint at ${sizeText(r.boardSize)}, worst form (${worst.name}), ms`, String(worst.repaint.length),
      spread(worst.repaint), spread(worst.bare), worst.ratio.toFixed(2), 'ratio ≤ 2.0', met(worst.ratio <= 2)]);
  const drags = r.forms.filter((f) => f.drag);
  const painted = drags.flatMap((f) => f.drag.painted), outline = drags.flatMap((f) => f.drag.outline);
  const beyond = drags.reduce((sum, f) => sum + f.drag.beyond, 0);
  const canvasPixels = drags.length ? drags[0].drag.canvas : 0;
  if (drags.length)
    rows.push(['3', `device pixels repainted a drag move, ${drags.length} forms`, String(painted.length), spread(painted),
      spread(outline), (median(painted) / median(outline)).toFixed(2), 'outline only', met(beyond === 0)]);
  notes.push(`3: the full repaint: the page's whole canvas (form and strips) drawn again and one pixel read back ` +
    `so that it is drawn, against a bare canvas of the same size drawing one image of that size (Start's ` +
    `screenshot) and reading a pixel back; each sample the mean of ${RepaintsTimedTogether} in a row, two ` +
    `samples of each in turn`);
  if (drags.length)
    notes.push(`3: a drag of the form's first picture that drags, the pointer going round a small circle; the ` +
      `baseline is the area of the outline's old and new rectangles in device pixels; the page repaints their ` +
      `bounding rectangle. Moves that repainted beyond it: ${beyond} of ${painted.length}; a move repaints ` +
      `${(100 * median(painted) / canvasPixels).toFixed(2)} % of the canvas (${canvasPixels} device pixels), a full ` +
      `repaint ${(100 * median(r.forms.map((f) => f.fullPixels)) / canvasPixels).toFixed(0)} %`);

  // 4
  const m = r.memory;
  const total = m.heapUsed + m.wasm;
  rows.push(['4', `JS heap and WebAssembly memory, every form opened (${m.loaded} loaded), MB`, '1', MB(total), '-', '-',
    '≤ 64 MB', met(total <= 64e6)]);
  notes.push(`4: at ${sizeText(r.boardSize)}, after garbage collection: JS heap used ${MB(m.heapUsed)} MB (of ` +
    `${MB(m.heapTotal)} MB allocated), WebAssembly memory ${MB(m.wasm)} MB. Besides them the browser holds the ` +
    `decoded pictures (${MB(m.pictures)} MB) and the canvas's backing store (${MB(m.canvas)} MB)`);

  // 2: the program's size and the code before the first frame, as the goals for the slow device count them.
  const wasmBytes = fs.statSync(path.join(published, 'tuvrel.wasm')).size;
  rows.push(['2', '.wasm, KB (half of the 930,567 bytes it was)', '1', kB(wasmBytes), '930.6', (wasmBytes / 930567).toFixed(2),
    '≤ 465 KB', met(wasmBytes <= 930567 / 2)]);
  rows.push(['2', 'code before the first frame (.wasm and .js), brotli, KB', '1', kB(brotli), '-', '-', '≤ 150 KB',
    met(brotli <= 150e3)]);

  // 5
  for (const f of r.slowFrames) {
    const ratio = median(f.program) / median(f.bare);
    rows.push(['5', `first frame of Start, ${f.warm ? 'warm (offline copy)' : 'cold'}, ${f.condition.name}, ms`,
      String(f.program.length), spread(f.program), spread(f.bare), ratio.toFixed(2), 'ratio ≤ 2.0', met(ratio <= 2)]);
  }
  notes.push(`5: as 1, at ${sizeText(r.frameSize)}, each run in a fresh browser context: the CPU slowed by the DevTools ` +
    `protocol (Emulation.setCPUThrottlingRate, the page's main thread only: the browser compiles WebAssembly on ` +
    `threads of its own, which this does not slow) and the link by Network.emulateNetworkConditions ` +
    `(${SchoolLink.throughput * 8 / 1e6} Mbit/s both ways, ${SchoolLink.latency} ms). Cold: nothing cached. Warm: the ` +
    `context visited the page once at full speed and waited until its service worker controlled it; then a new page ` +
    `in it, from the offline copy. The bare page has an offline copy of its own (itself and its image)`);

  // 6
  const tapMedians = [...r.taps.taps].map(([game, t]) => ({game, t, m: median(t)}));
  const slowestTap = tapMedians.reduce((a, b) => (b.m > a.m ? b : a), tapMedians[0]);
  rows.push(['6', `tap on a Start button to its game's first frame, slowed, slowest (${slowestTap.game}), ms`,
    String(slowestTap.t.length), spread(slowestTap.t), '-', '-', '≤ 100 ms', met(tapMedians.every((x) => x.m <= 100))]);
  notes.push(`6: Start opened slowed (cold), the page left until it had asked for nothing new for a second ` +
    `(${spread(r.taps.waited.map((w) => w / 1000))} s: what it fetches while the child looks at Start), then each ` +
    `button tapped by the mouse (DevTools input) and the game closed again by back; from the tap's pointerup to the ` +
    `start of the frame after the one where the game is in front with every picture it shows decoded in the rendering the page ` +
    `draws it from. Each: ${tapMedians.map((x) => `${x.game} ${spread(x.t)}`).join(', ')}`);

  // 7
  const slowed = r.forms.filter((f) => f.slowRepaint && f.slowRepaint.length);
  if (slowed.length) {
    const worstRepaint = slowed.reduce((a, b) => (median(b.slowRepaint) > median(a.slowRepaint) ? b : a));
    rows.push(['7', `one full repaint at ${sizeText(r.boardSize)}, slowed, slowest form (${worstRepaint.name}), ms`,
      String(worstRepaint.slowRepaint.length), spread(worstRepaint.slowRepaint), spread(worstRepaint.slowBare),
      (median(worstRepaint.slowRepaint) / median(worstRepaint.slowBare)).toFixed(2), '≤ 16 ms',
      met(slowed.every((f) => median(f.slowRepaint) <= 16))]);
    const dragged = slowed.filter((f) => f.slowDrag.length);
    if (dragged.length) {
      const worstDrag = dragged.reduce((a, b) => (median(b.slowDrag) > median(a.slowDrag) ? b : a));
      rows.push(['7', `one drag move, slowed, slowest form (${worstDrag.name}), ms`, String(worstDrag.slowDrag.length),
        spread(worstDrag.slowDrag), spread(worstDrag.slowBareDrag),
        (median(worstDrag.slowDrag) / median(worstDrag.slowBareDrag)).toFixed(2), '≤ 4 ms',
        met(dragged.every((f) => median(f.slowDrag) <= 4))]);
    }
  }
  notes.push(`7: as 3 with the page's and the bare canvas's CPU slowed four times; the ratio to the bare canvas is ` +
    `its floor, not a goal. A drag move: a PointerEvent on the canvas during a drag of the form's first picture ` +
    `that drags, through page.js and the program until its repaint is drawn (a pixel read back; each sample the ` +
    `mean of ${RepaintsTimedTogether} moves); the bare canvas ` +
    `puts back the old box's pixels and draws the new box's outline`);

  // 8
  for (const v of r.visits) {
    rows.push(['8', `bytes of a first visit, ${sizeText(v.size)}, MB`, '1', MB(v.visit), '-', '-', '≤ 3 MB', met(v.visit <= 3e6)]);
    rows.push(['8', `the offline copy, ${sizeText(v.size)}, MB`, '1', MB(v.copy.bytes), '-', '-', '≤ 4 MB',
      met(v.copy.bytes <= 4e6)]);
  }
  notes.push(`8: a fresh context opens the page through a proxy that counts every answer's bytes as sent ` +
    `(compressed where the server compressed them), the page's and its service worker's, until the worker ` +
    `controls the page and nothing new was asked for a second; the offline copy is the sum of the bodies in the ` +
    `page's caches. ${r.visits.map((v) => `At ${sizeText(v.size)}: ${v.requests} requests, the pictures ` +
      `${v.pictureRequests} files and ${MB(v.pictureBytes)} MB; the copy ${v.copy.files} files`).join('; ')}`);

  // 9
  rows.push(['9', 'canvas memory (the canvas and every scaled copy), every form opened, MB', '1', MB(m.canvas + m.sized),
    '-', '-', 'reported', '-']);
  rows.push(['9', 'decoded pictures, every form opened, MB', '1', MB(m.pictures), '-', '-', 'reported', '-']);
  notes.push(`9: at ${sizeText(r.boardSize)}, counted as width × height × 4 bytes: the page's canvas ${MB(m.canvas)} MB, ` +
    (m.hasSized ? `${m.sizedCopies} scaled copies ${MB(m.sized)} MB` : 'no scaled copies (the page keeps none it shows)') +
    `, decoded pictures ${MB(m.pictures)} MB; beside the JS heap ${MB(m.heapUsed)} MB and the WebAssembly memory ` +
    `${MB(m.wasm)} MB (row 4)`);

  table(rows);
  console.log();
  for (const n of notes) console.log(wrap(n));

  console.log('\nFiles fetched before the first frame, bytes as served; .wasm and .js also compressed');
  const fileRows = [['file', ...r.bytes.map((b) => sizeText(b.size)), 'gzip -9', 'brotli']];
  const all = [...new Set(r.bytes.flatMap((b) => b.files.map((f) => fileName(f.url))))];
  for (const name of all) {
    const code = /\.(wasm|js)$/.test(name);
    fileRows.push([name, ...r.bytes.map((b) => {
      const f = b.files.find((x) => fileName(x.url) === name);
      return f ? String(f.bytes) : '-';
    }), code ? String(compressedSize(name).gzip) : '', code ? String(compressedSize(name).brotli) : '']);
  }
  fileRows.push(['total', ...r.bytes.map((b) => String(b.total)), String(gzip), String(brotli)]);
  table(fileRows);

  console.log(`\nEvery form at ${sizeText(r.boardSize)}: a full repaint, ms, beside the bare canvas's median and the ratio; ` +
    `device pixels repainted by a drag move beside the outline's old and new rectangles`);
  const formRows = [['form', 'repaint', 'bare', 'ratio', 'dragged', 'px a move', 'outline px', 'beyond',
    'slowed repaint', 'bare', 'slowed drag move', 'bare']];
  for (const f of r.forms) {
    formRows.push([f.name, spread(f.repaint), number(median(f.bare)), (median(f.repaint) / median(f.bare)).toFixed(2),
      f.drag ? f.drag.source : '-', f.drag ? number(median(f.drag.painted)) : '-',
      f.drag ? number(median(f.drag.outline)) : '-', f.drag ? String(f.drag.beyond) : '-',
      spread(f.slowRepaint || []), f.slowBare && f.slowBare.length ? number(median(f.slowBare)) : '-',
      spread(f.slowDrag || []), f.slowBareDrag && f.slowBareDrag.length ? number(median(f.slowBareDrag)) : '-']);
  }
  table(formRows);

  const problems = [...r.failures, ...r.forms.flatMap((f) => f.problems.map((p) => `${f.name}: ${p}`)),
    ...m.problems.map((p) => 'memory run: ' + p)];
  if (problems.length) console.log('\nProblems:\n' + problems.map((p) => '  ' + p).join('\n'));
  console.log(`\nGoals not met: ${notMet}`);
}

function wrap(text, width = 110) {
  const lines = [];
  let line = '';
  for (const word of text.split(' ')) {
    if (line && (line + ' ' + word).length > width) {
      lines.push(line);
      line = '  ' + word;
    } else {
      line = line ? line + ' ' + word : word;
    }
  }
  lines.push(line);
  return lines.join('\n');
}

main().catch((error) => {
  console.error('tuvrel web bench: ' + (error && error.stack ? error.stack : error));
  process.exit(1);
});
