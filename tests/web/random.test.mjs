// A random run in the page: a child pressing everything, in every order, by
// mouse, pen and fingers at once, with keys, the menu bar, the back action,
// message boxes and the end screen, on the page built with its invariants
// checked (site-checked: the same site with the program of
// web/invariant_check.cpp). After every event the page's invariants are
// checked: the layers are the loaded forms, one pointer plays, every form
// keeps the rules of every form and its game's invariants. Nothing may break:
// no invariant, no console error, no page error, no stop of the program; and
// the program still answers at the end.
//
// Half of the batches play with pictures carried by taps (tikken).
//
// Most events are PointerEvents and key events dispatched on the canvas from
// inside the page (the same handlers of page.js, many per evaluate); a share
// is real input through the DevTools protocol (Input.dispatchMouseEvent,
// Input.dispatchTouchEvent, key presses). Seeded: the same seed plays the same
// events. A failure prints its seed, the event and the last events.
//   TUVREL_RANDOM_EVENTS  events of the run (default 20000)
//   TUVREL_RANDOM_SEED    its seed (default 0x7e57)
//   TUVREL_CHECKED_SITE   the checked site (default: site-checked beside TUVREL_SITE)
import {test, before, after} from 'node:test';
import assert from 'node:assert/strict';
import fs from 'node:fs';
import path from 'node:path';
import {forms as formNames, site, serveSite, launchChromium} from './support.mjs';

const checkedSite = process.env.TUVREL_CHECKED_SITE || path.join(path.dirname(path.resolve(site)), 'site-checked');
const eventCount = Number(process.env.TUVREL_RANDOM_EVENTS || 20000);
const seed = Number(process.env.TUVREL_RANDOM_SEED || 0x7e57) >>> 0;

// xorshift32, the same in the page (driver below) and here.
function randomFrom(state) {
  state = state >>> 0 || 0x9e3779b9;
  const next = () => {
    state ^= state << 13; state >>>= 0;
    state ^= state >>> 17;
    state ^= state << 5; state >>>= 0;
    return state / 4294967296;
  };
  return {
    next,
    int: (n) => Math.floor(next() * n),
    chance: (p) => next() < p,
    pick: (items) => items[Math.floor(next() * items.length)],
  };
}

