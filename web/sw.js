// Offline after one visit: every file of the page is kept; while the network answers, its
// answer is used, asked past the browser's cache (so a new build replaces the old one on the next
// visit), otherwise the kept copy.
const version = '@VERSION@';
const files = [@FILES@];

self.addEventListener('install', (e) => {
  e.waitUntil(caches.open(version).then((c) => c.addAll(files)).then(() => self.skipWaiting()));
});

self.addEventListener('activate', (e) => {
  e.waitUntil(caches.keys()
    .then((keys) => Promise.all(keys.filter((k) => k !== version).map((k) => caches.delete(k))))
    .then(() => self.clients.claim()));
});

self.addEventListener('fetch', (e) => {
  if (e.request.method !== 'GET' || new URL(e.request.url).origin !== location.origin) return;
  e.respondWith(fetch(e.request.url, {cache: 'no-cache', credentials: 'same-origin'}).then((r) => {
    if (r.ok) {
      const copy = r.clone();
      caches.open(version).then((c) => c.put(e.request, copy));
    }
    return r;
  }).catch(() => caches.match(e.request, {ignoreSearch: true})
    .then((r) => r || Response.error())));
});
