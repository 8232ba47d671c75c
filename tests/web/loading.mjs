// Loads the browser build in headless Chromium as players on other links and browsers would:
// what a server that compresses nothing sends, the time to the start screen on a slow link with
// the progress bar in percent, the caching rules of scripts/web-serve.py, a second visit with the
// network off, and each way loading can fail, which the page must tell in place of the game.
//
//   node loading.mjs <page folder> [figures file] [failure screenshot]
//   node loading.mjs --measure <page folder>   (the transfer and the slow link only, any build)
//
// Exits 1 on any failed check, after printing it.
import { createServer } from 'node:http';
import { spawn } from 'node:child_process';
import { readFile, writeFile } from 'node:fs/promises';
import { gzipSync, gunzipSync } from 'node:zlib';
import { join, extname, normalize, dirname } from 'node:path';
import { fileURLToPath } from 'node:url';
import { check, failed, failures, startChromium, types } from './harness.mjs';

const args = process.argv.slice(2);
const measureOnly = args[0] === '--measure';
const [pageDir, figuresFile, screenshotFile] = measureOnly ? args.slice(1) : args;
if (!pageDir) {
  console.error('usage: node loading.mjs [--measure] <page folder> [figures file] [failure screenshot]');
  process.exit(2);
}
const scripts = join(dirname(fileURLToPath(import.meta.url)), '..', '..', 'scripts');

const LIMIT = 600000; // bytes for the page and all it loads
const SLOW = { offline: false, latency: 150, downloadThroughput: 1.6e6 / 8, uploadThroughput: 0.75e6 / 8 };
// The start screen comes within 5 s on that link; on a busy 2-core machine compiling the
// program may take longer, so the bound here is looser than that.
const SLOW_BOUND_MS = 10000;

const figures = [];

// A server like python3 -m http.server: the files as they are, nothing compressed. It counts
// the bytes it sends, and each test may answer some files its own way.
function serve(answer = () => null) {
  const server = createServer(async (req, res) => {
    const path = decodeURIComponent(new URL(req.url, 'http://x').pathname);
    const file = normalize(path.slice(1) || 'index.html');
    if (file.startsWith('..')) {
      res.writeHead(403).end();
      return;
    }
    let body;
    try {
      body = await readFile(join(pageDir, file));
    } catch {
      res.writeHead(404).end();
      return;
    }
    if (await answer(file, body, res)) return;
    res.writeHead(200, { 'Content-Type': types[extname(file)] || 'application/octet-stream',
      'Content-Length': body.length });
    res.end(body);
  });
  const sockets = new Set();
  server.on('connection', (socket) => sockets.add(socket));
  server.sent = () => [...sockets].reduce((sum, socket) => sum + socket.bytesWritten, 0);
  return new Promise((resolve) => server.listen(0, '127.0.0.1', () => {
    server.base = `http://127.0.0.1:${server.address().port}`;
    resolve(server);
  }));
}
function stop(server) {
  server.closeAllConnections();
  return new Promise((resolve) => server.close(resolve));
}

const browser = await startChromium({
  defaultViewport: { width: 1000, height: 700, deviceScaleFactor: 1 },
});

// A page in a browser of its own (no cache, no service worker from another test).
async function freshPage() {
  const context = await browser.createBrowserContext();
  const page = await context.newPage();
  page.context = context;
  return page;
}

const playing = 'typeof Module === "object" && Module.iterations > 0';

// The page's failure sentence, once it shows (null if none comes within the time).
async function failureShown(page) {
  try {
    await page.waitForSelector('#status .failure', { visible: true, timeout: 30000 });
  } catch {
    return null;
  }
  return page.evaluate(() => ({
    sentence: document.querySelector('#status .failure').textContent,
    canvasHidden: getComputedStyle(document.getElementById('canvas')).display === 'none',
  }));
}

// One way of failing: the page loaded as prepare() sets it up, served as answer() says; the
// sentence shown must match what.
async function failing(name, what, { answer, prepare, act, screenshot } = {}) {
  const server = await serve(answer);
  const page = await freshPage();
  try {
    if (prepare) await prepare(page);
    await page.goto(`${server.base}/index.html`);
    if (act) await act(page);
    const shown = await failureShown(page);
    check(shown && what.test(shown.sentence) && shown.canvasHidden,
      `${name}: the page says so in place of the game (${shown ? `"${shown.sentence}"` : 'nothing shown'})`);
    if (shown && screenshot) {
      await page.setViewport({ width: 640, height: 400, deviceScaleFactor: 1 });
      await page.screenshot({ path: screenshot });
    }
  } finally {
    await page.context.close();
    await stop(server);
  }
}

