// Every game family played on the page, by mouse and by touch, ends where the
// core's own play of the same moves ends. The moves are the desktop tests'
// plays (tests/support/plays.txt), one file for both. And Spel with two
// fingers: only the first one plays.
import {describe, test} from 'node:test';
import assert from 'node:assert/strict';
import {centre, formsOf, open, play, plays, state, stepsOf, useSite} from './support.mjs';


useSite();

describe('every family played on the page', () => {
  // The page's test build reads moves with the desktop tests' parser
  // (tests/plays_test.cpp tests it): what the browser's plays rely on.
  test('the page reads moves as the desktop tests do', async () => {
    const {context, page} = await open('/');
    assert.deepEqual(await stepsOf(page, ' drag: ImgSint > Image1 ;click:knop_2'),
      [{from: 'ImgSint', to: 'Image1'}, {from: 'knop_2', to: 'knop_2'}]);
    for (const bad of ['', 'tap:a', 'drag:a', 'click:a b', 'click:a;'])
      await assert.rejects(stepsOf(page, bad), /are no moves/, bad);
    await context.close();
  });

  for (const {form, moves} of plays) {
    for (const by of ['mouse', 'touch']) {
      test(`${form} by ${by}: ${moves}`, async () => {
        const {context, page, problems} = await open(`/#${form}`, {touch: by === 'touch'});
        const cdp = await context.newCDPSession(page);
        const before = await state(page);
        assert.deepEqual(before.layers, [form, 'Start']);
        await play(page, cdp, form, moves, by);
        const core = await page.evaluate(([f, m]) => window.tuvrelCorePlay(f, m), [form, moves]);
        assert.equal(core.error, undefined);
        // The play changes the form, so that a page that took nothing cannot pass.
        assert.notDeepEqual(formsOf(core), formsOf(before), 'the play changes the form');
        assert.deepEqual(formsOf(await state(page)), formsOf(core));
        assert.deepEqual(problems, []);
        await context.close();
      });
    }
  }
});

describe('Spel with two fingers', () => {
  // The first finger drags Sint onto a square; meanwhile a second finger (or
  // the mouse) drags Piet onto another. Only the first move happens, whichever
  // lifts first.
  const cases = [
    ['the second finger lifts first', 'touch', 2],
    ['the first finger lifts first, the second moves on alone', 'touch', 1],
    ['the mouse meanwhile', 'mouse', 2],
  ];
  for (const [name, other, firstUp] of cases) {
    test(name, async () => {
      const {context, page, problems} = await open('/#Spel', {touch: true});
      const cdp = await context.newCDPSession(page);
      const [sint, square1, piet, square6, square7] = await Promise.all(
        ['ImgSint', 'Image1', 'ImgPiet', 'Image6', 'Image7'].map((c) => centre(page, 'Spel', c)));
      const touch = (type, points) => cdp.send('Input.dispatchTouchEvent', {type, touchPoints: points});
      const one = (at) => ({...at, id: 1}), two = (at) => ({...at, id: 2});
      await touch('touchStart', [one(sint)]);
      if (other === 'touch') {
        await touch('touchStart', [one(sint), two(piet)]);
        await touch('touchMove', [one(square1), two(square6)]);
        // A touchEnd names the fingers that lift; an empty one lifts the rest.
        if (firstUp === 2) {
          await touch('touchEnd', [two(square6)]);
          await touch('touchEnd', []);
        } else {
          await touch('touchEnd', [one(square1)]);
          await touch('touchMove', [two(square7)]);  // on to a free square, alone now
          await touch('touchEnd', []);
        }
      } else {
        await page.mouse.move(piet.x, piet.y);
        await page.mouse.down();
        await page.mouse.move(square6.x, square6.y, {steps: 4});
        await page.mouse.up();
        await touch('touchMove', [one(square1)]);
        await touch('touchEnd', []);
      }
      await page.waitForFunction(() => !window.tuvrelState().holds);
      const [first, both] = await page.evaluate(() =>
        [window.tuvrelCorePlay('Spel', 'drag:ImgSint>Image1'), window.tuvrelCorePlay('Spel', 'drag:ImgSint>Image1;drag:ImgPiet>Image6')]);
      // The two plays differ, so that the second's move would show.
      assert.notDeepEqual(formsOf(first), formsOf(both));
      assert.deepEqual(formsOf(await state(page)), formsOf(first));
      assert.deepEqual(problems, []);
      await context.close();
    });
  }
});
