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

async function cacheAll() {
  const cache = await caches.open(CACHE);
  const kept = new Set((await cache.keys()).map((r) => new URL(r.url).pathname));
  const queue = Object.entries(FILES).filter(([file]) => !kept.has(new URL(file, self.registration.scope).pathname));
  const failures = [];
  const worker = async () => {
    for (let next = queue.shift(); next; next = queue.shift())
      await cacheFile(cache, next[0], next[1]).catch((error) => failures.push(error));
  };
  await Promise.all(Array.from({length: atOnce}, worker));
  if (failures.length) throw new Error(`${failures.length} files did not arrive, the first: ${failures[0].message}`);
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
  // A page that asks past every cache (a broken picture, asked for again) gets
  // the network's copy, and the cached one only when the network has none.
  if (event.request.cache === 'reload') {
    event.respondWith(fetch(event.request).catch(() => caches.open(CACHE)
      .then((cache) => cache.match(event.request, {ignoreSearch: true}))
      .then((cached) => cached || Promise.reject(new TypeError('offline')))));
    return;
  }
  event.respondWith(caches.open(CACHE)
    .then((cache) => cache.match(event.request, {ignoreSearch: true}))
    .then((cached) => cached || fetch(event.request)));
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
// the site is idle.
self.addEventListener('message', (event) => {
  if (!event.data || event.data.tuvrel !== 'take over') return;
  event.waitUntil(self.clients.matchAll({type: 'window', includeUncontrolled: true})
    .then((clients) => Promise.all(clients.map(idle)))
    .then((answers) => (answers.every(Boolean) ? self.skipWaiting() : undefined)));
});