// Installed in the page: plays `count` random events from `batchSeed`,
// checking the invariants after each; check(label) checks after an event
// sent from outside.
function installDriver() {
  const $ = (id) => document.getElementById(id);
  const canvas = $('canvas');
  const log = [];
  const counts = {events: 0, boxes: 0, restarts: 0, checks: 0, partnerDrops: 0, forms: {}};
  const down = new Map();  // pointerId -> {type, x, y, to}
  let nextTouchId = 10;
  const tick = () => new Promise((resolve) => setTimeout(resolve, 0));
  // The page steps back in the browser's history itself (a game closed by
  // its own button, the end screen): the step arrives later, as a popstate.
  // A child's next touch comes after it; so does the next event here.
  let stepsBack = 0;
  const stepBack = history.back.bind(history);
  history.back = () => { ++stepsBack; stepBack(); };
  window.addEventListener('popstate', () => { if (stepsBack > 0) --stepsBack; });
  async function historySettled() {
    for (let i = 0; i < 100 && stepsBack > 0; ++i)
      await new Promise((resolve) => {
        window.addEventListener('popstate', () => setTimeout(resolve, 0), {once: true});
        setTimeout(resolve, 50);
      });
    return stepsBack === 0;
  }
  function randomFrom(state) {
    state = state >>> 0 || 0x9e3779b9;
    const next = () => {
      state ^= state << 13; state >>>= 0;
      state ^= state >>> 17;
      state ^= state << 5; state >>>= 0;
      return state / 4294967296;
    };
    return {next, int: (n) => Math.floor(next() * n), chance: (p) => next() < p,
      pick: (items) => items[Math.floor(next() * items.length)]};
  }
  const note = (text) => {
    log.push(`${counts.events}: ${text}`);
    if (log.length > 60) log.shift();
  };

  // The front form's visible controls in client pixels. The page's state is
  // dear to read (every form as JSON): read again when the front form
  // changes, and every 40 events for what changed on it.
  let cached = null, cachedKey = '', cachedAt = 0;
  function targets() {
    const key = document.title + location.hash + counts.restarts;
    if (cached && key === cachedKey && counts.events - cachedAt < 40) return cached;
    cachedKey = key;
    cachedAt = counts.events;
    cached = readTargets();
    return cached;
  }
  function readTargets() {
    const s = window.tuvrelState();
    const front = s.forms.find((f) => f.name === s.layers[0]);
    if (!front) return {front: '', controls: []};
    const r = canvas.getBoundingClientRect();
    const t = s.transform;
    const controls = front.controls.filter((c) => c.visible && c.w > 0 && c.h > 0).map((c) => ({
      name: c.name,
      x: r.left + t.x + c.x * t.scale, y: r.top + t.y + c.y * t.scale, w: c.w * t.scale, h: c.h * t.scale,
    }));
    return {front: front.name, controls};
  }
  function pointIn(rnd, c) {
    return {x: c.x + rnd.next() * c.w, y: c.y + rnd.next() * c.h, on: c.name};
  }
  // Where a child who knows the game drags a control: one that belongs with
  // it by name (img3 onto Image3, Img2b onto Image2b, ImageMutsRood onto
  // ImageMuts); null when none does.
  function partner(rnd, name) {
    const lower = name.toLowerCase();
    const number = /\d+[a-z]?$/i.exec(name);
    const mates = targets().controls.filter((c) => {
      const other = c.name.toLowerCase();
      if (other === lower) return false;
      if (number && other.endsWith(number[0].toLowerCase()) && /\d/.test(other.at(-number[0].length - 1) ?? '') === false)
        return true;
      return other.length >= 6 && lower.startsWith(other);
    });
    return mates.length ? pointIn(rnd, rnd.pick(mates)) : null;
  }
  function somewhere(rnd) {
    const at = targets();
    if (at.controls.length && rnd.chance(0.75)) {
      // Start's buttons open the games: a child presses them most.
      const buttons = at.controls.filter((c) => /^knop/i.test(c.name) && !/^knopStop$/i.test(c.name));
      const c = at.front === 'Start' && buttons.length && rnd.chance(0.8) ? rnd.pick(buttons) : rnd.pick(at.controls);
      return pointIn(rnd, c);
    }
    return {x: rnd.next() * window.innerWidth, y: rnd.next() * window.innerHeight, on: 'anywhere'};
  }

  function pointer(type, p, phase, x, y) {
    const mouse = p.type === 'mouse';
    const buttons = phase === 'pointerup' || phase === 'pointercancel' ? 0 : (p.pressed ? 1 : 0);
    canvas.dispatchEvent(new PointerEvent(phase, {
      bubbles: true, cancelable: true, composed: true, pointerId: p.id, pointerType: p.type,
      isPrimary: mouse || p.primary, clientX: x, clientY: y, button: phase === 'pointermove' ? -1 : 0, buttons,
      width: mouse ? 1 : 20, height: mouse ? 1 : 20, pressure: buttons ? 0.5 : 0,
    }));
  }
  const where = (x, y, on) => `${Math.round(x)},${Math.round(y)}${on ? ' (' + on + ')' : ''}`;

  function press(rnd, type) {
    const id = type === 'mouse' ? 1 : type === 'pen' ? 2 : nextTouchId++;
    if (down.has(id)) return false;
    const at = somewhere(rnd);
    const p = {id, type, x: at.x, y: at.y, from: at, pressed: true, primary: down.size === 0, to: null};
    // A drag onto anything, a tap that wanders, or a press that stays.
    if (rnd.chance(0.55)) {
      const mate = rnd.chance(0.4) && partner(rnd, at.on);
      p.to = mate || somewhere(rnd);
      p.toPartner = !!mate;
    }
    else if (rnd.chance(0.5)) p.to = {x: at.x + (rnd.next() - 0.5) * 40, y: at.y + (rnd.next() - 0.5) * 40, on: 'wander'};
    down.set(id, p);
    note(`${type}#${id} down at ${where(at.x, at.y, at.on)}`);
    pointer(type, p, 'pointerdown', at.x, at.y);
    return true;
  }
  function move(rnd, p) {
    let x, y;
    if (p.to && rnd.chance(0.85)) {
      const step = Math.hypot(p.to.x - p.x, p.to.y - p.y) < 25 ? 1 : 0.3 + rnd.next() * 0.6;
      x = p.x + (p.to.x - p.x) * step;
      y = p.y + (p.to.y - p.y) * step;
    } else {
      x = p.x + (rnd.next() - 0.5) * 30;
      y = p.y + (rnd.next() - 0.5) * 30;
    }
    p.x = x;
    p.y = y;
    note(`${p.type}#${p.id} moves to ${where(x, y, p.to && p.to.on)}`);
    pointer(p.type, p, 'pointermove', x, y);
  }
  function lift(p, cancel) {
    if (!cancel && p.toPartner && Math.hypot(p.x - p.to.x, p.y - p.to.y) < 8) ++counts.partnerDrops;
    down.delete(p.id);
    p.pressed = false;
    note(`${p.type}#${p.id} ${cancel ? 'cancelled' : 'up'} at ${where(p.x, p.y)}`);
    pointer(p.type, p, cancel ? 'pointercancel' : 'pointerup', p.x, p.y);
  }
  const keys = [
    {key: 'Tab', code: 'Tab'}, {key: 'Tab', code: 'Tab', shiftKey: true}, {key: 'Enter', code: 'Enter'},
    {key: 'Enter', code: 'NumpadEnter'}, {key: ' ', code: 'Space'}, {key: 'Escape', code: 'Escape'},
  ];
  function key(rnd) {
    const k = rnd.pick(keys);
    note(`key ${k.shiftKey ? 'Shift+' : ''}${k.code}`);
    canvas.dispatchEvent(new KeyboardEvent('keydown', {...k, bubbles: true, cancelable: true}));
    canvas.dispatchEvent(new KeyboardEvent('keyup', {...k, bubbles: true, cancelable: true}));
  }

  // One event, chosen from what is held now.
  function step(rnd) {
    const held = [...down.values()];
    const r = rnd.next();
    if (!held.length) {
      if (r < 0.62) return press(rnd, rnd.chance(0.45) ? 'mouse' : rnd.chance(0.85) ? 'touch' : 'pen');
      if (r < 0.72) {
        const at = somewhere(rnd);
        note(`mouse hovers at ${where(at.x, at.y, at.on)}`);
        return pointer('mouse', {id: 1, type: 'mouse', pressed: false}, 'pointermove', at.x, at.y), true;
      }
      if (r < 0.86) return key(rnd), true;
      if (r < 0.9 && !$('menubar').hidden) {
        note(`menu ${$('menuitem').textContent}`);
        return $('menuitem').click(), true;
      }
      // A finger or the mouse that holds nothing lifting or cancelled.
      const p = {id: rnd.chance(0.5) ? 1 : nextTouchId++, pressed: false};
      p.type = p.id === 1 ? 'mouse' : 'touch';
      const at = somewhere(rnd);
      p.x = at.x;
      p.y = at.y;
      return lift(p, rnd.chance(0.5)), true;
    }
    const p = held[0].primary || held.length === 1 ? held[0] : rnd.pick(held);
    // A drag mostly goes on until it is where it was going.
    const underway = p.to && Math.hypot(p.to.x - p.x, p.to.y - p.y) > 1 && rnd.chance(0.6);
    if (r < 0.5 || underway) return move(rnd, rnd.chance(0.8) ? p : rnd.pick(held)), true;
    if (r < 0.68) return lift(p, false), true;
    if (r < 0.73 && p.type !== 'mouse') return lift(p, true), true;
    if (r < 0.83 && held.length < 3) return press(rnd, 'touch');
    if (r < 0.87 && held.length < 3) return press(rnd, rnd.chance(0.7) ? 'mouse' : 'pen');
    if (r < 0.92) return lift(rnd.pick(held), rnd.chance(0.3)), true;
    return key(rnd), true;
  }

  // Whatever the event left open: a message box is closed with its OK, as a
  // child would, and its handler goes on; the end screen's button starts the
  // program again. Then the invariants. Returns what is broken.
  async function settle() {
    for (let rounds = 0; rounds < 1000; ++rounds) {
      if (!$('problem').hidden)
        return [`the page shows a problem: ${$('problem-title').textContent}: ${$('problem-text').textContent}`];
      if (!$('box-shade').hidden) {
        const text = $('box-text').textContent;
        if (text.startsWith('Tuvrel moet stoppen')) return [`the program stopped on an error: ${text}`];
        ++counts.boxes;
        note(`OK on the box "${$('box-title').textContent}": ${text}`);
        $('box-ok').click();
        await tick();
        continue;
      }
      if (!$('end').hidden) {
        ++counts.restarts;
        note('the end screen: Opnieuw beginnen');
        for (const p of down.values()) p.pressed = false;
        down.clear();
        $('again').click();
        for (let i = 0; i < 200 && window.tuvrelState().layers.length === 0; ++i) await tick();
        if (window.tuvrelState().layers.length === 0) return ['the program did not start again from the end screen'];
        continue;
      }
      if (!await historySettled()) return ['the browser never took the step back in its history'];
      ++counts.checks;
      return window.tuvrelBrokenInvariants();
    }
    return ['message boxes kept opening'];
  }

  window.tuvrelRandom = {
    counts, log,
    // Whether the page's own steps back in its history have all arrived.
    settled: historySettled,
    async run(count, batchSeed) {
      const rnd = randomFrom(batchSeed);
      for (let i = 0; i < count; ++i) {
        ++counts.events;
        const front = targets().front;
        counts.forms[front] = (counts.forms[front] || 0) + 1;
        step(rnd);
        const broken = await settle();
        if (broken.length) return {broken, event: counts.events, log: [...log]};
      }
      return null;
    },
    // After an event sent from outside (its label for the log).
    async check(label) {
      ++counts.events;
      note(label);
      const broken = await settle();
      return broken.length ? {broken, event: counts.events, log: [...log]} : null;
    },
    // The pointers the page's events left down are forgotten when real input
    // takes over, as when a child's hand leaves the board.
    release() {
      for (const p of [...down.values()]) lift(p, p.type !== 'mouse');
    },
  };
}

