// The service worker: every file of one version of the site, cached at its
// install and served from there, so that Tuvrel plays offline once opened.
// A new version installs beside the old one and takes over only once every
// page of the old one is closed; then the old cache goes whole. A page never
// gets files of two versions.
'use strict';
const VERSION = '@VERSION@';
const FILES = @FILES@;
const CACHE = 'tuvrel-' + VERSION;

self.addEventListener('install', (event) => {
  event.waitUntil(caches.open(CACHE).then((cache) =>
    cache.addAll(FILES.map((file) => new Request(file, {cache: 'reload'})))));
});

self.addEventListener('activate', (event) => {
  event.waitUntil(caches.keys()
    .then((names) => Promise.all(names.filter((n) => n.startsWith('tuvrel-') && n !== CACHE).map((n) => caches.delete(n))))
    .then(() => self.clients.claim()));
});

self.addEventListener('fetch', (event) => {
  const url = new URL(event.request.url);
  if (event.request.method !== 'GET' || url.origin !== self.location.origin) return;
  event.respondWith(caches.open(CACHE)
    .then((cache) => cache.match(event.request, {ignoreSearch: true}))
    .then((cached) => cached || fetch(event.request)));
});
