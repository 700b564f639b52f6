"""The game's web page in a real headless Chromium, as a player and a screen reader use it:
    web_cases.py CASE --site build/web [--reference web_reference]
CASE: pixels, play, tabs, access, offline. Each case starts its own server and browser."""
import argparse
import json
import os
import shutil
import subprocess
import sys
import tempfile
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import browser  # noqa: E402

LADDER = [8, 9, 10, 11, 12, 14, 16, 18, 20, 22, 24, 26, 28, 36, 48, 72]
failures = []


def check(ok, what):
    print(('ok   ' if ok else 'FAIL ') + what, flush=True)
    if not ok:
        failures.append(what)
    return ok


def wait_for(d, script, timeout=10.0):
    """Polls a script until it returns something true; returns that, or None."""
    end = time.time() + timeout
    while time.time() < end:
        value = d.execute_script(script)
        if value:
            return value
        time.sleep(0.05)
    return None


def settle(d):
    """Waits until the game has taken every queued event and the page has painted twice."""
    wait_for(d, 'return Shell.stats().queued === 0')
    d.execute_async_script('const done = arguments[0]; '
                           'requestAnimationFrame(() => requestAnimationFrame(() => setTimeout(done, 30)))')


def open_page(d, url):
    d.get(url)
    return check(wait_for(d, 'return Shell.stats().paints > 0') is not None, 'the board is painted')


def console_errors(d):
    return [e['message'] for e in d.get_log('browser') if e['level'] == 'SEVERE']


def cells(d):
    return d.execute_script(
        'return [...document.querySelectorAll("#grid [role=gridcell]")].map(e => ({name: e.getAttribute("aria-label"),'
        ' selected: e.getAttribute("aria-selected") === "true", clue: e.getAttribute("aria-readonly") === "true"}))')


def digit_of(cell):
    v = cell['name'].split(': ')[1].split(',')[0]
    return 0 if v == 'пусто' else int(v)


def status(d):
    return d.execute_script('return document.getElementById("status").textContent')


def centre(d, selector):
    return d.execute_script('const r = document.querySelector(arguments[0]).getBoundingClientRect();'
                            'return [r.left + r.width / 2, r.top + r.height / 2]', selector)


def cell_sel(n):
    return f'#grid [data-id="{n}"]'


def pick_sel(k):
    return f'#picker [data-id="{81 + k}"]'


def click(d, selector, count=1):
    x, y = centre(d, selector)
    for i in range(1, count + 1):
        for kind in ('mousePressed', 'mouseReleased'):
            d.execute_cdp_cmd('Input.dispatchMouseEvent',
                              {'type': kind, 'x': x, 'y': y, 'button': 'left', 'clickCount': i})
    settle(d)


def tap(d, selector):
    x, y = centre(d, selector)
    d.execute_cdp_cmd('Input.dispatchTouchEvent', {'type': 'touchStart', 'touchPoints': [{'x': x, 'y': y}]})
    d.execute_cdp_cmd('Input.dispatchTouchEvent', {'type': 'touchEnd', 'touchPoints': []})
    settle(d)


def key(d, code, key_name, text=None, modifiers=0, vk=0, location=0):
    base = {'code': code, 'key': key_name, 'modifiers': modifiers, 'windowsVirtualKeyCode': vk, 'location': location}
    d.execute_cdp_cmd('Input.dispatchKeyEvent', {**base, 'type': 'keyDown' if text else 'rawKeyDown',
                                                  **({'text': text} if text else {})})
    d.execute_cdp_cmd('Input.dispatchKeyEvent', {**base, 'type': 'keyUp'})
    settle(d)


def board_width(d):
    return d.execute_script('return document.getElementById("board").width')


# --- pixels: the board as the Linux build's scene paints it, at every size and ratio ---

