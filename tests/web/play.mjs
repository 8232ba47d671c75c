// Plays the browser build in headless Chromium like a player, served from 127.0.0.1, and checks
// what the page shows against the desktop game's own pictures.
//
//   node play.mjs <page folder> <desktop pictures folder> <bmp folder> [figures file]
//
// The desktop pictures are those of the screenshot tool (start-screen.png, bottom-bar.png). The
// pacing figures are the page's own: its game-step counter read against its own clock. Exits 1
// on the first failed check, after printing it.
import { readFileSync } from 'node:fs';
import { writeFile } from 'node:fs/promises';
import { join } from 'node:path';
import { PLAYED_PAGE, check, failed, failures, serveFolders, startChromium } from './harness.mjs';

const [pageDir, picturesDir, bmpDir, figuresFile] = process.argv.slice(2);
if (!pageDir || !picturesDir || !bmpDir) {
  console.error('usage: node play.mjs <page folder> <desktop pictures folder> <bmp folder> [figures file]');
  process.exit(2);
}

const W = 1000;
const H = 650;
const START = { x: 500, y: 216 };
const HELP = 48; // the page's room for its lines on how to play, below the picture
const MAX_DIFFERING = 0.001; // of the window's pixels

const figures = [];

// The page, the desktop's pictures and the game's bitmaps, each under a prefix of its own.
const server = await serveFolders({ '/ref/': picturesDir, '/bmp-src/': bmpDir, '/': pageDir });
const base = server.base;

const browser = await startChromium({
  defaultViewport: { width: W, height: H + HELP, deviceScaleFactor: 1 },
  // A tab in the background is throttled as in a player's browser.
  ignoreDefaultArgs: ['--disable-background-timer-throttling', '--disable-renderer-backgrounding',
    '--disable-backgrounding-occluded-windows'],
});

