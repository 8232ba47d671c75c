// The browser page on other screens than a desktop's window, in headless Chromium: a phone held
// both ways, played by touch alone; large and dense screens; the full-screen button; a CPU
// slowed four times. Served from 127.0.0.1 like play.mjs.
//
//   node screen.mjs <page folder> <desktop pictures folder>
//
// The desktop pictures are the screenshot tool's (bottom-bar.png: the bar lit each way). Exits 1
// after all checks if any failed.
import { loadavg } from 'node:os';
import { join } from 'node:path';
import { PLAYED_PAGE, check, failed, failures, serveFolders, startChromium } from './harness.mjs';

const [pageDir, picturesDir] = process.argv.slice(2);
if (!pageDir || !picturesDir) {
  console.error('usage: node screen.mjs <page folder> <desktop pictures folder>');
  process.exit(2);
}
const W = 1000;
const H = 650;
const START = { x: 500, y: 216 };

const server = await serveFolders({ '/ref/': picturesDir, '/': pageDir });
const base = server.base;
const browser = await startChromium();
const consoleErrors = [];
const shots = process.env.SCREENSHOTS; // a folder to save the phone's and the 4K page's pictures in

try {
  const page = await browser.newPage();
  page.on('console', (msg) => { if (msg.type() === 'error') consoleErrors.push(msg.text()); });
  page.on('pageerror', (err) => consoleErrors.push(String(err)));

  // Large and dense screens: the picture fills most of the window, at a whole-number scale
  // (crisp, nearest neighbour) when that fills it well, otherwise smoothed, in whole device
  // pixels either way, and START is hit where it shows.
  for (const [w, h, ratio, whole] of [[3840, 2160, 1, 3], [1920, 1080, 1, 0], [1920, 1080, 1.5, 0], [1920, 1080, 2, 3],
    [1280, 720, 3, 3]]) {
    await open(page, { width: w, height: h, deviceScaleFactor: ratio });
    const shown = await placed(page);
    const cover = (shown.w * shown.h) / (w * h);
    const device = [shown.w * ratio, shown.h * ratio];
    check(cover >= 0.6 && device.every((d) => Math.abs(d - Math.round(d)) < 0.02)
      && (whole ? shown.rendering === 'pixelated' && Math.abs(device[0] - W * whole) < 0.5
        : shown.rendering === 'auto'),
    `${w} x ${h} at ratio ${ratio}: ${(cover * 100).toFixed(0)} % of the window, ${device.map((d) => d.toFixed(1)).join(' x ')} device pixels, ${shown.rendering}`);
    if (w === 3840) {
      if (shots) await page.screenshot({ path: join(shots, 'web-4k.png'), clip: { x: 0, y: 0, width: w, height: h, scale: 1280 / w } });
      check(await hits(page, shown, (x, y) => page.mouse.click(x, y)), 'a click on START of the 4K page starts the game');
    }
  }

  // Full screen, from its button.
  await open(page, { width: 1000, height: 698, deviceScaleFactor: 1 });
  await page.click('#fullscreen');
  await page.waitForFunction('document.fullscreenElement !== null', { timeout: 5000 }).catch(() => {});
  const entered = await page.evaluate(() => document.fullscreenElement === document.documentElement);
  await page.click('#fullscreen');
  await page.waitForFunction('document.fullscreenElement === null', { timeout: 5000 }).catch(() => {});
  const left = await page.evaluate(() => document.fullscreenElement === null);
  check(entered && left, `the full-screen button puts the page in full screen (${entered}) and takes it out (${left})`);

  // A phone held on its side, played by touch alone.
  const phone = { width: 844, height: 390, deviceScaleFactor: 3, isMobile: true, hasTouch: true, isLandscape: true };
  await open(page, phone);
  const side = await placed(page);
  check(side.buttons.length === 4 && side.buttons.every((b) => b.w >= 44 && b.h >= 44 && b.shown),
    `on the phone on its side the animal and full-screen buttons show, 44 CSS pixels or more (${side.buttons.map((b) => `${b.text} ${b.w}x${b.h}`).join(', ')})`);
  check(side.touchAction === 'none' && side.pageTouchAction === 'none',
    `the picture and the page take no scrolling or zooming by touch (${side.touchAction}, ${side.pageTouchAction})`);
  check(await hits(page, side, (x, y) => page.touchscreen.tap(x, y)), 'a tap on START starts the game');
  await page.evaluate(installBar);
  const at = (x, y) => [side.x + x * side.scale, side.y + y * side.scale];
  const lit = async () => page.evaluate(() => [Module.animal,
    [...document.querySelectorAll('#animals button')].filter((b) => b.classList.contains('lit')).map((b) => b.textContent).join()]);
  await page.touchscreen.tap(...centre(side.buttons[1]));
  await settle(page, 100);
  const cowTapped = await lit();
  const cowBar = await page.evaluate((s) => window.bar(s), 1);
  await page.keyboard.press('c');
  await settle(page, 100);
  const sheepKeyed = await lit();
  check(cowTapped.join() === "1,Cow" && cowBar <= 23 && sheepKeyed.join() === '2,Sheep',
    `a tap on Cow chooses the cow, lights it and the bar's cow (${cowTapped}; ${cowBar} pixels off the desktop's bar); the c key lights Sheep (${sheepKeyed})`);
  // A cow fired by a drag, then its trick by a tap: the bar shows the trick waiting, then done.
  await page.touchscreen.tap(...centre(side.buttons[1]));
  await page.touchscreen.touchStart(...at(300, 300));
  for (let i = 1; i <= 8; i++) await page.touchscreen.touchMove(...at(300 - i * 10, 300 + i * 7));
  await settle(page, 50);
  await page.touchscreen.touchEnd();
  await settle(page, 150);
  const waiting = await page.evaluate((s) => window.bar(s), 3);
  await page.touchscreen.tap(...at(700, 300));
  await settle(page, 150);
  const done = await page.evaluate((s) => window.bar(s), 1);
  check(waiting <= 23 && done <= 23,
    `a drag by touch fires the cow, its trick waits on the bar (${waiting} pixels off), and a tap does it (${done} pixels off)`);

  // A second finger on the picture during a drag neither fires nor ends the drag.
  const first = await page.touchscreen.touchStart(...at(300, 300));
  for (let i = 1; i <= 6; i++) await first.move(...at(300 - i * 10, 300 + i * 7));
  const second = await page.touchscreen.touchStart(...at(800, 150));
  await second.end();
  await settle(page, 150);
  const held = await page.evaluate((s) => window.bar(s), 3);
  await first.end();
  await settle(page, 150);
  const fired = await page.evaluate((s) => window.bar(s), 3);
  check(held > 23 && fired <= 23,
    `a second finger tapped during a drag does not fire (${held} pixels off the trick waiting); lifting the first does (${fired})`);
  if (shots) await page.screenshot({ path: join(shots, 'web-phone-landscape.png'), clip: { x: 0, y: 0, width: 844, height: 390, scale: 1 / 3 } });

  // The phone upright: a message to turn it, and the buttons.
  await open(page, { ...phone, width: 390, height: 844, isLandscape: false });
  if (shots) await page.screenshot({ path: join(shots, 'web-phone-portrait.png'), clip: { x: 0, y: 0, width: 390, height: 844, scale: 1 / 3 } });
  const upright = await placed(page);
  check(upright.turn && upright.w >= 389 && upright.buttons.every((b) => b.w >= 44 && b.h >= 44 && b.shown),
    `the phone upright asks to be turned (${upright.turn}), the picture ${upright.w.toFixed(0)} CSS pixels wide, the buttons there`);

  // A CPU slowed four times keeps the game's pace, drawing less often if it must.
  await open(page, { width: 1000, height: 698, deviceScaleFactor: 1 });
  const shown = await placed(page);
  await page.mouse.click(shown.x + START.x, shown.y + START.y);
  const cdp = await page.createCDPSession();
  await cdp.send('Emulation.setCPUThrottlingRate', { rate: 4 });
  const load = loadavg()[0];
  const p0 = await page.evaluate(() => [performance.now(), Module.steps, Module.iterations]);
  for (let shot = 0; shot < 5; shot++) {
    await page.keyboard.press('zxc'[shot % 3]);
    await page.mouse.move(shown.x + 300, shown.y + 300);
    await page.mouse.down();
    await page.mouse.move(shown.x + 220, shown.y + 330 + shot * 10, { steps: 6 });
    await page.mouse.up();
    await new Promise((r) => setTimeout(r, 700));
    await page.mouse.click(shown.x + 700, shown.y + 300);
    await new Promise((r) => setTimeout(r, 1300));
  }
  const p1 = await page.evaluate(() => [performance.now(), Module.steps, Module.iterations]);
  await cdp.send('Emulation.setCPUThrottlingRate', { rate: 1 });
  const seconds = (p1[0] - p0[0]) / 1000;
  const steps = (p1[1] - p0[1]) / seconds;
  check(steps >= 90, `slowed 4 times, ${steps.toFixed(1)} game steps a second over ${seconds.toFixed(1)} s of shots, ${((p1[2] - p0[2]) / seconds).toFixed(1)} pictures (load ${load.toFixed(1)})`);

  check(consoleErrors.length === 0, `no error in the page's console${consoleErrors.length ? ': ' + consoleErrors.join(' | ') : ''}`);
} catch (err) {
  failed(err);
} finally {
  await browser.close();
  server.close();
}
process.exit(failures.length ? 1 : 0);

