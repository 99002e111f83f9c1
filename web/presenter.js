// The page side of the browser build, placed in front of the module's own
// code: it shows each finished frame in the canvas, feeds the keyboard, the
// mouse and a gamepad to the game, plays the game's sound, keeps the files
// the game writes (the settings, edited levels and the levels won) in the
// browser's storage across visits, and hands the game a level the player
// opens from the disk.

// ---- sound ----

// The game mixes its own sound; the page pulls it through WebAudio a buffer
// at a time (1024 samples, 23 ms at 44.1 kHz) on the page's one thread.
var presenterSound = null;

Module.openSound = function (rate) {
  var Context = window.AudioContext || window.webkitAudioContext;
  if (!Context) return 0;
  var context = new Context({ sampleRate: rate });
  var node = context.createScriptProcessor(1024, 0, 1);
  node.onaudioprocess = function (e) {
    var out = e.outputBuffer.getChannelData(0);
    var at = Module._audioMixForPage(out.length) >> 1;
    for (var i = 0; i < out.length; i++) out[i] = HEAP16[at + i] / 32768;
  };
  node.connect(context.destination);
  presenterSound = { context: context, node: node };
  // A page may only make sound once the player has pressed something.
  var resume = function () { if (context.state === 'suspended') context.resume(); };
  ['keydown', 'mousedown', 'touchstart'].forEach(function (type) {
    document.addEventListener(type, resume, true);
  });
  return 1;
};

Module.closeSound = function () {
  if (!presenterSound) return;
  presenterSound.node.disconnect();
  presenterSound.context.close();
  presenterSound = null;
};

// 'running' while the page plays sound, 'suspended' before the first press.
Module.soundState = function () { return presenterSound ? presenterSound.context.state : 'none'; };

// ---- frames ----

// Every 16-bit pixel value (red 5, green 6, blue 5 bits) as the canvas's
// RGBA word, so a frame is one table look-up per pixel.
var presenterColours = null;

function presenterMakeColours() {
  presenterColours = new Uint32Array(65536);
  for (var p = 0; p < 65536; p++) {
    var r = (p >> 11) & 31, g = (p >> 5) & 63, b = p & 31;
    presenterColours[p] = 0xff000000 | (((b << 3) | (b >> 2)) << 16) |
      (((g << 2) | (g >> 4)) << 8) | ((r << 3) | (r >> 2));
  }
}

var presenterImage = null;  // the canvas's pixels, kept between frames
var presenterWords = null;  // the same pixels as RGBA words

// Shows the display surface (16 bits per pixel, rows pitch bytes apart).
Module.showFrame = function (pixels, w, h, pitch) {
  var canvas = Module.canvas;
  if (!canvas) return;
  if (!presenterImage || canvas.width !== w || canvas.height !== h) {
    canvas.width = w;
    canvas.height = h;
    presenterImage = canvas.getContext('2d').createImageData(w, h);
    presenterWords = new Uint32Array(presenterImage.data.buffer);
    if (!presenterColours) presenterMakeColours();
    if (Module.onResize) Module.onResize();
  }
  var source = HEAPU16, row = pixels >> 1, stride = pitch >> 1, out = 0;
  for (var y = 0; y < h; y++, row += stride) {
    for (var x = 0; x < w; x++) presenterWords[out++] = presenterColours[source[row + x]];
  }
  canvas.getContext('2d').putImageData(presenterImage, 0, 0);
  // The first frame's time since the page was asked for, for measurements.
  if (!Module.framesShown) Module.firstFrameAt = performance.now();
  Module.framesShown = (Module.framesShown || 0) + 1;
};

// ---- keyboard and mouse ----

// The browser's key codes as SDL 1.2 key symbols (printable keys are their
// ASCII codes, as in the settings file).
var presenterKeys = {
  Backspace: 8, Tab: 9, Enter: 13, Pause: 19, Escape: 27, Space: 32, Quote: 39,
  Comma: 44, Minus: 45, Period: 46, Slash: 47, Semicolon: 59, Equal: 61,
  BracketLeft: 91, Backslash: 92, BracketRight: 93, Backquote: 96, Delete: 127,
  NumpadDecimal: 266, NumpadDivide: 267, NumpadMultiply: 268, NumpadSubtract: 269,
  NumpadAdd: 270, NumpadEnter: 271, NumpadEqual: 272,
  ArrowUp: 273, ArrowDown: 274, ArrowRight: 275, ArrowLeft: 276,
  Insert: 277, Home: 278, End: 279, PageUp: 280, PageDown: 281,
  NumLock: 300, CapsLock: 301, ScrollLock: 302, ShiftRight: 303, ShiftLeft: 304,
  ControlRight: 305, ControlLeft: 306, AltRight: 307, AltLeft: 308,
  MetaLeft: 311, MetaRight: 312, PrintScreen: 316, ContextMenu: 319
};
(function () {
  for (var c = 0; c < 26; c++) presenterKeys['Key' + String.fromCharCode(65 + c)] = 97 + c;
  for (var d = 0; d < 10; d++) {
    presenterKeys['Digit' + d] = 48 + d;
    presenterKeys['Numpad' + d] = 256 + d;
  }
  for (var f = 1; f <= 15; f++) presenterKeys['F' + f] = 281 + f;
})();

