// The service worker: every file of one version of the site, cached at its
// install and served from there, so that Tuvrel plays offline once opened.
//
// A school's network drops and cuts requests: each file is asked for again a
// few times, and checked against the digest the site's build wrote for it, so
// that a broken copy or a file of another version never enters the cache. A
// file still missing fails this install; the page asks for it again later,
// and plays online meanwhile. What arrived stays in this version's cache, so
// the next try fetches only the rest.
//
// Of the pictures, only the renderings a device draws are kept (its pages
// say which, and hand over the ones they fetched themselves, so that a first
// visit downloads each once); one fetched later (another screen, a zoom) is
// kept as it passes, and offline a rendering that is not at hand is answered
// with the nearest one that is. A new version keeps the renderings the one before it
// kept.
//
// A new version waits beside the old one. It takes over when every page of
// the site says it is at a moment where nothing is lost (no game open, no
// finger down, no message box), and each page then loads again, whole, from
// the new version: a page never gets files of two versions.
'use strict';
const VERSION = '@VERSION@';
// Every file of this version and the start of its SHA-256, in hex.
const FILES = @FILES@;
// Cache names are shared by every site of one host: each copy of the site
// (say /tuvrel/ and /tuvrel-test/) keeps its own.
const PREFIX = 'tuvrel ' + new URL(self.registration.scope).pathname + ' ';
const CACHE = PREFIX + VERSION;

const retryWaits = [1000, 2000, 4000];
const atOnce = 6;
const sleep = (ms) => new Promise((resolve) => setTimeout(resolve, ms));

async function digestOf(response) {
  const bytes = await response.clone().arrayBuffer();
  const digest = new Uint8Array(await crypto.subtle.digest('SHA-256', bytes));
  return Array.from(digest, (b) => b.toString(16).padStart(2, '0')).join('');
}

// One file into the cache, asked for again until it arrives whole.
async function cacheFile(cache, file, digest) {
  let lastError = null;
  for (let attempt = 0; attempt <= retryWaits.length; ++attempt) {
    if (attempt > 0) await sleep(retryWaits[attempt - 1]);
    try {
      const response = await fetch(new Request(file, {cache: 'reload'}));
      if (!response.ok) throw new Error(`${file}: ${response.status}`);
      if (!(await digestOf(response)).startsWith(digest)) throw new Error(`${file}: not the file of version ${VERSION}`);
      await cache.put(file, response);
      return;
    } catch (error) {
      lastError = error;
    }
  }
  throw lastError;
}

const isPicture = (file) => file.startsWith('pictures/');
// A request's file as FILES names it.
const fileOf = (url) => {
  const path = new URL(url).pathname;
  const scope = new URL(self.registration.scope).pathname;
  return path.startsWith(scope) ? (path.length === scope.length ? './' : path.slice(scope.length)) : null;
};

// The files into this version's cache, a few at a time; those already there
// are left alone. Rejects when one did not arrive.
async function cacheFiles(files) {
  const cache = await caches.open(CACHE);
  const kept = new Set((await cache.keys()).map((r) => fileOf(r.url)));
  const queue = files.filter((file) => FILES[file] && !kept.has(file));
  const failures = [];
  const worker = async () => {
    for (let next = queue.shift(); next; next = queue.shift())
      await cacheFile(cache, next, FILES[next]).catch((error) => failures.push(error));
  };
  await Promise.all(Array.from({length: atOnce}, worker));
  if (failures.length) throw new Error(`${failures.length} files did not arrive, the first: ${failures[0].message}`);
}

// The bodies the page fetched itself, put in the cache where they are this
// version's files (a body that is not is fetched anew, as one not given).
async function keepBodies(files, bodies) {
  const cache = await caches.open(CACHE);
  await Promise.all(files.map(async (file) => {
    const body = Object.prototype.hasOwnProperty.call(bodies, file) ? bodies[file] : null;
    if (!(body instanceof Blob)) return;
    try {
      if (!(await digestOf(new Response(body))).startsWith(FILES[file])) return;
      await cache.put(file, new Response(body, {headers: {'Content-Type': body.type || 'application/octet-stream'}}));
    } catch (error) {
      // fetched by cacheFiles instead
    }
  }));
}

// The renderings the version before this one kept on this device.
async function picturesKeptBefore() {
  const before = (await caches.keys()).filter((n) => n.startsWith(PREFIX) && n !== CACHE);
  if (!before.length) return [];
  const cache = await caches.open(before[before.length - 1]);
  return (await cache.keys()).map((r) => fileOf(r.url)).filter((file) => file && isPicture(file) && FILES[file]);
}

