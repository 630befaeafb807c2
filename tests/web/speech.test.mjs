// Reading aloud and the two settings in the browser. The page's speech is a
// recorder at the Web Speech API's boundary (speechSynthesis and
// SpeechSynthesisUtterance, in place before the page's script runs), with
// the voices a device may have: a Dutch one of its own among others, only
// English ones, none at all. What is read and when is the program's (the
// core's tests); here: the page speaks exactly that, in order, each reading
// cancelling the one before, never in another language, only after the
// child's first touch; the note where there is no Dutch voice; the settings
// from the address, remembered, and offline with them.
import {describe, test} from 'node:test';
import assert from 'node:assert/strict';
import {browser, centre, origin, state, useSite} from './support.mjs';

useSite();

// The device's speech, replaced: `voices` come at once or, with `late`, a
// moment later with a voiceschanged event (as Chromium lists them). Every
// call is noted in window.speechLog.
function installSpeech({voices, late}) {
  const log = [];
  window.speechLog = log;
  let list = late ? [] : voices;
  const events = new EventTarget();
  class Utterance {
    constructor(text) {
      this.text = text;
      this.voice = null;
      this.lang = '';
    }
    addEventListener() {}
  }
  const synth = {
    getVoices: () => list.slice(),
    speak: (u) => log.push({speak: u.text, voice: u.voice ? u.voice.name : null, lang: u.lang,
      activated: !!(navigator.userActivation && navigator.userActivation.hasBeenActive)}),
    cancel: () => log.push({cancel: true}),
    pause() {},
    resume() {},
    get speaking() { return false; },
    get pending() { return false; },
    addEventListener: (type, f) => events.addEventListener(type, f),
    removeEventListener: (type, f) => events.removeEventListener(type, f),
  };
  Object.defineProperty(window, 'speechSynthesis', {value: synth, configurable: true});
  Object.defineProperty(window, 'SpeechSynthesisUtterance', {value: Utterance, configurable: true});
  if (late) setTimeout(() => { list = voices; events.dispatchEvent(new Event('voiceschanged')); }, 300);
}

const dutchHere = {name: 'Nederlands (toestel)', lang: 'nl-NL', localService: true, default: false};
const flemish = {name: 'Vlaams (toestel)', lang: 'nl-BE', localService: true, default: false};
const dutchOnline = {name: 'Google Nederlands', lang: 'nl-NL', localService: false, default: false};
const english = {name: 'English (device)', lang: 'en-US', localService: true, default: true};
const german = {name: 'Deutsch (Gerät)', lang: 'de-DE', localService: true, default: false};

async function openWith(speech, address) {
  const context = await browser.newContext({viewport: {width: 1024, height: 768}});
  await context.addInitScript(installSpeech, speech);
  const page = await context.newPage();
  const problems = [];
  page.on('console', (m) => { if (m.type() === 'error') problems.push('console: ' + m.text()); });
  page.on('pageerror', (e) => problems.push('page error: ' + e.message));
  await load(page, address);
  return {context, page, problems};
}

async function load(page, address) {
  await page.goto(origin + address);
  await page.waitForSelector('html[data-ready="true"]', {timeout: 30000});
}

// What the page asked of the speech since the last look: the readings, each
// the texts spoken after a cancel (a reading that only stopped is []).
async function readings(page) {
  const log = await page.evaluate(() => window.speechLog.splice(0));
  const out = [];
  for (const entry of log) {
    if (entry.cancel) out.push([]);
    else if (out.length) out[out.length - 1].push(entry);
    else out.push([entry]);  // spoken with no cancel before: shown as a reading of its own
  }
  return out;
}
const texts = (rs) => rs.map((r) => r.map((e) => e.speak));

// A real click (the browser's user activation, as a child's) at a control's centre.
async function clickOn(page, form, control) {
  const at = await centre(page, form, control);
  await page.mouse.click(at.x, at.y);
  await page.waitForFunction(() => !window.tuvrelState().holds);
}

const instruction = 'Klik alleen de figuurtjes aan. Ze worden vanzelf geteld.';
const noteShown = (page) => page.evaluate(() => !document.getElementById('speech-note').hidden);