COMPARE = r'''
const ref = arguments[0], c = document.getElementById('board');
const w = Math.min(ref.width, c.width), h = Math.min(ref.height, c.height);
const px = c.getContext('2d').getImageData(0, 0, w, h).data;
let bad = 0, first = null;
ref.rows.forEach((row, y) => {
  if (y >= h) return;
  for (let i = 0, x = 0; i < row.length; i += 2) {
    const colour = row[i];
    for (let n = 0; n < row[i + 1]; n++, x++) {
      if (colour < 0 || x >= w) continue;
      const o = 4 * (y * w + x), got = (px[o] << 16) | (px[o + 1] << 8) | px[o + 2];
      if (got !== colour) { bad++; if (!first) first = [x, y, got.toString(16), colour.toString(16)]; }
    }
  }
});
return {bad, first, canvas: [c.width, c.height]};
'''


FULL_FONT = '/usr/share/fonts/truetype/crosextra/Carlito-Regular.ttf'
GLYPHS = r'''
const [text, done] = arguments;
const full = new FontFace('Full', 'url(full.ttf)');
Promise.all([full.load(), document.fonts.load('16px "Sudoku Sans"')]).then(() => {
  document.fonts.add(full);
  const c = document.createElement('canvas'), ctx = c.getContext('2d', {alpha: false});
  const differ = [];
  for (const ch of text) {
    for (const px of [11, 24, 48]) {
      c.width = c.height = 2 * px;
      const drawn = ['"Sudoku Sans"', 'Full'].map((font) => {
        ctx.fillStyle = '#fff';
        ctx.fillRect(0, 0, c.width, c.height);
        ctx.fillStyle = '#000';
        ctx.font = px + 'px ' + font;
        ctx.fillText(ch, px / 2, 1.5 * px);
        return ctx.getImageData(0, 0, c.width, c.height).data.join();
      });
      if (drawn[0] !== drawn[1]) { differ.push(ch + ' ' + px); break; }
    }
  }
  done(differ);
}, (e) => done(['not loaded: ' + e]));
'''


def game_characters():
    """Printable ASCII and every other character of the texts in the game's and the page's sources."""
    root = os.path.join(os.path.dirname(os.path.abspath(__file__)), '..', '..')
    chars = {chr(c) for c in range(0x20, 0x7F)}
    for folder in ('src/app', 'src/scene', 'src/platform/web', 'web'):
        for name in os.listdir(os.path.join(root, folder)):
            if name.endswith(('.cpp', '.h', '.js', '.html')):
                with open(os.path.join(root, folder, name), encoding='utf-8') as f:
                    chars |= {c for c in f.read() if ord(c) > 0x7F}
    return ''.join(sorted(chars))


def case_pixels(d, url, reference, site):
    open_page(d, url)
    # The page's font, cut from the game's: every character the game may show drawn as by the whole font.
    shutil.copyfile(FULL_FONT, os.path.join(site, 'full.ttf'))
    differ = d.execute_async_script(GLYPHS, game_characters())
    check(not differ, f"the page's font draws the game's characters as the whole font does ({differ[:10]})")
    for ratio in (1, 1.25, 2):
        d.execute_cdp_cmd('Emulation.setDeviceMetricsOverride',
                          {'width': 1400, 'height': 1000, 'deviceScaleFactor': ratio, 'mobile': False})
        settle(d)
        check(d.execute_script('return window.devicePixelRatio') == ratio, f'ratio {ratio} in effect')
        for _ in LADDER:
            key(d, 'Minus', '-', '-', vk=0xBD)
        for i, pt in enumerate(LADDER):
            if i:
                key(d, 'Equal', '=', '=', vk=0xBB)
            ref = json.loads(subprocess.run([reference, str(pt), str(ratio)], check=True,
                                            capture_output=True, text=True).stdout)
            got = d.execute_script(COMPARE, ref)
            check(got['bad'] == 0 and got['canvas'][0] >= ref['width'] and got['canvas'][1] >= ref['height'],
                  f'{pt} pt at ratio {ratio}: lines and backgrounds as on Linux '
                  f'(mismatches {got["bad"]}, first {got["first"]}, canvas {got["canvas"]})')
            if pt <= 18:
                css = d.execute_script('const r = document.getElementById("board").getBoundingClientRect();'
                                       'return [r.width, r.height]')
                check(abs(css[0] - 389) < 1 and abs(css[1] - 332) < 1,
                      f'{pt} pt at ratio {ratio}: the client area is 389×332 CSS pixels ({css})')
        for _ in LADDER[LADDER.index(18) + 1:]:
            key(d, 'Minus', '-', '-', vk=0xBD)


