// The engine of every iPad: WebKit, here Debian's WebKitGTK, its MiniBrowser
// driven by its own WebDriver (WebKitWebDriver, webkit2gtk-driver) over
// classic WebDriver with selenium-webdriver (pinned in package-lock.json), on
// a private X server. One browser, started once, serves every check: Start with its
// pictures and fonts, every family's play by mouse to the core's state, a
// puzzle by Pointer Events of type touch dispatched in the page (WebKitGTK's
// WebDriver delivers its touch actions as mouse events), the message box,
// back, the end screen and again, and offline after a first visit.
import {after, before, describe, test} from 'node:test';
import assert from 'node:assert/strict';
import {spawn} from 'node:child_process';
import fs from 'node:fs';
import net from 'node:net';
import {Builder, Origin} from 'selenium-webdriver';
import {assertButtonsPictured, centre, formsOf, plays, serveSite, state, stepsOf} from './support.mjs';

const driverBinary = '/usr/bin/WebKitWebDriver';
const miniBrowser = ['/usr/lib/x86_64-linux-gnu/webkit2gtk-4.1/MiniBrowser', '/usr/lib/x86_64-linux-gnu/webkit2gtk-4.0/MiniBrowser']
  .find((f) => fs.existsSync(f));
const skip = !fs.existsSync(driverBinary) ? `${driverBinary} is not installed (webkit2gtk-driver)`
  : !miniBrowser ? 'WebKitGTK\'s MiniBrowser is not installed' : false;

let served, xvfb, webDriver, driver;

const freePort = () => new Promise((resolve) => {
  const s = net.createServer().listen(0, '127.0.0.1', () => { const {port} = s.address(); s.close(() => resolve(port)); });
});

// A private X server: Xvfb picks a free display and writes its number on fd 3.
async function startX() {
  const child = spawn('Xvfb', ['-displayfd', '3', '-screen', '0', '1280x1024x24', '-nolisten', 'tcp'],
    {stdio: ['ignore', 'ignore', 'ignore', 'pipe']});
  const display = await new Promise((resolve, reject) => {
    let text = '';
    child.stdio[3].on('data', (d) => { text += d; if (text.includes('\n')) resolve(':' + text.trim()); });
    child.on('exit', (code) => reject(new Error(`Xvfb stopped (${code})`)));
  });
  return {child, display};
}

before(async () => {
  if (skip) return;
  served = await serveSite();
  xvfb = await startX();
  const port = await freePort();
  webDriver = spawn(driverBinary, [`--port=${port}`], {env: {...process.env, DISPLAY: xvfb.display}, stdio: 'ignore'});
  for (let i = 0; i < 100; ++i) {
    const up = await fetch(`http://127.0.0.1:${port}/status`).then((r) => r.ok, () => false);
    if (up) break;
    await new Promise((r) => setTimeout(r, 100));
  }
  driver = await new Builder().usingServer(`http://127.0.0.1:${port}`).withCapabilities({
    browserName: 'MiniBrowser',
    'webkitgtk:browserOptions': {binary: miniBrowser, args: ['--automation']},
  }).build();
  await driver.manage().window().setRect({width: 1024, height: 768});
});

after(async () => {
  await driver?.quit().catch(() => {});
  webDriver?.kill();
  xvfb?.child.kill();
  await served?.close();
});

// The page as support.mjs's helpers want it: evaluate(fn, arg) in the page.
const page = {
  evaluate(fn, arg) {
    return driver.executeAsyncScript(`const done = arguments[arguments.length - 1];
      Promise.resolve().then(() => (${fn})(arguments[0])).then(done, (e) => done({pageError: String(e && e.stack || e)}));`, arg);
  },
};

let visits = 0;
async function open(address) {
  // A new document each time, also where only the #name differs.
  await driver.get(`${served.origin}/?bezoek=${++visits}${address.replace(/^\//, '')}`);
  await driver.wait(async () => (await page.evaluate(() => document.documentElement.dataset.ready === 'true')) === true, 30000);
  // What the page's own script reports as wrong, kept from here on.
  await page.evaluate(() => {
    window.pageProblems = [];
    window.addEventListener('error', (e) => window.pageProblems.push(e.message));
    window.addEventListener('unhandledrejection', (e) => window.pageProblems.push(String(e.reason)));
  });
}
const problems = () => page.evaluate(() => [...window.pageProblems, ...(document.getElementById('problem').hidden ? [] : ['error page'])]);
const waitFor = (fn, timeout = 10000) => driver.wait(async () => (await page.evaluate(fn)) === true, timeout);

