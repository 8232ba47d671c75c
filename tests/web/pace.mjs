// The browser game's pace on a slow device: headless Chromium with its CPU slowed by DevTools'
// throttling, a level in play with a shot every 2 s, and the game steps taken against the
// page's clock. A benchmark, not a test: it prints its figures and the machine's load.
//
//   node pace.mjs <page folder> [seconds] [rate...]      (defaults: 20 s, rates 1 4 6)
//
// Steps are the page's Module.steps; a page from before it counted steps took one a picture, so
// its Module.iterations are read instead.
import { cpus, loadavg } from 'node:os';
import { serveFolders, startChromium } from './harness.mjs';

const [pageDir, secondsArg, ...rateArgs] = process.argv.slice(2);
if (!pageDir) {
  console.error('usage: node pace.mjs <page folder> [seconds] [rate...]');
  process.exit(2);
}
const seconds = Number(secondsArg || 20);
const rates = rateArgs.length ? rateArgs.map(Number) : [1, 4, 6];

const server = await serveFolders({ '/': pageDir });
const browser = await startChromium({
  defaultViewport: { width: 1000, height: 698, deviceScaleFactor: 1 },
});
try {
  for (const rate of rates) {
    console.log(`rate ${rate}x: ${JSON.stringify(await measure(rate))} (load ${loadavg()[0].toFixed(2)} on ${cpus().length} cores)`);
  }
} finally {
  await browser.close();
  server.close();
}

// One page, slowed `rate` times, in play: steps and pictures a second over the run, the fewest
// steps in any one second of it and the longest gap between two pictures.
async function measure(rate) {
  const page = await browser.newPage();
  await page.goto(`${server.base}/index.html`);
  await page.waitForFunction('Module.iterations > 20', { timeout: 120000 });
  const session = await page.createCDPSession();
  await session.send('Emulation.setCPUThrottlingRate', { rate });
  const box = await page.evaluate(() => {
    const r = document.getElementById('canvas').getBoundingClientRect();
    return { x: r.x, y: r.y, s: r.width / 1000 };
  });
  const at = (x, y) => [box.x + x * box.s, box.y + y * box.s];
  await page.mouse.click(...at(500, 216));
  await new Promise((r) => setTimeout(r, 500));
  // The page samples its counters every animation frame and every timer it can get.
  await page.evaluate(() => {
    window.paceLog = [];
    const sample = () => {
      window.paceLog.push([performance.now(), Module.steps ?? Module.iterations, Module.iterations]);
    };
    window.paceTimer = setInterval(sample, 50);
    sample();
  });
  const keys = ['z', 'x', 'c'];
  const end = Date.now() + seconds * 1000;
  for (let shot = 0; Date.now() < end; shot++) {
    await page.keyboard.press(keys[shot % 3]);
    await page.mouse.move(...at(300, 300));
    await page.mouse.down();
    await page.mouse.move(...at(220 - (shot % 4) * 20, 330 + (shot % 3) * 20), { steps: 6 });
    await page.mouse.up();
    await new Promise((r) => setTimeout(r, 700));
    await page.mouse.click(...at(700, 300)); // a cow's or a sheep's trick
    await new Promise((r) => setTimeout(r, Math.max(0, Math.min(1300, end - Date.now()))));
  }
  const log = await page.evaluate(() => {
    clearInterval(window.paceTimer);
    return window.paceLog;
  });
  await session.send('Emulation.setCPUThrottlingRate', { rate: 1 });
  await page.close();
  const [t0, s0, i0] = log[0];
  const [t1, s1, i1] = log[log.length - 1];
  const span = (t1 - t0) / 1000;
  let worstSecond = Infinity;
  for (let a = 0, b = 0; a < log.length; a++) {
    while (b < log.length && log[b][0] - log[a][0] < 1000) b++;
    if (b === log.length) break;
    worstSecond = Math.min(worstSecond, (log[b][1] - log[a][1]) / ((log[b][0] - log[a][0]) / 1000));
  }
  let gap = 0;
  for (let k = 1; k < log.length; k++) gap = Math.max(gap, log[k][0] - log[k - 1][0]);
  return { seconds: Number(span.toFixed(1)), stepsPerSecond: Number(((s1 - s0) / span).toFixed(1)),
    picturesPerSecond: Number(((i1 - i0) / span).toFixed(1)),
    worstSecondSteps: Number(worstSecond.toFixed(1)), longestSampleGapMs: Math.round(gap) };
}