# --- play: mouse, touch, keys, new game, a solved board, menus by keyboard, Esc ---

def solve(grid):
    def ok(i, v):
        r, c = divmod(i, 9)
        for j in range(9):
            if grid[r * 9 + j] == v or grid[j * 9 + c] == v:
                return False
        br, bc = r - r % 3, c - c % 3
        return all(grid[(br + a) * 9 + bc + b] != v for a in range(3) for b in range(3))

    def go():
        try:
            i = grid.index(0)
        except ValueError:
            return True
        for v in range(1, 10):
            if ok(i, v):
                grid[i] = v
                if go():
                    return True
        grid[i] = 0
        return False
    return go()


def new_game_by_keyboard(d):
    d.execute_script('window.heard = []; new MutationObserver(() => heard.push(document.getElementById("status")'
                     '.textContent)).observe(document.getElementById("status"), {childList: true, subtree: true,'
                     ' characterData: true})')
    key(d, 'F10', 'F10', vk=0x79)
    check(d.execute_script('return document.activeElement.textContent.includes("Новая") && '
                           'document.querySelector("#menubar button").getAttribute("aria-expanded") === "true"'),
          'F10 opens «Игра» on «Новая»')
    key(d, 'Enter', 'Enter', '\r', vk=0x0D)
    wait_for(d, 'return document.querySelectorAll("#grid [aria-readonly=true]").length > 0')
    settle(d)
    heard = d.execute_script('return heard')
    check('Создание таблицы' in heard, f'the new game shows «Создание таблицы» while it builds ({heard})')
    check(status(d) == 'Сообщений нет', 'then the status line is empty')


def fill(d, board, grid):
    """Writes the solution into every cell that is not a clue: a click on it, then its digit key."""
    for n in range(1, 82):
        if not board[n - 1]['clue']:
            x, y = centre(d, cell_sel(n))
            for kind in ('mousePressed', 'mouseReleased'):
                d.execute_cdp_cmd('Input.dispatchMouseEvent', {'type': kind, 'x': x, 'y': y, 'button': 'left',
                                                               'clickCount': 1})
            v = grid[n - 1]
            d.execute_cdp_cmd('Input.dispatchKeyEvent', {'type': 'keyDown', 'code': f'Digit{v}', 'key': str(v),
                                                          'text': str(v), 'windowsVirtualKeyCode': 0x30 + v})
            d.execute_cdp_cmd('Input.dispatchKeyEvent', {'type': 'keyUp', 'code': f'Digit{v}', 'key': str(v),
                                                          'windowsVirtualKeyCode': 0x30 + v})
            time.sleep(0.02)  # each cell's click lies after the last one's double-click time
    settle(d)


