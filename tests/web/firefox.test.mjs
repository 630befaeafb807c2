// A second engine: Debian's Firefox ESR, headless, driven over WebDriver BiDi
// by puppeteer-core (pinned in package-lock.json; playwright-core drives only
// its own patched Firefox). Start appears, and a puzzle plays by mouse and by
// finger to the state the core's own play reaches.
import {after, before, describe, test} from 'node:test';
import assert from 'node:assert/strict';
import fs from 'node:fs';
import puppeteer from 'puppeteer-core';
import {assertButtonsPictured, centre, formsOf, serveSite, state} from './support.mjs';

const firefox = '/usr/bin/firefox-esr';
const skip = fs.existsSync(firefox) ? false : `${firefox} is not installed`;
let served, browser;

before(async () => {
  if (skip) return;
  served = await serveSite();
  browser = await puppeteer.launch({browser: 'firefox', executablePath: firefox, headless: true});
});

after(async () => {
  await browser?.close();
  await served?.close();
});

async function open(address, touch) {
  const page = await browser.newPage();
  const problems = [];
  page.on('console', (m) => { if (m.type() === 'error') problems.push('console: ' + m.text()); });
  page.on('pageerror', (e) => problems.push('page error: ' + e.message));
  page.on('request', (r) => { if (!r.url().startsWith(served.origin) && !/^(data|blob):/.test(r.url())) problems.push('foreign request: ' + r.url()); });
  await page.setViewport({width: 1024, height: 768, hasTouch: touch});
  await page.goto(served.origin + address);
  await page.waitForSelector('html[data-ready="true"]', {timeout: 30000});
  return {page, problems};
}

// One finger or the mouse: down on the source, eight steps to the target, up.
async function drag(page, by, a, b) {
  const steps = Array.from({length: 8}, (_, i) => ({x: a.x + (b.x - a.x) * (i + 1) / 8, y: a.y + (b.y - a.y) * (i + 1) / 8}));
  if (by === 'mouse') {
    await page.mouse.move(a.x, a.y);
    await page.mouse.down();
    for (const p of steps) await page.mouse.move(p.x, p.y);
    await page.mouse.up();
  } else {
    await page.touchscreen.touchStart(a.x, a.y);
    for (const p of steps) await page.touchscreen.touchMove(p.x, p.y);
    await page.touchscreen.touchEnd();
  }
}

describe('Firefox ESR', {skip}, () => {
  test('Start appears with its pictures and fonts', async () => {
    const {page, problems} = await open('/', false);
    const s = await state(page);
    assert.deepEqual(s.layers, ['Start']);
    assert.equal(await page.title(), s.forms[0].caption);
    assert.deepEqual(await page.evaluate(() => [document.fonts.check('16px "Tuvrel Comic"'), document.fonts.check('16px "Tuvrel Sans"')]), [true, true]);
    await assertButtonsPictured(page, s);
    assert.deepEqual(problems, []);
    await page.close();
  });

  for (const by of ['mouse', 'touch']) {
    test(`a puzzle played by ${by} ends where the core's own play ends`, async () => {
      const moves = [['img1', 'Image1'], ['img2', 'Image2'], ['img4', 'Image3']];
      const {page, problems} = await open('/#Puzzel1', by === 'touch');
      await page.evaluate(() => {
        window.pointerKinds = [];
        document.getElementById('canvas').addEventListener('pointerdown', (e) => window.pointerKinds.push(e.pointerType));
      });
      for (const [from, to] of moves)
        await drag(page, by, await centre(page, 'Puzzel1', from), await centre(page, 'Puzzel1', to));
      await page.waitForFunction(() => !window.tuvrelState().holds);
      const core = await page.evaluate((m) => window.tuvrelCorePlay('Puzzel1', m), moves.map(([a, b]) => `drag:${a}>${b}`).join(';'));
      assert.equal(core.error, undefined);
      const now = await state(page);
      assert.deepEqual(formsOf(now), formsOf(core));
      // The play changed something: the first piece lies on its place.
      assert.notDeepEqual(formsOf(now), formsOf(await page.evaluate(() => window.tuvrelCorePlay('Puzzel1', ''))));
      // The engine's own pointer of that kind did it, not an emulated mouse.
      assert.deepEqual(await page.evaluate(() => window.pointerKinds), moves.map(() => by));
      assert.deepEqual(problems, []);
      await page.close();
    });
  }
});