async function cacheAll() {
  await cacheFiles([...Object.keys(FILES).filter((file) => !isPicture(file)), ...await picturesKeptBefore()]);
}

// Offline, a rendering that is not at hand: the same picture in the nearest
// rendering that is, larger ones first.
async function nearestRendering(cache, file) {
  const wanted = /^pictures\/(?:(\d+)x\/)?([^/]+)\.\w+$/.exec(file || '');
  if (!wanted) return undefined;
  const scale = Number(wanted[1] || 1);
  const others = Object.keys(FILES).map((f) => [f, /^pictures\/(?:(\d+)x\/)?([^/]+)\.\w+$/.exec(f)])
    .filter(([f, m]) => m && m[2] === wanted[2] && f !== file)
    .map(([f, m]) => [f, Number(m[1] || 1)])
    .sort(([, a], [, b]) => (a > scale) === (b > scale) ? (a > scale ? a - b : b - a) : (a > scale ? -1 : 1));
  for (const [other] of others) {
    const hit = await cache.match(other);
    if (hit) return hit;
  }
  return undefined;
}

self.addEventListener('install', (event) => event.waitUntil(cacheAll()));

self.addEventListener('activate', (event) => {
  event.waitUntil(caches.keys()
    // This site's other versions, and the caches of this site's first
    // versions (named by their version alone).
    .then((names) => Promise.all(names
      .filter((n) => (n.startsWith(PREFIX) && n !== CACHE) || /^tuvrel-[0-9a-f]{16}$/.test(n))
      .map((n) => caches.delete(n))))
    .then(() => self.clients.claim()));
});

self.addEventListener('fetch', (event) => {
  const url = new URL(event.request.url);
  if (event.request.method !== 'GET' || url.origin !== self.location.origin) return;
  const file = fileOf(event.request.url);
  event.respondWith((async () => {
    const cache = await caches.open(CACHE);
    // A page that asks past every cache (a broken picture, asked for again)
    // gets the network's copy, and the cached one only when the network has none.
    if (event.request.cache !== 'reload') {
      const cached = await cache.match(event.request, {ignoreSearch: true});
      if (cached) return cached;
    }
    try {
      const response = await fetch(event.request);
      // A rendering of this version that arrives is kept for offline play.
      if (response.ok && file && isPicture(file) && FILES[file]) {
        const copy = response.clone();
        event.waitUntil(digestOf(copy).then((d) => (d.startsWith(FILES[file]) ? cache.put(file, copy) : undefined))
          .catch(() => {}));
      }
      return response;
    } catch (error) {
      const at = await cache.match(event.request, {ignoreSearch: true}) || await nearestRendering(cache, file);
      if (at) return at;
      throw error;
    }
  })());
});

// Whether a page is at a moment where it may load again: asked of it, with
// an answer within a few seconds (a page that does not answer is not).
function idle(client) {
  return new Promise((resolve) => {
    const channel = new MessageChannel();
    const timer = setTimeout(() => resolve(false), 3000);
    channel.port1.onmessage = (e) => {
      clearTimeout(timer);
      resolve(e.data === true);
    };
    client.postMessage({tuvrel: 'idle?'}, [channel.port2]);
  });
}

// A page asks the waiting version to take over: it does when every page of
// the site is idle. A page says which renderings it draws: they are kept, and
// the page hears when they are.
self.addEventListener('message', (event) => {
  const what = event.data && event.data.tuvrel;
  if (what === 'take over') {
    event.waitUntil(self.clients.matchAll({type: 'window', includeUncontrolled: true})
      .then((clients) => Promise.all(clients.map(idle)))
      .then((answers) => (answers.every(Boolean) ? self.skipWaiting() : undefined)));
  } else if (what === 'keep' && Array.isArray(event.data.files)) {
    const files = event.data.files.filter((f) => typeof f === 'string' && isPicture(f) && FILES[f]);
    const bodies = event.data.bodies && typeof event.data.bodies === 'object' ? event.data.bodies : {};
    event.waitUntil(keepBodies(files, bodies).then(() => cacheFiles(files)).then(() => true, () => false)
      .then((complete) => event.source && event.source.postMessage({tuvrel: 'kept', complete, version: VERSION})));
  }
});