const consoleErrors = [];
let page;
try {
  page = await browser.newPage();
  page.on('console', (msg) => { if (msg.type() === 'error') consoleErrors.push(msg.text()); });
  page.on('pageerror', (err) => consoleErrors.push(String(err)));
  page.on('requestfailed', (req) => consoleErrors.push(`request failed: ${req.url()}`));
  await page.goto(`${base}/${PLAYED_PAGE}`);
  await page.waitForFunction('Module.iterations > 20', { timeout: 60000 });
  await page.evaluate(installHelpers);

  // The page: its icon, a name for the picture, a description, a sentence without JavaScript
  // and the controls beside the game.
  const basics = await page.evaluate(async () => {
    const icon = new Image();
    icon.src = document.querySelector('link[rel=icon]').href;
    await icon.decode().catch(() => {});
    return { icon: `${icon.naturalWidth}x${icon.naturalHeight}`,
      label: document.getElementById('canvas').getAttribute('aria-label'),
      description: document.querySelector('meta[name=description]')?.content,
      noscript: [...document.querySelectorAll('noscript')].map((n) => n.textContent).join(' ').trim(),
      help: document.getElementById('help')?.innerText };
  });
  check(basics.icon === '32x32' && basics.label && basics.description && /JavaScript/.test(basics.noscript)
    && /z.*pig.*x.*cow.*c.*sheep.*release.*click again/s.test(basics.help),
  `the page's icon (${basics.icon}), the picture's label, a description, a sentence without JavaScript, the controls`);

  // Only the game's keys, without Ctrl, Alt or Meta, are kept from the browser.
  const keys = await page.evaluate(() => {
    const kept = [];
    const cancelled = [];
    for (const [key, code, mod] of [['F5', 116], ['r', 82, 'ctrlKey'], ['f', 70, 'ctrlKey'], ['l', 76, 'ctrlKey'],
      ['=', 187, 'ctrlKey'], ['-', 189, 'ctrlKey'], ['0', 48, 'ctrlKey'], ['Tab', 9], [' ', 32], ['ArrowDown', 40],
      ['z', 90, 'ctrlKey'], ['c', 67, 'metaKey'], ['x', 88, 'altKey'], ['x', 88], ['c', 67], ['z', 90]]) {
      const press = (type) => {
        const event = new KeyboardEvent(type, { key, bubbles: true, cancelable: true, ...(mod ? { [mod]: true } : {}) });
        Object.defineProperty(event, 'keyCode', { get: () => code });
        document.getElementById('canvas').dispatchEvent(event);
        return event;
      };
      (press('keydown').defaultPrevented ? cancelled : kept).push(`${mod ? mod.replace('Key', '+') : ''}${key === ' ' ? 'Space' : key}`);
      press('keyup');
    }
    return { kept: kept.join(' '), cancelled: cancelled.join(' ') };
  });
  figures.push(`keys left to the browser: ${keys.kept}; kept from it: ${keys.cancelled}`);
  check(keys.cancelled === 'x c z', `only z, x and c are kept from the browser (${keys.cancelled})`);

  // The start screen, as the desktop game draws it.
  const start = await page.evaluate(() => window.t.compareTo('/ref/start-screen.png', 0, 0, 1000, 650));
  figures.push(`start screen: ${start.differing} of ${start.total} pixels differ from the desktop's`);
  check(start.differing <= start.total * MAX_DIFFERING,
    `the start screen equals the desktop's (${start.differing} pixels differ)`);

  // A smaller window: the canvas shrinks, centred and smoothed, and START is hit where it shows.
  await page.setViewport({ width: 640, height: 480, deviceScaleFactor: 1 });
  // The page places the picture when the browser reports the new size, before it next draws.
  await page.evaluate(() => new Promise((r) => requestAnimationFrame(() => requestAnimationFrame(r))));
  const shown = await page.evaluate(() => {
    const c = document.getElementById('canvas');
    const r = c.getBoundingClientRect();
    return { x: r.x, y: r.y, w: r.width, h: r.height, cw: c.width, ch: c.height,
      rendering: getComputedStyle(c).imageRendering, vw: innerWidth, vh: innerHeight };
  });
  check(shown.cw === W && shown.ch === H, `the canvas keeps ${W} x ${H} pixels (${shown.cw} x ${shown.ch})`);
  check(Math.abs(shown.w - 640) < 1 && Math.abs(shown.h - 416) < 1,
    `on a 640 x 480 page it shows at 640 x 416 (${shown.w} x ${shown.h})`);
  check(Math.abs(shown.x - (shown.vw - shown.w) / 2) < 1 && shown.y >= 0 && shown.y + shown.h + HELP <= shown.vh + 1,
    `centred across, with the lines on how to play below (at ${shown.x}, ${shown.y})`);
  check(shown.rendering === 'auto', `shrunk smoothly, no row dropped (${shown.rendering})`);
  const scale = shown.w / W;
  const before = await page.evaluate(() => window.t.snapshot());
  await page.mouse.click(shown.x + START.x * scale, shown.y + START.y * scale);
  await settle(page, 300);
  const changed = await page.evaluate((b) => window.t.changedSince(b), before);
  check(changed > 0.05, `START, clicked on the shrunk page, builds a level (${(changed * 100).toFixed(1)} % of the window changed)`);

  // A drag that leaves the picture goes on: nothing flies until the button is let go, outside.
  // Pulled out across the bottom edge, mostly to the left: the pig flies low, to the right, and
  // shows for a while wherever the level put the cannon.
  const shrunk = (x, y) => ({ x: shown.x + x * scale, y: shown.y + y * scale });
  await page.mouse.move(shrunk(300, 640).x, shrunk(300, 640).y);
  await page.mouse.down();
  await page.mouse.move(shrunk(180, 640).x, shown.y + shown.h + 8, { steps: 8 });
  const held = await pigPlaces(page, 4);
  await page.mouse.up();
  const released = await pigPlaces(page, 5);
  check(held.size <= 1 && released.size >= 2,
    `a drag out of the picture fires only when let go there (pigs seen while held at ${[...held].join(' ')}; after, at ${[...released].join(' ')})`);

  await page.setViewport({ width: W, height: H + HELP, deviceScaleFactor: 1 });
  await settle(page, 300);
  const view = await page.evaluate(() => {
    const r = document.getElementById('canvas').getBoundingClientRect();
    return { x: r.x, y: r.y };
  });
  check(view.x === 0 && view.y >= 0, `at full size the picture starts at the window's left (${view.x}, ${view.y})`);
  const at = (p) => ({ x: view.x + p.x, y: view.y + p.y });

  // z, x and c light the bottom bar as on the desktop; the desktop's picture stacks the bar with
  // the pig, the cow and the sheep chosen, then with the cow's trick waiting.
  for (const [key, slice, name] of [['x', 1, 'cow'], ['c', 2, 'sheep'], ['z', 0, 'pig']]) {
    await page.keyboard.press(key);
    await settle(page, 100);
    const bar = await page.evaluate(barAgainst, slice);
    check(bar.differing <= bar.total * MAX_DIFFERING, `${key} lights the ${name} on the bar (${bar.differing} pixels differ)`);
  }

  // A drag and release fires the pig, which flies.
  await drag(page, at({ x: 300, y: 300 }), at({ x: 220, y: 340 }));
  const places = await pigPlaces(page, 5);
  check(places.size >= 3, `a drag and release fires a pig that flies (seen at ${[...places].join(' ')})`);

  // A cow, and its second click: the trick waits on the bar, then three pigs pop out around it.
  await page.keyboard.press('x');
  await drag(page, at({ x: 300, y: 300 }), at({ x: 220, y: 360 }));
  await settle(page, 150);
  const waiting = await page.evaluate(barAgainst, 3);
  check(waiting.differing <= waiting.total * MAX_DIFFERING, `the cow's trick waits on the bar (${waiting.differing} pixels differ)`);
  // The frames just before and just after the click are taken first and searched after: a
  // search of the whole picture takes a while, time enough for the cow to fly off or land and for
  // the pigs to scatter, so searching the screen as it is by then finds neither where it was.
  // The frame after is the third the game draws after the click, however late the timers are.
  const clickedAt = await page.evaluate(() => { window.t.beforeClick = window.t.frame(); return Module.iterations; });
  await page.mouse.click(at({ x: 700, y: 300 }).x, at({ x: 700, y: 300 }).y);
  await page.waitForFunction((n) => Module.iterations >= n + 3, { polling: 'raf' }, clickedAt);
  const split = await page.evaluate(async () => {
    const afterClick = window.t.frame();
    const count = async (frame) => {
      const cows = await window.t.find('/bmp-src/vaca.bmp', frame);
      const pigs = await window.t.find('/bmp-src/pig.bmp', frame);
      const beside = pigs.filter(([px, py]) => cows.some(([cx, cy]) => Math.hypot(px - cx, py - cy) < 80));
      return { cows: cows.length, pigs: pigs.length, beside: beside.length };
    };
    return { before: await count(window.t.beforeClick), after: await count(afterClick) };
  });
  check(split.before.cows >= 1 && split.after.cows >= 1 && split.after.beside >= split.before.beside + 3,
    `a cow's second click splits it: ${split.after.pigs - split.before.pigs} more pigs, ${split.after.beside} beside the cow (${split.before.beside} before)`);

  // The pace over 10 s, by the page's counter and clock, and the page's share of a CPU.
  const session = await page.createCDPSession();
  await session.send('Performance.enable');
  const metric = async (name) => (await session.send('Performance.getMetrics')).metrics.find((m) => m.name === name).value;
  const cpu0 = { task: await metric('TaskDuration'), procs: browserCpuSeconds(browser) };
  const pace0 = await page.evaluate(() => ({ n: Module.steps, i: Module.iterations, t: performance.now() }));
  await new Promise((r) => setTimeout(r, 10000));
  const pace1 = await page.evaluate(() => ({ n: Module.steps, i: Module.iterations, t: performance.now() }));
  const cpu1 = { task: await metric('TaskDuration'), procs: browserCpuSeconds(browser) };
  const seconds = (pace1.t - pace0.t) / 1000;
  const rate = (pace1.n - pace0.n) / seconds;
  const pageCpu = (cpu1.task - cpu0.task) / seconds;
  const allCpu = (cpu1.procs - cpu0.procs) / seconds;
  figures.push(`pace: ${(pace1.n - pace0.n)} game steps in ${seconds.toFixed(2)} s = ${rate.toFixed(1)} a second, in ${pace1.i - pace0.i} iterations`);
  figures.push(`CPU: the page's main thread busy ${(pageCpu * 100).toFixed(1)} % of the time; all of Chromium's processes ${(allCpu * 100).toFixed(1)} % of one core`);
  check(Math.abs(rate - 100) <= 2, `100 +- 2 game steps a second over 10 s (${rate.toFixed(1)})`);

  // A tab put in the background and brought back carries on at its pace, with no burst.
  const other = await browser.newPage();
  await other.bringToFront();
  const hidden = await page.evaluate(() => document.visibilityState);
  const frozenAt = await page.evaluate(() => Module.iterations);
  await new Promise((r) => setTimeout(r, 3000));
  await page.bringToFront();
  await other.close();
  const back = await page.evaluate(async (frozen) => {
    const steps = [];
    const first = Module.iterations;
    let last = first;
    const t0 = performance.now();
    while (performance.now() - t0 < 2000) {
      await new Promise((r) => setTimeout(r, 100));
      steps.push(Module.iterations - last);
      last = Module.iterations;
    }
    return { duringFreeze: first - frozen, steps, rate: (last - first) / ((performance.now() - t0) / 1000),
      visible: document.visibilityState };
  }, frozenAt);
  figures.push(`tab in the background (${hidden}) for 3 s: ${back.duringFreeze} iterations there; back in front, per 100 ms: ${back.steps.join(' ')}`);
  check(Math.max(...back.steps) <= 15 && Math.abs(back.rate - 100) <= 5,
    `back from the background it carries on at ${back.rate.toFixed(1)} a second, at most ${Math.max(...back.steps)} in 100 ms`);

  check(consoleErrors.length === 0, `no error in the page's console${consoleErrors.length ? ': ' + consoleErrors.join(' | ') : ''}`);
} catch (err) {
  failed(err);
} finally {
  await browser.close();
  server.close();
}