var presenterHeld = {};  // symbols of the keys down now, to release on blur

function presenterKey(event, down) {
  var sym = presenterKeys[event.code];
  if (sym === undefined || !Module.calledRun) return;
  event.preventDefault();
  // The game has no key repeat.
  if (event.repeat || !!presenterHeld[sym] === down) return;
  if (down) presenterHeld[sym] = true; else delete presenterHeld[sym];
  Module._browserKey(sym, down ? 1 : 0);
}

// Keys let go while the page had no focus would otherwise stay down.
function presenterReleaseAll() {
  for (var sym in presenterHeld) Module._browserKey(+sym, 0);
  presenterHeld = {};
}

function presenterButton(event, down) {
  event.preventDefault();
  Module.canvas.focus();
  if (!Module.calledRun || event.button > 2) return;
  Module._browserMouseButton(event.button + 1, down ? 1 : 0);
}

var presenterWheel = 0;  // scrolled distance not yet turned into notches

// One wheel notch is a press and a release of SDL's button 4 (up) or 5 (down).
function presenterScroll(event) {
  event.preventDefault();
  if (!Module.calledRun) return;
  presenterWheel += event.deltaMode === 0 ? event.deltaY / 50 : event.deltaY;
  while (Math.abs(presenterWheel) >= 1) {
    var button = presenterWheel < 0 ? 4 : 5;
    presenterWheel -= presenterWheel < 0 ? -1 : 1;
    Module._browserMouseButton(button, 1);
    Module._browserMouseButton(button, 0);
  }
}

// ---- gamepads ----

// The first pad the browser knows, read once per animation frame; what
// changed since the last look reaches the game as SDL's joystick events, so
// the settings' joystick half applies as on the desktop. A pad with the
// Gamepad API's standard mapping gives the numbers a common pad (Xbox
// layout) gives on a desktop: A 0, B 1, X 2, Y 3, the shoulders 4 and 5,
// Back 6, Start 7, the pad's own button 8, the sticks' clicks 9 and 10, the
// triggers 11 and 12; its cross is the hat. Any other pad's buttons keep
// their numbers, and it has no hat.
var PAD_STANDARD_BUTTONS = [0, 1, 2, 3, 4, 5, 11, 12, 6, 7, 9, 10, -1, -1, -1, -1, 8];
// The standard cross (buttons 12 to 15: up, down, left, right) as SDL's hat bits.
var PAD_CROSS_FIRST = 12;
var PAD_CROSS_BITS = [1, 4, 8, 2];
var PAD_AXIS_RANGE = 32767;

var padButtonsDown = {};  // the game's numbers of the buttons down, as sent
var padAxes = [0, 0];     // the two steering axes as sent
var padHat = 0;           // the hat as sent

function padFirst() {
  var pads = navigator.getGamepads ? navigator.getGamepads() : [];
  for (var i = 0; i < pads.length; i++) if (pads[i] && pads[i].connected) return pads[i];
  return null;
}

function padSetButton(number, down) {
  if (!!padButtonsDown[number] === down) return;
  if (down) padButtonsDown[number] = true; else delete padButtonsDown[number];
  Module._browserPadButton(number, down ? 1 : 0);
}

function padSetAxis(axis, value) {
  if (padAxes[axis] === value) return;
  padAxes[axis] = value;
  Module._browserPadAxis(axis, value);
}

function padSetHat(bits) {
  if (padHat === bits) return;
  padHat = bits;
  Module._browserPadHat(bits);
}

// Sends what the pad holds now; with no pad, lets go of everything.
function padRead(pad) {
  var standard = pad && pad.mapping === 'standard';
  var held = {}, hat = 0;
  for (var i = 0; pad && i < pad.buttons.length; i++) {
    if (!pad.buttons[i].pressed) continue;
    var number = standard ? PAD_STANDARD_BUTTONS[i] : i;
    if (number === -1) hat |= PAD_CROSS_BITS[i - PAD_CROSS_FIRST];
    else if (number !== undefined && number < 256) held[number] = true;
  }
  for (var b in padButtonsDown) if (!held[b]) padSetButton(+b, false);
  for (var n in held) padSetButton(+n, true);
  padSetHat(hat);
  for (var a = 0; a < 2; a++) {
    var value = pad && a < pad.axes.length ? Math.round(pad.axes[a] * PAD_AXIS_RANGE) : 0;
    padSetAxis(a, Math.max(-PAD_AXIS_RANGE - 1, Math.min(PAD_AXIS_RANGE, value)));
  }
}