async function open(p, viewport) {
  await p.setViewport(viewport);
  await p.goto(`${base}/${PLAYED_PAGE}`);
  await p.waitForFunction('Module.iterations > 20', { timeout: 60000 });
}

async function settle(p, ms) {
  await p.evaluate((ms) => new Promise((r) => setTimeout(r, ms)), ms);
}

function centre(b) {
  return [b.x + b.w / 2, b.y + b.h / 2];
}

// Where the picture shows, and the page's buttons and message.
async function placed(p) {
  return p.evaluate((gameW) => {
    const c = document.getElementById('canvas');
    const r = c.getBoundingClientRect();
    const buttons = [...document.querySelectorAll('#panel button')].filter((b) => !b.hidden).map((b) => {
      const q = b.getBoundingClientRect();
      return { text: b.textContent, x: q.x, y: q.y, w: q.width, h: q.height, shown: b.offsetParent !== null };
    });
    const turn = document.getElementById('turn');
    return { x: r.x, y: r.y, w: r.width, h: r.height, scale: r.width / gameW, rendering: getComputedStyle(c).imageRendering,
      buttons: buttons.filter((b) => b.shown), touchAction: getComputedStyle(c).touchAction,
      pageTouchAction: getComputedStyle(document.body).touchAction,
      turn: turn !== null && turn.offsetParent !== null && turn.innerText.trim() };
  }, W);
}