let served, browser;
before(async () => {
  if (!fs.existsSync(path.join(checkedSite, 'tuvrel.wasm')))
    throw new Error(`no checked site at ${checkedSite}: build the target tuvrel_site_checked (tests/web/run.sh does)`);
  served = await serveSite(checkedSite);
  browser = await launchChromium();
});
after(async () => {
  await browser?.close();
  await served?.close();
});

test(`random run: ${eventCount} events from seed 0x${seed.toString(16)}, invariants checked after each`, {timeout: 30 * 60 * 1000}, async () => {
  const context = await browser.newContext({viewport: {width: 1024, height: 768}, hasTouch: true, serviceWorkers: 'block'});
  const page = await context.newPage();
  const problems = [];
  page.on('console', (m) => { if (m.type() === 'error') problems.push('console: ' + m.text()); });
  page.on('pageerror', (e) => problems.push('page error: ' + e.message));
  page.on('crash', () => problems.push('the page crashed'));
  page.on('request', (r) => { if (!r.url().startsWith(served.origin) && !/^(data|blob):/.test(r.url())) problems.push('foreign request: ' + r.url()); });
  await page.goto(served.origin + '/');
  await page.waitForSelector('html[data-ready="true"]', {timeout: 30000});
  assert.equal(typeof await page.evaluate(() => typeof window.tuvrelBrokenInvariants), 'string');
  assert.deepEqual(await page.evaluate(() => window.tuvrelBrokenInvariants()), [], 'the invariants hold at the start');
  await page.evaluate(installDriver);
  const cdp = await context.newCDPSession(page);

  const rnd = randomFrom(seed);
  const replay = `TUVREL_RANDOM_SEED=0x${seed.toString(16)} TUVREL_RANDOM_EVENTS=${eventCount} ` +
    'TUVREL_SITE=<site> node --test tests/web/random.test.mjs';
  const fail = (why, failure) => assert.fail(
    `the random run with seed 0x${seed.toString(16)} broke${failure ? ` at event ${failure.event}` : ''}:\n  ` +
    (failure ? failure.broken.join('\n  ') : why) + '\nthe last events:\n  ' +
    (failure ? failure.log : []).join('\n  ') + `\nreplay: ${replay}`);
  const lastLog = () => page.evaluate(() => [...window.tuvrelRandom.log]);
  const checkProblems = async () => {
    if (problems.length) fail(null, {broken: problems, event: (await page.evaluate(() => window.tuvrelRandom.counts.events)), log: await lastLog()});
  };
  const after = async (label) => {
    const failure = await page.evaluate((l) => window.tuvrelRandom.check(l), label);
    if (failure) fail(null, failure);
  };

  // Real input: where the front form's controls lie.
  async function realTarget() {
    const [s, box] = await page.evaluate(() => {
      const r = document.getElementById('canvas').getBoundingClientRect();
      return [window.tuvrelState(), {x: r.left, y: r.top}];
    });
    const front = s.forms.find((f) => f.name === s.layers[0]);
    const controls = front ? front.controls.filter((c) => c.visible && c.w > 0) : [];
    if (!controls.length || rnd.chance(0.2)) return {x: rnd.next() * 1024, y: rnd.next() * 768, on: 'anywhere'};
    const c = rnd.pick(controls);
    const t = s.transform;
    return {x: box.x + t.x + (c.x + rnd.next() * c.w) * t.scale, y: box.y + t.y + (c.y + rnd.next() * c.h) * t.scale, on: c.name};
  }
  const at = (p) => `${Math.round(p.x)},${Math.round(p.y)} (${p.on})`;
  // A press, a few moves and a release (or a cancel), by the real mouse or
  // real fingers, a second finger now and then; a key press.
  async function realGesture() {
    await page.evaluate(() => window.tuvrelRandom.release());
    const kind = rnd.pick(['mouse', 'touch', 'touch', 'key']);
    if (kind === 'key') {
      const k = rnd.pick(['Tab', 'Shift+Tab', 'Enter', 'Space']);
      await page.keyboard.press(k);
      return after(`real key ${k}`);
    }
    const from = await realTarget(), to = rnd.chance(0.6) ? await realTarget() : from;
    const steps = 1 + rnd.int(5);
    if (kind === 'mouse') {
      await cdp.send('Input.dispatchMouseEvent', {type: 'mouseMoved', x: from.x, y: from.y});
      await cdp.send('Input.dispatchMouseEvent', {type: 'mousePressed', x: from.x, y: from.y, button: 'left', buttons: 1, clickCount: 1});
      await after(`real mouse down at ${at(from)}`);
      for (let i = 1; i <= steps; ++i) {
        const x = from.x + (to.x - from.x) * i / steps, y = from.y + (to.y - from.y) * i / steps;
        await cdp.send('Input.dispatchMouseEvent', {type: 'mouseMoved', x, y, button: 'left', buttons: 1});
        await after(`real mouse moves to ${Math.round(x)},${Math.round(y)}`);
      }
      await cdp.send('Input.dispatchMouseEvent', {type: 'mouseReleased', x: to.x, y: to.y, button: 'left', buttons: 0, clickCount: 1});
      return after(`real mouse up at ${at(to)}`);
    }
    const points = [{x: from.x, y: from.y, id: 1}];
    await cdp.send('Input.dispatchTouchEvent', {type: 'touchStart', touchPoints: points});
    await after(`real finger down at ${at(from)}`);
    for (let i = 1; i <= steps; ++i) {
      points[0] = {x: from.x + (to.x - from.x) * i / steps, y: from.y + (to.y - from.y) * i / steps, id: 1};
      if (points.length === 1 && rnd.chance(0.15)) {
        const second = await realTarget();
        points.push({x: second.x, y: second.y, id: 2});
        await cdp.send('Input.dispatchTouchEvent', {type: 'touchStart', touchPoints: points});
        await after(`real second finger down at ${at(second)}`);
      }
      await cdp.send('Input.dispatchTouchEvent', {type: 'touchMove', touchPoints: points});
      await after(`real fingers move, the first to ${Math.round(points[0].x)},${Math.round(points[0].y)}`);
    }
    const cancel = rnd.chance(0.15);
    await cdp.send('Input.dispatchTouchEvent', {type: cancel ? 'touchCancel' : 'touchEnd', touchPoints: []});
    return after(cancel ? 'real touches cancelled' : `real fingers up, the first at ${at(to)}`);
  }
  // The browser's back action, on a game (on Start it would leave the page).
  async function back() {
    // The hand that goes to the back button lets go of the board first (which
    // may close the game, and step back in the history itself); back comes
    // after that step has arrived, and only while a game is in front.
    await page.evaluate(() => window.tuvrelRandom.release());
    await page.evaluate(() => window.tuvrelRandom.settled());
    const s = await page.evaluate(() => window.tuvrelState());
    const open = await page.evaluate(() => document.getElementById('box-shade').hidden && document.getElementById('end').hidden);
    if (!open || s.ended || !s.layers.length || s.layers[0] === 'Start') return;
    await page.evaluate(() => history.back());
    await page.waitForFunction((front) => {
      const now = window.tuvrelState();
      return now.layers[0] !== front || !document.getElementById('box-shade').hidden;
    }, s.layers[0], {timeout: 5000}).catch(() => {});
    return after(`back on ${s.layers[0]}`);
  }

  // Every form gets its share, as the desktop's random player gives it: a
  // batch of events starts on the form that has had the fewest so far, closed
  // down to Start by back and opened as a class page's link opens it.
  async function toLeastPlayed() {
    const had = await page.evaluate(() => window.tuvrelRandom.counts.forms);
    const least = formNames.reduce((a, b) => ((had[b] || 0) < (had[a] || 0) ? b : a));
    for (let i = 0; i < 10; ++i) {
      const front = await page.evaluate(() => window.tuvrelState().layers[0]);
      if (front === least || front === 'Start' || front === undefined) break;
      await back();
    }
    // An address is typed once the page's own step back has arrived, as a
    // teacher's hand is slower than it.
    if (!await page.evaluate(() => window.tuvrelRandom.settled())) return;
    const s = await page.evaluate(() => window.tuvrelState());
    if (least === 'Start' || s.layers[0] !== 'Start' || s.ended) return;
    await page.evaluate((name) => { location.hash = name; }, least);
    await page.waitForFunction((name) => window.tuvrelState().layers[0] === name, least, {timeout: 5000}).catch(() => {});
    await after(`${least} opened by its address`);
  }

  const batch = 250;
  let batchIndex = 0;
  for (;;) {
    const done = await page.evaluate(() => window.tuvrelRandom.counts.events);
    if (done >= eventCount) break;
    const r = rnd.next();
    if (r < 0.06) {
      for (let i = 0; i < 3; ++i) await realGesture();
    } else if (r < 0.09) {
      await back();
    } else {
      await toLeastPlayed();
      // Every other batch carries pictures by taps, as with "tikken" on:
      // picked up by one tap, put down by the next, Escape or back.
      await page.evaluate((on) => window.tuvrelCarryByTaps(on), batchIndex % 2 === 1);
      const count = Math.min(batch, eventCount - done);
      const failure = await page.evaluate(([n, s]) => window.tuvrelRandom.run(n, s), [count, (seed ^ Math.imul(++batchIndex, 0x9e3779b1)) >>> 0]);
      if (failure) fail(null, failure);
    }
    await checkProblems();
  }

  // Still answering: from Start (again, if the run ended there), a game opens
  // by a real click, and the invariants hold.
  await page.evaluate(() => window.tuvrelRandom.release());
  const counts = await page.evaluate(() => window.tuvrelRandom.counts);
  for (let i = 0; i < 20; ++i) {
    const s = await page.evaluate(() => window.tuvrelState());
    if (s.layers[0] === 'Start') break;
    await back();
  }
  const s = await page.evaluate(() => window.tuvrelState());
  assert.equal(s.layers[0], 'Start', 'back leads to Start at the end');
  const knop = s.forms.find((f) => f.name === 'Start').controls.find((c) => c.name === 'knopPuzzels');
  const t = s.transform;
  await page.mouse.click(t.x + (knop.x + knop.w / 2) * t.scale, t.y + (knop.y + knop.h / 2) * t.scale);
  await page.waitForFunction(() => window.tuvrelState().layers[0] !== 'Start', null, {timeout: 5000});
  await after('a real click on knopPuzzels at the end');
  await checkProblems();
  assert.ok(counts.checks >= eventCount, `every event was checked (${counts.checks} checks for ${counts.events} events)`);
  const fairShare = counts.events / formNames.length;
  const short = formNames.filter((f) => (counts.forms[f] || 0) < fairShare / 4);
  assert.deepEqual(short, [], `every form had a fair share of the events (${Math.round(fairShare)} each): ${JSON.stringify(counts.forms)}`);
  console.log(`random run 0x${seed.toString(16)}: ${counts.events} events, ${counts.checks} checks, ` +
    `${counts.boxes} message boxes closed, ${counts.restarts} restarts from the end screen, ` +
    `${counts.partnerDrops} drags dropped on the control that belongs with them; events by front form: ` +
    Object.entries(counts.forms).map(([f, n]) => `${f || '(none)'} ${n}`).join(', '));
  await context.close();
});
