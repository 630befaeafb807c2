// Where the time from a tap on a Start button to its game's first frame goes
// on the school's cheapest device (Chromium's CPU slowed four times), after
// the child has looked at Start long enough for the page's background fetches
// to end. Prints, per game, the time from the tap to the start of the frame
// after the one that drew the game (its pictures are decoded by then), and the main thread's CPU profile of that
// tap by function (self time; "(program)" is the browser's own work).
//   node bench/web/profile_tap.mjs SITE-CHECKED [GAME...]
import path from 'node:path';
import {startButtons} from './start_buttons.mjs';
process.env.TUVREL_SITE = path.resolve(process.argv[2]);
const {serveSite, launchChromium} = await import('../../tests/web/support.mjs');
const served = await serveSite(process.env.TUVREL_SITE);
const browser = await launchChromium();
const context = await browser.newContext({viewport: {width: 1024, height: 768}});
const page = await context.newPage();
const cdp = await context.newCDPSession(page);
await page.goto(served.origin + '/');
await page.waitForSelector('html[data-ready="true"]', {timeout: 60000});
await page.waitForLoadState('networkidle');
await page.waitForTimeout(2000);
await cdp.send('Emulation.setCPUThrottlingRate', {rate: 4});
await cdp.send('Profiler.enable');
await cdp.send('Profiler.setSamplingInterval', {interval: 100});
const games = process.argv.slice(3);
const s = await page.evaluate(() => window.tuvrelState());
const start = s.forms.find((f) => f.name === 'Start');
const gameButtons = startButtons.map((b) => b.button.toLowerCase());
const buttons = start.controls.filter((c) => gameButtons.includes(c.name.toLowerCase()));
for (const c of buttons) {
  const t = s.transform;
  const at = {x: t.x + (c.x + c.w / 2) * t.scale, y: t.y + (c.y + c.h / 2) * t.scale};
  await cdp.send('Profiler.start');
  // The listener is in place before the tap: a slowed page takes a while to
  // run what it is sent, and a tap that came first would never be seen.
  await page.evaluate(() => {
    window.tappedAt = 0;
    document.getElementById('canvas').addEventListener('pointerup', (e) => { window.tappedAt = e.timeStamp; }, {capture: true, once: true});
  });
  // The game is in front once the address names it (the state hook is too
  // slow to ask every frame on a slowed page: it would be profiled too).
  const shown = page.evaluate(() => new Promise((resolve) => {
    const check = () => {
      if (!window.tappedAt || !location.hash) return requestAnimationFrame(check);
      requestAnimationFrame(() => {
        const ms = performance.now() - window.tappedAt;
        setTimeout(() => resolve([window.tuvrelState().layers[0], ms]));
      });
    };
    check();
  }));
  await page.mouse.click(at.x, at.y);
  const [game, ms] = await shown;
  const {profile} = await cdp.send('Profiler.stop');
  if (!games.length || games.includes(game)) {
    const self = new Map();
    const byId = new Map(profile.nodes.map((n) => [n.id, n]));
    profile.samples.forEach((id, i) => {
      const f = byId.get(id).callFrame;
      const key = (f.functionName || '(anon)') + ' ' + (f.url.split('/').pop() || '');
      self.set(key, (self.get(key) || 0) + (profile.timeDeltas[i + 1] || 0) / 1000);
    });
    console.log(`${c.name} → ${game}: ${ms.toFixed(0)} ms; top self time (ms): ` +
      [...self].filter(([k]) => k !== '(idle) ').sort((a, b) => b[1] - a[1]).slice(0, 10).map(([k, v]) => `${k.slice(0, 50)}=${v.toFixed(0)}`).join(' | '));
  }
  await page.goBack();
  await page.waitForFunction(() => window.tuvrelState().layers.join() === 'Start');
  await page.waitForTimeout(300);
}
await browser.close();
await served.close();
