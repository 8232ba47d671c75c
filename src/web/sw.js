// The page's service worker: after one visit the game starts without the network.
//
// Each build's files are kept in a store of its own, named after the build. The page itself
// puts the files it has just loaded there (so nothing is downloaded twice); this worker adds
// whatever is missing, the page's HTML and icons, when it is installed. The game's files carry
// a hash of their contents in their names, so a stored one is always right: they come from the
// store first. The page is asked of the network first, so a new build is seen as soon as there
// is one, and comes from the store only when the network does not answer.
'use strict';

const BUILD = '{{{ BUILD }}}';
const FILES = '{{{ FILES }}}';
const STORE = `farmyard-cannon-${BUILD}`;

self.addEventListener('install', (event) => {
  event.waitUntil((async () => {
    const store = await caches.open(STORE);
    for (const file of FILES) {
      if (!(await store.match(file))) {
        await store.add(file);
      }
    }
    await self.skipWaiting();
  })());
});

// Older builds' stores go once this one is in charge.
self.addEventListener('activate', (event) => {
  event.waitUntil((async () => {
    for (const name of await caches.keys()) {
      if (name.startsWith('farmyard-cannon-') && name !== STORE) {
        await caches.delete(name);
      }
    }
    await self.clients.claim();
  })());
});

self.addEventListener('fetch', (event) => {
  const request = event.request;
  if (request.method !== 'GET' || new URL(request.url).origin !== self.location.origin) {
    return;
  }
  if (request.mode === 'navigate') {
    event.respondWith((async () => {
      try {
        return await fetch(request);
      } catch (offline) {
        const stored = await caches.match('./', { cacheName: STORE });
        if (stored) {
          return stored;
        }
        throw offline;
      }
    })());
    return;
  }
  event.respondWith((async () => (await caches.match(request)) || fetch(request))());
});