for (const line of figures) console.log(line);
if (figuresFile) await writeFile(figuresFile, figures.join('\n') + '\n');
process.exit(failures.length ? 1 : 0);

async function settle(p, ms) {
  await p.evaluate((ms) => new Promise((r) => setTimeout(r, ms)), ms);
}

// Where whole pigs show over a few frames 40 ms apart, as "x,y". The frames are taken first and
// searched after, so that a fast pig is seen in each of them before it leaves the picture.
async function pigPlaces(p, frames) {
  const seen = await p.evaluate(async (n) => {
    const canvas = document.getElementById('canvas');
    const taken = [];
    for (let i = 0; i < n; i++) {
      await new Promise((r) => setTimeout(r, 40));
      taken.push(canvas.getContext('2d').getImageData(0, 0, canvas.width, canvas.height));
    }
    const found = [];
    for (const frame of taken) found.push(...await window.t.find('/bmp-src/pig.bmp', frame));
    return found;
  }, frames);
  return new Set(seen.map((place) => place.join(',')));
}

async function drag(p, from, to) {
  await p.mouse.move(from.x, from.y);
  await p.mouse.down();
  await p.mouse.move(to.x, to.y, { steps: 8 });
  await settle(p, 50);
  await p.mouse.up();
}

// Runs in the page: the bottom bar against the desktop's in one of its states, a 32-row slice of
// its picture. Only the rows from 9 down, where the lit states sit: the grassy fringe above them
// lets the field show through, and the field differs from level to level.
function barAgainst(slice) {
  return window.t.compareTo('/ref/bottom-bar.png', 0, slice * 32 + 9, 1000, 32 - 9, 0, 650 - 32 + 9);
}

