// The browser's rows of the benchmark: the built site in Debian's Chromium,
// headless (playwright-core and the local server of tests/web), each figure
// beside its floor taken in the same run, in turn with it.
//   node bench/web/web_bench.mjs SITE [--quick]
// 1 the first frame of Start after navigation, against a bare page showing
//   Start as one PNG image; 2 the bytes fetched before that frame, by file;
//   3 a full repaint at 1920×1080 against a bare canvas drawing one image of
//   that size, and the device pixels a drag move repaints; 4 the JS heap and
//   the WebAssembly memory after opening every form.
import fs from 'node:fs';
import os from 'node:os';
import path from 'node:path';
import zlib from 'node:zlib';

const args = process.argv.slice(2);
const quick = args.includes('--quick');
const siteArg = args.find((a) => !a.startsWith('--'));
if (!siteArg || !fs.existsSync(path.join(siteArg, 'index.html'))) {
  console.error('usage: node bench/web/web_bench.mjs SITE [--quick]   (SITE: a built site folder)');
  process.exit(2);
}
const site = path.resolve(siteArg);
process.env.TUVREL_SITE = site;
const {serveSite, launchChromium} = await import('../../tests/web/support.mjs');

// Every form of the program, as forms/descriptions.h declares them.
const formNames = [...fs.readFileSync(new URL('../../forms/descriptions.h', import.meta.url), 'utf8')
  .matchAll(/^FormDescription (\w+)\(\);$/gm)].map((m) => m[1]);
if (!formNames.includes('Start')) throw new Error('forms/descriptions.h declares no form Start');

const settings = quick
  ? {frameRuns: 3, repaints: 6, dragMoves: 10}
  : {frameRuns: 9, repaints: 20, dragMoves: 40};
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

const nextFrame = (page) => page.evaluate(() => new Promise((resolve) => requestAnimationFrame(() => setTimeout(resolve))));

async function openPage(browser, address, {width, height, scale = 1}) {
  const context = await browser.newContext({viewport: {width, height}, deviceScaleFactor: scale});
  await context.addInitScript(probe);
  const page = await context.newPage();
  const problems = [];
  page.on('pageerror', (e) => problems.push(e.message));
  page.on('console', (m) => { if (m.type() === 'error') problems.push(m.text()); });
  await page.goto(address);
  try {
    await page.waitForFunction(() => window.tuvrelBench && window.tuvrelBench.frame > 0, null, {timeout: 30000});
  } catch (error) {
    throw new Error(`${address} showed nothing within 30 s${problems.length ? ': ' + problems.join('; ') : ''}`);
  }
  return {context, page, problems};
}

// The bare pages, in a folder of their own: Start as one PNG image, and a
// canvas that draws one image of its size.
function writeBarePages(folder, startPng) {
  fs.writeFileSync(path.join(folder, 'start.png'), startPng);
  const style = '<style>html,body{margin:0;height:100%;overflow:hidden;background:#36414c}' +
    'img,canvas{display:block;width:100vw;height:100vh}</style>';
  fs.writeFileSync(path.join(folder, 'index.html'), '<!doctype html><html><head><meta charset="utf-8">' + style +
    '</head><body><img id="start" src="start.png" alt=""><script>' +
    "document.getElementById('start').decode().then(() => { document.documentElement.dataset.ready = 'true'; });" +
    '</script></body></html>\n');
  fs.writeFileSync(path.join(folder, 'canvas.html'), '<!doctype html><html><head><meta charset="utf-8">' + style +
    '</head><body><canvas id="canvas"></canvas><script>' +
    "const canvas = document.getElementById('canvas');" +
    'canvas.width = Math.round(innerWidth * devicePixelRatio); canvas.height = Math.round(innerHeight * devicePixelRatio);' +
    "const ctx = canvas.getContext('2d', {alpha: false});" +
    "fetch('start.png').then((r) => r.blob()).then((b) => createImageBitmap(b)).then((bitmap) => {" +
    '  window.bareBitmap = bitmap; ctx.drawImage(bitmap, 0, 0, canvas.width, canvas.height);' +
    "  document.documentElement.dataset.ready = 'true'; });" +
    '</script></body></html>\n');
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
    let pictures = 0;
    for (const e of m.tuvrelPictures.kept.values()) if (e.bitmap) pictures += e.bitmap.width * e.bitmap.height * 4;
    const canvas = document.getElementById('canvas');
    return {wasm: memory.byteLength, pictures, canvas: canvas.width * canvas.height * 4,
      loaded: window.tuvrelState().forms.length};
  });
  await context.close();
  return {heapUsed: heap.usedSize, heapTotal: heap.totalSize, ...more, problems};
}

// ------------------------------------------------------------ the run

async function main() {
  const started = Date.now();
  const load = os.loadavg();
  const served = await serveSite(site);
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
    const frames = await firstFrames(browser, served.origin, bareServed.origin, frameSize);
    // The bytes at the sizes of a Chromebook, a class board and an iPad.
    const bytes = [{size: frameSize, files: frames.files}];
    for (const size of [boardSize, {width: 1024, height: 768, scale: 2}]) {
      const opened = await openPage(browser, served.origin + '/', size);
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
      await repaintBlock(opened.page, 1);  // warm up
      await bareBlock(bare.page, 1);
      for (let done = 0; done < settings.repaints; done += 2) {
        f.repaint.push(...await repaintBlock(opened.page, 2));
        f.bare.push(...await bareBlock(bare.page, 2));
      }
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

    report({version, load, started, frameSize, boardSize, frames, bytes, forms, memory, failures,
      startPngBytes: startShot.png.length, boardPngBytes: boardShot.png.length});
  } finally {
    await browser.close();
    await served.close();
    await bareServed.close();
    fs.rmSync(bareFolder, {recursive: true, force: true});
  }
}

function report(r) {
  const seconds = Math.round((Date.now() - r.started) / 1000);
  const after = os.loadavg();
  console.log(`Tuvrel benchmark, browser: Chromium ${r.version}, headless (software drawing), ${os.cpus().length} × ${os.cpus()[0].model.trim()}`);
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
  const compressedOf = new Map();
  const compressedSize = (name) => {
    if (!compressedOf.has(name)) compressedOf.set(name, compressed(path.join(site, name)));
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
    `its body as the server sends it (uncompressed); 1 MB = 10^6 bytes. The .wasm and .js compressed by ` +
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
  const formRows = [['form', 'repaint', 'bare', 'ratio', 'dragged', 'px a move', 'outline px', 'beyond']];
  for (const f of r.forms) {
    formRows.push([f.name, spread(f.repaint), number(median(f.bare)), (median(f.repaint) / median(f.bare)).toFixed(2),
      f.drag ? f.drag.source : '-', f.drag ? number(median(f.drag.painted)) : '-',
      f.drag ? number(median(f.drag.outline)) : '-', f.drag ? String(f.drag.beyond) : '-']);
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
