// Plays the browser build in Debian's headless Chromium: from the splash
// screens through the title and the menu into a game, the first level won by
// its recorded route, a level edited and saved, a reload that brings back
// both, the title's choice of the levels reached (with a gamepad too),
// levels opened from the disk, the keys remapped, and Exit. Fails on any console error.
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
const TITLE = 21, MENU = 20, INGAME = 30, EDITOR = 50, WON = 60, CAPTURE = 22;

// The name a shipped level shows on the title.
function levelName(file) {
  const text = fs.readFileSync(path.join(__dirname, '../../data/maps', file), 'utf8');
  return text.match(/^NAME:(.*)$/m)[1].trim();
}

// Each button's key as the shipped settings map it.
const buttonKeys = {};
for (const [, button, sym] of shippedConfig.toString().matchAll(/^K_(\w+) (\d+)$/gm)) buttonKeys[button] = +sym;

// A recorded route (tests/routes/) as the key events the replay tool feeds
// the game: in step order, a tap's release due in the same step as its press.
function readRoute(name) {
  const events = [];
  const lines = fs.readFileSync(path.join(__dirname, '../../tests/routes', name), 'utf8').split('\n');
  for (const line of lines) {
    const words = line.replace(/#.*/, '').trim().split(/\s+/);
    if (words.length !== 3) continue;
    const [step, what, button] = words;
    if (!(button in buttonKeys) || !['press', 'release', 'tap'].includes(what)) throw new Error(`${name}: ${line}`);
    events.push({ step: +step, sym: buttonKeys[button], down: what === 'release' ? 0 : 1 });
    if (what === 'tap') events.push({ step: +step, sym: buttonKeys[button], down: 0 });
  }
  return events.sort((a, b) => a.step - b.step);
}

// Plays a route from the main menu with the cursor on "New Game", step by
// step off the clock as the replay tool plays it: OK starts the game (and is
// let go ten steps in), then at most one event reaches the game before each
// logic step. Stops on the won screen; returns its step, or 0.
async function playRoute(page, route) {
  const events = readRoute(route).concat({ step: 10, sym: buttonKeys.OK, down: 0 })
    .sort((a, b) => a.step - b.step);
  return page.evaluate((events, ok, won) => {
    Module._browserKey(ok, 1);
    Module._browserRunSteps(1);
    const last = events[events.length - 1].step + 600;
    for (let step = 1, next = 0; step <= last; step++) {
      if (next < events.length && events[next].step <= step) {
        Module._browserKey(events[next].sym, events[next].down);
        next++;
      }
      Module._browserRunSteps(1);
      if (Module._browserScreen() === won) return step;
    }
    return 0;
  }, events, buttonKeys.OK, WON);
}

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

// A pad on the standard mapping, made up in the page: the Gamepad API
// answers with it once the test has touched it (before that, no pad).
function fakeGamepads() {
  navigator.getGamepads = () => (window.testPad ? [window.testPad] : []);
}

// Changes the made-up pad: standard button number pressed or not, or axis to value (-1 to 1).
async function padSet(page, what, number, value) {
  await page.evaluate((what, number, value) => {
    if (!window.testPad) {
      window.testPad = { connected: true, mapping: 'standard', axes: [0, 0, 0, 0], buttons: [] };
      for (let i = 0; i < 17; i++) window.testPad.buttons.push({ pressed: false, value: 0 });
    }
    if (what === 'axis') window.testPad.axes[number] = value;
    else window.testPad.buttons[number] = { pressed: value, value: value ? 1 : 0 };
  }, what, number, value);
  await sleep(60);
}

// A pad's button pressed and let go, or its axis pushed to value and let go.
async function padTap(page, what, number, value = true) {
  await padSet(page, what, number, value);
  await padSet(page, what, number, what === 'axis' ? 0 : false);
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
    await page.evaluateOnNewDocument(fakeGamepads);
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
    // The page may only make sound once the player has pressed something.
    check(await page.evaluate(() => Module.soundState()) === 'running',
          'after the first keys the sound plays through WebAudio');
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

    // Pause and leave; the first level won by its route from New Game: the
    // won screen offers the second, and the win is stored.
    await tap(page, 'Enter');
    await tap(page, 'Enter');
    check(await waitForScreen(page, TITLE), 'Enter twice in the game: back to the title');
    const firstName = levelName('map01.map'), secondName = levelName('map02.map');
    check(await page.evaluate(() => Module.levelLine()) === firstName,
      `before any win the title offers the first level alone: "${firstName}"`);
    await tap(page, 'Enter');
    check(await waitForScreen(page, MENU), 'Enter: the main menu again');
    const wonAt = await playRoute(page, 'map01_win.replay');
    check(wonAt > 0, `the first level's route wins it in the page (won screen at step ${wonAt})`);
    await shoot(page, 'won');
    check(await page.evaluate(() => Module.levelLine()) === `X: ${secondName}`,
      `the won screen offers the second level: "X: ${secondName}"`);
    await page.waitForFunction(() => Module.savedFiles().includes('/data/progress.txt'), { timeout: 5000 })
      .catch(() => {});
    const progress = Buffer.from(await page.evaluate(() => Array.from(FS.readFile('/data/progress.txt'))));
    check(/^WON map01\.map$/m.test(progress.toString()), 'the progress file holds the first level as won');
    await tap(page, 'Enter');
    check(await waitForScreen(page, TITLE), 'Enter on the won screen: the title');
    check(await page.evaluate(() => Module.levelLine()) === `< ${firstName} >`,
      'the title has arrows: two levels are reached');

    // The editor: the first tile of the level edited and saved.
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
    check(JSON.stringify(await page.evaluate(() => Module.savedFiles())) ===
      '["/data/maps/map01.map","/data/progress.txt"]', 'only the level and the progress are stored');

    // A reload brings the saved level back, with its download link.
    console.log(`with a saved level: first frame shown ${await load(page, url)} ms after the page was asked for`);
    await page.waitForFunction(() => document.querySelector('#levels a'), { timeout: 5000 });
    const reloaded = Buffer.from(await page.evaluate(() => Array.from(FS.readFile('/data/maps/map01.map'))));
    check(reloaded.equals(saved), 'after a reload the saved level is back');
    check(await page.evaluate(() => document.querySelector('#levels a').download) === 'map01.map',
      'the saved level can be downloaded');
    const progressBack = Buffer.from(await page.evaluate(() => Array.from(FS.readFile('/data/progress.txt'))));
    check(progressBack.equals(progress), 'after a reload the progress file is back');

    // Remapping: the capture waits without holding the page, and the nine
    // keys (the shipped ones again) are saved.
    await tap(page, 'Enter');
    await padTap(page, 'button', 9);
    // Well before the second splash would end by itself (three seconds).
    check(await waitForScreen(page, TITLE, 1000), 'after the reload: Enter, then the pad\'s Start: the title');

    // The levels reached are still offered: RIGHT and LEFT choose between them.
    const lineNow = () => page.evaluate(() => Module.levelLine());
    check(await lineNow() === `< ${firstName} >`, `after the reload the title offers "< ${firstName} >"`);
    await shoot(page, 'title-reached');
    await tap(page, 'ArrowRight');
    check(await lineNow() === `< ${secondName} >`, `RIGHT: "< ${secondName} >"`);
    await tap(page, 'ArrowRight');
    check(await lineNow() === `< ${firstName} >`, 'RIGHT again wraps round to the first level');
    await tap(page, 'ArrowLeft');
    check(await lineNow() === `< ${secondName} >`, 'LEFT: the second level');
    await tap(page, 'ArrowLeft');
    check(await lineNow() === `< ${firstName} >`, 'LEFT again: the first level');
    // The pad as the shipped settings map it: the stick and the cross steer.
    await padTap(page, 'axis', 0, 1);
    check(await lineNow() === `< ${secondName} >`, `the pad's stick right: "< ${secondName} >"`);
    await padTap(page, 'button', 14);
    check(await lineNow() === `< ${firstName} >`, 'the pad\'s cross left: the first level');

    // Levels opened from the disk. A file that is no level is refused and
    // nothing changes; a level becomes the one the title names, stored as
    // its own file; the editor then edits that file; in the editor the
    // picker is refused.
    const scratch = fs.mkdtempSync(path.join(os.tmpdir(), 'kettlemoor-open-'));
    const notALevel = path.join(scratch, 'notes.map');
    fs.writeFileSync(notALevel, 'NAME: Notes\nNEXT: map02.map\nonly words, no tiles\n');
    const ownLevel = path.join(scratch, 'My moor!.map');
    const ownBytes = Buffer.from(shippedLevel.toString().replace(/^NAME:.*$/m, 'NAME: Opened Fen '));
    fs.writeFileSync(ownLevel, ownBytes);
    const picker = await page.$('#open');
    const openMessage = async file => {
      await page.evaluate(() => { document.getElementById('opened').textContent = ''; });
      await picker.uploadFile(file);
      await page.waitForFunction(() => document.getElementById('opened').textContent, { timeout: 5000 });
      return page.evaluate(() => document.getElementById('opened').textContent);
    };
    const filesBefore = JSON.stringify(await page.evaluate(() => Module.savedFiles()));
    const mapsBefore = JSON.stringify(await page.evaluate(() => FS.readdir('/data/maps')));
    const refused = await openMessage(notALevel);
    check(/"notes\.map" is not a Kettlemoor level; nothing was opened/.test(refused), `a file that is no level is refused: ${refused}`);
    await sleep(200);
    check(await lineNow() === `< ${firstName} >` &&
      JSON.stringify(await page.evaluate(() => FS.readdir('/data/maps'))) === mapsBefore &&
      JSON.stringify(await page.evaluate(() => Module.savedFiles())) === filesBefore,
      'after the refusal the title, the levels and the stored files are as they were');
    const opened = await openMessage(ownLevel);
    check(/Opened "My moor!\.map", kept as opened-My_moor_\.map/.test(opened), `a level opens: ${opened}`);
    check(await waitForScreen(page, TITLE) && await lineNow() === 'Opened Fen', 'the title names the opened level');
    await page.waitForFunction(() => Module.savedFiles().includes('/data/maps/opened-My_moor_.map'), { timeout: 5000 })
      .catch(() => {});
    check(await page.evaluate(() => Module.savedFiles().includes('/data/maps/opened-My_moor_.map')) &&
      Buffer.from(await page.evaluate(() => Array.from(FS.readFile('/data/maps/opened-My_moor_.map')))).equals(ownBytes),
      'the opened level is stored as it was read');
    await shoot(page, 'opened');
    await tap(page, 'Enter');
    await tap(page, 'ArrowDown');
    await tap(page, 'Enter');
    check(await waitForScreen(page, EDITOR), '"Editor": the editor');
    const notNow = await openMessage(ownLevel);
    check(/on the title screen or the menu/.test(notNow), `in the editor the picker is refused: ${notNow}`);
    await tap(page, 'x');
    await tap(page, 'ArrowRight');
    await tap(page, 'x');
    await tap(page, 'Enter');
    check(await waitForScreen(page, TITLE), 'Enter in the editor: saved and back to the title');
    await sleep(200);
    check(!Buffer.from(await page.evaluate(() => Array.from(FS.readFile('/data/maps/opened-My_moor_.map')))).equals(ownBytes) &&
      Buffer.from(await page.evaluate(() => Array.from(FS.readFile('/data/maps/map01.map')))).equals(saved),
      'the editor saved the opened level, not the first one');
    const again = await openMessage(ownLevel);
    check(/kept as opened-My_moor_-2\.map/.test(again), 'the same file opened again does not overwrite the edited copy');
    fs.rmSync(scratch, { recursive: true, force: true });

    // The cursor is on "Editor"; one step down is "Options".
    await tap(page, 'Enter');
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
