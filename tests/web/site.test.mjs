// The site in a real browser: Start at every size, a play by mouse and by
// finger, back, the end screen, the message box and offline.
import {describe, test} from 'node:test';
import assert from 'node:assert/strict';
import {centre, formsOf, open, origin, play, plays, state, stepsOf, useSite} from './support.mjs';

useSite();

// Every line of text the canvas is asked to draw: where, and through which transform.
function recordText() {
  const fillText = CanvasRenderingContext2D.prototype.fillText;
  window.textDrawn = [];
  CanvasRenderingContext2D.prototype.fillText = function (text, x, y, ...rest) {
    const m = this.getTransform();
    window.textDrawn.push({text, x, y, transform: [m.a, m.d, m.e, m.f]});
    return fillText.call(this, text, x, y, ...rest);
  };
}

describe('the site', () => {
  test('Start appears with its pictures, fonts and labels, centred between the strips, at every size', async () => {
    let firstLines = null;
    for (const [width, height, scale] of [[1024, 768, 1], [1024, 768, 2], [1920, 1080, 1], [1920, 1080, 2], [3840, 2160, 1]]) {
      const {context, page, problems} = await open('/', {width, height, scale, init: recordText});
      const s = await state(page);
      assert.deepEqual(s.layers, ['Start']);
      assert.equal(await page.title(), s.forms[0].caption || 'Tuvrel');
      const fonts = await page.evaluate(() => [document.fonts.check('16px "Tuvrel Comic"'), document.fonts.check('16px "Tuvrel Sans"')]);
      assert.deepEqual(fonts, [true, true]);
      // The canvas's pixels: the backing store is the CSS size times the
      // ratio, the form uniformly scaled and centred, strips beside it.
      const probe = await page.evaluate(([t, formWidth, formHeight]) => {
        const canvas = document.getElementById('canvas');
        const ctx = canvas.getContext('2d');
        const r = window.devicePixelRatio;
        const px = (x, y) => Array.from(ctx.getImageData(Math.round(x * r), Math.round(y * r), 1, 1).data.slice(0, 3));
        const right = t.x + formWidth * t.scale, bottom = t.y + formHeight * t.scale;
        return {
          backing: [canvas.width, canvas.height, Math.round(canvas.clientWidth * r), Math.round(canvas.clientHeight * r)],
          strip: t.x > 2 ? px(t.x / 2, bottom / 2) : px(right / 2, (t.y) / 2),
          corner: px(t.x + 2 * t.scale, t.y + 2 * t.scale),
          centred: Math.abs(t.x - (canvas.clientWidth - right)) <= 2 && Math.abs(t.y - (canvas.clientHeight - bottom)) <= 2,
        };
      }, [s.transform, s.forms[0].width, s.forms[0].height]);
      assert.equal(probe.backing[0], probe.backing[2]);
      assert.equal(probe.backing[1], probe.backing[3]);
      assert.deepEqual(probe.strip, [0x36, 0x41, 0x4c], `strip at ${width}x${height}@${scale}`);
      assert.deepEqual(probe.corner, [240, 240, 240], `face at ${width}x${height}@${scale}`);
      assert.ok(probe.centred, `centred at ${width}x${height}@${scale}: ${JSON.stringify([s.transform, s.forms[0].width, s.forms[0].height, probe])}`);
      const scaleOnDevice = s.transform.scale * scale;
      assert.ok(Math.abs(s.transform.scale - Math.min(width / s.forms[0].width, height / s.forms[0].height)) < 1e-3);
      // Every picture of Start was fetched in the rendering for its size on the device.
      const wanted = scaleOnDevice <= 1 ? '' : scaleOnDevice <= 2 ? '2x/' : '3x/';
      const loaded = await page.evaluate(() => performance.getEntriesByType('resource').map((e) => new URL(e.name).pathname));
      assert.ok(loaded.some((p) => p === `/pictures/${wanted}pietkleden_piet.${wanted ? 'png' : 'gif'}` || p.startsWith(`/pictures/${wanted}`)),
        `pictures at ${wanted || '1x'} for a device scale of ${scaleOnDevice}`);
      // Each label's lines are the core's, laid out at the form's own size
      // (the same at every size), and the canvas draws each of them where
      // the core puts it, through the form's transform.
      const lines = await page.evaluate(() => window.tuvrelLabelLines());
      firstLines ??= lines;
      assert.deepEqual(lines, firstLines, `the same lines at ${width}x${height}@${scale}`);
      const drawn = await page.evaluate(() => window.textDrawn);
      const device = [scaleOnDevice, scaleOnDevice, s.transform.x * scale, s.transform.y * scale];
      for (const line of lines.flatMap((l) => l.lines)) {
        const at = drawn.filter((d) => d.text === line.text && d.x === line.x && d.y === line.baseline);
        assert.ok(at.length > 0, `"${line.text}" drawn at ${line.x}, ${line.baseline}: ${JSON.stringify(drawn)}`);
        for (const d of at)
          d.transform.forEach((v, i) => assert.ok(Math.abs(v - device[i]) < 1e-3, `"${line.text}" through ${d.transform}, not ${device}`));
      }
      assert.deepEqual(problems, []);
      await context.close();
    }
  });

  for (const by of ['mouse', 'touch']) {
    test(`a puzzle played by ${by} ends where the core's own play ends`, async () => {
      const moves = 'drag:img1>Image1;drag:img2>Image2;drag:img4>Image3';
      const {context, page, problems} = await open('/#Puzzel1', {touch: by === 'touch'});
      const cdp = await context.newCDPSession(page);
      assert.deepEqual((await state(page)).layers, ['Puzzel1', 'Start']);
      await play(page, cdp, 'Puzzel1', moves, by);
      const core = await page.evaluate(([m]) => window.tuvrelCorePlay('Puzzel1', m), [moves]);
      assert.equal(core.error, undefined);
      assert.deepEqual(formsOf(await state(page)), formsOf(core));
      assert.deepEqual(problems, []);
      await context.close();
    });
  }

  test('a cancelled touch drops nothing; a second finger on a puzzle does nothing (Spel: plays.test.mjs)', async () => {
    const {context, page, problems} = await open('/#Puzzel1', {touch: true});
    const cdp = await context.newCDPSession(page);
    const before_ = await state(page);
    const a = await centre(page, 'Puzzel1', 'img1'), b = await centre(page, 'Puzzel1', 'Image1');
    await cdp.send('Input.dispatchTouchEvent', {type: 'touchStart', touchPoints: [{...a, id: 1}]});
    await cdp.send('Input.dispatchTouchEvent', {type: 'touchMove', touchPoints: [{...b, id: 1}]});
    assert.equal((await state(page)).forms[1].dragging, true);
    await cdp.send('Input.dispatchTouchEvent', {type: 'touchCancel', touchPoints: []});
    await page.waitForFunction(() => !window.tuvrelState().holds);
    assert.deepEqual(formsOf(await state(page)), formsOf(before_));
    await context.close();

    // Two fingers: the second, dragging another piece meanwhile and lifting
    // first, moves nothing (a touchEnd names the fingers that lift).
    const second = await open('/#Puzzel1', {touch: true});
    const cdp2 = await second.context.newCDPSession(second.page);
    const p1 = await centre(second.page, 'Puzzel1', 'img1'), t1 = await centre(second.page, 'Puzzel1', 'Image1');
    const p2 = await centre(second.page, 'Puzzel1', 'img2'), t2 = await centre(second.page, 'Puzzel1', 'Image2');
    const send = (type, points) => cdp2.send('Input.dispatchTouchEvent', {type, touchPoints: points});
    await send('touchStart', [{...p1, id: 1}]);
    await send('touchStart', [{...p1, id: 1}, {...p2, id: 2}]);
    await send('touchMove', [{...t1, id: 1}, {...t2, id: 2}]);
    await send('touchEnd', [{...t2, id: 2}]);
    await send('touchEnd', []);
    await second.page.waitForFunction(() => !window.tuvrelState().holds);
    const core = await second.page.evaluate(() => window.tuvrelCorePlay('Puzzel1', 'drag:img1>Image1'));
    assert.deepEqual(formsOf(await state(second.page)), formsOf(core));
    assert.deepEqual([...problems, ...second.problems], []);
    await second.context.close();
  });

  test('back closes the front game; an unknown name opens Start alone; knopStop ends and starts again', async () => {
    const {context, page, problems} = await open('/#Tellen1');
    assert.deepEqual((await state(page)).layers, ['Tellen1', 'Start']);
    await page.waitForURL(/#Tellen1$/);
    // The game's entry is made at the first touch (browsers skip, on back, an
    // entry pushed before one): a click on the strip above the form. The
    // address is the game's again once the new entry is pushed (the driver
    // hears of each change of the address a moment after the click).
    await page.mouse.click(2, 2);
    await page.waitForURL(/#Tellen1$/);
    await page.goBack();
    await page.waitForFunction(() => window.tuvrelState().layers.length === 1);
    assert.deepEqual((await state(page)).layers, ['Start']);
    assert.equal(await page.title(), (await state(page)).forms[0].caption);

    await page.goto(origin + '/#GeenSpel');
    await page.waitForSelector('html[data-ready="true"]');
    assert.deepEqual((await state(page)).layers, ['Start']);

    const stop = await centre(page, 'Start', 'knopStop');
    await page.mouse.click(stop.x, stop.y);
    await page.waitForSelector('#end:not([hidden])');
    assert.equal((await state(page)).ended, true);
    await page.click('#again');
    await page.waitForFunction(() => window.tuvrelState().layers.join() === 'Start');
    assert.deepEqual(problems, []);
    await context.close();
  });

  // A class page's link with "tikken": a child plays a puzzle and a sudoku
  // with finger taps alone, each picture carried by a tap on it and a tap on
  // its place, to where the core's own drags end; a carried picture goes
  // back by its own tap, Escape and back (the game stays), dropping nothing.
  test('with tikken a puzzle and a sudoku play by taps alone; its own tap, Escape and back put a picture back', async () => {
    const {context, page, problems} = await open('/?tikken#Puzzel1', {touch: true});
    const cdp = await context.newCDPSession(page);
    const tap = async (formName, control) => {
      const p = await centre(page, formName, control);
      await cdp.send('Input.dispatchTouchEvent', {type: 'touchStart', touchPoints: [{...p, id: 1}]});
      await cdp.send('Input.dispatchTouchEvent', {type: 'touchEnd', touchPoints: []});
    };
    for (const form of ['Puzzel1', 'Sudoku1']) {
      if (form !== 'Puzzel1') {
        await page.evaluate((name) => { location.hash = name; }, form);
        await page.waitForFunction((name) => window.tuvrelState().layers[0] === name, form);
      }
      const {moves} = plays.find((p) => p.form === form);
      const before_ = await state(page);
      await play(page, cdp, form, moves, 'taps');
      const core = await page.evaluate(([f, m]) => window.tuvrelCorePlay(f, m), [form, moves]);
      assert.notDeepEqual(formsOf(core), formsOf(before_), `${form}: the play changes the form`);
      assert.deepEqual(formsOf(await state(page)), formsOf(core), `${form} by taps`);
      const played = await state(page);
      const formOf = (s) => s.forms.find((f) => f.name === form);
      const visible = (name) => formOf(played).controls.some((c) => c.name === name && c.visible);
      const {from} = (await stepsOf(page, moves)).find((m) => m.from !== m.to && visible(m.from));
      for (const [how, putBack] of [
        ['its own tap', () => tap(form, from)],
        ['Escape', () => page.keyboard.press('Escape')],
        ['back', () => page.goBack()],
      ]) {
        await tap(form, from);
        await page.waitForFunction(() => window.tuvrelState().carrying);
        assert.equal(formOf(await state(page)).dragging, true, `${form}: ${how}: held`);
        await putBack();
        await page.waitForFunction(() => !window.tuvrelState().carrying);
        const now = await state(page);
        assert.equal(now.layers[0], form, `${form}: ${how}: the game stays`);
        await page.waitForURL(new RegExp(`\\?tikken#${form}$`));
        assert.deepEqual(formsOf(now), formsOf(played), `${form}: ${how} dropped nothing`);
      }
      // Back, with nothing carried, closes the game as always.
      await page.goBack();
      await page.waitForFunction(() => window.tuvrelState().layers.join() === 'Start');
    }
    assert.deepEqual(problems, []);
    await context.close();
  });

  // Closing a game steps the browser's history back; that step arrives a
  // moment later. A game opened in between keeps the page and its own entry,
  // so that back closes it as always.
  test('a game opened the moment another closed keeps the page, and back closes it', async () => {
    const {context, page, problems} = await open('/');
    const puzzles = await centre(page, 'Start', 'knopPuzzels');
    await page.mouse.click(puzzles.x, puzzles.y);
    await page.waitForFunction(() => window.tuvrelState().layers.join() === 'Puzzel1,Start');
    const close = await centre(page, 'Puzzel1', 'Command1');
    await page.evaluate(([a, b]) => {
      const canvas = document.getElementById('canvas');
      const click = (p) => {
        for (const type of ['pointerdown', 'pointerup'])
          canvas.dispatchEvent(new PointerEvent(type, {pointerId: 1, pointerType: 'mouse', isPrimary: true, button: 0,
            buttons: type === 'pointerdown' ? 1 : 0, clientX: p.x, clientY: p.y, bubbles: true, cancelable: true}));
      };
      click(a);
      click(b);
    }, [close, puzzles]);
    await page.waitForTimeout(500);
    assert.deepEqual((await state(page)).layers, ['Puzzel1', 'Start']);
    assert.match(page.url(), /#Puzzel1$/);
    await page.goBack();
    await page.waitForFunction(() => window.tuvrelState().layers.length === 1);
    assert.deepEqual((await state(page)).layers, ['Start']);
    assert.match(page.url(), new RegExp(`^${origin}/$`));
    assert.deepEqual(problems, []);
    await context.close();
  });

  // A menu item whose handler shows a message box: the handler waits in the
  // box (the page says it is busy) and nothing reaches the forms, neither a
  // click, a finger, a key nor the back action, until OK, by any of its keys
  // or a click; then the handler has returned and the form plays again.
  const boxes = [
    ['Spel', /Speel met 2 personen/, ['drag:ImgSint>Image1', 'drag:ImgPiet>Image6', 'drag:ImgSint>Image2', 'drag:ImgPiet>Image7']],
    ['Plaatjeindezak1', /foutsymbool/, ['drag:ImageKaars>ImageZak1', 'drag:ImageMuts>ImageZak2', 'click:ImageFout2', 'drag:ImageParaplu>ImageZak2']],
  ];
  const closers = [['Enter', (page) => page.keyboard.press('Enter')], ['Space', (page) => page.keyboard.press(' ')],
    ['Escape', (page) => page.keyboard.press('Escape')], ['a click on OK', (page) => page.click('#box-ok')]];
  for (const [form, text, moves] of boxes) {
    test(`${form}: its menu item's message box holds the handler until OK (${closers.map(([n]) => n).join(', ')})`, async () => {
      const {context, page, problems} = await open(`/#${form}`, {touch: true});
      const cdp = await context.newCDPSession(page);
      await page.waitForSelector('#menubar:not([hidden])');
      // Read before any box opens: the page's parser is the program's, which
      // waits with the handler while a box shows.
      const steps = [];
      for (const m of moves) steps.push(await stepsOf(page, m));
      for (const [i, [closer, close]] of closers.entries()) {
        const before_ = await state(page);
        assert.equal(before_.busy, false);
        await page.click('#menuitem');
        await page.waitForSelector('#box-shade:not([hidden])');
        assert.match(await page.textContent('#box-text'), text);
        assert.equal((await state(page)).busy, true, 'the handler waits in the box');
        // The next move by mouse and by finger, Tab, Shift+Tab and back: nothing.
        const [{from, to}] = steps[i];
        const a = await centre(page, form, from), b = await centre(page, form, to ?? from);
        await page.mouse.move(a.x, a.y);
        await page.mouse.down();
        await page.mouse.move(b.x, b.y, {steps: 4});
        await page.mouse.up();
        await cdp.send('Input.dispatchTouchEvent', {type: 'touchStart', touchPoints: [{...a, id: 1}]});
        await cdp.send('Input.dispatchTouchEvent', {type: 'touchMove', touchPoints: [{...b, id: 1}]});
        await cdp.send('Input.dispatchTouchEvent', {type: 'touchEnd', touchPoints: []});
        await page.keyboard.press('Tab');
        await page.keyboard.press('Shift+Tab');
        await page.goBack();
        const meanwhile = await state(page);
        assert.deepEqual(meanwhile.layers, [form, 'Start'], `back during the box (${closer})`);
        assert.equal(meanwhile.busy, true);
        assert.deepEqual(formsOf(meanwhile), formsOf(before_), `nothing reached the forms (${closer})`);
        assert.equal(await page.isHidden('#box-shade'), false);

        await close(page);
        await page.waitForSelector('#box-shade', {state: 'hidden'});
        await page.waitForFunction(() => !window.tuvrelState().busy);
        // The form plays again: the move now happens as in the core's own play.
        await play(page, cdp, form, moves[i], i % 2 ? 'touch' : 'mouse');
        const core = await page.evaluate(([f, m]) => window.tuvrelCorePlay(f, m), [form, moves.slice(0, i + 1).join(';')]);
        const after_ = await state(page);
        assert.notDeepEqual(formsOf(after_), formsOf(before_), `the move after ${closer} changed the form`);
        assert.deepEqual(formsOf(after_), formsOf(core), `after ${closer}`);
      }
      assert.deepEqual(problems, []);
      await context.close();
    });
  }

  test('after a first visit the site starts and plays offline', async () => {
    const {context, page, problems} = await open('/');
    // The offline copy is in place once the page says so.
    await page.waitForSelector('html[data-offline="ready"]', {timeout: 60000});
    await context.setOffline(true);
    await page.reload();
    await page.waitForSelector('html[data-ready="true"]', {timeout: 30000});
    assert.deepEqual((await state(page)).layers, ['Start']);
    await page.goto(origin + '/#Puzzel1');
    assert.deepEqual((await state(page)).layers, ['Puzzel1', 'Start']);
    await play(page, null, 'Puzzel1', 'drag:img1>Image1', 'mouse');
    const core = await page.evaluate(() => window.tuvrelCorePlay('Puzzel1', 'drag:img1>Image1'));
    assert.deepEqual(formsOf(await state(page)), formsOf(core));
    assert.deepEqual(problems.filter((p) => !p.includes('ERR_INTERNET_DISCONNECTED')), []);
    await context.close();
  });
});
