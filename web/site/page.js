// The page around the program (tuvrel.js, tuvrel.wasm): what only the browser
// can do. The canvas and its size, pointer and key events handed to the
// program, the site's pictures and fonts, the menu bar, the message box, tool
// tips, the browser's history, the end screen and the messages a teacher
// reads when something is wrong. Every rule of the games is the program's.
'use strict';

(() => {
  const $ = (id) => document.getElementById(id);
  const canvas = $('canvas');
  const menubar = $('menubar');
  const menuitem = $('menuitem');
  const tooltip = $('tooltip');

  // ------------------------------------------------------------ problems

  let stopped = false;
  function problem(title, text) {
    stopped = true;
    $('loading').hidden = true;
    $('speech-note').hidden = true;
    $('problem-title').textContent = title;
    $('problem-text').textContent = text;
    $('problem').hidden = false;
  }
  $('reload').addEventListener('click', () => location.reload());

  const noConnection = 'Controleer de internetverbinding en probeer het opnieuw. ' +
    'Lukt het dan nog niet, vraag dan degene die Tuvrel op deze website heeft gezet om hulp.';
  const stopProblem = (what) => problem('Tuvrel moest stoppen',
    'Er ging iets mis in deze pagina (' + what + '). Probeer het opnieuw; de spelletjes beginnen dan weer bij het begin.');

  // Whatever goes wrong in the page's own script shows, instead of a page
  // that stays "wordt geladen" or stops answering.
  window.addEventListener('error', (e) => {
    if (!stopped) stopProblem(e.message || 'een fout');
  });
  window.addEventListener('unhandledrejection', (e) => {
    if (!stopped) stopProblem((e.reason && e.reason.message) || String(e.reason));
  });

  // What the page needs of the browser, found out before anything is loaded:
  // WebAssembly that the page's security policy lets it compile (iPadOS 15's
  // Safari has WebAssembly but refuses it under the policy), Pointer Events,
  // a 2D canvas and createImageBitmap. A browser without them is told so,
  // not sent to check its connection.
  function missingFeatures() {
    const missing = [];
    let compiles = false;
    try {
      compiles = typeof WebAssembly === 'object' &&
        new WebAssembly.Module(new Uint8Array([0, 0x61, 0x73, 0x6d, 1, 0, 0, 0])) instanceof WebAssembly.Module;
    } catch (error) {
      compiles = false;
    }
    if (!compiles) missing.push('WebAssembly');
    if (typeof window.PointerEvent !== 'function') missing.push('Pointer Events');
    let drawing = null;
    try {
      drawing = document.createElement('canvas').getContext('2d');
    } catch (error) {
      drawing = null;
    }
    if (!drawing) missing.push('canvas');
    if (typeof window.createImageBitmap !== 'function') missing.push('createImageBitmap');
    if (typeof window.fetch !== 'function' || typeof window.Promise !== 'function') missing.push('fetch');
    return missing;
  }
  {
    const missing = missingFeatures();
    if (missing.length) {
      problem('Deze browser is te oud voor Tuvrel',
        'Tuvrel werkt in deze browser niet: hij mist ' + missing.join(', ') + '. ' +
        'Tuvrel werkt op een iPad met iPadOS 16 of nieuwer, en in Safari 16, Chrome 97, Edge 97 en Firefox 102 of nieuwer. ' +
        'Werk de browser of het apparaat bij, of speel op een ander apparaat.');
      $('reload').hidden = true;
      return;
    }
  }

  // ------------------------------------------------------------ settings

  // The two settings a teacher turns on, read once before the program
  // starts: from the address, so that a class page's link carries them
  // (?voorlezen&tikken, =0 turns one off), and remembered on this device
  // until an address changes them; an address without them plays as this
  // device was set last. Two switches, nothing about the child. Each copy of
  // the site on a host (say /tuvrel/ and /tuvrel-test/) keeps its own.
  //   voorlezen: the program's texts read aloud (reading aloud, below)
  //   tikken: a tap picks a picture up, the next tap puts it down
  const settings = (() => {
    const query = new URLSearchParams(location.search);
    const folder = location.pathname.slice(0, location.pathname.lastIndexOf('/') + 1);
    const read = {};
    for (const name of ['voorlezen', 'tikken']) {
      const key = 'tuvrel ' + folder + ' ' + name;
      if (query.has(name)) {
        read[name] = !['0', 'nee', 'uit', 'false'].includes(query.get(name).toLowerCase());
        // Without storage (a private window that refuses it) for this visit only.
        try { localStorage.setItem(key, read[name] ? '1' : '0'); } catch (error) { /* this visit only */ }
      } else {
        let kept = null;
        try { kept = localStorage.getItem(key); } catch (error) { kept = null; }
        read[name] = kept === '1';
      }
    }
    return Object.freeze(read);
  })();

  // ------------------------------------------------------------ the network

  // A school's network drops, stalls and cuts requests: a file is asked for
  // again a few times, with growing waits, before it counts as missing. The
  // second and later tries go past every cache (a broken copy may be kept).
  const retryWaits = [500, 1000, 2000, 4000];
  const stallTimeout = 20000;
  const sleep = (ms) => new Promise((resolve) => setTimeout(resolve, ms));
  async function fetchRetrying(url, read, waits = retryWaits) {
    let lastError = null;
    for (let attempt = 0; attempt <= waits.length; ++attempt) {
      if (attempt > 0) await sleep(waits[attempt - 1]);
      const abort = typeof AbortController === 'function' ? new AbortController() : null;
      const timer = abort ? setTimeout(() => abort.abort(), stallTimeout) : 0;
      try {
        const response = await fetch(url, {cache: attempt === 0 ? 'default' : 'reload', signal: abort && abort.signal});
        if (!response.ok) throw new Error(response.status + ' ' + response.statusText);
        return await read(response);
      } catch (error) {
        lastError = error;
      } finally {
        clearTimeout(timer);
      }
    }
    throw lastError;
  }

  // Safe for any address: a name that is not valid percent-encoding is no name.
  function addressName() {
    try {
      return decodeURIComponent(location.hash.slice(1));
    } catch (error) {
      return '';
    }
  }

  // ------------------------------------------------------------ fonts and text

  const families = ['"Tuvrel Comic"', '"Tuvrel Sans"'];
  function font(face, pixels) {
    return pixels + 'px ' + families[face];
  }

  // Text measured for the program's layout of labels (where their lines
  // break is the program's to say), on a context of its own.
  let measuring = null, measuringFont = '';
  function measure(face, pixels, text) {
    if (!measuring) measuring = document.createElement('canvas').getContext('2d');
    const wanted = font(face, pixels);
    if (wanted !== measuringFont) {
      measuring.font = wanted;
      measuringFont = wanted;
    }
    return measuring.measureText(text);
  }

  // ------------------------------------------------------------ pictures

  // Whether a fetched rendering's body is kept until the offline copy has it
  // (offline.keep): where there is a service worker, until the page handed
  // them over. A page the worker serves already has them kept as they pass.
  let keepingBodies = 'serviceWorker' in navigator && !navigator.serviceWorker.controller;

  // Every picture in the renderings the site has of it: its own pixels (1)
  // and its source rendered at the larger scales. Which rendering draws a
  // size on the device is the program's rule: the program says it for what
  // it draws, and the table gives each rendering's reach (p.r) for what is
  // fetched before it is drawn. Drawn smoothly to size.
  class Pictures {
    constructor(catalog) {
      this.byName = new Map(catalog.pictures.map((p) => [p.name, p]));
      this.scales = [1, ...catalog.scales];
      this.kept = new Map();  // name@scale -> {bitmap, promise, failed}
      // Renderings scaled once to the size they are drawn at, so that a
      // repaint copies their pixels instead of resampling a larger rendering
      // every time; the most recently drawn, up to a budget of device pixels.
      this.sized = new Map();  // name@scale@wxh -> canvas, oldest first
      this.sizedPixels = 0;
      // Copies still to make (sizedKey -> {bitmap, w, h}), after the frame.
      this.toScale = new Map();
      this.scaling = false;
      this.round = 0;
      this.evictedThisRound = false;
      // Pictures a paint went without (not yet arrived in the rendering it wanted).
      this.missed = new Set();
    }
    // Safari on an iPad stops a page whose canvases together take more than a
    // few hundred megabytes (less on a 2 GB iPad, where the page's own canvas
    // takes up to 16 MB): the scaled copies keep within 8 M device pixels,
    // 32 MB, enough for every picture of a form at a board's 4K.
    static get sizedBudget() { return 8 * 1024 * 1024; }
    scaleFor(p, width, height) {
      const i = p.r.findIndex(([w, h]) => w >= width && h >= height);
      return this.scales[i < 0 ? this.scales.length - 1 : i];
    }
    // The rendering a device scale (device pixels per form pixel) draws.
    scaleAt(p, deviceScale) {
      return this.scaleFor(p, Math.round(p.w * deviceScale), Math.round(p.h * deviceScale));
    }
    url(p, k) {
      return k === 1 ? `pictures/${p.name}.${p.e}` : `pictures/${k}x/${p.name}.${p.k}`;
    }
    // The rendering k of a picture, asked for again (fetchRetrying) until it
    // arrives. A picture that still did not arrive is asked for once more
    // when it is next drawn, a while later; only the caller that needs it to
    // start hears of it. The moment one arrives that a paint went without,
    // the page is painted again, whoever asked for it.
    load(name, k) {
      const key = name + '@' + k;
      let entry = this.kept.get(key);
      if (entry && !(entry.failedAt && Date.now() - entry.failedAt > Pictures.askAgainAfter)) return entry.promise;
      const p = this.byName.get(name);
      entry = {bitmap: null, blob: null, failedAt: 0, promise: null};
      entry.promise = fetchRetrying(this.url(p, k), (response) => response.blob().then((blob) => {
        // Kept for the offline copy, which takes it from the page rather
        // than downloading it again (offline.keep); dropped once handed over.
        if (keepingBodies) entry.blob = blob;
        return createImageBitmap(blob);
      }))
        .then((bitmap) => {
          entry.bitmap = bitmap;
          if (this.missed.delete(name)) page.repaint();
        }, (error) => {
          entry.failedAt = Date.now();
          throw new Error(`het plaatje "${name}" (${this.url(p, k)}) kwam niet binnen of is beschadigd (${error.message})`);
        });
      this.kept.set(key, entry);
      return entry.promise;
    }
    static get askAgainAfter() { return 10000; }
    // The bodies kept, dropped: handed over, or no longer wanted.
    dropBodies() {
      keepingBodies = false;
      for (const entry of this.kept.values()) entry.blob = null;
    }
    // Draws a picture onto a device rectangle from its rendering at scale k.
    draw(name, k, x, y, w, h) {
      const p = this.byName.get(name);
      if (!p) return;
      const key = name + '@' + k;
      const entry = this.kept.get(key);
      if (entry && entry.bitmap) return this.drawSized(key, entry.bitmap, x, y, w, h);
      this.missed.add(name);
      this.load(name, k).catch(() => {});
      // In the meantime any rendering at hand, smoothly to size.
      for (const other of this.scales) {
        const e = this.kept.get(name + '@' + other);
        if (e && e.bitmap) return this.smoothly(Module.tuvrelContext, e.bitmap, x, y, w, h);
      }
    }
    smoothly(ctx, bitmap, x, y, w, h) {
      ctx.imageSmoothingEnabled = true;
      ctx.imageSmoothingQuality = 'high';
      ctx.drawImage(bitmap, x, y, w, h);
    }
    // The rendering itself when it has the size, otherwise its copy at that
    // size. A copy not made yet is not waited for: the rendering is drawn
    // quickly to size now (plain bilinear, as fast as a copy), the copy is
    // made with the high-quality smoothing right after the frame, a few at a
    // time, and the form is drawn again from the copies then. So a game
    // shows the moment it is tapped, also on a slow device, and its pictures
    // are at their best a moment later.
    drawSized(key, bitmap, x, y, w, h) {
      const ctx = Module.tuvrelContext;
      if (bitmap.width === w && bitmap.height === h) return ctx.drawImage(bitmap, x, y);
      const sizedKey = `${key}@${w}x${h}`;
      const copy = this.sized.get(sizedKey);
      if (copy) {
        this.sized.delete(sizedKey);  // now the most recent
        this.sized.set(sizedKey, copy);
        return ctx.drawImage(copy, x, y);
      }
      ctx.imageSmoothingEnabled = true;
      ctx.imageSmoothingQuality = 'low';
      ctx.drawImage(bitmap, x, y, w, h);
      if (this.toScale.has(sizedKey)) return;
      this.toScale.set(sizedKey, {bitmap, w, h});
      if (!this.scaling) {
        // Once the frame that shows this drawing has gone to the screen.
        this.scaling = true;
        requestAnimationFrame(() => setTimeout(() => this.scaleSome(), 0));
      }
    }
    // Makes the copies asked for, for at most a few ms at a time so that a
    // touch meanwhile is answered; then has the form drawn again from them.
    // Not when the copies of this round pushed each other out of the budget
    // (more pictures on a form than it holds): drawing again would ask for
    // them again without end, and the quick drawing stays.
    scaleSome() {
      const until = performance.now() + Pictures.scaleSlice;
      for (const [sizedKey, {bitmap, w, h}] of this.toScale) {
        this.toScale.delete(sizedKey);
        this.makeCopy(sizedKey, bitmap, w, h);
        if (performance.now() > until) break;
      }
      if (this.toScale.size) return setTimeout(() => this.scaleSome(), 0);
      this.scaling = false;
      const crowded = this.evictedThisRound;
      this.round += 1;
      this.evictedThisRound = false;
      if (!crowded) page.repaint();
    }
    static get scaleSlice() { return 6; }
    makeCopy(sizedKey, bitmap, w, h) {
      const copy = document.createElement('canvas');
      copy.width = w;
      copy.height = h;
      copy.round = this.round;
      this.smoothly(copy.getContext('2d'), bitmap, 0, 0, w, h);
      this.sizedPixels += w * h;
      this.sized.set(sizedKey, copy);
      for (const [oldKey, old] of this.sized) {
        if (this.sizedPixels <= Pictures.sizedBudget) break;
        this.sized.delete(oldKey);
        this.sizedPixels -= old.width * old.height;
        if (old.round === this.round) this.evictedThisRound = true;
        // Its memory goes now, not when the garbage collector comes by.
        old.width = 0;
        old.height = 0;
      }
    }
    // The named pictures at a device scale, all of them loaded.
    loadAll(names, deviceScale) {
      return Promise.all(names.map((n) => this.load(n, this.scaleAt(this.byName.get(n), deviceScale))));
    }
    // The rest, a few at a time, while the child looks at Start; settled
    // (this.prefetched) once every one arrived or was given up on.
    prefetch(deviceScale) {
      const queue = [...this.byName.values()].filter((p) => !this.kept.has(p.name + '@' + this.scaleAt(p, deviceScale)));
      // One that does not arrive is no reason to stop: it is asked for again when drawn.
      const next = () => {
        const p = queue.shift();
        return p && !stopped ? this.load(p.name, this.scaleAt(p, deviceScale)).then(next, next) : undefined;
      };
      this.prefetched = Promise.all(Array.from({length: 4}, next)).then(() => {});
      return this.prefetched;
    }
  }

  // ------------------------------------------------------------ the program

  const Module = {
    tuvrelContext: null,
    tuvrelPictures: null,
    tuvrelPage: null,
    tuvrelFont: font,
    tuvrelMeasure: measure,
    locateFile: (path) => path,
    print: () => {},
    printErr: (text) => console.warn(text),
    onAbort: (what) => stopProblem(String(what)),
  };

  // A call into the program that may run a handler: a handler that shows a
  // message box waits there until it is closed, and nothing else reaches the
  // forms meanwhile.
  let waiting = false;
  function call(name, ...args) {
    if (waiting || stopped) return false;
    const done = Module.ccall(name, 'number', args.map(() => 'number'), args, {async: true});
    if (waiting) done.then(() => { waiting = false; }, () => { waiting = false; });
    return true;
  }
  function text(pointer) {
    return Module.UTF8ToString(pointer);
  }

  // ------------------------------------------------------------ size

  let ready = false;
  let frameWanted = false;
  let frameScheduled = false;
  let ratio = 1;

  // The canvas fills the window whether or not the menu bar shows. Under a
  // form with a menu the bar lies over the canvas's top, the canvas is moved
  // down by its height (its foot out of sight) and the program draws in the
  // rest, so opening or closing such a game never makes the canvas's pixels
  // anew: on a slow tablet that alone took a third of the tap.
  const menuBarHeight = 32;
  menubar.style.height = menuBarHeight + 'px';

  function layout() {
    const width = Math.max(1, Math.floor(window.innerWidth));
    const fullHeight = Math.max(1, Math.floor(window.innerHeight));
    const bar = menubar.hidden ? 0 : Math.min(menuBarHeight, fullHeight - 1);
    const height = fullHeight - bar;
    ratio = window.devicePixelRatio || 1;
    canvas.style.width = width + 'px';
    canvas.style.height = fullHeight + 'px';
    canvas.style.top = bar + 'px';
    const deviceWidth = Math.round(width * ratio), deviceHeight = Math.round(fullHeight * ratio);
    if (canvas.width !== deviceWidth) canvas.width = deviceWidth;
    if (canvas.height !== deviceHeight) canvas.height = deviceHeight;
    Module._tuvrel_resize(width, height, ratio);
    // A resized canvas is blank: drawn again before the browser shows it.
    if (ready) paintNow();
  }

  function paintNow() {
    frameWanted = false;
    Module._tuvrel_paint();
  }

  const page = {
    requestFrame() {
      frameWanted = true;
      if (frameScheduled || !ready) return;
      frameScheduled = true;
      requestAnimationFrame(() => {
        frameScheduled = false;
        if (frameWanted && ready) paintNow();
      });
    },
    repaint() {
      if (Module._tuvrel_invalidate) Module._tuvrel_invalidate();
    },
    frontChanged(caption, menu, name, isStart) {
      document.title = caption || 'Tuvrel';
      const barBefore = menubar.hidden;
      menuitem.textContent = menu;
      menubar.hidden = !menu;
      if (barBefore !== menubar.hidden) layout();
      hideTip();
      history_.front(name, isStart);
      frontIsStart = isStart;
      speech.showNote();
      // A game closed: the moment a new version may take over.
      if (isStart) setTimeout(() => offline.whenIdle(), 300);
    },
    messageBox(message, title) {
      waiting = true;
      hideTip();
      return showBox(message, title);
    },
    readAloud(texts) {
      speech.read(texts);
    },
    ended(error) {
      hideTip();
      speech.stop();
      frontIsStart = false;
      speech.showNote();
      history_.leave();
      const showEnd = () => {
        canvas.hidden = true;
        menubar.hidden = true;
        $('end').hidden = false;
        $('again').focus();
      };
      if (error) {
        showBox('Tuvrel moet stoppen: er ging iets mis.\n\n' + error, 'Tuvrel').then(showEnd);
      } else {
        showEnd();
      }
    },
  };

  // ------------------------------------------------------------ reading aloud

  // The program says what is read and when (with voorlezen on: a game's
  // title and instruction as it comes to the front, a message box's text, a
  // label the child taps); the page speaks it with the device's own Dutch
  // voice (speechSynthesis), each reading cancelling the one before. Never a
  // voice of another language, and never one that speaks through a server
  // (localService false, such as Chrome's "Google Nederlands"): nothing
  // leaves the device. Where the device has no Dutch voice of its own,
  // nothing is spoken and Start says so in a small note.
  //
  // Browsers let a page speak only once someone touched it (Chrome, and
  // Safari on an iPad): a reading asked for before that (Start's, a game's
  // that the address opened) waits for the first touch, click or key, and is
  // spoken then unless that touch asked for another.
  const speech = {
    synth: null,
    voice: null,
    voicesSettled: false,
    touched: false,
    waiting: null,  // a reading that waits for the first touch
    start() {
      if (!settings.voorlezen) return;
      const synth = window.speechSynthesis;
      if (!synth || typeof window.SpeechSynthesisUtterance !== 'function') {
        this.voicesSettled = true;
        return this.showNote();
      }
      this.synth = synth;
      this.chooseVoice();
      // The voices may come a moment later (Chromium lists them after the
      // page has asked once); a device that has none by then has none.
      if (typeof synth.addEventListener === 'function') synth.addEventListener('voiceschanged', () => this.chooseVoice());
      setTimeout(() => {
        this.voicesSettled = true;
        this.showNote();
        this.flush();
      }, this.settleTime);
      // Registered after the page's own listeners, so that they run after them.
      for (const type of ['pointerup', 'touchend', 'click', 'keydown'])
        window.addEventListener(type, () => this.touch());
    },
    settleTime: 3000,
    // The device's own Dutch voice: the Netherlands' before Flanders', the
    // device's default among them first.
    chooseVoice() {
      const dutch = (this.synth.getVoices() || [])
        .filter((v) => /^nl(?:[-_]|$)/i.test(v.lang || '') && v.localService !== false);
      const rank = (v) => (/^nl[-_]NL$/i.test(v.lang) ? 0 : /^nl$/i.test(v.lang) ? 1 : 2) * 2 + (v.default ? 0 : 1);
      dutch.sort((a, b) => rank(a) - rank(b));
      this.voice = dutch[0] || null;
      if (this.synth.getVoices().length) this.voicesSettled = true;
      this.showNote();
      this.flush();
    },
    showNote() {
      $('speech-note').hidden = !(settings.voorlezen && this.voicesSettled && !this.voice && frontIsStart);
    },
    mayStart() {
      const activation = navigator.userActivation;
      return this.touched || !!(activation && activation.hasBeenActive);
    },
    // The program's reading: the texts, one after the other, in place of
    // whatever is being read; none only stops it.
    read(texts) {
      if (!this.synth) return;
      this.synth.cancel();
      this.waiting = texts.length ? texts : null;
      this.flush();
    },
    // The reading that waits, spoken once there is a voice and the page may
    // speak; one the device has no voice for is dropped.
    flush() {
      if (!this.waiting) return;
      if (!this.voice) {
        if (this.voicesSettled) this.waiting = null;
        return;
      }
      if (!this.mayStart()) return;
      const texts = this.waiting;
      this.waiting = null;
      for (const text of texts) {
        const utterance = new SpeechSynthesisUtterance(text);
        utterance.voice = this.voice;
        utterance.lang = this.voice.lang;
        this.synth.speak(utterance);
      }
    },
    // A touch, click or key of the child's, after the page has handled it:
    // from now on the page may speak, and a reading that waited for it is
    // spoken now, inside the gesture (Safari counts only that).
    touch() {
      this.touched = true;
      this.flush();
    },
    stop() {
      this.waiting = null;
      if (this.synth) this.synth.cancel();
    },
  };
  let frontIsStart = false;

  // ------------------------------------------------------------ message box

  let closeBox = null;
  function showBox(message, title) {
    $('box-title').textContent = title;
    $('box-text').textContent = message;
    $('box-shade').hidden = false;
    $('box-ok').focus();
    return new Promise((resolve) => {
      closeBox = () => {
        closeBox = null;
        $('box-shade').hidden = true;
        canvas.focus();
        resolve();
      };
    });
  }
  $('box-ok').addEventListener('click', () => closeBox && closeBox());
  for (const type of ['pointerdown', 'pointerup', 'contextmenu'])
    $('box-shade').addEventListener(type, (e) => { if (e.target !== $('box-ok')) e.preventDefault(); });

  // ------------------------------------------------------------ history

  // An entry above the page's own while a game is in front, so that the
  // browser's back action (the back button, Android's back gesture,
  // Alt+Left) closes the game; on Start it leaves the page.
  //
  // Browsers skip, on back, an entry that a page pushed before anyone touched
  // it (WebKit on every iPad, Chromium too): a game the address opened gets
  // its entry at the child's first touch or key, which makes it one that
  // back stops at; until then the address shows the game and back leaves.
  const history_ = {
    gameEntry: false,
    gameName: '',
    ignorePops: 0,
    // A game that came to the front while our own step back was on its way:
    // its entry is pushed once that step has arrived, for pushed before it,
    // the step back would take the browser off the page.
    waitingGame: null,
    // A game in front before the first touch, whose entry waits for it.
    untouchedGame: null,
    touched: false,
    base: location.pathname + location.search,
    front(name, isStart) {
      if (this.ignorePops > 0) {
        this.waitingGame = isStart ? null : name;
        return;
      }
      if (!isStart && !this.touched) {
        this.untouchedGame = name;
        history.replaceState(null, '', this.base + '#' + name);
      } else if (!isStart) {
        if (!this.gameEntry) history.pushState({tuvrel: 'game'}, '', '#' + name);
        else history.replaceState({tuvrel: 'game'}, '', '#' + name);
        this.gameEntry = true;
        this.gameName = name;
      } else {
        this.leave();
      }
    },
    // The first touch or key: the game in front gets its entry now.
    touch() {
      if (this.touched) return;
      this.touched = true;
      const name = this.untouchedGame;
      this.untouchedGame = null;
      if (name) {
        history.replaceState(null, '', this.base);
        this.front(name, false);
      }
    },
    leave() {
      this.waitingGame = null;
      if (this.untouchedGame) {
        this.untouchedGame = null;
        history.replaceState(null, '', this.base);
      }
      if (!this.gameEntry) return;
      this.gameEntry = false;
      ++this.ignorePops;
      history.back();
    },
    popped() {
      if (this.ignorePops > 0) {
        if (--this.ignorePops === 0 && this.waitingGame) {
          const name = this.waitingGame;
          this.waitingGame = null;
          this.front(name, false);
        }
        return;
      }
      if (this.gameEntry) {
        this.gameEntry = false;
        // Back puts a picture carried by taps down, and the game stays.
        const putDown = !waiting && !stopped && Module._tuvrel_put_down() === 1;
        if (putDown || !call('tuvrel_back')) {
          // A message box is open, or back put a carried picture down: the
          // game stays, and so does its entry, under its name.
          history.pushState({tuvrel: 'game'}, '', '#' + this.gameName);
          this.gameEntry = true;
        }
      } else if (location.hash && ready && !waiting && !stopped) {
        // An address naming a game (a link followed, an address typed): that
        // game in front, on this entry; an unknown name leaves Start alone.
        this.gameEntry = true;
        const name = addressName();
        if (!Module.ccall('tuvrel_open', 'number', ['string'], [name])) {
          this.gameEntry = false;
          history.replaceState(null, '', this.base);
        }
      }
    },
  };
  window.addEventListener('popstate', () => history_.popped());

  // ------------------------------------------------------------ pointer

  const kinds = {mouse: 0, touch: 1, pen: 2};
  function send(phase, e) {
    const r = canvas.getBoundingClientRect();
    call('tuvrel_pointer', phase, kinds[e.pointerType] ?? 1, e.pointerId, e.clientX - r.left, e.clientY - r.top);
  }
  canvas.addEventListener('pointerdown', (e) => {
    e.preventDefault();
    history_.touch();
    canvas.focus({preventScroll: true});
    hideTip();
    if (e.pointerType === 'mouse' && e.button !== 0) return;
    // The pointer's later events come to the canvas wherever it goes.
    try { canvas.setPointerCapture(e.pointerId); } catch (error) { /* already gone */ }
    send(0, e);
  });
  canvas.addEventListener('pointermove', (e) => {
    if (e.pointerType === 'mouse' && e.buttons === 0) return hover(e);
    send(1, e);
  });
  canvas.addEventListener('pointerup', (e) => {
    if (e.pointerType === 'mouse' && e.button !== 0) return;
    send(2, e);
  });
  canvas.addEventListener('pointercancel', (e) => send(3, e));
  canvas.addEventListener('pointerleave', () => hideTip());
  for (const type of ['contextmenu', 'dragstart', 'selectstart', 'gesturestart', 'dblclick'])
    document.addEventListener(type, (e) => e.preventDefault());
  // iPad Safari scrolls and zooms unless every touch is taken.
  document.addEventListener('touchmove', (e) => e.preventDefault(), {passive: false});

  menuitem.addEventListener('click', () => {
    history_.touch();
    call('tuvrel_menu');
  });

  // ------------------------------------------------------------ tool tips

  // For the mouse only, after it rests a moment on a control that has one.
  const tipDelay = 700;
  let tipTimer = 0;
  let tipText = '';
  function hideTip() {
    clearTimeout(tipTimer);
    tipTimer = 0;
    tooltip.hidden = true;
    tipText = '';
  }
  function tipAt(e) {
    const r = canvas.getBoundingClientRect();
    return waiting || stopped ? '' : text(Module._tuvrel_tool_tip(e.clientX - r.left, e.clientY - r.top));
  }
  function hover(e) {
    if (!ready) return;
    if (!tooltip.hidden && tipAt(e) !== tipText) hideTip();
    if (!tooltip.hidden) return;
    clearTimeout(tipTimer);
    const x = e.clientX, y = e.clientY;
    tipTimer = setTimeout(() => {
      const shown = tipAt({clientX: x, clientY: y});
      if (!shown) return;
      tipText = shown;
      tooltip.textContent = shown;
      tooltip.hidden = false;
      const left = Math.min(x + 2, window.innerWidth - tooltip.offsetWidth - 2);
      const top = y + 20 + tooltip.offsetHeight < window.innerHeight ? y + 20 : y - tooltip.offsetHeight - 4;
      tooltip.style.left = Math.max(0, left) + 'px';
      tooltip.style.top = Math.max(0, top) + 'px';
    }, tipDelay);
  }

  // ------------------------------------------------------------ keys

  window.addEventListener('keydown', (e) => {
    history_.touch();
    if (closeBox) {
      if (e.key === 'Enter' || e.key === ' ' || e.key === 'Escape') {
        e.preventDefault();
        closeBox();
      } else if (e.key === 'Tab') {
        e.preventDefault();
      }
      return;
    }
    if (!ready || stopped || !$('end').hidden || e.target === menuitem) return;
    let key = -1;
    if (e.key === 'Tab') key = e.shiftKey ? 1 : 0;
    else if (e.key === ' ') key = 2;
    else if (e.key === 'Enter') key = e.code === 'NumpadEnter' ? 3 : 4;
    // Escape puts a picture carried by taps back; it keeps its meaning to
    // the browser (leaving full screen, say).
    else if (e.key === 'Escape' && !waiting) Module._tuvrel_put_down();
    if (key < 0) return;
    e.preventDefault();
    if (!e.repeat) call('tuvrel_key', key);
  });

  // ------------------------------------------------------------ start

  // Again, after the end screen: in a new version of the site where one waits.
  $('again').addEventListener('click', async () => {
    if (await offline.takeOver()) return;
    $('end').hidden = true;
    canvas.hidden = false;
    Module.ccall('tuvrel_restart', 'number', [], [], {async: true}).then(() => layout());
  });

  // ------------------------------------------------------------ offline and new versions

  // The service worker keeps every file of this version for offline play. A
  // failed install (a file that did not arrive) is tried again later, with
  // growing waits, while the page plays online. A new version of the site
  // waits until the page is idle (Start alone, nothing held, no message box:
  // after a game is closed, at the end screen's "again", at the next start)
  // and every other page of the site too; then each loads again, whole, from
  // the new version. A tab left open for a week looks for one now and then.
  const offline = {
    registration: null,
    installWaits: [10e3, 30e3, 60e3, 300e3, 600e3, 1800e3],
    failedInstalls: 0,
    lastCheck: 0,
    takingOver: false,
    reloadWanted: false,
    hadController: false,
    supported: 'serviceWorker' in navigator,
    idle() {
      return ready && !stopped && !waiting && !!Module._tuvrel_idle && Module._tuvrel_idle() === 1;
    },
    async register() {
      if (!this.supported) return;
      navigator.serviceWorker.addEventListener('message', (e) => {
        if (e.data && e.data.tuvrel === 'idle?' && e.ports[0]) e.ports[0].postMessage(this.idle() || !$('end').hidden);
      });
      navigator.serviceWorker.addEventListener('controllerchange', () => {
        // The first version to be installed takes this page as it is; a new
        // one took over because every page was idle: this one loads again,
        // at once, or at its next idle moment if a child was quicker.
        if (this.hadController) {
          this.reloadWanted = true;
          this.whenIdle();
        }
        this.hadController = true;
      });
      this.hadController = !!navigator.serviceWorker.controller;
      navigator.serviceWorker.startMessages();
      // Asked again, with growing waits, while it fails (sw.js did not arrive).
      for (let attempt = 0; ; ++attempt) {
        try {
          this.registration = (await navigator.serviceWorker.register('sw.js')) || null;
        } catch (error) {
          this.registration = null;
        }
        if (this.registration) break;
        await sleep(this.installWaits[Math.min(attempt, this.installWaits.length - 1)]);
      }
      navigator.serviceWorker.addEventListener('message', (e) => {
        if (!e.data || e.data.tuvrel !== 'kept') return;
        if (e.data.complete) document.documentElement.dataset.offline = 'ready';
        else setTimeout(() => this.keep(), this.installWaits[Math.min(this.failedKeeps++, this.installWaits.length - 1)]);
      });
      // Whichever registration comes to have a working version.
      navigator.serviceWorker.ready.then((ready) => {
        this.registration = ready;
        this.keep();
      });
      this.adopt(this.registration);
      document.addEventListener('visibilitychange', () => { if (!document.hidden) this.check(); });
      setInterval(() => this.check(), 3600e3);
    },
    adopted: new WeakSet(),
    adopt(reg) {
      this.registration = reg;
      if (this.adopted.has(reg)) return;
      this.adopted.add(reg);
      reg.addEventListener('updatefound', () => this.watch(reg.installing));
      if (reg.installing) this.watch(reg.installing);
      if (reg.waiting) this.whenIdle();
    },
    // An install that fails is tried again a while later; one that succeeds
    // beside a running version waits for an idle moment.
    watch(worker) {
      if (!worker) return;
      worker.addEventListener('statechange', () => {
        if (worker.state === 'installed') {
          this.failedInstalls = 0;
          if (navigator.serviceWorker.controller) this.whenIdle();
        } else if (worker.state === 'redundant' && !this.takingOver && this.registration.installing === null &&
                   !this.registration.waiting && worker !== this.registration.active) {
          const wait = this.installWaits[Math.min(this.failedInstalls++, this.installWaits.length - 1)];
          setTimeout(() => this.installAgain(), wait);
        }
      });
    },
    // The renderings this device draws, for the offline copy: only those
    // (another one needed later is kept as it passes). The page fetches them
    // itself while Start shows; once it has, the worker is handed the bodies
    // that arrived and fetches only the rest, so that a first visit
    // downloads each picture once.
    failedKeeps: 0,
    async keep() {
      const pictures = Module.tuvrelPictures;
      if (!pictures || stopped) return;
      if (pictures.prefetched) await pictures.prefetched;
      const worker = this.registration && this.registration.active;
      if (!worker || stopped) return;
      const deviceScale = Module._tuvrel_device_scale();
      const files = [];
      const bodies = {};
      for (const p of pictures.byName.values()) {
        const k = pictures.scaleAt(p, deviceScale);
        const file = pictures.url(p, k);
        files.push(file);
        const entry = pictures.kept.get(p.name + '@' + k);
        if (entry && entry.blob) bodies[file] = entry.blob;
      }
      worker.postMessage({tuvrel: 'keep', files, bodies});
      pictures.dropBodies();
    },
    // A registration with no worker left (its first install failed) is
    // registered again; one with a version is asked for the new one again.
    installAgain() {
      if (this.registration.active) return this.check(true);
      navigator.serviceWorker.register('sw.js').then((reg) => this.adopt(reg), () => {
        const wait = this.installWaits[Math.min(this.failedInstalls++, this.installWaits.length - 1)];
        setTimeout(() => this.installAgain(), wait);
      });
    },
    check(force = false) {
      if (!this.registration || (!force && Date.now() - this.lastCheck < 600e3)) return;
      this.lastCheck = Date.now();
      this.registration.update().catch(() => {});
    },
    // Called now and whenever the page may have become idle.
    whenIdle() {
      if (!this.idle()) return;
      if (this.reloadWanted) location.reload();
      else if (this.registration && this.registration.waiting) this.takeOver();
    },
    // Asks a waiting version to take over; true when it did (the page loads again).
    async takeOver() {
      if (this.reloadWanted) {
        location.reload();
        return true;
      }
      const next = this.registration && this.registration.waiting;
      if (!next || !navigator.serviceWorker.controller) return false;
      this.takingOver = true;
      const changed = new Promise((resolve) => {
        navigator.serviceWorker.addEventListener('controllerchange', () => resolve(true), {once: true});
        setTimeout(() => resolve(false), 5000);
      });
      next.postMessage({tuvrel: 'take over'});
      const tookOver = await changed;
      this.takingOver = false;
      return tookOver;
    },
  };

  // The pictures of Start's first frame, fetched and decoded while the
  // WebAssembly downloads and compiles rather than once the program has
  // started: the site's build writes Start's size and its pictures' catalog
  // entries into index.html (as the program shows them), and each is loaded
  // in the rendering this page's size and pixel ratio will draw it in (as
  // layout() and the program's device scale work it out). What the program
  // then shows that these do not cover (a game the address names, a list out
  // of date) is loaded once it has started: a list that is wrong costs time,
  // nothing else.
  function fetchFirstPictures() {
    let first;
    try {
      first = JSON.parse($('first-pictures').textContent);
    } catch (error) {
      return null;  // no list: they come once the program has started
    }
    if (!first || !(first.width > 0 && first.height > 0) || !Array.isArray(first.scales) || !Array.isArray(first.pictures))
      return null;
    const width = Math.max(1, Math.floor(window.innerWidth));
    const height = Math.max(1, Math.floor(window.innerHeight));
    const deviceScale = Math.min(width / first.width, height / first.height) * (window.devicePixelRatio || 1);
    const early = new Pictures({scales: first.scales, pictures: first.pictures});
    // Loading starts now; whether they arrived is asked once the program has started.
    early.loadAll(first.pictures.map((p) => p.name), deviceScale).catch(() => {});
    return early;
  }

  // The two faces, as the forms draw them. Fetched (and fetched again when a
  // request fails or a body does not decode) rather than left to @font-face,
  // which gives up on a font after one failed request.
  const fontFiles = [['Tuvrel Comic', 'fonts/ComicNeue-Regular.woff2'], ['Tuvrel Sans', 'fonts/LiberationSans-Regular.woff2']];
  function loadFonts() {
    return Promise.all(fontFiles.map(([family, url]) => fetchRetrying(url, async (response) => {
      const face = new FontFace(family, await response.arrayBuffer());
      return face.load();
    }).then((face) => { document.fonts.add(face); })));
  }

  // The page's own tuvrel.js is deferred: it runs once the page is parsed,
  // after this script, which runs the moment it arrives (at the page's foot).
  const parsed = new Promise((resolve) => {
    if (document.readyState === 'loading') document.addEventListener('DOMContentLoaded', resolve, {once: true});
    else resolve();
  });

  // tuvrel.js, once more where the page's own script tag did not bring it.
  async function loadProgramScript() {
    await parsed;
    for (let attempt = 0; typeof createTuvrel !== 'function'; ++attempt) {
      if (attempt > retryWaits.length) throw new Error('tuvrel.js');
      if (attempt > 0) await sleep(retryWaits[attempt - 1]);
      await new Promise((resolve) => {
        const script = document.createElement('script');
        script.src = 'tuvrel.js?poging=' + (attempt + 1);
        script.onload = script.onerror = resolve;
        document.head.appendChild(script);
      });
    }
  }

  // The WebAssembly, compiled while it downloads, and downloaded again when
  // it does not arrive whole. compile.js started the compile from the page's
  // head, before this script runs; where that failed (or the browser has no
  // streaming compilation) it is fetched here.
  Module.instantiateWasm = (imports, receive) => {
    const compiling = (document.querySelector('script[src="compile.js"]') || {}).compiling;
    const early = compiling
      ? compiling.then((module) => WebAssembly.instantiate(module, imports).then((instance) => ({instance, module})))
      : Promise.reject(new Error('not compiled early'));
    early.catch(() => fetchRetrying('tuvrel.wasm', async (response) => {
      const type = response.headers.get('Content-Type') || '';
      return typeof WebAssembly.instantiateStreaming === 'function' && type.startsWith('application/wasm')
        ? WebAssembly.instantiateStreaming(response, imports)
        : WebAssembly.instantiate(await response.arrayBuffer(), imports);
    })).then((result) => receive(result.instance, result.module), (error) => {
      if (!stopped) cannotStart('Tuvrel kon niet worden geladen', `Het bestand tuvrel.wasm kwam niet binnen of is beschadigd (${error.message}). `);
    });
    return {};
  };

  // The program cannot start at all: what is missing, and a button to try again.
  function cannotStart(title, text) {
    problem(title, text + noConnection);
  }

  async function start() {
    const early = fetchFirstPictures();
    const fontsLoaded = loadFonts();
    fontsLoaded.catch(() => {});
    try {
      await loadProgramScript();
    } catch (error) {
      cannotStart('Tuvrel kon niet worden geladen', 'Het bestand tuvrel.js kwam niet binnen. ');
      return;
    }
    const module = await createTuvrel(Module);
    if (stopped) return;
    try {
      await fontsLoaded;
    } catch (error) {
      cannotStart('De letters van Tuvrel konden niet worden geladen', '');
      return;
    }
    Module.tuvrelContext = canvas.getContext('2d', {alpha: false});
    const pictures = new Pictures(JSON.parse(text(module._tuvrel_pictures(1))));
    // The renderings fetched early, loaded or on their way, kept as if this
    // catalog had asked for them.
    if (early) for (const [key, entry] of early.kept) pictures.kept.set(key, entry);
    Module.tuvrelPictures = pictures;
    Module.tuvrelPage = page;
    // The test build of the program has what the browser tests read; the
    // published one has none of it, and the page shows nothing of it then.
    if (typeof module._tuvrel_state === 'function') {
      window.tuvrelState = () => JSON.parse(text(module._tuvrel_state()));
      // Bytes: the page's canvas, the scaled copies and the decoded renderings.
      window.tuvrelMemory = () => {
        let decoded = 0;
        for (const entry of pictures.kept.values()) if (entry.bitmap) decoded += entry.bitmap.width * entry.bitmap.height * 4;
        return {canvas: canvas.width * canvas.height * 4, scaledCopies: pictures.sizedPixels * 4, decoded};
      };
      window.tuvrelCorePlay = (form, moves) =>
        JSON.parse(module.ccall('tuvrel_core_play', 'string', ['string', 'string'], [form, moves]));
      window.tuvrelMoves = (moves) => JSON.parse(module.ccall('tuvrel_moves', 'string', ['string'], [moves]));
      window.tuvrelCarryByTaps = (on) => module._tuvrel_carry_by_taps(on ? 1 : 0);
      window.tuvrelLabelLines = () => JSON.parse(text(module._tuvrel_label_lines()));
    }

    // Start, and the game the address names in front of it.
    const wanted = addressName();
    history.replaceState(null, '', history_.base);
    layout();
    speech.start();
    module._tuvrel_set_read_aloud(settings.voorlezen ? 1 : 0);
    module._tuvrel_carry_by_taps(settings.tikken ? 1 : 0);
    const started = module.ccall('tuvrel_start', 'number', ['string'], [wanted]);
    layout();
    if (!started || stopped) {
      $('loading').hidden = true;
      return;
    }
    // The pictures of what shows first, before its first frame.
    const deviceScale = module._tuvrel_device_scale();
    const shown = JSON.parse(text(module._tuvrel_pictures(0)));
    try {
      await Module.tuvrelPictures.loadAll(shown, deviceScale);
    } catch (error) {
      if (!stopped) cannotStart('Een plaatje kon niet worden geladen', error.message.replace(/^h/, 'H') + '. ');
      return;
    }
    ready = true;
    $('loading').hidden = true;
    window.addEventListener('resize', layout);
    layout();
    canvas.focus({preventScroll: true});
    document.documentElement.dataset.ready = 'true';
    Module.tuvrelPictures.prefetch(deviceScale);
    offline.register();
  }
  start();
})();
