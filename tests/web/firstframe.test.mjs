// Start's first frame does not wait for the program before its pictures are
// asked for: index.html lists them (the site's build writes what the program
// shows on Start) and the page fetches them while tuvrel.wasm downloads and
// compiles. A list that is wrong or missing only costs time; a picture that
// cannot be loaded is a problem in Dutch, as before.
import {describe, test} from 'node:test';
import assert from 'node:assert/strict';
import {browser, origin, state, useSite} from './support.mjs';

useSite();

const picturePath = /^\/pictures\/(?:\d+x\/)?([^/]+)\.\w+$/;

// The asset names of the pictures Start shows: its background, its images and
// its buttons' pictures.
function startPictures(s) {
  const start = s.forms.find((f) => f.name === 'Start');
  const names = [start.background, ...start.controls.map((c) => c.picture)];
  return new Set(names.filter(Boolean).map((n) => n.split('#')[0]));
}

// A fresh page whose requests are recorded; `routes` lets a test change what
// the server answers before the page is opened.
async function newPage({width = 1366, height = 768, scale = 1} = {}, routes = async () => {}) {
  const context = await browser.newContext({viewport: {width, height}, deviceScaleFactor: scale});
  const page = await context.newPage();
  const problems = [];
  page.on('console', (m) => { if (m.type() === 'error') problems.push('console: ' + m.text()); });
  page.on('pageerror', (e) => problems.push('page error: ' + e.message));
  const requested = [];
  page.on('request', (r) => {
    const path = new URL(r.url()).pathname;
    if (picturePath.test(path)) requested.push(path);
  });
  await routes(context);
  return {context, page, problems, requested};
}

// A route's handler whose request may outlive the test's page: what it can no
// longer answer is nobody's business once the context is closed.
const quietly = (handler) => (route) => Promise.resolve().then(() => handler(route)).catch((error) => {
  if (!/disposed|closed|Target/i.test(String(error && error.message))) throw error;
});

// The data block of index.html, changed by `edit` (its JSON text in, out).
const editList = (edit) => async (context) => {
  await context.route(origin + '/', quietly(async (route) => {
    const response = await route.fetch();
    const html = await response.text();
    const block = /(<script type="application\/json" id="first-pictures">)([^<]*)(<\/script>)/;
    assert.match(html, block, 'index.html carries the list of the first frame\'s pictures');
    await route.fulfill({response, body: html.replace(block, (_, open, json, close) => open + edit(json) + close)});
  }));
};

describe('Start\'s pictures, fetched while the program loads', () => {
  const sizes = [
    {width: 1366, height: 768, scale: 1},
    {width: 1024, height: 768, scale: 2},
    {width: 3840, height: 2160, scale: 1},
  ];
  for (const size of sizes) {
    test(`every picture of Start is asked for before tuvrel.wasm arrives, once, at ${size.width}×${size.height} ×${size.scale}`, async () => {
      // tuvrel.wasm held back until the picture requests have stopped coming
      // (or for 5 s): what the page asks for meanwhile it asked for without the program.
      let release;
      const released = new Promise((resolve) => { release = resolve; });
      let whileHeld = null;
      const {context, page, problems, requested} = await newPage(size, (c) => c.route(origin + '/tuvrel.wasm', quietly(async (route) => {
        await released;
        await route.continue();
      })));
      try {
        const going = page.goto(origin + '/');
        const until = Date.now() + 5000;
        for (let seen = -1; Date.now() < until;) {
          await new Promise((resolve) => setTimeout(resolve, 400));
          if (requested.length > 0 && requested.length === seen) break;
          seen = requested.length;
        }
        whileHeld = [...requested];
        release();
        await going;
        await page.waitForSelector('html[data-ready="true"]', {timeout: 30000});

        const shown = startPictures(await state(page));
        assert.ok(shown.size > 0, 'Start shows pictures');
        const heldNames = whileHeld.map((p) => picturePath.exec(p)[1]);
        for (const name of shown)
          assert.ok(heldNames.includes(name), `${name} was asked for while tuvrel.wasm was held back (asked for: ${whileHeld.join(', ')})`);
        // Each asked for in one rendering, and not again once the program had started.
        assert.equal(new Set(heldNames).size, heldNames.length, `one rendering each: ${whileHeld.join(', ')}`);
        const paths = await page.evaluate(() => performance.getEntriesByType('resource').map((e) => new URL(e.name).pathname));
        for (const path of whileHeld)
          assert.equal(paths.filter((p) => p === path).length, 1, `${path} fetched once`);
        assert.deepEqual(problems, []);
      } finally {
        release();
        await context.close();
      }
    });
  }

  // A list that does not match what the program shows: Start still appears
  // with every picture, what the list lacked loaded once the program started.
  const lists = [
    ['a picture left out, another added', (json) => {
      const first = JSON.parse(json);
      const dropped = first.pictures.shift();
      first.pictures.push({...dropped, name: 'window_icon'});
      return {json: JSON.stringify(first), missing: dropped.name};
    }],
    ['no pictures', (json) => ({json: JSON.stringify({...JSON.parse(json), pictures: []}), missing: null})],
    ['not JSON', () => ({json: '@FIRST_PICTURES@', missing: null})],
    ['a form size of nothing', (json) => ({json: JSON.stringify({...JSON.parse(json), width: 0}), missing: null})],
  ];
  for (const [label, change] of lists) {
    test(`a list that is wrong (${label}) only costs time`, async () => {
      let missing = null;
      const {context, page, problems, requested} = await newPage({}, editList((json) => {
        const changed = change(json);
        missing = changed.missing;
        return changed.json;
      }));
      try {
        await page.goto(origin + '/');
        await page.waitForSelector('html[data-ready="true"]', {timeout: 30000});
        assert.equal(await page.isHidden('#problem'), true);
        const names = requested.map((p) => picturePath.exec(p)[1]);
        for (const name of startPictures(await state(page)))
          assert.ok(names.includes(name), `${name} was loaded`);
        if (missing) assert.ok(names.includes(missing), `${missing}, left out of the list, was loaded`);
        assert.deepEqual(problems, []);
      } finally {
        await context.close();
      }
    });
  }

  test('a picture of the first frame that cannot be loaded is a problem in Dutch, and nothing starts', async () => {
    let broken = null;
    const {context, page} = await newPage({}, async (c) => {
      await editList((json) => { broken = JSON.parse(json).pictures[0].name; return json; })(c);
      await c.route(/\/pictures\//, quietly((route) => (broken && route.request().url().includes('/' + broken + '.')
        ? route.fulfill({status: 404, body: ''}) : route.continue())));
    });
    try {
      await page.goto(origin + '/');
      await page.waitForSelector('#problem:not([hidden])', {timeout: 30000});
      assert.equal(await page.textContent('#problem-title'), 'Een plaatje kon niet worden geladen');
      assert.match(await page.textContent('#problem-text'), new RegExp(`"${broken}".*kwam niet binnen`));
      assert.equal(await page.evaluate(() => document.documentElement.dataset.ready), undefined);
      assert.equal(await page.isHidden('#loading'), true);
    } finally {
      await context.close();
    }
  });
});
