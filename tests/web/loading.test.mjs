// How the program reaches the page. It compiles while it downloads
// (compile.js, from the page's head), one download of tuvrel.wasm.
// The page, its program and its style travel compressed: the site's build
// writes NAME.br and NAME.gz beside them, and both servers (the tests' and
// web/serve.py, as a school's host would) send the copy the browser's
// Accept-Encoding takes, the file itself to one that takes none. The page
// loads and plays from the compressed answers, and what it receives is the
// file itself.
import {describe, test} from 'node:test';
import assert from 'node:assert/strict';
import {spawn} from 'node:child_process';
import fs from 'node:fs';
import http from 'node:http';
import path from 'node:path';
import zlib from 'node:zlib';
import {browser, origin, serveSite, state, testSite as site, useSite} from './support.mjs';

useSite();

const compressed = ['index.html', 'compile.js', 'page.js', 'page.css', 'tuvrel.js', 'tuvrel.wasm', 'sw.js'];

function get(address, acceptEncoding) {
  return new Promise((resolve, reject) => {
    const headers = acceptEncoding === undefined ? {} : {'Accept-Encoding': acceptEncoding};
    http.get(address, {headers}, (res) => {
      const chunks = [];
      res.on('data', (c) => chunks.push(c));
      res.on('end', () => resolve({status: res.statusCode, headers: res.headers, body: Buffer.concat(chunks)}));
    }).on('error', reject);
  });
}

const decoded = (coding, body) =>
  coding === 'br' ? zlib.brotliDecompressSync(body) : coding === 'gzip' ? zlib.gunzipSync(body) : body;

// web/serve.py on a free port until close().
async function servePy() {
  const child = spawn('python3', [path.resolve(import.meta.dirname, '../../web/serve.py'), site, '0'], {stdio: ['ignore', 'pipe', 'inherit']});
  const address = await new Promise((resolve, reject) => {
    child.stdout.on('data', (d) => { const m = /(http:\/\/127\.0\.0\.1:\d+)\//.exec(String(d)); if (m) resolve(m[1]); });
    child.on('exit', (code) => reject(new Error('serve.py ended: ' + code)));
  });
  return {origin: address, close: () => child.kill()};
}

describe('the program compiled while it downloads', () => {
  test('the page instantiates the module its head compiled, and asks for tuvrel.wasm once', async () => {
    const context = await browser.newContext({viewport: {width: 1024, height: 768}});
    const page = await context.newPage();
    const wasm = [];
    page.on('request', (r) => { if (new URL(r.url()).pathname === '/tuvrel.wasm') wasm.push(r.url()); });
    await page.goto(origin + '/');
    await page.waitForSelector('html[data-ready="true"]', {timeout: 30000});
    assert.equal(await page.evaluate(async () => (await document.querySelector('script[src="compile.js"]').compiling) instanceof WebAssembly.Module), true);
    assert.equal(wasm.length, 1, 'one request: the preload, taken by the compile');
    assert.deepEqual((await state(page)).layers, ['Start']);
    await context.close();
  });
});

describe('compressed files', () => {
  test('the site has a .br and a .gz of each, and the other files have none', () => {
    for (const name of compressed) {
      const file = fs.readFileSync(path.join(site, name));
      assert.deepEqual(zlib.brotliDecompressSync(fs.readFileSync(path.join(site, name + '.br'))), file, name + '.br');
      assert.deepEqual(zlib.gunzipSync(fs.readFileSync(path.join(site, name + '.gz'))), file, name + '.gz');
    }
    assert.equal(fs.existsSync(path.join(site, 'manifest.webmanifest.gz')), false);
    assert.doesNotMatch(fs.readFileSync(path.join(site, 'sw.js'), 'utf8'), /\.(br|gz)"/, 'the worker lists no copy');
  });

  const accepts = [
    ['br, gzip, deflate', 'br'],
    ['gzip, deflate', 'gzip'],
    ['br;q=0, gzip;q=0.5', 'gzip'],
    ['gzip;q=0, br;q=0', undefined],
    ['*', 'br'],
    ['identity', undefined],
    [undefined, undefined],
  ];
  for (const [server, start] of [['the tests\' server', () => serveSite(site)], ['web/serve.py', servePy]]) {
    test(`${server} sends the copy the Accept-Encoding takes, and the file itself otherwise`, async () => {
      const served = await start();
      try {
        for (const name of ['tuvrel.wasm', 'page.js', '']) {
          const file = fs.readFileSync(path.join(site, name || 'index.html'));
          for (const [accept, coding] of accepts) {
            const r = await get(`${served.origin}/${name}`, accept);
            const label = `${name || '/'} for ${accept}`;
            assert.equal(r.status, 200, label);
            assert.equal(r.headers['content-encoding'], coding, label);
            assert.deepEqual(decoded(coding, r.body), file, label);
            if (name === 'tuvrel.wasm') assert.equal(r.headers['content-type'], 'application/wasm', label);
          }
        }
        // A picture has no copy: always itself.
        assert.equal((await get(`${served.origin}/icons/icon-192.png`, 'br, gzip')).headers['content-encoding'], undefined);
      } finally {
        await served.close();
      }
    });
  }

  test('the page loads from the compressed answers and receives the files themselves', async () => {
    const answers = new Map();
    const context = await browser.newContext({viewport: {width: 1024, height: 768}});
    const p = await context.newPage();
    const problems = [];
    p.on('pageerror', (e) => problems.push('page error: ' + e.message));
    p.on('console', (m) => { if (m.type() === 'error') problems.push('console: ' + m.text()); });
    p.on('response', (r) => { const name = new URL(r.url()).pathname.slice(1) || 'index.html'; if (compressed.includes(name)) answers.set(name, r); });
    await p.goto(origin + '/');
    await p.waitForSelector('html[data-ready="true"]', {timeout: 30000});
    assert.deepEqual((await state(p)).layers, ['Start']);
    for (const name of ['index.html', 'compile.js', 'page.js', 'page.css', 'tuvrel.js', 'tuvrel.wasm']) {
      const r = answers.get(name);
      assert.ok(r, `the page asked for ${name}`);
      assert.match(r.headers()['content-encoding'] || '', /^(br|gzip)$/, `${name} came compressed`);
      assert.deepEqual(await r.body(), fs.readFileSync(path.join(site, name)), `${name} as received`);
    }
    assert.deepEqual(problems, []);
    await context.close();
  });
});