describe('reading aloud in the browser', () => {
  test('with a Dutch voice: each front, box and tapped label read in the Dutch voice, after the first touch', async () => {
    const {context, page, problems} = await openWith({voices: [english, dutchOnline, flemish, dutchHere], late: true},
      '/?voorlezen#Tellen1');
    assert.deepEqual((await state(page)).layers, ['Tellen1', 'Start']);
    await page.waitForTimeout(600);  // the voices have come
    // Before anyone touched the page nothing is spoken: Start's reading and
    // then Tellen1's wait, the later in place of the earlier.
    assert.deepEqual(texts(await readings(page)), [[], []]);
    assert.equal(await noteShown(page), false);

    // The first touch, on the strip above the form (no control): the waiting reading is spoken.
    const s = await state(page);
    assert.ok(s.transform.y > 8, 'a strip above the form');
    await page.mouse.click(500, s.transform.y / 2);
    const first = await readings(page);
    assert.deepEqual(texts(first), [['tellen', instruction]]);
    assert.ok(first.flat().every((e) => e.activated), 'spoken once the page was touched');
    // The device's own voice of the Netherlands: not the one that speaks
    // through a server, not Flemish before it, never English.
    for (const e of first.flat()) {
      assert.equal(e.voice, dutchHere.name);
      assert.equal(e.lang, 'nl-NL');
    }

    // A tapped label: read again, in place of what was being read. A counter: nothing.
    await clickOn(page, 'Tellen1', 'Label2');
    await clickOn(page, 'Tellen1', 'lblTellerSint');
    await clickOn(page, 'Tellen1', 'Label1');
    assert.deepEqual(texts(await readings(page)), [[instruction], ['tellen']]);

    // Back to Start by its button, then Spel: Start's front, then Spel's
    // (nothing to read, the reading stops), then its message box's text.
    await clickOn(page, 'Tellen1', 'knopTerug');
    assert.deepEqual(texts(await readings(page)), [['sinterklaas', 'voor groep 1 en 2']]);
    await clickOn(page, 'Start', 'knopSpel');
    await page.click('#menuitem');
    await page.waitForSelector('#box-shade:not([hidden])');
    const box = await readings(page);
    assert.deepEqual(texts(box), [[], ['Speel met 2 personen. Probeer groepjes van 4 te maken']]);
    assert.equal(box[1][0].voice, dutchHere.name);
    await page.click('#box-ok');
    await page.waitForSelector('#box-shade', {state: 'hidden'});
    // The address keeps the settings while a game is in front.
    assert.equal(page.url(), origin + '/?voorlezen#Spel');

    // Remembered: an address without the setting reads as before.
    await load(page, '/');
    await page.mouse.click(500, s.transform.y / 2);
    const again = await readings(page);
    assert.deepEqual(texts(again).filter((r) => r.length), [['sinterklaas', 'voor groep 1 en 2']]);
    // Turned off by the address, and remembered off: not a word, the speech not even stopped.
    for (const address of ['/?voorlezen=0', '/']) {
      await load(page, address);
      await clickOn(page, 'Start', 'Label2');
      await clickOn(page, 'Start', 'knopTellen1');
      await clickOn(page, 'Tellen1', 'Label2');
      assert.deepEqual(await readings(page), [], address);
    }
    assert.deepEqual(problems, []);
    await context.close();
  });

  test('tikken from the address, remembered and turned off; an address with settings plays offline', async () => {
    const {context, page, problems} = await openWith({voices: [dutchHere]}, '/?tikken#Puzzel1');
    const kept = () => page.evaluate(() => Object.fromEntries(Object.keys(localStorage).map((k) => [k, localStorage.getItem(k)])));
    assert.deepEqual(await kept(), {'tuvrel / tikken': '1'});
    await load(page, '/?voorlezen&tikken=0');
    assert.deepEqual(await kept(), {'tuvrel / tikken': '0', 'tuvrel / voorlezen': '1'});
    await load(page, '/#Tellen1');
    assert.deepEqual(await kept(), {'tuvrel / tikken': '0', 'tuvrel / voorlezen': '1'});
    // The service worker serves the page for an address with a query.
    await page.waitForSelector('html[data-offline="ready"]', {timeout: 60000});
    await context.setOffline(true);
    await load(page, '/?voorlezen&tikken#Tellen1');
    assert.deepEqual((await state(page)).layers, ['Tellen1', 'Start']);
    assert.deepEqual(await kept(), {'tuvrel / tikken': '1', 'tuvrel / voorlezen': '1'});
    await clickOn(page, 'Tellen1', 'Label1');
    assert.deepEqual(texts(await readings(page)).filter((r) => r.length), [['tellen']]);
    assert.deepEqual(problems.filter((p) => !p.includes('ERR_INTERNET_DISCONNECTED')), []);
    await context.close();
  });

  // Without a Dutch voice of the device's own: not a word in any other
  // language, and a note on Start for the teacher (not over a game).
  const withoutDutch = [
    ['only English and German voices', {voices: [english, german]}],
    ['only a Dutch voice that speaks through a server', {voices: [dutchOnline, english], late: true}],
    ['no voices at all', {voices: []}],
  ];
  for (const [name, speech] of withoutDutch) {
    test(`${name}: nothing spoken, and Start says so`, async () => {
      const {context, page, problems} = await openWith(speech, '/?voorlezen');
      await page.waitForFunction(() => !document.getElementById('speech-note').hidden, null, {timeout: 10000});
      assert.match(await page.textContent('#speech-note'), /geen Nederlandse stem/);
      await clickOn(page, 'Start', 'Label2');
      await clickOn(page, 'Start', 'knopTellen1');
      assert.equal(await noteShown(page), false, 'the note stays off a game');
      await clickOn(page, 'Tellen1', 'Label2');
      assert.deepEqual((await readings(page)).flat(), []);
      assert.deepEqual(problems, []);
      await context.close();
    });
  }

  test('with voorlezen off, a Dutch voice stays silent and no note shows', async () => {
    const {context, page, problems} = await openWith({voices: [dutchHere]}, '/#Spel');
    await page.click('#menuitem');
    await page.waitForSelector('#box-shade:not([hidden])');
    await page.click('#box-ok');
    await clickOn(page, 'Spel', 'knopTerug');
    await clickOn(page, 'Start', 'Label2');
    assert.deepEqual(await readings(page), []);
    assert.equal(await noteShown(page), false);
    assert.deepEqual(problems, []);
    await context.close();
  });
});