def case_play(d, url):
    open_page(d, url)
    new_game_by_keyboard(d)
    board = cells(d)
    empty = [i + 1 for i, c in enumerate(board) if not c['clue']]
    check(sum(c['clue'] for c in board) >= 20, 'a puzzle with clues')
    a, b, c2, e1, e2 = empty[:5]

    click(d, cell_sel(a))
    check(cells(d)[a - 1]['selected'], 'a click selects a cell')
    click(d, pick_sel(4))
    check(digit_of(cells(d)[a - 1]) == 4, 'cell, then digit: the digit is entered')
    click(d, pick_sel(6))
    check(d.execute_script(f'return document.querySelector(\'{pick_sel(6)}\').getAttribute("aria-pressed")') == 'true',
          'a digit chosen first is pressed')
    click(d, cell_sel(b))
    check(digit_of(cells(d)[b - 1]) == 6, 'digit, then cell: the digit is entered')
    click(d, pick_sel(6))
    click(d, pick_sel(3), count=2)
    check(d.execute_script(f'return document.querySelector(\'{pick_sel(3)}\').getAttribute("aria-pressed")') ==
          'false', 'a double click on a digit is two clicks: chosen and dropped')
    click(d, cell_sel(c2), count=2)
    check(not cells(d)[c2 - 1]['selected'], 'a double click on a cell is two clicks: selected and let go')
    tap(d, cell_sel(c2))
    tap(d, cell_sel(c2))
    check(not cells(d)[c2 - 1]['selected'], 'a double tap is two clicks: selected and let go')
    scroll = d.execute_script('return [scrollX, scrollY, visualViewport.scale]')
    check(scroll == [0, 0, 1], f'a double tap neither scrolls nor zooms ({scroll})')
    tap(d, cell_sel(c2))
    check(cells(d)[c2 - 1]['selected'], 'a tap selects a cell')

    key(d, 'Digit7', '&', '&', vk=0x37)  # the digit row by position, as on an AZERTY keyboard
    check(digit_of(cells(d)[c2 - 1]) == 7, 'the digit row counts by position')
    click(d, cell_sel(e1))
    key(d, 'Numpad5', '5', '5', vk=0x65, location=3)
    check(digit_of(cells(d)[e1 - 1]) == 5, 'keypad 5 with Num Lock on enters 5')
    key(d, 'Numpad8', 'ArrowUp', vk=0x26, location=3)
    check(digit_of(cells(d)[e1 - 1]) == 5, 'keypad 8 with Num Lock off enters nothing')
    click(d, cell_sel(e1))  # an entry lets the cell go
    key(d, 'Backspace', 'Backspace', vk=0x08)
    check(digit_of(cells(d)[e1 - 1]) == 0, 'Backspace erases')
    click(d, cell_sel(e2))
    key(d, 'Digit2', '2', '2', vk=0x32)
    click(d, cell_sel(e2))
    key(d, 'NumpadDecimal', 'Delete', vk=0x2E, location=3)
    check(digit_of(cells(d)[e2 - 1]) == 0, 'keypad Del with Num Lock off erases')

    w18 = board_width(d)
    key(d, 'Equal', '=', '=', vk=0xBB)
    check(board_width(d) > w18, 'the key of = and + enlarges')
    key(d, 'NumpadSubtract', '-', '-', vk=0x6D, location=3)
    check(board_width(d) == w18, 'the keypad − shrinks')
    key(d, 'F3', 'F3', vk=0x72)
    check(d.execute_script('return document.querySelector("#picker [data-id=\'82\']").hidden') and
          d.execute_script('return document.querySelector("[aria-keyshortcuts=F3]").getAttribute("aria-checked")')
          == 'false', 'F3 hides the picker and unchecks its item')
    key(d, 'F3', 'F3', vk=0x72)
    check(not d.execute_script('return document.querySelector("#picker [data-id=\'82\']").hidden'),
          'F3 shows it again')

    # Esc set to minimise, chosen from «Разное» by keyboard: a page cannot, the selection drops.
    key(d, 'AltLeft', 'Alt', vk=0x12)
    check(d.execute_script('return document.querySelector("#menubar button").getAttribute("aria-expanded")')
          == 'true', 'a tap of Alt opens the menus')
    key(d, 'ArrowRight', 'ArrowRight', vk=0x27)
    for _ in range(5):
        key(d, 'ArrowDown', 'ArrowDown', vk=0x28)
    focused = d.execute_script('return document.activeElement.textContent')
    check(focused == 'ESC - Свернуть', f'the arrows reach «ESC - Свернуть» in «Разное» ({focused})')
    key(d, 'Enter', 'Enter', '\r', vk=0x0D)
    check(d.execute_script('return [...document.querySelectorAll("[role=menuitemradio]")].find(e => '
                           'e.textContent.includes("ESC - Свернуть")).getAttribute("aria-checked")') == 'true',
          'Enter chose it: its check mark')
    click(d, cell_sel(e1))
    key(d, 'Escape', 'Escape', vk=0x1B)
    check(not cells(d)[e1 - 1]['selected'] and d.execute_script('return !document.getElementById("window").hidden'),
          'Esc set to minimise drops the selection; the page stays')

    # The rest of the board, solved, and then refused.
    board = cells(d)
    grid = [c['name'] and (digit_of(c) if c['clue'] else 0) for c in board]
    check(solve(grid), 'the puzzle has a solution')
    fill(d, board, grid)
    check(status(d) == 'Судоку пройден', f'the solved board says «Судоку пройден» ({status(d)})')
    last = max(n for n in range(1, 82) if not board[n - 1]['clue'])
    click(d, cell_sel(last))
    key(d, 'Digit1', '1', '1', vk=0x31)
    check(digit_of(cells(d)[last - 1]) == grid[last - 1] and not cells(d)[last - 1]['selected'],
          'the solved board refuses a click and a digit')

    # The menus left by Esc; then Esc set to close.
    key(d, 'F10', 'F10', vk=0x79)
    key(d, 'Escape', 'Escape', vk=0x1B)
    check(d.execute_script('return document.querySelector("#menubar button").getAttribute("aria-expanded")')
          == 'false', 'Esc leaves the menus')
    key(d, 'F10', 'F10', vk=0x79)
    key(d, 'ArrowLeft', 'ArrowLeft', vk=0x25)
    for _ in range(4):
        key(d, 'ArrowDown', 'ArrowDown', vk=0x28)
    key(d, 'Enter', 'Enter', '\r', vk=0x0D)
    key(d, 'Escape', 'Escape', vk=0x1B)
    check(d.execute_script('return document.getElementById("board").offsetParent === null && '
                           'document.getElementById("notice").textContent') == 'Судоку закрыт',
          'Esc set to close ends the game: the page says so')
    paints = d.execute_script('return Shell.stats().paints')
    key(d, 'F3', 'F3', vk=0x72)  # would show the picker again
    check(d.execute_script('return Shell.stats().paints') == paints, 'and nothing of it runs')


