// Where the time before Start's first frame goes on the school's cheapest
// device: Chromium's CPU slowed four times and a school's Wi-Fi (20 Mbit/s,
// 40 ms), a fresh context each run. Prints when the page called and got the
// program (createTuvrel), how long tuvrel_start took, when Start was drawn
// (html[data-ready]), the files fetched before it, and the main thread's
// CPU profile by function (self time; "(program)" is the browser's own work:
// parsing, style, layout, drawing, decoding).
//   node bench/web/profile_start.mjs SITE [RUNS]
import path from 'node:path';
process.env.TUVREL_SITE = path.resolve(process.argv[2]);
const {serveSite, launchChromium} = await import('../../tests/web/support.mjs');
const served = await serveSite(process.env.TUVREL_SITE);
const browser = await launchChromium();
for (let run = 0; run < Number(process.argv[3] || 2); ++run) {
  const context = await browser.newContext({viewport: {width: 1366, height: 768}});
  await context.addInitScript(() => {
    const marks = window.__marks = {};
    let create;
    Object.defineProperty(window, 'createTuvrel', {configurable: true, get: () => create,
      set: (f) => { create = (m) => { marks.create = performance.now(); const r = f(m); r.then(() => { marks.created = performance.now();
        const cc = m.ccall; m.ccall = function (n, ...a) { const t = performance.now(); const x = cc.call(this, n, ...a); if (n === 'tuvrel_start') { marks.startCall = t; marks.startDone = performance.now(); } return x; }; }); return r; }; }});
    new MutationObserver(() => { if (document.documentElement.dataset.ready === 'true' && !marks.ready) marks.ready = performance.now(); })
      .observe(document, {attributes: true, subtree: true, attributeFilter: ['data-ready']});
  });
  const page = await context.newPage();
  const cdp = await context.newCDPSession(page);
  await cdp.send('Emulation.setCPUThrottlingRate', {rate: 4});
  await cdp.send('Network.enable');
  await cdp.send('Network.emulateNetworkConditions', {offline: false, latency: 40, downloadThroughput: 2.5e6, uploadThroughput: 2.5e6});
  await cdp.send('Profiler.enable');
  await cdp.send('Profiler.setSamplingInterval', {interval: 200});
  await cdp.send('Profiler.start');
  await page.goto(served.origin + '/');
  await page.waitForSelector('html[data-ready="true"]', {timeout: 60000});
  await page.waitForTimeout(100);
  const {profile} = await cdp.send('Profiler.stop');
  const info = await page.evaluate(() => ({marks: window.__marks, res: performance.getEntriesByType('resource').filter((e) => e.startTime < window.__marks.ready).map((e) => [new URL(e.name).pathname, Math.round(e.startTime), Math.round(e.responseEnd), e.encodedBodySize]),
    dcl: performance.getEntriesByType('navigation')[0].domContentLoadedEventEnd}));
  console.log('run', run, JSON.stringify(Object.fromEntries(Object.entries(info.marks).map(([k, v]) => [k, Math.round(v)]))), 'DCL', Math.round(info.dcl));
  if (run === 0) for (const r of info.res) console.log('  ', r.join(' '));
  const self = new Map();
  const byId = new Map(profile.nodes.map((n) => [n.id, n]));
  const dt = profile.timeDeltas;
  profile.samples.forEach((id, i) => { const n = byId.get(id); const f = n.callFrame; const key = (f.functionName || '(anon)') + ' ' + (f.url.split('/').pop() || ''); self.set(key, (self.get(key) || 0) + (dt[i + 1] || 0) / 1000); });
  console.log('  top self time (ms):', [...self].sort((a, b) => b[1] - a[1]).slice(0, 14).map(([k, v]) => `${k.slice(0, 60)}=${v.toFixed(0)}`).join(' | '));
  await context.close();
}
await browser.close(); await served.close();
