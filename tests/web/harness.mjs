// What the browser checks share: their verdicts, a static server on 127.0.0.1 and Debian's
// Chromium, headless, with a profile of its own that is removed when it closes.
import { createServer } from 'node:http';
import { readFile, mkdtemp, rm } from 'node:fs/promises';
import { tmpdir } from 'node:os';
import { join, extname, normalize } from 'node:path';
import puppeteer from 'puppeteer-core';

export const failures = [];

// Prints one check's verdict and keeps a failure; returns ok.
export function check(ok, what) {
  console.log(`${ok ? 'ok  ' : 'FAIL'} ${what}`);
  if (!ok) failures.push(what);
  return ok;
}

// A check that stopped on an error.
export function failed(err) {
  failures.push(String((err && err.stack) || err));
  console.log(`FAIL ${(err && err.stack) || err}`);
}

// The page on the field of one seed (the page's ?seed=), for the checks that play: on a field
// of the clock's choosing their first two weak pigs may eat all three cakes and win the game
// (seed 33's field), and with the game over no cow flies and no trick waits.
export const PLAYED_PAGE = 'index.html?seed=1';

export const types = { '.html': 'text/html', '.js': 'text/javascript', '.wasm': 'application/wasm',
  '.data': 'application/octet-stream', '.png': 'image/png', '.bmp': 'image/bmp',
  '.webmanifest': 'application/manifest+json' };

// Serves each folder under its path prefix, the first prefix that fits ('/' last); a path that
// leads out of its folder, like a missing file, is not found. Resolves to the server, its
// address in server.base.
export function serveFolders(roots) {
  const server = createServer(async (req, res) => {
    const path = decodeURIComponent(new URL(req.url, 'http://x').pathname);
    const prefix = Object.keys(roots).find((p) => path.startsWith(p));
    const file = normalize(path.slice(prefix.length) || 'index.html');
    try {
      if (file.startsWith('..')) throw new Error('outside the folder');
      const body = await readFile(join(roots[prefix], file));
      res.writeHead(200, { 'Content-Type': types[extname(file)] || 'application/octet-stream' }).end(body);
    } catch {
      res.writeHead(404).end();
    }
  });
  return new Promise((resolve) => server.listen(0, '127.0.0.1', () => {
    server.base = `http://127.0.0.1:${server.address().port}`;
    resolve(server);
  }));
}

// Debian's Chromium, headless (the flag is passed as Debian's chromium takes it), with more of
// puppeteer's launch options (a viewport, default arguments left out). Resolves to the browser;
// its close() also removes the profile.
export async function startChromium(options = {}) {
  const profile = await mkdtemp(join(tmpdir(), 'farmyard-chromium-'));
  const browser = await puppeteer.launch({
    executablePath: process.env.CHROMIUM || '/usr/bin/chromium',
    headless: false,
    userDataDir: profile,
    args: ['--headless', '--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run',
      '--disable-background-networking', '--disable-component-update', '--disable-sync'],
    ...options,
  });
  const close = browser.close.bind(browser);
  browser.close = async () => {
    await close();
    await rm(profile, { recursive: true, force: true });
  };
  return browser;
}