# --- tabs: one game per browser ---

def case_tabs(d, url):
    open_page(d, url)
    first = d.current_window_handle
    d.switch_to.new_window('tab')
    d.get(url)
    notice = wait_for(d, 'return !document.getElementById("notice").hidden && '
                         'document.getElementById("notice").textContent')
    check(notice == 'Судоку уже открыт в другой вкладке', f'a second tab says the game is open ({notice})')
    time.sleep(0.3)
    check(d.execute_script('return Shell.stats().paints') == 0, 'and runs no game')
    second = d.current_window_handle
    d.switch_to.window(first)
    d.close()
    d.switch_to.window(second)
    d.refresh()
    check(wait_for(d, 'return Shell.stats().paints > 0') is not None, 'with the first tab closed, it plays')


# --- access: the tree Chromium gives screen readers ---

def ax_nodes(d):
    """The tree's nodes in reading order (depth first from the root), the ignored ones left out."""
    nodes = d.execute_cdp_cmd('Accessibility.getFullAXTree', {})['nodes']
    by_id = {n['nodeId']: n for n in nodes}
    ordered, stack = [], [n for n in nodes if not n.get('parentId')][::-1]
    while stack:
        n = stack.pop()
        ordered.append(n)
        stack.extend(by_id[c] for c in reversed(n.get('childIds', [])) if c in by_id)
    return [n for n in ordered if not n.get('ignored')]


