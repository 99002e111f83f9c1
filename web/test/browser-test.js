// Plays the browser build in Debian's headless Chromium: from the splash
// screens through the title and the menu into a game, then a level edited
// and saved, a reload, the keys remapped, and Exit. Fails on any console error.
//
// Usage: node browser-test.js SITE_DIR SHOT_DIR
// (puppeteer-core found through NODE_PATH; the browser is /usr/bin/chromium
// or $CHROMIUM.)
'use strict';
const fs = require('fs');
const http = require('http');
const os = require('os');
const path = require('path');
const puppeteer = require('puppeteer-core');

const [siteDir, shotDir] = process.argv.slice(2);
const shippedConfig = fs.readFileSync(path.join(__dirname, '../../data/config.cfg'));
const shippedLevel = fs.readFileSync(path.join(__dirname, '../../data/maps/map01.map'));

// What browserScreen() reports: the game mode times ten, +1 for the title.
const TITLE = 21, MENU = 20, INGAME = 30, EDITOR = 50, CAPTURE = 22;

const problems = [];
function check(ok, what) {
  console.log((ok ? 'ok   ' : 'FAIL ') + what);
  if (!ok) problems.push(what);
}

// A plain static server for the site on 127.0.0.1.
function serve() {
  const types = { '.html': 'text/html', '.js': 'text/javascript', '.wasm': 'application/wasm' };
  const server = http.createServer((request, response) => {
    const name = request.url === '/' ? 'index.html' : path.basename(request.url.split('?')[0]);
    fs.readFile(path.join(siteDir, name), (error, body) => {
      if (error) { response.writeHead(404); response.end(); return; }
      response.writeHead(200, { 'Content-Type': types[path.extname(name)] || 'application/octet-stream' });
      response.end(body);
    });
  });
  return new Promise(resolve => server.listen(0, '127.0.0.1', () => resolve(server)));
}

const sleep = ms => new Promise(resolve => setTimeout(resolve, ms));

async function screenOf(page) {
  return page.evaluate(() => (Module.calledRun ? Module._browserScreen() : -1));
}

// Waits until the game shows screen (see browserScreen), at most ms.
async function waitForScreen(page, screen, ms = 5000) {
  const end = Date.now() + ms;
  while (Date.now() < end) {
    if (await screenOf(page) === screen) return true;
    await sleep(20);
  }
  return false;
}

// A key pressed and let go, slower than the game's logic steps.
async function tap(page, key) {
  await page.keyboard.down(key);
  await sleep(60);
  await page.keyboard.up(key);
  await sleep(60);
}

// The canvas's pixels, for comparing screens.
async function canvasPixels(page) {
  return page.evaluate(() => {
    const c = document.getElementById('screen');
    return Array.from(c.getContext('2d').getImageData(0, 0, c.width, c.height).data).join(',');
  });
}

async function shoot(page, name) {
  await page.screenshot({ path: path.join(shotDir, name + '.png') });
  return canvasPixels(page);
}

// Loads the page; returns when its first frame was shown, in ms after the
// page was asked for, on the page's own clock.
async function load(page, url) {
  await page.goto(url);
  await page.waitForFunction(() => Module.framesShown > 0, { timeout: 10000 });
  return page.evaluate(() => Math.round(Module.firstFrameAt));
}