// START pressed where it shows builds a level: much of the picture changes.
async function hits(p, shown, press) {
  const before = await p.evaluate(() => document.getElementById('canvas').toDataURL());
  await press(shown.x + START.x * shown.scale, shown.y + START.y * shown.scale);
  await settle(p, 400);
  return p.evaluate((b) => document.getElementById('canvas').toDataURL() !== b && Module.iterations > 0, before);
}

// Runs in the page: window.bar(slice) counts the pixels of the bottom bar that differ from the
// desktop's bar in one of its lit states (a 32-row slice of its picture, from row 9 down).
function installBar() {
  const canvas = document.getElementById('canvas');
  const img = new Image();
  img.src = '/ref/bottom-bar.png';
  const ready = img.decode().then(() => {
    const c = document.createElement('canvas');
    c.width = img.width;
    c.height = img.height;
    c.getContext('2d').drawImage(img, 0, 0);
    return c.getContext('2d').getImageData(0, 0, img.width, img.height);
  });
  window.bar = async (slice) => {
    const ref = await ready;
    const s = canvas.getContext('2d').getImageData(0, 650 - 32 + 9, 1000, 32 - 9);
    let differing = 0;
    for (let y = 0; y < 32 - 9; y++) {
      for (let x = 0; x < 1000; x++) {
        const r = ((slice * 32 + 9 + y) * ref.width + x) * 4;
        const o = (y * 1000 + x) * 4;
        if (ref.data[r] !== s.data[o] || ref.data[r + 1] !== s.data[o + 1] || ref.data[r + 2] !== s.data[o + 2]) differing++;
      }
    }
    return differing;
  };
}