try {
  // The first visit on a slow link, from a server that compresses nothing.
  const server = await serve();
  const page = await freshPage();
  const session = await page.createCDPSession();
  await session.send('Network.enable');
  await session.send('Network.emulateNetworkConditions', SLOW);
  const seen = new Set();
  let loading = true;
  const watching = (async () => {
    while (loading) {
      const text = await page.evaluate(() => document.querySelector('.loading-label')?.textContent).catch(() => null);
      if (text) seen.add(text);
      await new Promise((r) => setTimeout(r, 50));
    }
  })();
  await page.goto(`${server.base}/index.html`);
  await page.waitForFunction(playing, { timeout: 60000, polling: 20 });
  const startedMs = await page.evaluate(() => performance.now());
  loading = false;
  await watching;
  await session.send('Network.emulateNetworkConditions', { offline: false, latency: 0, downloadThroughput: -1, uploadThroughput: -1 });
  // Everything the visit loads, the service worker's own fetches included.
  const offlineReady = await page.evaluate(async () => {
    if (!document.querySelector('link[rel=manifest]')) return false;
    await Promise.race([navigator.serviceWorker.ready, new Promise((r) => setTimeout(r, 20000))]);
    return Boolean(navigator.serviceWorker.controller || (await navigator.serviceWorker.getRegistration())?.active);
  });
  await new Promise((r) => setTimeout(r, 500));
  await page.close();
  const page2 = await page.context.newPage();
  page2.context = page.context;
  const sent = server.sent();
  figures.push(`transfer from a server that compresses nothing: ${sent} bytes, headers included`);
  figures.push(`slow link (1.6 Mbit/s, 150 ms): start screen ${(startedMs / 1000).toFixed(2)} s after the page was asked for`);
  check(sent <= LIMIT, `the page and all it loads weigh at most ${LIMIT} bytes uncompressed (${sent})`);
  check(startedMs <= SLOW_BOUND_MS, `on a slow link the start screen comes in ${(startedMs / 1000).toFixed(2)} s`);

  if (!measureOnly) {
    const percents = [...seen].filter((t) => /^Loading… \d+ %$/.test(t));
    check(percents.length >= 3, `the progress bar counts up in percent (${[...seen].join(', ')})`);

    // The second visit, with the server gone: the service worker starts the game.
    check(offlineReady, 'after the first visit a service worker is in charge');
    await stop(server);
    await page2.goto(`${server.base}/index.html`).catch(() => {});
    const offline = await page2.waitForFunction(playing, { timeout: 30000 }).then(() => true, () => false);
    check(offline, 'with the network off, a second visit reaches the start screen');

    // Installable: the manifest, with the game's icon.
    const cdp = await page2.createCDPSession();
    const manifest = await cdp.send('Page.getAppManifest').catch((e) => ({ errors: [{ message: String(e) }] }));
    const parsed = manifest.data ? JSON.parse(manifest.data) : {};
    check(manifest.errors.length === 0 && parsed.icons?.some((i) => i.sizes === '256x256'),
      `a web manifest with the game's icon (${manifest.errors.map((e) => e.message).join('; ') || parsed.icons?.map((i) => i.sizes).join(' ')})`);
    await page2.context.close();

    await cachingRules();

    // Each way of failing.
    const packageName = JSON.parse(/var gameFiles = (.*);/.exec(await readFile(join(pageDir, 'index.html'), 'utf8'))[1]);
    const data = packageName.data.name;
    await failing('no WebAssembly', /no WebAssembly/, {
      prepare: (p) => p.evaluateOnNewDocument(() => { delete window.WebAssembly; }) });
    await failing('a file missing from the server', /server does not have its pictures \(.*\.data\.gz: .*404/, {
      answer: (file, body, res) => file === data && res.writeHead(404).end() });
    await failing('the network down', /network connection failed while fetching its program/, {
      answer: (file, body, res) => file === packageName.wasm.name && res.socket.destroy() });
    await failing('the connection lost halfway', /connection broke off/, {
      answer: (file, body, res) => {
        if (file !== data) return false;
        res.writeHead(200, { 'Content-Length': body.length });
        res.write(body.subarray(0, body.length >> 1), () => res.destroy());
        return true;
      } });
    await failing('the bitmaps damaged on the way', /arrived damaged/, {
      answer: (file, body, res) => {
        if (file !== data) return false;
        const bad = Buffer.from(body);
        for (let i = 1000; i < 1100; i++) bad[i] ^= 0x5a;
        res.writeHead(200, { 'Content-Length': bad.length }).end(bad);
        return true;
      } });
    // A damaged bitmap that travels intact: the game's own check refuses it.
    const program = gunzipSync(await readFile(join(pageDir, packageName.js.name))).toString();
    const at = Number(/"filename":\s*"\/bmp\/blocktileset\.bmp",\s*"start":\s*(\d+)/.exec(program)[1]);
    await failing('a damaged bitmap', /picture of the blocks \(blocktileset\.bmp\) is damaged/, {
      screenshot: screenshotFile,
      answer: (file, body, res) => {
        if (file !== data) return false;
        const bitmaps = gunzipSync(body);
        bitmaps.write('XX', at, 'latin1'); // where its header says "BM"
        const packed = gzipSync(bitmaps);
        res.writeHead(200, { 'Content-Length': packed.length }).end(packed);
        return true;
      } });
    // The program aborts as it starts (its code refused by the browser), and stops while
    // playing (its drawing fails in the middle of the game).
    await failing('the program aborting as it starts', /stopped as it started, on an error it cannot recover from/, {
      prepare: (p) => p.evaluateOnNewDocument(() => {
        WebAssembly.instantiate = () => Promise.reject(new WebAssembly.CompileError('refused'));
      }) });
    await failing('the program stopping while playing', /stopped on an error it cannot recover from/, {
      prepare: (p) => p.evaluateOnNewDocument(() => {
        const draw = CanvasRenderingContext2D.prototype.drawImage;
        CanvasRenderingContext2D.prototype.drawImage = function (...how) {
          if (window.canvasLost) throw new Error('the canvas is lost');
          return draw.apply(this, how);
        };
      }),
      act: async (p) => {
        await p.waitForFunction('Module.iterations > 20', { timeout: 30000 });
        await p.evaluate(() => { window.canvasLost = true; });
        const box = await p.$eval('#canvas', (c) => { const r = c.getBoundingClientRect(); return { x: r.x, y: r.y, s: r.width / c.width }; });
        await p.mouse.click(box.x + 500 * box.s, box.y + 216 * box.s); // START, which draws a level
      } });
    await noScript();

    // A browser that cannot inflate loads the uncompressed copies and plays all the same.
    const plainServer = await serve();
    const plain = await freshPage();
    await plain.evaluateOnNewDocument(() => { delete window.DecompressionStream; });
    await plain.goto(`${plainServer.base}/index.html`);
    const started = await plain.waitForFunction(playing, { timeout: 30000 }).then(() => true, () => false);
    check(started, `without DecompressionStream the game starts from the uncompressed files (${plainServer.sent()} bytes)`);
    await plain.context.close();
    await stop(plainServer);
  }
} catch (err) {
  failed(err);
} finally {
  await browser.close();
}

for (const line of figures) console.log(line);
if (figuresFile) await writeFile(figuresFile, figures.join('\n') + '\n');
process.exit(failures.length ? 1 : 0);

// Without JavaScript the page says it needs it, and shows nothing else.
async function noScript() {
  const server = await serve();
  const page = await freshPage();
  try {
    await page.setJavaScriptEnabled(false);
    await page.goto(`${server.base}/index.html`);
    const shown = await page.evaluate(() => ({ text: document.body.innerText.trim(),
      canvas: getComputedStyle(document.getElementById('canvas')).display }));
    check(/turn JavaScript on/.test(shown.text) && shown.canvas === 'none',
      `no JavaScript: the page says so in place of the game ("${shown.text}")`);
  } finally {
    await page.context.close();
    await stop(server);
  }
}

// scripts/web-serve.py: the hashed files kept for good, the rest asked after on every visit.
async function cachingRules() {
  const port = await new Promise((resolve) => {
    const probe = createServer().listen(0, '127.0.0.1', () => {
      const { port: free } = probe.address();
      probe.close(() => resolve(free));
    });
  });
  const python = spawn('python3', [join(scripts, 'web-serve.py'), pageDir, String(port)], { stdio: 'ignore' });
  try {
    const files = JSON.parse(/var gameFiles = (.*);/.exec(await readFile(join(pageDir, 'index.html'), 'utf8'))[1]);
    const ask = async (name) => {
      for (let tries = 0; tries < 50; tries++) {
        try {
          const r = await fetch(`http://127.0.0.1:${port}/${name}`);
          return { cache: r.headers.get('cache-control'), type: r.headers.get('content-type'),
            encoding: r.headers.get('content-encoding'), length: (await r.arrayBuffer()).byteLength };
        } catch {
          await new Promise((r) => setTimeout(r, 100));
        }
      }
      return {};
    };
    const wasm = await ask(files.wasm.name);
    const page = await ask('');
    const worker = await ask('sw.js');
    check(/immutable/.test(wasm.cache) && wasm.length === files.wasm.size && !wasm.encoding
      && page.cache === 'no-cache' && worker.cache === 'no-cache',
    `scripts/web-serve.py keeps ${files.wasm.name} for good (${wasm.cache}) and asks after the page (${page.cache}) and sw.js (${worker.cache})`);
  } finally {
    python.kill();
  }
}