async function main() {
  fs.mkdirSync(shotDir, { recursive: true });
  const server = await serve();
  const url = `http://127.0.0.1:${server.address().port}/`;
  const profile = fs.mkdtempSync(path.join(os.tmpdir(), 'kettlemoor-chromium-'));
  const browser = await puppeteer.launch({
    executablePath: process.env.CHROMIUM || '/usr/bin/chromium',
    ignoreDefaultArgs: true,
    userDataDir: profile,
    args: ['--headless', '--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run',
      '--disable-background-networking', '--disable-component-update', '--disable-sync',
      '--window-size=1000,600'],
    defaultViewport: { width: 1000, height: 600 },
  });
  try {
    const page = await browser.newPage();
    page.on('console', message => {
      const text = message.text();
      if (message.type() === 'error' || /^ERROR/.test(text)) problems.push('console: ' + text);
    });
    page.on('pageerror', error => problems.push('page error: ' + error.message));
    page.on('requestfailed', request => problems.push('request failed: ' + request.url()));

    // The first visit starts the browser's storage afresh; the later ones
    // are what a returning player sees.
    const firstFrames = [await load(page, url), await load(page, url), await load(page, url)];
    console.log(`first frame shown ${firstFrames.join(', ')} ms after the page was asked for`);
    check(await page.evaluate(() => document.activeElement.id === 'screen'), 'the canvas has the keyboard focus');
    const splash = await shoot(page, 'splash');

    // Enter skips each splash; the title follows.
    await tap(page, 'Enter');
    await tap(page, 'Enter');
    check(await waitForScreen(page, TITLE), 'Enter twice: the title');
    const title = await shoot(page, 'title');
    await tap(page, 'Enter');
    check(await waitForScreen(page, MENU), 'Enter: the main menu');
    const menu = await shoot(page, 'menu');
    await tap(page, 'Enter');
    check(await waitForScreen(page, INGAME), 'Enter on "New Game": the level');
    await page.keyboard.down('ArrowRight');
    await sleep(500);
    const level = await shoot(page, 'level');
    await page.keyboard.up('ArrowRight');
    check(new Set([splash, title, menu, level]).size === 4, 'splash, title, menu and level all look different');

    // The in-game frame: the time of each pass of the main loop.
    const timing = await page.evaluate(async () => {
      const runIter = Browser.mainLoop.runIter;
      const times = [];
      const framesBefore = Module.framesShown;
      Browser.mainLoop.runIter = function () {
        const start = performance.now();
        runIter.apply(this, arguments);
        times.push(performance.now() - start);
      };
      await new Promise(resolve => setTimeout(resolve, 3000));
      Browser.mainLoop.runIter = runIter;
      times.sort((a, b) => a - b);
      return {
        passes: times.length,
        frames: Module.framesShown - framesBefore,
        mean: times.reduce((a, b) => a + b, 0) / times.length,
        p99: times[Math.floor(times.length * 0.99)],
        max: times[times.length - 1],
      };
    });
    console.log(`in-game: ${timing.frames} frames in ${timing.passes} passes over 3 s; a pass takes ${timing.mean.toFixed(3)} ms on ` +
      `average, ${timing.p99.toFixed(3)} ms at the 99th percentile, ${timing.max.toFixed(3)} ms at most`);

    // Playing wrote nothing.
    check(await page.evaluate(() => Module.savedFiles().length === 0), 'a game saves nothing');
    check(Buffer.from(await page.evaluate(() => Array.from(FS.readFile('/data/config.cfg')))).equals(shippedConfig),
      'the settings are the shipped ones');

    // Pause and leave, then edit the first tile of the level and save it.
    await tap(page, 'Enter');
    await tap(page, 'Enter');
    check(await waitForScreen(page, TITLE), 'Enter twice in the game: back to the title');
    await tap(page, 'Enter');
    await tap(page, 'ArrowDown');
    await tap(page, 'Enter');
    check(await waitForScreen(page, EDITOR), '"Editor": the editor');
    await tap(page, 'x');
    await tap(page, 'ArrowRight');
    await tap(page, 'x');
    await shoot(page, 'editor');
    await tap(page, 'Enter');
    check(await waitForScreen(page, TITLE), 'Enter in the editor: saved and back to the title');
    await page.waitForFunction(() => document.querySelector('#levels a'), { timeout: 5000 });
    const saved = Buffer.from(await page.evaluate(() => Array.from(FS.readFile('/data/maps/map01.map'))));
    check(!saved.equals(shippedLevel), 'the saved level differs from the shipped one');
    check(JSON.stringify(await page.evaluate(() => Module.savedFiles())) === '["/data/maps/map01.map"]',
      'only the level is stored');

    // A reload brings the saved level back, with its download link.
    console.log(`with a saved level: first frame shown ${await load(page, url)} ms after the page was asked for`);
    await page.waitForFunction(() => document.querySelector('#levels a'), { timeout: 5000 });
    const reloaded = Buffer.from(await page.evaluate(() => Array.from(FS.readFile('/data/maps/map01.map'))));
    check(reloaded.equals(saved), 'after a reload the saved level is back');
    check(await page.evaluate(() => document.querySelector('#levels a').download) === 'map01.map',
      'the saved level can be downloaded');

    // Remapping: the capture waits without holding the page, and the nine
    // keys (the shipped ones again) are saved.
    await tap(page, 'Enter');
    await tap(page, 'Enter');
    check(await waitForScreen(page, TITLE), 'after the reload: the title');
    await tap(page, 'Enter');
    await tap(page, 'ArrowDown');
    await tap(page, 'ArrowDown');
    await tap(page, 'Enter');   // Options
    await tap(page, 'Enter');   // Controls
    await tap(page, 'Enter');   // Keyboard
    check(await waitForScreen(page, CAPTURE), 'the remapping page asks for a key');
    await sleep(300);
    const answered = await Promise.race([page.evaluate(() => 'answered'), sleep(1000)]);
    check(answered === 'answered', 'the page answers while a key is awaited');
    await shoot(page, 'remap');
    for (const key of ['ArrowUp', 'ArrowDown', 'ArrowLeft', 'ArrowRight', 'z', 'x', 'Enter', 'Backspace', 'Escape'])
      await tap(page, key);
    check(await waitForScreen(page, MENU), 'nine keys: back on the controls page');
    await page.waitForFunction(() => Module.savedFiles().includes('/data/config.cfg'), { timeout: 5000 })
      .catch(() => {});
    const config = Buffer.from(await page.evaluate(() => Array.from(FS.readFile('/data/config.cfg'))));
    check(await page.evaluate(() => Module.savedFiles().includes('/data/config.cfg')), 'the settings are stored');
    check(config.toString().includes('K_JUMP 120') && config.toString().includes('K_MENU 27'),
      'the stored settings hold the keys pressed');

    // Back to the main page and "Exit": the game ends and the page says so.
    for (const key of ['ArrowDown', 'ArrowDown', 'Enter', 'ArrowDown', 'ArrowDown', 'ArrowDown', 'Enter',
      'ArrowDown', 'Enter'])
      await tap(page, key);
    await page.waitForFunction(() => !document.getElementById('ended').hidden, { timeout: 5000 })
      .catch(() => {});
    check(await page.evaluate(() => !document.getElementById('ended').hidden), '"Exit": the game ends');
  } finally {
    await browser.close();
    server.close();
    fs.rmSync(profile, { recursive: true, force: true });
  }
  problems.forEach(problem => console.log('problem: ' + problem));
  process.exit(problems.length === 0 ? 0 : 1);
}

main().catch(error => {
  problems.forEach(problem => console.log('problem: ' + problem));
  console.error(error);
  process.exit(1);
});