function padPoll() {
  requestAnimationFrame(padPoll);
  if (Module.calledRun) padRead(padFirst());
}

Module.listenTo = function (canvas) {
  requestAnimationFrame(padPoll);
  Module.canvas = canvas;
  canvas.addEventListener('keydown', function (e) { presenterKey(e, true); });
  canvas.addEventListener('keyup', function (e) { presenterKey(e, false); });
  canvas.addEventListener('blur', presenterReleaseAll);
  canvas.addEventListener('mousedown', function (e) { presenterButton(e, true); });
  canvas.addEventListener('mouseup', function (e) { presenterButton(e, false); });
  canvas.addEventListener('contextmenu', function (e) { e.preventDefault(); });
  canvas.addEventListener('wheel', presenterScroll, { passive: false });
};

// ---- a level opened from the disk ----

// An opened level is kept beside the shipped ones, so that the levels its
// NEXT: lines name are found as the game finds them, under a name of its own
// that no shipped level has, that a progress file can hold (no blanks) and
// that cannot leave the folder.
var OPENED_FOLDER = '/data/maps/';
var OPENED_PREFIX = 'opened-';
var OPENED_STAGED = '/tmp/opening.map';

function openedName(fileName) {
  var base = String(fileName).replace(/^.*[\\/]/, '').replace(/\.map$/i, '')
    .replace(/[^A-Za-z0-9_-]+/g, '_').slice(0, 40);
  return OPENED_PREFIX + (/[A-Za-z0-9]/.test(base) ? base : 'level');
}

function sameBytes(a, b) {
  if (a.length !== b.length) return false;
  for (var i = 0; i < a.length; i++) if (a[i] !== b[i]) return false;
  return true;
}

// The path the opened file goes to: its own name, or the same name numbered
// when a different level (say one edited here since) already has it, so that
// nothing the player made is written over. Opening the same file again
// lands on the copy it made before.
function openedPath(fileName, bytes) {
  var name = openedName(fileName);
  for (var n = 1; n < 100; n++) {
    var path = OPENED_FOLDER + name + (n > 1 ? '-' + n : '') + '.map';
    var there = FS.analyzePath(path);
    if (!there.exists || sameBytes(FS.readFile(path), bytes)) return path;
  }
  return null;
}

// Opens a level the player chose (its file name and bytes): the game checks
// it and, when it reads as a level and the game is on the title or the main
// menu, plays it. Answers what the page tells the player.
Module.openLevel = function (fileName, bytes) {
  if (!Module.calledRun) return { opened: false, text: 'The game has not started yet.' };
  var path = openedPath(fileName, bytes);
  if (!path) return { opened: false, text: 'Too many levels named like "' + fileName + '" are kept here; nothing was opened.' };
  try {
    FS.writeFile(OPENED_STAGED, bytes);
  } catch (e) {
    return { opened: false, text: '"' + fileName + '" could not be read in; nothing was opened.' };
  }
  var answer = Module.ccall('browserOpenLevel', 'number', ['string', 'string'], [OPENED_STAGED, path]);
  if (FS.analyzePath(OPENED_STAGED).exists) FS.unlink(OPENED_STAGED);
  if (answer === 0) {
    return { opened: true, text: 'Opened "' + fileName + '", kept as ' + path.slice(OPENED_FOLDER.length) + '.' };
  }
  return { opened: false, text: [
    '', '"' + fileName + '" is not a Kettlemoor level; nothing was opened.',
    'A level opens on the title screen or the menu: go back there and choose it again.',
    '"' + fileName + '" could not be kept in this browser; nothing was opened.'][answer] ||
    'Nothing was opened.' };
};

// The campaign's line on the screen that is up, for the page's checks.
Module.levelLine = function () {
  return Module.calledRun ? UTF8ToString(Module._browserLevelLine()) : '';
};

// ---- the browser's storage ----

// Files the game writes under /data are copied to /store, which lives in
// the browser's IndexedDB, and copied back over the packed data on the next
// visit. Only what the game has written is stored.
var STORE = '/store';
var storeDirty = {};     // paths written, renamed or removed since the last copy
var storeSyncing = false;
var storeSyncAgain = false;