def ax_named(nodes, roles):
    return [(n['role']['value'], n.get('name', {}).get('value', ''), n) for n in nodes
            if n.get('role', {}).get('value') in roles]


# What live regions would have a reader speak: each new text of a region, once it has any (a text
# said again is new once the region was emptied).
LISTEN = r'''
window.spoken = [];
const last = new Map();
new MutationObserver((records) => {
  for (const r of records) {
    const at = r.target.nodeType === 1 ? r.target : r.target.parentElement;
    const region = at && at.closest('[aria-live], [role=status], [role=alert]');
    if (!region || region.getAttribute('aria-live') === 'off' || region.hidden) continue;
    const text = region.textContent.trim();
    if (text === last.get(region)) continue;
    last.set(region, text);
    if (text) spoken.push(text);
  }
}).observe(document.body, {childList: true, subtree: true, characterData: true});
'''


def case_access(d, url):
    open_page(d, url)
    d.execute_cdp_cmd('Accessibility.enable', {})
    nodes = ax_nodes(d)
    items = ax_named(nodes, ('gridcell', 'cell', 'button', 'toggleButton'))
    names = [n for _, n, _ in items]
    want = [f'Строка {r}, столбец {c}: пусто' for r in range(1, 10) for c in range(1, 10)] + \
        [f'Цифра {k}' for k in range(1, 10)] + ['Стереть']
    check(names == want, f'81 cells and 10 entries in order ({len(names)} items: {names[:3]}…{names[-3:]})')
    check(len(ax_named(nodes, ('row',))) == 9 and len(ax_named(nodes, ('grid',))) == 1, 'a grid of 9 rows')
    check(any(r == 'status' for r, _, _ in ax_named(nodes, ('status',))), 'the status line is a status')
    check(ax_named(nodes, ('menubar',)) and len(ax_named(nodes, ('menuitem',))) >= 2, 'a menu bar with its menus')

    def act(name):
        node = next(n for _, nm, n in ax_named(ax_nodes(d), ('gridcell', 'cell', 'button', 'toggleButton'))
                    if nm == name)
        obj = d.execute_cdp_cmd('DOM.resolveNode', {'backendNodeId': node['backendDOMNodeId']})['object']
        d.execute_cdp_cmd('Runtime.callFunctionOn', {'objectId': obj['objectId'],
                                                     'functionDeclaration': 'function() { this.click(); }'})
        settle(d)

    act('Цифра 5')
    pressed = [n for r, nm, n in ax_named(ax_nodes(d), ('button', 'toggleButton')) if nm == 'Цифра 5'][0]
    check(any(p['name'] == 'pressed' and p['value']['value'] in ('true', True) for p in pressed.get('properties', [])),
          'a reader\'s click chooses «Цифра 5»: pressed')
    act('Строка 2, столбец 3: пусто')
    names = [nm for _, nm, _ in ax_named(ax_nodes(d), ('gridcell', 'cell'))]
    check('Строка 2, столбец 3: 5' in names, 'then a click on the cell puts 5 there')

    # The page's focus follows the player from the mouse and the keys, as the reader's does; live
    # regions speak the game's messages, and only those.
    act('Цифра 5')  # dropped: a click on a cell selects it again
    d.execute_script(LISTEN)
    new_game_by_keyboard(d)
    new_game_by_keyboard(d)  # the same message again
    board = cells(d)
    grid = [digit_of(c) if c['clue'] else 0 for c in board]
    solve(grid)
    a, b = [i + 1 for i, c in enumerate(board) if not c['clue']][:2]

    def focused(n, digit):
        name = d.execute_script('const e = document.activeElement; return e.dataset.id === arguments[0] &&'
                                ' e.getAttribute("aria-label")', str(n))
        tree = [nm for _, nm, node in ax_named(ax_nodes(d), ('gridcell', 'cell'))
                if any(p['name'] == 'focused' and p['value']['value'] for p in node.get('properties', []))]
        want = f'Строка {(n - 1) // 9 + 1}, столбец {(n - 1) % 9 + 1}: {digit}'
        return name == want and tree == [want], f'{want} ({name}, tree: {tree})'

    click(d, cell_sel(a))
    click(d, pick_sel(grid[a - 1]))
    ok, what = focused(a, grid[a - 1])
    check(ok, f'a cell, then a digit, by mouse: the focus is on the written cell {what}')
    click(d, cell_sel(b))
    key(d, f'Digit{grid[b - 1]}', str(grid[b - 1]), str(grid[b - 1]), vk=0x30 + grid[b - 1])
    ok, what = focused(b, grid[b - 1])
    check(ok, f'a cell by mouse, then a digit key: the focus is on the written cell {what}')
    fill(d, board, grid)
    spoken = wait_for(d, 'return spoken.length >= 3 && spoken', 3) or d.execute_script('return spoken')
    check(spoken == ['Создание таблицы', 'Создание таблицы', 'Судоку пройден'],
          f'live regions speak «Создание таблицы» on each new game, «Судоку пройден» on the solving move ({spoken})')