const at = (p) => ({x: Math.round(p.x), y: Math.round(p.y), origin: Origin.VIEWPORT});
async function mouseMove(a, b) {
  let actions = driver.actions({async: true}).move(at(a)).press();
  for (let i = 1; i <= 8; ++i) actions = actions.move({...at({x: a.x + (b.x - a.x) * i / 8, y: a.y + (b.y - a.y) * i / 8}), duration: 10});
  await actions.release().perform();
}
async function playByMouse(form, moves) {
  for (const {from, to} of await stepsOf(page, moves)) {
    await mouseMove(await centre(page, form, from), await centre(page, form, to));
  }
  await waitFor(() => !window.tuvrelState().holds);
}

describe('WebKit (WebKitGTK MiniBrowser)', {skip}, () => {
  test('Start appears with its pictures and fonts', async () => {
    await open('/');
    const s = await state(page);
    assert.deepEqual(s.layers, ['Start']);
    assert.equal(await driver.getTitle(), s.forms[0].caption);
    assert.deepEqual(await page.evaluate(() => [document.fonts.check('16px "Tuvrel Comic"'), document.fonts.check('16px "Tuvrel Sans"')]), [true, true]);
    await assertButtonsPictured(page, s);
    assert.deepEqual(await problems(), []);
  });

  for (const {form, moves} of plays) {
    test(`${form} by mouse ends where the core's own play ends`, async () => {
      await open(`/#${form}`);
      const before_ = await state(page);
      assert.deepEqual(before_.layers, [form, 'Start']);
      await playByMouse(form, moves);
      const core = await page.evaluate(([f, m]) => window.tuvrelCorePlay(f, m), [form, moves]);
      assert.equal(core.error, undefined);
      assert.notDeepEqual(formsOf(core), formsOf(before_), 'the play changes the form');
      assert.deepEqual(formsOf(await state(page)), formsOf(core));
      assert.deepEqual(await problems(), []);
    });
  }

  test('a puzzle played by Pointer Events of type touch ends where the core\'s own play ends', async () => {
    const moves = 'drag:img1>Image1;drag:img2>Image2;drag:img4>Image3';
    await open('/#Puzzel1');
    const drags = [];
    for (const {from, to} of await stepsOf(page, moves)) {
      drags.push([await centre(page, 'Puzzel1', from), await centre(page, 'Puzzel1', to)]);
    }
    await page.evaluate((list) => {
      const canvas = document.getElementById('canvas');
      const send = (type, p) => canvas.dispatchEvent(new PointerEvent(type, {pointerId: 7, pointerType: 'touch', isPrimary: true,
        button: type === 'pointermove' ? -1 : 0, buttons: type === 'pointerup' ? 0 : 1, clientX: p.x, clientY: p.y,
        bubbles: true, cancelable: true}));
      for (const [a, b] of list) {
        send('pointerdown', a);
        for (let i = 1; i <= 8; ++i) send('pointermove', {x: a.x + (b.x - a.x) * i / 8, y: a.y + (b.y - a.y) * i / 8});
        send('pointerup', b);
      }
    }, drags);
    await waitFor(() => !window.tuvrelState().holds);
    const core = await page.evaluate((m) => window.tuvrelCorePlay('Puzzel1', m), moves);
    assert.deepEqual(formsOf(await state(page)), formsOf(core));
    assert.notDeepEqual(formsOf(core), formsOf(await page.evaluate(() => window.tuvrelCorePlay('Puzzel1', ''))));
    assert.deepEqual(await problems(), []);
  });

  test('the message box holds its handler until OK; nothing reaches the form meanwhile', async () => {
    await open('/#Spel');
    const before_ = await state(page);
    await driver.findElement({id: 'menuitem'}).click();
    await waitFor(() => !document.getElementById('box-shade').hidden);
    assert.match(await driver.findElement({id: 'box-text'}).getText(), /Speel met 2 personen/);
    assert.equal((await state(page)).busy, true, 'the handler waits in the box');
    const a = await centre(page, 'Spel', 'ImgSint'), b = await centre(page, 'Spel', 'Image1');
    await page.evaluate(([p, q]) => {
      const canvas = document.getElementById('canvas');
      for (const [type, at] of [['pointerdown', p], ['pointermove', q], ['pointerup', q]])
        canvas.dispatchEvent(new PointerEvent(type, {pointerId: 1, pointerType: 'mouse', isPrimary: true, button: 0,
          buttons: type === 'pointerup' ? 0 : 1, clientX: at.x, clientY: at.y, bubbles: true, cancelable: true}));
    }, [a, b]);
    assert.deepEqual(formsOf(await state(page)), formsOf(before_), 'nothing reached the form');
    await driver.findElement({id: 'box-ok'}).click();
    await waitFor(() => document.getElementById('box-shade').hidden && !window.tuvrelState().busy);
    await playByMouse('Spel', 'drag:ImgSint>Image1');
    const core = await page.evaluate(() => window.tuvrelCorePlay('Spel', 'drag:ImgSint>Image1'));
    assert.deepEqual(formsOf(await state(page)), formsOf(core));
    assert.deepEqual(await problems(), []);
  });

  // This WebKit's own speech (WebKitGTK speaks through flite, whose voices
  // are English): voorlezen asked for, nothing is spoken and Start says there
  // is no Dutch voice. Turned off again for the checks after this one.
  test('voorlezen where the device has no Dutch voice: nothing spoken, the note on Start', async (t) => {
    await open('&voorlezen');
    const langs = await page.evaluate(() => new Promise((resolve) => {
      if (!window.speechSynthesis) return resolve(null);
      setTimeout(() => resolve(speechSynthesis.getVoices().map((v) => v.lang)), 500);
    }));
    if (!langs || langs.some((l) => /^nl/i.test(l))) {
      t.skip(langs ? `this WebKit has a Dutch voice (${langs.join(', ')})` : 'this WebKit has no speechSynthesis');
    } else {
      await waitFor(() => !document.getElementById('speech-note').hidden);
      const label = await centre(page, 'Start', 'Label2');
      await mouseMove(label, label);
      await page.evaluate(() => new Promise((resolve) => setTimeout(resolve, 300)));
      assert.equal(await page.evaluate(() => speechSynthesis.speaking || speechSynthesis.pending), false);
    }
    await open('&voorlezen=0');
    assert.equal(await page.evaluate(() => document.getElementById('speech-note').hidden), true);
    assert.deepEqual(await problems(), []);
  });

  test('back closes the game; knopStop ends, and again starts anew', async () => {
    await open('/#Tellen1');
    assert.deepEqual((await state(page)).layers, ['Tellen1', 'Start']);
    // WebKit's back skips an entry a page made before it was touched: the
    // game's entry is made at the first touch, here on the strip above the form.
    await mouseMove({x: 2, y: 2}, {x: 2, y: 2});
    await driver.navigate().back();
    await waitFor(() => window.tuvrelState().layers.join() === 'Start');
    assert.equal(await driver.getTitle(), (await state(page)).forms[0].caption);
    const stop = await centre(page, 'Start', 'knopStop');
    await mouseMove(stop, stop);
    await waitFor(() => !document.getElementById('end').hidden);
    assert.equal((await state(page)).ended, true);
    await driver.findElement({id: 'again'}).click();
    await waitFor(() => window.tuvrelState().layers.join() === 'Start' && !window.tuvrelState().ended);
    assert.deepEqual(await problems(), []);
  });

  // What this WebKit does with the offline copy is reported, not assumed: a
  // WebKit driven by WebDriver may keep no service worker.
  test('after a first visit, offline: the site starts from its offline copy where this WebKit keeps one', async (t) => {
    await open('/');
    const worker = await page.evaluate(() => Promise.race([
      navigator.serviceWorker.ready.then(async () => {
        if (!navigator.serviceWorker.controller)
          await new Promise((resolve) => navigator.serviceWorker.addEventListener('controllerchange', resolve, {once: true}));
        while (document.documentElement.dataset.offline !== 'ready') await new Promise((resolve) => setTimeout(resolve, 100));
        return 'controlled';
      }),
      new Promise((resolve) => setTimeout(() => resolve('no worker'), 60000)),
    ]));
    if (worker !== 'controlled') return t.skip(`this WebKit, driven by WebDriver, keeps no service worker (${worker})`);
    const address = served.origin;
    await served.close();
    try {
      await driver.get(address + '/#Puzzel1');
      await driver.navigate().refresh();
      await waitFor(() => document.documentElement.dataset.ready === 'true', 30000);
      assert.deepEqual((await state(page)).layers, ['Puzzel1', 'Start']);
    } finally {
      served = await serveSite(undefined, {});
    }
  });
});
