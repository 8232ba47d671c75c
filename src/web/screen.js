// The page around the game: the picture fitted to the window, the full-screen button and, on a
// touch screen, the buttons that choose the animal. Bundled in front of the game's own script,
// so it runs as the page loads, before the game starts.
(function () {
  var W = 1000;
  var H = 650;
  // A whole-number scale is kept while it is at least this much of the largest that fits.
  var WHOLE_ENOUGH = 0.9;
  var DESKTOP_PANEL = 48; // CSS pixels below the picture for the lines on how to play
  var SIDE_PANEL = 96; // CSS pixels at least beside the picture for a phone's buttons
  var root = document.documentElement;
  var canvas = document.getElementById('canvas');
  var panel = document.getElementById('panel');
  var help = document.getElementById('help');
  var turn = document.getElementById('turn');
  var full = document.getElementById('fullscreen');
  var animals = Array.prototype.slice.call(document.querySelectorAll('#animals button'));
  if (!canvas || !panel || !help) {
    return;
  }

  // A device played by touch: its main pointer is a finger (a laptop with a touch screen keeps
  // its mouse's page).
  function touchScreen() {
    return window.matchMedia ? matchMedia('(pointer: coarse)').matches : navigator.maxTouchPoints > 0;
  }

  // The picture's size and place in device pixels, within the room left by the page's other
  // parts: a whole-number scale, every game pixel the same square of screen pixels, when that
  // fills the room well; otherwise the largest that fits, smoothed, so that a shrunk picture
  // drops no rows and a grown one has no outlines of uneven width.
  function fit(roomW, roomH, ratio) {
    var deviceW = Math.floor(roomW * ratio);
    var deviceH = Math.floor(roomH * ratio);
    var most = Math.max(Math.min(deviceW / W, deviceH / H), 0.05);
    var whole = Math.floor(most);
    var crisp = whole >= 1 && whole / most >= WHOLE_ENOUGH;
    var scale = crisp ? whole : most;
    var w = Math.max(1, Math.floor(W * scale));
    var h = Math.max(1, Math.floor(H * scale));
    return { w: w, h: h, left: Math.max(0, Math.floor((deviceW - w) / 2)),
      top: Math.max(0, Math.floor((deviceH - h) / 2)), crisp: crisp, scale: scale };
  }

  function layout() {
    var ratio = window.devicePixelRatio || 1;
    var vw = document.documentElement.clientWidth || window.innerWidth;
    var vh = window.innerHeight;
    var touch = touchScreen();
    var portrait = touch && vh > vw;
    root.classList.add('fitted');
    root.classList.toggle('touch', touch);
    root.classList.toggle('portrait', portrait);
    root.classList.toggle('landscape', touch && !portrait);
    // Touch in landscape: the buttons beside the picture; otherwise below it, with the lines on
    // how to play (the desktop's room for them is fixed, a phone's is what its buttons take).
    var beside = touch && !portrait;
    // On a large screen the lines below the picture grow with it, to stay readable.
    var zoom = touch ? 1 : Math.max(1, Math.min(vw / W, vh / (H + DESKTOP_PANEL)));
    root.style.setProperty('--panel-zoom', zoom.toFixed(3));
    if (!beside) {
      root.style.setProperty('--panel-w', vw + 'px'); // measured at the width it will have
    }
    var below = beside ? 0 : touch ? panel.offsetHeight : DESKTOP_PANEL * Number(zoom.toFixed(3));
    var f = fit(Math.max(vw - (beside ? SIDE_PANEL : 0), 1), Math.max(vh - below, 1), ratio);
    var w = f.w / ratio;
    var h = f.h / ratio;
    var left = f.left / ratio;
    // The picture and what goes below it, together in the middle of the window.
    var top = Math.floor(Math.max(0, (vh - h - below) / 2) * ratio) / ratio;
    var css = function (px) { return px / ratio + 'px'; };
    root.style.setProperty('--game-w', css(f.w));
    root.style.setProperty('--game-h', css(f.h));
    root.style.setProperty('--game-x', left + 'px');
    root.style.setProperty('--game-y', top + 'px');
    root.style.setProperty('--panel-x', (beside ? left + w : 0) + 'px');
    root.style.setProperty('--panel-y', (beside ? 0 : top + h) + 'px');
    root.style.setProperty('--panel-w', (beside ? Math.max(SIDE_PANEL, vw - left - w) : vw) + 'px');
    root.classList.toggle('crisp', f.crisp);
    root.dataset.scale = f.scale.toFixed(3);
  }

  // The animal buttons press the game's own keys, and light with the animal the game has
  // chosen, however it was chosen.
  function press(code) {
    ['keydown', 'keyup'].forEach(function (type) {
      var e = new KeyboardEvent(type, { bubbles: true, cancelable: true });
      Object.defineProperty(e, 'keyCode', { get: function () { return code; } });
      Object.defineProperty(e, 'which', { get: function () { return code; } });
      canvas.dispatchEvent(e);
    });
  }
  animals.forEach(function (button) {
    button.addEventListener('click', function () { press(Number(button.dataset.key)); });
  });
  function showAnimal(kind) {
    animals.forEach(function (button) {
      var lit = Number(button.dataset.animal) === kind;
      button.classList.toggle('lit', lit);
      button.setAttribute('aria-pressed', lit ? 'true' : 'false');
    });
  }
  var previous = Module.onAnimal;
  Module.onAnimal = function (kind) {
    showAnimal(kind);
    if (previous) previous(kind);
  };
  showAnimal(0);

  // One finger plays. The browser's SDL takes any new finger for a press where it lands and any
  // finger lifted for the release, so a second finger on the picture would move the aim and,
  // lifted, fire the first finger's shot; only the first finger down is let through to it.
  var finger = null;
  function oneFinger(e) {
    if (e.target !== canvas) return;
    var changed = Array.prototype.slice.call(e.changedTouches);
    var mine = changed.some(function (t) { return t.identifier === finger; });
    if (e.type === 'touchstart' && finger === null) {
      finger = changed[0].identifier;
      return;
    }
    if (mine && e.type !== 'touchstart') {
      if (e.type !== 'touchmove') finger = null;
      return;
    }
    e.stopPropagation();
    e.preventDefault();
  }
  ['touchstart', 'touchmove', 'touchend', 'touchcancel'].forEach(function (type) {
    window.addEventListener(type, oneFinger, { capture: true, passive: false });
  });

  // Full screen: the whole page, buttons and all; Escape (or the button) leaves it.
  if (full) {
    if (!document.fullscreenEnabled || !root.requestFullscreen) {
      full.hidden = true;
    } else {
      full.addEventListener('click', function () {
        if (document.fullscreenElement) {
          document.exitFullscreen();
        } else {
          root.requestFullscreen().catch(function () {});
        }
      });
      document.addEventListener('fullscreenchange', function () {
        full.textContent = document.fullscreenElement ? 'Leave full screen' : 'Full screen';
        layout();
      });
    }
  }

  window.addEventListener('resize', layout);
  window.addEventListener('orientationchange', layout);
  // The browser's zoom or a move to a screen of another density changes the ratio.
  (function watchRatio() {
    if (!window.matchMedia) return;
    var query = matchMedia('(resolution: ' + (window.devicePixelRatio || 1) + 'dppx)');
    var again = function () {
      query.removeEventListener('change', again);
      layout();
      watchRatio();
    };
    query.addEventListener('change', again);
  })();
  if (turn) turn.hidden = false;
  layout();
  Module.layout = layout;
})();