// Seconds of CPU used so far by Chromium and every process under it (Linux).
function browserCpuSeconds(b) {
  const root = b.process().pid;
  const tick = 100; // USER_HZ on Linux
  const all = readProcTree(root);
  return all.reduce((sum, pid) => sum + procCpuTicks(pid), 0) / tick;
}

function readProcTree(root) {
  const children = (pid) => {
    try {
      return readFileSyncText(`/proc/${pid}/task/${pid}/children`).split(/\s+/).filter(Boolean).map(Number);
    } catch {
      return [];
    }
  };
  const out = [root];
  for (let i = 0; i < out.length; i++) out.push(...children(out[i]));
  return out;
}

function procCpuTicks(pid) {
  try {
    const stat = readFileSyncText(`/proc/${pid}/stat`);
    const fields = stat.slice(stat.lastIndexOf(')') + 2).split(' ');
    return Number(fields[11]) + Number(fields[12]); // utime, stime
  } catch {
    return 0;
  }
}

function readFileSyncText(path) {
  return readFileSync(path, 'utf8');
}

// Runs in the page: reads the game's canvas and compares it with pictures.
function installHelpers() {
  const canvas = document.getElementById('canvas');
  const screen = () => canvas.getContext('2d').getImageData(0, 0, canvas.width, canvas.height);
  const pictures = {};
  async function picture(url) {
    if (!pictures[url]) {
      const img = new Image();
      img.src = url;
      await img.decode();
      const c = document.createElement('canvas');
      c.width = img.width;
      c.height = img.height;
      const ctx = c.getContext('2d');
      ctx.drawImage(img, 0, 0);
      pictures[url] = ctx.getImageData(0, 0, img.width, img.height);
    }
    return pictures[url];
  }
  window.t = {
    frame: screen,
    // The picture's part (sx, sy, w, h) against the screen at (dx, dy): how many pixels differ.
    async compareTo(url, sx, sy, w, h, dx = 0, dy = 0) {
      const ref = await picture(url);
      const s = screen();
      let differing = 0;
      for (let y = 0; y < h; y++) {
        for (let x = 0; x < w; x++) {
          const r = ((sy + y) * ref.width + sx + x) * 4;
          const o = ((dy + y) * s.width + dx + x) * 4;
          if (ref.data[r] !== s.data[o] || ref.data[r + 1] !== s.data[o + 1] || ref.data[r + 2] !== s.data[o + 2]) {
            differing++;
          }
        }
      }
      return { differing, total: w * h };
    },
    snapshot() {
      return Array.from(screen().data.filter((_, i) => i % 4 !== 3 && i % 16 < 4));
    },
    changedSince(before) {
      const now = Array.from(screen().data.filter((_, i) => i % 4 !== 3 && i % 16 < 4));
      let changed = 0;
      for (let i = 0; i < now.length; i += 3) {
        if (now[i] !== before[i] || now[i + 1] !== before[i + 1] || now[i + 2] !== before[i + 2]) changed++;
      }
      return changed / (now.length / 3);
    },
    // Where the sprite shows whole on the screen, its magenta left out: top-left corners.
    async find(url, s = screen()) {
      const sprite = await picture(url);
      const opaque = [];
      for (let y = 0; y < sprite.height; y++) {
        for (let x = 0; x < sprite.width; x++) {
          const i = (y * sprite.width + x) * 4;
          const d = sprite.data;
          if (!(d[i] === 255 && d[i + 1] === 0 && d[i + 2] === 255)) opaque.push([x, y, d[i], d[i + 1], d[i + 2]]);
        }
      }
      const found = [];
      for (let y = 0; y + sprite.height <= s.height; y++) {
        for (let x = 0; x + sprite.width <= s.width; x++) {
          let misses = 0;
          for (const [px, py, r, g, b] of opaque) {
            const o = ((y + py) * s.width + x + px) * 4;
            if (s.data[o] !== r || s.data[o + 1] !== g || s.data[o + 2] !== b) {
              if (++misses > opaque.length / 10) break;
            }
          }
          if (misses <= opaque.length / 10) found.push([x, y]);
        }
      }
      return found;
    },
  };
}
