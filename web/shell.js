// The page's side of the web front end (src/platform/web): the window, the canvas the scene
// is painted on, the menus, the accessible elements, and the queue of events the game takes
// one at a time. It knows no game: it shows what the front end tells it and queues input.
'use strict';

const Shell = (() => {
  const canvas = document.getElementById('board');
  const ctx = canvas.getContext('2d', {alpha: false});
  const menubar = document.getElementById('menubar');
  const client = document.getElementById('client');
  const access = document.getElementById('access');
  const grid = document.getElementById('grid');
  const notice = document.getElementById('notice');

  // Events for the game (src/platform/web/WebWindow.cpp): [kind, a, b, c] and a key's text.
  const kKey = 1, kPress = 2, kRelease = 3, kCancel = 4, kCommand = 5, kActivate = 6;
  const queue = [];
  let wake = null;
  function push(event, text) {
    if (ended) return;
    queue.push({event, text});
    if (wake) { const w = wake; wake = null; w(); }
  }

  let ended = false, another = false, ratio = window.devicePixelRatio || 1;
  const colour = (c) => '#' + (c >>> 0).toString(16).padStart(6, '0');

  // --- The canvas, in device pixels ---
  let clipped = false;
  function resize(w, h) {
    ratio = window.devicePixelRatio || 1;
    canvas.width = w;
    canvas.height = h;
    canvas.style.width = client.style.width = (w / ratio) + 'px';
    canvas.style.height = client.style.height = (h / ratio) + 'px';
    clipped = false;
  }
  function clip(l, t, r, b) {
    if (clipped) ctx.restore();
    ctx.save();
    clipped = true;
    ctx.beginPath();
    ctx.rect(l, t, r - l, b - t);
    ctx.clip();
  }
  function fill(l, t, r, b, c) {
    ctx.fillStyle = colour(c);
    ctx.fillRect(l, t, r - l, b - t);
  }
  function text(l, t, r, b, s, px, centred) {
    ctx.save();
    ctx.beginPath();
    ctx.rect(l, t, r - l, b - t);
    ctx.clip();
    ctx.font = px + 'px "Sudoku Sans"';
    ctx.fillStyle = '#000';
    ctx.textBaseline = 'alphabetic';
    const m = ctx.measureText(s);
    const ascent = m.fontBoundingBoxAscent, descent = m.fontBoundingBoxDescent;
    // The line's box, ascent to descent, centred or at the top left, as the desktop's toolkits place it.
    if (centred) {
      ctx.textAlign = 'center';
      ctx.fillText(s, Math.round((l + r) / 2), Math.round(t + (b - t - ascent - descent) / 2 + ascent));
    } else {
      ctx.textAlign = 'left';
      ctx.fillText(s, l, Math.round(t + ascent));
    }
    ctx.restore();
  }
  let firstPaint = 0, lastPaint = 0, paints = 0;
  function painted() {
    if (clipped) ctx.restore();
    clipped = false;
    paints++;
    lastPaint = performance.now();
    if (!firstPaint) {
      firstPaint = lastPaint;
      setTimeout(registerWorker, 0);
    }
  }
  function watchRatio() {
    // A new ratio (zoom, another screen): the game paints afresh at the new scale.
    matchMedia('(resolution: ' + (window.devicePixelRatio || 1) + 'dppx)')
      .addEventListener('change', () => { watchRatio(); push([0]); }, {once: true});
  }
  window.addEventListener('resize', () => push([0]));

  // --- The pointer: press, release, double click, cancel ---
  let last = null;  // the last press that was not the second of a double click
  function devicePoint(e) {
    const r = canvas.getBoundingClientRect();
    return [Math.floor((e.clientX - r.left) * canvas.width / r.width),
            Math.floor((e.clientY - r.top) * canvas.height / r.height)];
  }
  canvas.addEventListener('pointerdown', (e) => {
    if (!e.isPrimary || e.button !== 0) return;
    e.preventDefault();
    closeMenus();
    const [x, y] = devicePoint(e);
    const near = e.pointerType === 'mouse' ? 4 : 16;
    const double = last !== null && e.timeStamp - last.time <= 500 &&
        Math.abs(e.clientX - last.x) <= near && Math.abs(e.clientY - last.y) <= near;
    last = double ? null : {time: e.timeStamp, x: e.clientX, y: e.clientY};
    canvas.setPointerCapture(e.pointerId);
    push([kPress, x, y, double ? 1 : 0]);
  });
  canvas.addEventListener('pointerup', (e) => {
    if (!e.isPrimary || e.button !== 0) return;
    const [x, y] = devicePoint(e);
    push([kRelease, x, y]);
  });
  canvas.addEventListener('pointercancel', (e) => { if (e.isPrimary) push([kCancel]); });
  canvas.addEventListener('dblclick', (e) => e.preventDefault());
  canvas.addEventListener('contextmenu', (e) => e.preventDefault());

  // --- Keys ---
  let layout = null;  // the plain character of each key in the current layout, where the browser tells
  if (navigator.keyboard && navigator.keyboard.getLayoutMap)
    navigator.keyboard.getLayoutMap().then((m) => { layout = m; }, () => {});
  let altTapped = false;
  const shortcuts = new Map();  // function key number -> menu item index
  document.addEventListener('keydown', (e) => {
    if (ended) return;
    if (openMenu) { menuKey(e); return; }
    altTapped = e.key === 'Alt' && !e.shiftKey && !e.ctrlKey && !e.metaKey && (e.repeat ? altTapped : true);
    if (e.key === 'Alt') { e.preventDefault(); return; }
    if (e.key === 'F10' && !e.shiftKey && !e.ctrlKey && !e.altKey && !e.metaKey) {
      e.preventDefault();
      openFirstMenu();
      return;
    }
    if (e.ctrlKey || e.metaKey) return;  // the browser's own
    const f = /^F([0-9]+)$/.exec(e.code);
    if (f && shortcuts.has(+f[1]) && !e.shiftKey && !e.altKey) {
      e.preventDefault();
      push([kCommand, shortcuts.get(+f[1])]);
      return;
    }
    const element = e.target.closest && e.target.closest('#access [data-id]');
    if (element && (e.key === 'Enter' || e.key === ' ')) {
      e.preventDefault();
      push([kActivate, +element.dataset.id]);
      return;
    }
    if (e.key === 'Tab' || /^(Arrow|Page|Home|End)/.test(e.key) && !/^Numpad/.test(e.code)) {
      // Moving about the page stays the browser's; the game hears the key too, and ignores it.
    } else {
      e.preventDefault();
    }
    const plain = (layout && layout.get(e.code)) || e.key;
    push([kKey, (e.shiftKey ? 1 : 0) | (e.ctrlKey ? 2 : 0) | (e.altKey ? 4 : 0)],
         e.code + '\t' + e.key + '\t' + plain);
  });
  document.addEventListener('keyup', (e) => {
    if (e.key === 'Alt' && altTapped && !openMenu) {
      e.preventDefault();
      openFirstMenu();
    }
    altTapped = false;
  });
  document.addEventListener('pointerdown', () => { altTapped = false; }, true);
  window.addEventListener('blur', () => { altTapped = false; });

  // --- Menus ---
  const menus = [];  // {title, popup}
  let openMenu = null, returnFocus = null;
  function addMenu(caption) {
    const box = document.createElement('div');
    box.className = 'menu';
    const title = document.createElement('button');
    title.type = 'button';
    title.setAttribute('role', 'menuitem');
    title.setAttribute('aria-haspopup', 'menu');
    title.setAttribute('aria-expanded', 'false');
    title.tabIndex = menus.length ? -1 : 0;
    title.textContent = caption;
    const popup = document.createElement('div');
    popup.setAttribute('role', 'menu');
    popup.setAttribute('aria-label', caption);
    popup.hidden = true;
    box.append(title, popup);
    menubar.append(box);
    const menu = {title, popup};
    menus.push(menu);
    title.addEventListener('pointerdown', (e) => {
      e.preventDefault();
      if (openMenu === menu) closeMenus(); else showMenu(menu, false);
    });
    title.addEventListener('pointerenter', () => { if (openMenu && openMenu !== menu) showMenu(menu, false); });
    title.addEventListener('click', (e) => { if (e.detail === 0) showMenu(menu, true); });  // Enter on a focused title
  }
  function addMenuItem(index, caption, checkable, checked, functionKey) {
    const item = document.createElement('div');
    item.setAttribute('role', checkable ? 'menuitemradio' : 'menuitem');
    if (checkable) item.setAttribute('aria-checked', checked ? 'true' : 'false');
    item.tabIndex = -1;
    item.dataset.index = index;
    const mark = document.createElement('span');
    mark.className = 'mark';
    mark.setAttribute('aria-hidden', 'true');
    mark.textContent = checked ? '✓' : '';
    const label = document.createElement('span');
    label.textContent = caption;
    item.append(mark, label);
    if (functionKey) {
      const key = document.createElement('span');
      key.className = 'key';
      key.textContent = 'F' + functionKey;
      item.append(key);
      item.setAttribute('aria-keyshortcuts', 'F' + functionKey);
      shortcuts.set(functionKey, index);
    }
    // The pointer moved onto it (not a menu opened under a resting pointer): it is highlighted.
    item.addEventListener('pointermove', (e) => {
      if ((e.movementX || e.movementY) && document.activeElement !== item) item.focus({preventScroll: true});
    });
    item.addEventListener('click', () => choose(item));
    menus[menus.length - 1].popup.append(item);
  }
  function addSeparator() {
    const s = document.createElement('div');
    s.setAttribute('role', 'separator');
    menus[menus.length - 1].popup.append(s);
  }
  function setChecked(index, checked) {
    const item = menubar.querySelector('[data-index="' + index + '"]');
    if (!item) return;
    if (item.hasAttribute('aria-checked')) item.setAttribute('aria-checked', checked ? 'true' : 'false');
    item.querySelector('.mark').textContent = checked ? '✓' : '';
  }
  const itemsOf = (menu) => [...menu.popup.querySelectorAll('[role^="menuitem"]')];
  function showMenu(menu, focusFirst) {
    if (!openMenu) returnFocus = document.activeElement;
    if (openMenu) { openMenu.popup.hidden = true; openMenu.title.setAttribute('aria-expanded', 'false'); }
    openMenu = menu;
    menu.popup.hidden = false;
    menu.title.setAttribute('aria-expanded', 'true');
    if (focusFirst) itemsOf(menu)[0].focus();
    else menu.title.focus({preventScroll: true});
  }
  function openFirstMenu() { if (menus.length) showMenu(menus[0], true); }
  function closeMenus() {
    if (!openMenu) return;
    openMenu.popup.hidden = true;
    openMenu.title.setAttribute('aria-expanded', 'false');
    openMenu = null;
    if (returnFocus && returnFocus.focus && document.contains(returnFocus)) returnFocus.focus({preventScroll: true});
    else document.activeElement.blur();
    returnFocus = null;
  }
  function choose(item) {
    const index = +item.dataset.index;
    closeMenus();
    push([kCommand, index]);
  }
  function menuKey(e) {
    const items = itemsOf(openMenu);
    const at = items.indexOf(document.activeElement);
    const step = (d) => items[(at + d + items.length) % items.length].focus();
    const beside = (d) => showMenu(menus[(menus.indexOf(openMenu) + d + menus.length) % menus.length], true);
    switch (e.key) {
      case 'ArrowDown': step(1); break;
      case 'ArrowUp': step(at < 0 ? 0 : -1); break;
      case 'Home': items[0].focus(); break;
      case 'End': items[items.length - 1].focus(); break;
      case 'ArrowRight': beside(1); break;
      case 'ArrowLeft': beside(-1); break;
      case 'Enter': case ' ': if (at >= 0) choose(items[at]); break;
      case 'Escape': case 'F10': case 'Alt': case 'Tab': closeMenus(); break;
      default: return;
    }
    e.preventDefault();
  }
  document.addEventListener('pointerdown', (e) => {
    if (openMenu && !menubar.contains(e.target)) closeMenus();
  });

  // --- The elements screen readers read (src/platform/web/WebAccess.cpp) ---
  const kCell = 0, kButton = 1, kStatus = 2, kBoard = 93;
  const elements = new Map();
  function element(id, role) {
    let el = elements.get(id);
    if (el) return el;
    if (role === kStatus) {
      el = document.getElementById('status');
    } else {
      el = document.createElement('div');
      el.tabIndex = -1;
      if (role === kCell) {
        const row = Math.floor((id - 1) / 9), col = (id - 1) % 9;
        while (grid.children.length <= row) {
          const r = document.createElement('div');
          r.setAttribute('role', 'row');
          r.setAttribute('aria-rowindex', grid.children.length + 1);
          grid.append(r);
        }
        el.setAttribute('role', 'gridcell');
        el.setAttribute('aria-rowindex', row + 1);
        el.setAttribute('aria-colindex', col + 1);
        const r = grid.children[row];
        const after = [...r.children].find((c) => +c.dataset.id > id);
        r.insertBefore(el, after || null);
      } else {
        el.setAttribute('role', 'button');
        const picker = document.getElementById('picker');
        const after = [...picker.children].find((c) => +c.dataset.id > id);
        picker.insertBefore(el, after || null);
      }
      el.addEventListener('click', () => push([kActivate, id]));
    }
    el.dataset.id = id;
    elements.set(id, el);
    return el;
  }
  function accessItem(id, role, name, flags, l, t, r, b) {
    const el = element(id, role);
    el.hidden = false;
    if (role === kStatus) {
      if (el.textContent !== name) el.textContent = name;
    } else {
      el.setAttribute('aria-label', name);
      el.textContent = name;
    }
    if (role === kCell) {
      el.setAttribute('aria-selected', flags & 1 ? 'true' : 'false');
      el.setAttribute('aria-readonly', flags & 4 ? 'true' : 'false');
    } else if (role === kButton) {
      el.setAttribute('aria-pressed', flags & 2 ? 'true' : 'false');
    }
    if (role !== kStatus) el.tabIndex = flags & 8 ? 0 : -1;
    Object.assign(el.style, {left: l / ratio + 'px', top: t / ratio + 'px',
                             width: (r - l) / ratio + 'px', height: (b - t) / ratio + 'px'});
  }
  function accessHide(id) {
    const el = elements.get(id);
    if (el) el.hidden = true;
  }
  function accessBoard(name) {
    grid.setAttribute('aria-label', name);
    grid.tabIndex = -1;
  }
  function accessFocus(id) {
    const el = id === kBoard ? grid : elements.get(id);
    if (!el || el.hidden) return;
    for (const other of access.querySelectorAll('[tabindex="0"]')) if (other !== el) other.tabIndex = -1;
    if (el.getAttribute('role') !== 'status') el.tabIndex = 0;
    // The page's focus follows the player, whatever the input; an open menu gets it back on closing.
    if (openMenu) returnFocus = el;
    else if (document.activeElement !== el) el.focus({preventScroll: true});
  }
  // Messages spoken unasked. The region is emptied and filled on a later turn, so that a
  // message said again is spoken again.
  const announcer = document.getElementById('announce');
  let unsaid = [];
  function accessAnnounce(message) {
    if (!unsaid.length) {
      announcer.textContent = '';
      setTimeout(() => { announcer.textContent = unsaid.join('. '); unsaid = []; }, 100);
    }
    unsaid.push(message);
  }

  // --- One game per browser, and the end of it ---
  const channel = 'BroadcastChannel' in window ? new BroadcastChannel('sudoku-game') : null;
  function say(message) {
    document.getElementById('window').hidden = true;
    notice.textContent = message;
    notice.hidden = false;
  }
  function anotherTab() {
    if (another) {
      if (channel) channel.postMessage('come-forward');
      say('Судоку уже открыт в другой вкладке');
    }
    return another;
  }
  function close() {
    // Closes the page where the browser lets a page close itself (an installed app's window).
    try { window.close(); } catch (e) { /* not allowed: the page stays, with no game */ }
  }
  function end() {
    ended = true;
    queue.length = 0;
    Boot.release();
    if (channel) channel.close();
    say('Судоку закрыт');
  }
  async function takeLock() {
    if (Boot.locked) return Boot.locked;
    if (!channel) return true;
    // No locks: ask whether a game answers.
    return new Promise((resolve) => {
      const heard = (m) => { if (m.data === 'here') resolve(false); };
      channel.addEventListener('message', heard);
      channel.postMessage('anyone');
      setTimeout(() => { channel.removeEventListener('message', heard); resolve(true); }, 200);
    });
  }
  if (channel) channel.addEventListener('message', (m) => {
    if (another || ended) return;
    if (m.data === 'anyone') channel.postMessage('here');
    if (m.data === 'come-forward') window.focus();  // where the browser lets a tab come forward
  });

  function makeWindow(title, background, width, height) {
    document.title = title;
    document.body.style.background = colour(background);
    resize(width, height);
  }

  // The game starts once its code is compiled, the font ready and the single-game lock settled
  // (web/boot.js asked for them); the service worker is set up after its first paint, out of its way.
  function start() {
    const ready = Promise.all([takeLock(), Boot.font]).then(([held]) => {
      another = !held;
      watchRatio();
    });
    window.Module = {
      instantiateWasm(imports, receive) {
        Promise.all([Boot.compiled, ready]).then(([module]) => WebAssembly.instantiate(module, imports))
          .then((instance) => receive(instance), (e) => console.error('the game could not start:', e));
        return {};
      },
    };
    const script = document.createElement('script');
    script.src = 'sudoku.js';
    document.body.append(script);
  }
  function registerWorker() {
    if ('serviceWorker' in navigator) navigator.serviceWorker.register('sw.js').catch(() => {});
  }
  start();

  return {
    makeWindow, resize, clip, fill, text, painted, addMenu, addMenuItem, addSeparator, setChecked,
    accessBoard, accessItem, accessHide, accessFocus, accessAnnounce, anotherTab, close, end,
    ratio: () => window.devicePixelRatio || 1,
    nextEvent: () => queue.shift(),
    wait: (ms) => new Promise((resolve) => {
      if (queue.length) { resolve(); return; }
      wake = resolve;
      setTimeout(() => { if (wake === resolve) wake = null; resolve(); }, Math.min(ms, 1e7));
    }),
    stats: () => ({firstPaint, lastPaint, paints, queued: queue.length}),
  };
})();
