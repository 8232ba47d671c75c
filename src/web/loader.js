// The page's loader: fetches the game's program and bitmaps with a progress bar, inflates them,
// starts the game, and says on the page, in place of the game, whatever keeps it from starting
// or stops it, in one sentence. scripts/web-page.py puts it into index.html after the page's own
// script (which makes Module), with gameFiles: the names and sizes of the files to load.
(function () {
  'use strict';
  var files = window.gameFiles;
  var status = document.getElementById('status');
  // loading, then starting (the program loads), running (the game starts) and playing (it has
  // drawn), or failed
  var stage = 'loading';
  var programUrl = null;
  var stall = null;

  var style = document.createElement('style');
  style.textContent = [
    '#status { display: flex; flex-direction: column; align-items: center; gap: 10px;',
    '  max-width: 90vw; color: #fde9bf; font: bold 18px/1.4 sans-serif; text-align: center;',
    '  text-shadow: 2px 2px 0 #1d3b0c; }',
    '#status:empty { display: none; }',
    '#status img { width: 64px; height: 64px; image-rendering: pixelated; }',
    '.loading-bar { box-sizing: border-box; width: min(400px, 80vw); height: 30px; padding: 3px;',
    '  border: 3px solid #6b3f16; border-radius: 10px; background: #e9cd9d; }',
    '.loading-fill { height: 100%; width: 0; border-radius: 5px;',
    '  background: linear-gradient(#9be26a, #3f9a25 60%, #2f7a1a); }',
    '.failure { max-width: 36em; margin: 0; padding: 16px 20px; border: 3px solid #6b3f16;',
    '  border-radius: 10px; background: #e9cd9d; color: #3a2308; text-shadow: none; }',
    '#status button { font: bold 18px sans-serif; color: #fde9bf; background: #3f9a25;',
    '  border: 3px solid #1d3b0c; border-radius: 10px; padding: 6px 22px; cursor: pointer; }',
  ].join('\n');
  document.head.appendChild(style);

  function element(tag, className, text) {
    var made = document.createElement(tag);
    if (className) {
      made.className = className;
    }
    if (text) {
      made.textContent = text;
    }
    return made;
  }

  // The bar: the game's icon, the share loaded in percent, and a bar filling in the game's
  // wood and grass.
  var icon = element('img');
  icon.src = 'favicon.png';
  icon.alt = '';
  var label = element('div', 'loading-label', 'Loading… 0 %');
  var bar = element('div', 'loading-bar');
  var fill = element('div', 'loading-fill');
  bar.appendChild(fill);
  bar.setAttribute('role', 'progressbar');
  bar.setAttribute('aria-label', 'Loading the game');
  bar.setAttribute('aria-valuemin', '0');
  bar.setAttribute('aria-valuemax', '100');
  status.textContent = '';
  status.append(icon, label, bar);

  function showProgress(percent) {
    label.textContent = 'Loading… ' + percent + ' %';
    fill.style.width = percent + '%';
    bar.setAttribute('aria-valuenow', String(percent));
  }
  showProgress(0);

  // What went wrong, in place of the game: every other part of the page gives way to it.
  var told = null;
  function fail(sentence, canRetry) {
    if (stage === 'failed') {
      return;
    }
    stage = 'failed';
    clearTimeout(stall);
    console.error(sentence);
    for (var i = 0; i < document.body.children.length; i++) {
      var child = document.body.children[i];
      if (child !== status && child.tagName !== 'SCRIPT') {
        child.style.display = 'none';
      }
    }
    status.textContent = '';
    status.setAttribute('role', 'alert');
    told = element('p', 'failure', sentence);
    status.append(told);
    if (canRetry !== false) {
      var again = element('button', '', 'Reload');
      again.addEventListener('click', function () { location.reload(); });
      status.append(again);
    }
  }

  if (typeof WebAssembly !== 'object' || typeof WebAssembly.instantiate !== 'function') {
    fail('Farmyard Cannon cannot run in this browser: it has no WebAssembly, or WebAssembly is ' +
      'turned off; open the page in a recent Firefox, Chrome, Edge or Safari.', false);
    return;
  }

  // The pictures by the names a player knows them by.
  var pictures = {
    'background.bmp': 'the farmyard', 'blocktileset.bmp': 'the blocks', 'top_bar.bmp': 'the top bar',
    'bot_bar.bmp': 'the bottom bar', 'target1.bmp': 'the target', 'Target1.bmp': 'the target',
    'target2.bmp': 'the small target', 'Target2.bmp': 'the small target', 'cake.bmp': 'the cake',
    'Start.bmp': 'the START button', 'END.bmp': 'the end of the game', 'p1cannon.bmp': 'the cannon',
    'bullet.bmp': 'the cannonball', 'pig.bmp': 'the pig', 'vaca.bmp': 'the cow', 'ovelha.bmp': 'the sheep',
    'icon.bmp': 'the icon', 'lit_pig.bmp': 'the lit pig key', 'lit_cow.bmp': 'the lit cow key',
    'lit_sheep.bmp': 'the lit sheep key', 'lit_trick.bmp': 'the lit trick key',
  };
  var refused = [];
  // The game prints only when it cannot go on: before it has drawn, that is why it did not start.
  function gameSaid(text) {
    var artwork = /^the game's artwork is not usable: .*\/([^/]+) is /.exec(text);
    if (!artwork) {
      fail('The game could not start: ' + text + '.');
      return;
    }
    var file = artwork[1];
    refused.push((pictures[file] || 'a picture') + ' (' + file + ')');
    // The game tells of every picture it refuses, one after the other: the sentence names them all.
    var sentence = 'The game cannot start: its picture of ' + refused.join(', ') +
      ' is damaged or missing; reload the page to fetch it again.';
    if (refused.length > 1 && told) {
      told.textContent = sentence.replace('picture of', 'pictures of').replace(' is damaged', ' are damaged');
    } else {
      fail(sentence);
    }
  }

  Module.setStatus = function () {};
  Module.printErr = function (text) {
    console.error(text);
    if ((stage === 'running' || refused.length) && !(Module.iterations > 0)) {
      gameSaid(text);
    }
  };
  Module.onAbort = function () {
    fail(stage !== 'playing'
      ? 'The game stopped as it started, on an error it cannot recover from; reload the page to try again.'
      : 'The game stopped on an error it cannot recover from; reload the page to play again.');
  };
  // Errors from the game's program, once it runs: a WebAssembly trap, or an error thrown in
  // its JavaScript or in what it called there.
  function fromProgram(error, file) {
    return stage !== 'loading' && stage !== 'failed' && (error instanceof WebAssembly.RuntimeError ||
      (programUrl !== null && (file === programUrl ||
        (error && typeof error.stack === 'string' && error.stack.indexOf(programUrl) >= 0))));
  }
  window.addEventListener('error', function (event) {
    if (fromProgram(event.error, event.filename)) {
      Module.onAbort();
    }
  });
  window.addEventListener('unhandledrejection', function (event) {
    if (fromProgram(event.reason)) {
      Module.onAbort();
    }
  });

  // Browsers that cannot inflate a gzip stream load the files as they are, ten times larger.
  var inflating = typeof DecompressionStream === 'function';
  var kinds = ['js', 'wasm', 'data'];
  var total = 0;
  var received = {};
  kinds.forEach(function (kind) {
    total += inflating ? files[kind].size : files[kind].plainSize;
    received[kind] = 0;
  });
  var aborter = typeof AbortController === 'function' ? new AbortController() : null;
  // A connection that stops sending ends the wait.
  var STALL_MS = 30000;
  function watch() {
    clearTimeout(stall);
    stall = setTimeout(function () {
      if (aborter) {
        aborter.abort();
      }
      fail('The game could not be loaded: the server stopped sending it; check the connection and reload the page.');
    }, STALL_MS);
  }
  function counted(kind, bytes) {
    received[kind] = bytes;
    var sum = 0;
    kinds.forEach(function (k) { sum += received[k]; });
    showProgress(Math.min(100, Math.floor(sum * 100 / total)));
    watch();
  }

  function Refusal(sentence) {
    this.sentence = sentence;
  }

  var what = { js: 'its JavaScript', wasm: 'its program', data: 'its pictures' };
  function download(kind) {
    var name = inflating ? files[kind].name : files[kind].plain;
    return fetch(name, aborter ? { signal: aborter.signal } : {}).catch(function () {
      throw new Refusal('The game could not be loaded: the network connection failed while fetching ' +
        what[kind] + ' (' + name + '); check the connection and reload the page.');
    }).then(function (response) {
      if (!response.ok) {
        throw new Refusal('The game could not be loaded: the server does not have ' + what[kind] + ' (' + name +
          ': it answered ' + response.status + (response.statusText ? ' ' + response.statusText : '') + ').');
      }
      var reader = response.body && response.body.getReader ? response.body.getReader() : null;
      if (!reader) {
        return response.arrayBuffer().then(function (all) {
          counted(kind, all.byteLength);
          return new Uint8Array(all);
        });
      }
      var chunks = [];
      var got = 0;
      function next() {
        return reader.read().then(function (part) {
          if (part.done) {
            var whole = new Uint8Array(got);
            var at = 0;
            chunks.forEach(function (chunk) {
              whole.set(chunk, at);
              at += chunk.length;
            });
            return whole;
          }
          chunks.push(part.value);
          got += part.value.length;
          counted(kind, got);
          return next();
        });
      }
      return next().catch(function (error) {
        throw error instanceof Refusal ? error : new Refusal('The game could not be loaded: the connection ' +
          'broke off while fetching ' + what[kind] + ' (' + name + '); check the connection and reload the page.');
      });
    });
  }

  var damaged = 'The game could not be loaded: its files arrived damaged; reload the page to fetch them again.';
  // The bytes as the game needs them: inflated, unless a server has already done it (one that
  // sends .gz files with a Content-Encoding the browser undoes). gzip's own check catches bytes
  // damaged on the way.
  function inflate(kind, bytes) {
    var ready = !inflating || bytes[0] !== 0x1f || bytes[1] !== 0x8b ? Promise.resolve(bytes)
      : new Response(new Blob([bytes]).stream().pipeThrough(new DecompressionStream('gzip'))).arrayBuffer()
        .then(function (all) { return new Uint8Array(all); });
    return ready.catch(function () { throw new Refusal(damaged); }).then(function (plain) {
      if (plain.length !== files[kind].plainSize) {
        throw new Refusal(damaged);
      }
      return plain;
    });
  }

  var packed = {};
  watch();
  Promise.all(kinds.map(function (kind) {
    return download(kind).then(function (bytes) {
      packed[kind] = bytes;
      return inflate(kind, bytes);
    });
  })).then(function (plain) {
    if (stage === 'failed') {
      return;
    }
    clearTimeout(stall);
    stage = 'starting';
    label.textContent = 'Starting…';
    Module.wasmBinary = plain[1].buffer;
    var data = plain[2].buffer;
    Module.getPreloadedPackage = function () {
      var handed = data;
      data = null;
      return handed;
    };
    Module.monitorRunDependencies = function (left) {
      if (left === 0 && stage === 'starting') {
        stage = 'running';
        status.textContent = '';
        waitForPlay();
      }
    };
    programUrl = URL.createObjectURL(new Blob([plain[0]], { type: 'text/javascript' }));
    var program = document.createElement('script');
    program.src = programUrl;
    program.onerror = function () { fail(damaged); };
    document.body.appendChild(program);
  }, function (error) {
    if (aborter) {
      aborter.abort();
    }
    fail(error instanceof Refusal ? error.sentence : damaged);
  });

  // Once the game has drawn: it is playing, and a later visit can start without the network.
  function waitForPlay() {
    if (stage !== 'running') {
      return;
    }
    if (!(Module.iterations > 0)) {
      setTimeout(waitForPlay, 200);
      return;
    }
    stage = 'playing';
    if (inflating && 'serviceWorker' in navigator && window.caches) {
      keepForOffline().catch(function (error) { console.warn('The game will not start offline: ' + error); });
    }
  }

  // This build's files go into the store the service worker answers from, as fetched (so it
  // downloads nothing again); the worker adds the page and its icons.
  function keepForOffline() {
    return caches.open('farmyard-cannon-' + files.build).then(function (store) {
      return Promise.all(kinds.map(function (kind) {
        var type = kind === 'js' ? 'text/javascript' : 'application/octet-stream';
        return store.put(files[kind].name, new Response(packed[kind], { headers: { 'Content-Type': type } }));
      }));
    }).then(function () {
      packed = {};
      return navigator.serviceWorker.register('sw.js');
    });
  }
})();