function storeParent(path) {
  return path.slice(0, path.lastIndexOf('/')) || '/';
}

function storeWalk(dir, visit) {
  FS.readdir(dir).forEach(function (name) {
    if (name === '.' || name === '..') return;
    var path = dir + '/' + name;
    if (FS.isDir(FS.stat(path).mode)) storeWalk(path, visit); else visit(path);
  });
}

// The stored files, as the game's paths.
Module.savedFiles = function () {
  var files = [];
  if (FS.analyzePath(STORE + '/data').exists) {
    storeWalk(STORE + '/data', function (stored) { files.push(stored.slice(STORE.length)); });
  }
  return files.sort();
};

function storeRestore() {
  Module.savedFiles().forEach(function (path) {
    FS.mkdirTree(storeParent(path));
    FS.writeFile(path, FS.readFile(STORE + path));
  });
}

function storeSync() {
  if (storeSyncing) { storeSyncAgain = true; return; }
  storeSyncing = true;
  FS.syncfs(false, function (error) {
    storeSyncing = false;
    if (error) console.warn('Could not keep the saved files:', error);
    if (storeSyncAgain) { storeSyncAgain = false; storeSync(); return; }
    storeNote();
    if (Module.onSaved) Module.onSaved();
  });
}

// Copies every dirty path into the store (or drops it there when the game
// removed it), then writes the store to IndexedDB.
function storeFlush() {
  if (!storeReady) return;  // done once the database has been read
  var paths = Object.keys(storeDirty);
  storeDirty = {};
  if (paths.length === 0) return;
  paths.forEach(function (path) {
    var stored = STORE + path;
    var there = FS.analyzePath(path);
    if (there.exists && !FS.isDir(there.object.mode)) {
      FS.mkdirTree(storeParent(stored));
      FS.writeFile(stored, FS.readFile(path));
    } else if (FS.analyzePath(stored).exists) {
      FS.unlink(stored);
    }
  });
  storeSync();
}

function storeMark(path) {
  // The game names its files relative to the working directory.
  path = String(path);
  if (path[0] !== '/') path = FS.cwd() + '/' + path;
  path = path.replace(/\/(\.\/)+/g, '/').replace(/\/+/g, '/');
  if (path.indexOf('/data/') !== 0) return;
  if (Object.keys(storeDirty).length === 0) setTimeout(storeFlush, 0);
  storeDirty[path] = true;
}

// Watches the game's writes: a file closed after writing, both names of a
// rename (the game writes beside a file and renames into place), a removal.
function storeWatch() {
  var close = FS.close, rename = FS.rename, unlink = FS.unlink;
  FS.close = function (stream) {
    var wrote = (stream.flags & 3) !== 0;  // opened for writing
    var path = stream.path;
    var result = close.apply(FS, arguments);
    if (wrote) storeMark(path);
    return result;
  };
  FS.rename = function (from, to) {
    var result = rename.apply(FS, arguments);
    storeMark(from);
    storeMark(to);
    return result;
  };
  FS.unlink = function (path) {
    var result = unlink.apply(FS, arguments);
    storeMark(path);
    return result;
  };
}

// A first visit to the page opens the browser's database for the first
// time, which can take most of a second; the page notes in localStorage
// whether anything is stored, and waits for the database before starting the
// game only when there is something to bring back.
var STORE_NOTE = 'kettlemoor-saved';
var storeReady = false;

function storeNoted() {
  try { return !!localStorage.getItem(STORE_NOTE); } catch (e) { return true; }
}

function storeNote() {
  try {
    if (Module.savedFiles().length) localStorage.setItem(STORE_NOTE, '1');
    else localStorage.removeItem(STORE_NOTE);
  } catch (e) { /* without localStorage every visit waits for the database */ }
}

Module.preRun = Module.preRun || [];
Module.preRun.push(function () {
  FS.mkdir(STORE);
  FS.mount(IDBFS, {}, STORE);
  var waiting = storeNoted();
  if (waiting) addRunDependency('store');
  FS.syncfs(true, function (error) {
    if (error) console.warn('Could not read the saved files:', error);
    storeReady = true;
    if (waiting) {
      removeRunDependency('store');
    } else if (Module.calledRun) {
      // Unexpected files: what the game wrote meanwhile goes over them first.
      storeFlush();
      storeRestore();
      if (Module.onSaved) Module.onSaved();
    }
  });
});

// By now the packed data is in place: the saved files go over it, and only
// then does watching start, so unpacking is never taken for the game's writes.
Module.onRuntimeInitialized = function () {
  storeRestore();
  storeWatch();
  if (Module.onSaved) Module.onSaved();
};