# --- offline: a reload with the server gone, and a new build taken at once ---

def case_offline(d, site, server):
    url = server.url
    open_page(d, url)
    check(wait_for(d, 'return navigator.serviceWorker.controller !== null || (location.reload(), false)', 15)
          is not None, 'the service worker controls the page')
    settle(d)
    errors = d.execute_cdp_cmd('Page.getInstallabilityErrors', {})['installabilityErrors']
    check(not errors, f'the browser may install it as an app ({errors})')
    server.stop()
    d.refresh()
    check(wait_for(d, 'return typeof Shell !== "undefined" && Shell.stats().paints > 0', 10) is not None,
          'with the server gone, the page loads and paints')
    new_game_by_keyboard(d)
    page = os.path.join(site, 'index.html')
    with open(page, encoding='utf-8') as f:
        text = f.read()
    with open(page, 'w', encoding='utf-8') as f:
        f.write(text.replace('<title>', '<meta name="build" content="2"><title>'))
    server.start()
    d.refresh()
    wait_for(d, 'return typeof Shell !== "undefined" && Shell.stats().paints > 0')
    check(d.execute_script('return document.querySelector("meta[name=build]") !== null'),
          'a new build replaces the old on the next visit')


def main():
    p = argparse.ArgumentParser()
    p.add_argument('case', choices=['pixels', 'play', 'tabs', 'access', 'offline'])
    p.add_argument('--site', required=True)
    p.add_argument('--reference')
    a = p.parse_args()
    if not os.path.exists(os.path.join(a.site, 'sudoku.wasm')):
        print(f'SKIPPED: no web page built in {a.site} (bash scripts/web.sh --build-only)')
        return 77
    site = tempfile.mkdtemp(prefix='sudoku-site-')
    shutil.copytree(a.site, site, dirs_exist_ok=True)
    server = browser.Server(site)
    try:
        with browser.chromium(1000, 800) as d:
            if a.case == 'pixels':
                case_pixels(d, server.url, a.reference, site)
            elif a.case == 'play':
                case_play(d, server.url)
            elif a.case == 'tabs':
                case_tabs(d, server.url)
            elif a.case == 'access':
                case_access(d, server.url)
            else:
                case_offline(d, site, server)
            if a.case != 'offline':
                errors = console_errors(d)
                check(not errors, f'no console errors ({errors})')
    finally:
        server.stop()
        shutil.rmtree(site, ignore_errors=True)
    print(f'{len(failures)} failed' if failures else 'all passed')
    return 1 if failures else 0


if __name__ == '__main__':
    sys.exit(main())
