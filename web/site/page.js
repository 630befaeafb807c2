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
    $('problem-title').textContent = title;
    $('problem-text').textContent = text;
    $('problem').hidden = false;
  }
  $('reload').addEventListener('click', () => location.reload());

  const noConnection = 'Controleer de internetverbinding en laad de pagina opnieuw. ' +
    'Lukt het dan nog niet, vraag dan degene die Tuvrel op deze website heeft gezet om hulp.';

  if (typeof WebAssembly !== 'object' || typeof WebAssembly.instantiate !== 'function') {
    problem('Deze browser kan Tuvrel niet spelen',
      'Tuvrel heeft WebAssembly nodig, en deze browser heeft dat niet (of het staat uit). ' +
      'Gebruik een recente versie van Chrome, Edge, Safari of Firefox.');
    return;
  }
  if (typeof createTuvrel !== 'function') {
    problem('Tuvrel kon niet worden geladen', 'Het bestand tuvrel.js kwam niet binnen. ' + noConnection);
    return;
  }

  // ------------------------------------------------------------ fonts and text

  const families = ['"Tuvrel Comic"', '"Tuvrel Sans"'];
  function font(face, pixels) {
    return pixels + 'px ' + families[face];
  }

  // Lines of a text that fit a width: broken at spaces, a word too long kept
  // whole on its own line, a line break in the text kept.
  function wrap(ctx, text, width) {
    const lines = [];
    for (const paragraph of text.split(/\r\n|\r|\n/)) {
      let line = '';
      for (const word of paragraph.split(' ')) {
        const longer = line ? line + ' ' + word : word;
        if (line && ctx.measureText(longer).width > width) {
          lines.push(line);
          line = word;
        } else {
          line = longer;
        }
      }
      lines.push(line);
    }
    return lines;
  }

  // ------------------------------------------------------------ pictures

  // Every picture in the renderings the site has of it: its own pixels (1)
  // and its source rendered at the larger scales. A picture is drawn from the
  // smallest rendering that covers its size on the device, smoothly to size.
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
    }
    static get sizedBudget() { return 16 * 1024 * 1024; }
    scaleFor(p, width, height) {
      for (const k of this.scales)
        if (p.w * k + 1 >= width && p.h * k + 1 >= height) return k;
      return this.scales[this.scales.length - 1];
    }
    // The rendering a device scale (device pixels per form pixel) draws.
    scaleAt(p, deviceScale) {
      return this.scaleFor(p, Math.round(p.w * deviceScale), Math.round(p.h * deviceScale));
    }
    url(p, k) {
      return k === 1 ? `pictures/${p.name}.${p.e}` : `pictures/${k}x/${p.name}.${p.k}`;
    }
    load(name, k) {
      const key = name + '@' + k;
      let entry = this.kept.get(key);
      if (entry) return entry.promise;
      const p = this.byName.get(name);
      entry = {bitmap: null, failed: false, promise: null};
      entry.promise = fetch(this.url(p, k))
        .then((response) => {
          if (!response.ok) throw new Error(response.status + ' ' + response.statusText);
          return response.blob();
        })
        .then((blob) => createImageBitmap(blob))
        .then((bitmap) => { entry.bitmap = bitmap; })
        .catch((error) => {
          entry.failed = true;
          problem('Een plaatje kon niet worden geladen',
            `Het plaatje "${name}" (${this.url(p, k)}) kwam niet binnen of is beschadigd (${error.message}). ` +
            noConnection);
          throw error;
        });
      this.kept.set(key, entry);
      return entry.promise;
    }
    // Draws a picture of `width` x `height` form pixels onto a device rectangle.
    draw(name, width, height, x, y, w, h) {
      const p = this.byName.get(name);
      if (!p) return;
      const k = this.scaleFor(p, w, h);
      const key = name + '@' + k;
      const entry = this.kept.get(key);
      if (entry && entry.bitmap) return Module.tuvrelContext.drawImage(this.atSize(key, entry.bitmap, w, h), x, y);
      if (!entry) this.load(name, k).then(() => page.repaint(), () => {});
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
    // The rendering itself when it has the size, otherwise its copy at that size.
    atSize(key, bitmap, w, h) {
      if (bitmap.width === w && bitmap.height === h) return bitmap;
      const sizedKey = `${key}@${w}x${h}`;
      let copy = this.sized.get(sizedKey);
      if (copy) {
        this.sized.delete(sizedKey);  // now the most recent
      } else {
        copy = document.createElement('canvas');
        copy.width = w;
        copy.height = h;
        this.smoothly(copy.getContext('2d'), bitmap, 0, 0, w, h);
        this.sizedPixels += w * h;
        for (const [oldKey, old] of this.sized) {
          if (this.sizedPixels <= Pictures.sizedBudget) break;
          this.sized.delete(oldKey);
          this.sizedPixels -= old.width * old.height;
        }
      }
      this.sized.set(sizedKey, copy);
      return copy;
    }
    // The named pictures at a device scale, all of them loaded.
    loadAll(names, deviceScale) {
      return Promise.all(names.map((n) => this.load(n, this.scaleAt(this.byName.get(n), deviceScale))));
    }
    // The rest, a few at a time, while the child looks at Start.
    prefetch(deviceScale) {
      const queue = [...this.byName.values()].filter((p) => !this.kept.has(p.name + '@' + this.scaleAt(p, deviceScale)));
      const next = () => {
        const p = queue.shift();
        if (p && !stopped) this.load(p.name, this.scaleAt(p, deviceScale)).then(next, () => {});
      };
      for (let i = 0; i < 4; ++i) next();
    }
  }

  // ------------------------------------------------------------ the program

  const Module = {
    tuvrelContext: null,
    tuvrelPictures: null,
    tuvrelPage: null,
    tuvrelFont: font,
    tuvrelWrap: wrap,
    locateFile: (path) => path,
    print: () => {},
    printErr: (text) => console.warn(text),
    onAbort: (what) => problem('Tuvrel moest stoppen', 'Er ging iets mis: ' + what + '. Laad de pagina opnieuw.'),
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

  function layout() {
    const width = Math.max(1, Math.floor(window.innerWidth));
    const height = Math.max(1, Math.floor(window.innerHeight - (menubar.hidden ? 0 : menubar.offsetHeight)));
    ratio = window.devicePixelRatio || 1;
    canvas.style.width = width + 'px';
    canvas.style.height = height + 'px';
    const deviceWidth = Math.round(width * ratio), deviceHeight = Math.round(height * ratio);
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
    },
    messageBox(message, title) {
      waiting = true;
      hideTip();
      return showBox(message, title);
    },
    ended(error) {
      hideTip();
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
  const history_ = {
    gameEntry: false,
    ignorePops: 0,
    // A game that came to the front while our own step back was on its way:
    // its entry is pushed once that step has arrived, for pushed before it,
    // the step back would take the browser off the page.
    waitingGame: null,
    base: location.pathname + location.search,
    front(name, isStart) {
      if (this.ignorePops > 0) {
        this.waitingGame = isStart ? null : name;
        return;
      }
      if (!isStart) {
        if (!this.gameEntry) history.pushState({tuvrel: 'game'}, '', '#' + name);
        else history.replaceState({tuvrel: 'game'}, '', '#' + name);
        this.gameEntry = true;
      } else {
        this.leave();
      }
    },
    leave() {
      this.waitingGame = null;
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
        if (!call('tuvrel_back')) {
          // A message box is open: the game stays, and so does its entry.
          history.pushState({tuvrel: 'game'}, '', location.hash ? location.hash : '#');
          this.gameEntry = true;
        }
      } else if (location.hash && ready && !waiting && !stopped) {
        // An address naming a game (a link followed, an address typed): that
        // game in front, on this entry; an unknown name leaves Start alone.
        this.gameEntry = true;
        const name = decodeURIComponent(location.hash.slice(1));
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

  menuitem.addEventListener('click', () => call('tuvrel_menu'));

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
    if (key < 0) return;
    e.preventDefault();
    if (!e.repeat) call('tuvrel_key', key);
  });

  // ------------------------------------------------------------ start

  $('again').addEventListener('click', () => {
    $('end').hidden = true;
    canvas.hidden = false;
    Module.ccall('tuvrel_restart', 'number', [], [], {async: true}).then(() => layout());
  });

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
    // A picture that cannot be loaded shows its problem now; the start stops there.
    early.loadAll(first.pictures.map((p) => p.name), deviceScale).catch(() => {});
    return early;
  }

  async function start() {
    const early = fetchFirstPictures();
    const fontsLoaded = Promise.all(families.map((f) => document.fonts.load('16px ' + f)));
    let module;
    try {
      module = await createTuvrel(Module);
    } catch (error) {
      problem('Tuvrel kon niet worden geladen', 'Het bestand tuvrel.wasm kwam niet binnen of is beschadigd. ' + noConnection);
      return;
    }
    const faces = await fontsLoaded.catch(() => []);
    if (stopped) return;  // a picture of the first frame could not be loaded: the problem is on the page
    if (faces.length !== families.length || faces.some((f) => f.length === 0)) {
      problem('De letters van Tuvrel konden niet worden geladen', noConnection);
      return;
    }
    Module.tuvrelContext = canvas.getContext('2d', {alpha: false});
    const pictures = new Pictures(JSON.parse(text(module._tuvrel_pictures(1))));
    // The renderings fetched early, loaded or on their way, kept as if this
    // catalog had asked for them.
    if (early) for (const [key, entry] of early.kept) pictures.kept.set(key, entry);
    Module.tuvrelPictures = pictures;
    Module.tuvrelPage = page;
    window.tuvrelState = () => JSON.parse(text(module._tuvrel_state()));
    window.tuvrelCorePlay = (form, moves) =>
      JSON.parse(module.ccall('tuvrel_core_play', 'string', ['string', 'string'], [form, moves]));

    // Start, and the game the address names in front of it.
    const wanted = decodeURIComponent(location.hash.slice(1));
    history.replaceState(null, '', history_.base);
    layout();
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
      return;  // the problem is on the page
    }
    ready = true;
    $('loading').hidden = true;
    window.addEventListener('resize', layout);
    layout();
    canvas.focus({preventScroll: true});
    document.documentElement.dataset.ready = 'true';
    Module.tuvrelPictures.prefetch(deviceScale);
    if ('serviceWorker' in navigator)
      navigator.serviceWorker.register('sw.js').catch((error) => console.warn('Tuvrel werkt niet offline:', error.message));
  }
  start();
})();
