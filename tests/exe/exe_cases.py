#!/usr/bin/env python3
"""The real game executable on a private X server, driven by xdotool and checked by pixels.

Usage: exe_cases.py [--wine] <path to sudoku> <case> [<case argument>]
With --wine the program is the Windows build, run by wine in $WINEPREFIX.
"""
import fcntl
import os
import queue
import shutil
import signal
import socket
import subprocess
import sys
import threading
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import xsession as xs  # noqa: E402
from xsession import Failure, finish, is_dark, rgb_of, wait_exit  # noqa: E402

WHITE, CLUE, SELECTED, CONFLICT = rgb_of("#FFFFFF"), rgb_of("#C0C0C0"), rgb_of("#8080FF"), rgb_of("#FFFF00")
PICKER, PICKER_CHOSEN, BLACK, BG = rgb_of("#80FF80"), rgb_of("#00C000"), rgb_of("#000000"), xs.WINDOW_BG
S18, S20, S16 = 33, 36, 29  # cell sizes at 18, 20 and 16 points

# Menus and their items as the arrow keys reach them (separators are skipped).
GAME, OPTIONS = 0, 1
NEW, CLEAR, HARDEST, EASY = 0, 1, 2, 6
SIZE_UP, SIZE_DOWN, PICKER_ON, PICKER_OFF, ESC_CLOSE, ESC_MINIMISE, ESC_NOTHING = range(7)
GAME_ITEMS, OPTION_ITEMS = 8, 7


def edge(i, s=S18):
    """Left (or top) edge of column (or row) i."""
    return 6 + (i - 1) * (s - 1) + 7 * ((i - 1) // 3)


def cell(r, c, s=S18):
    return edge(c, s), edge(r, s)


def picker(k, s=S18):
    col, row = divmod(k - 1, 5)
    return 9 * s + 18 + col * (s + 1), 6 + row * (s + 1)


def centre(pos, s=S18):
    return pos[0] + s // 2, pos[1] + s // 2


def back(img, pos):
    """A label's background, read inside its border and clear of its text."""
    return img.pixel(pos[0] + 3, pos[1] + 3)


def shows_text(img, pos, s=S18):
    return any(is_dark(p) for p in img.block(pos[0], pos[1], s, inset=3))


def ink_centre(img, pos, s=S18, border=1):
    """The middle between the top and bottom rows of a label's text, from its top edge."""
    rows = [y for y in range(border, s - border)
            if any(is_dark(img.pixel(pos[0] + x, pos[1] + y)) for x in range(border, s - border))]
    return (rows[0] + rows[-1]) / 2 if rows else -1


def check(errors, ok, message):
    if not ok:
        errors.append(message)


def wait_start(s, prefix=(), env=None, timeout=10.0):
    """Starts the game and waits until the whole start screen is painted."""
    proc, w = s.launch(prefix, env, timeout)
    w.wait_for(lambda im: back(im, picker(10)) == PICKER and back(im, cell(9, 9)) == WHITE, "the start screen")
    return proc, w


def window_origin(s, wid):
    """The window's top-left corner on the screen."""
    geo = s.run(["xwininfo", "-id", str(wid)], capture=True)
    pos = {k.strip(): int(v) for k, v in (line.split(":") for line in geo.splitlines()
                                          if line.strip().startswith("Absolute upper-left"))}
    return pos["Absolute upper-left X"], pos["Absolute upper-left Y"]


# --- 1. The window as first shown -------------------------------------------------------

def icon_errors(s, wid):
    """The window icon: sizes 48, 24 and 16 (wine: Windows' 32 and 16), a 3x3 chequerboard,
    white corners and centre, grey edge squares, a black frame from 24 pixels up."""
    out = s.run(["xprop", "-id", str(wid), "-notype", "32c", "_NET_WM_ICON"], capture=True)
    words = [int(v) for v in out.split("=", 1)[1].replace(",", " ").split()] if "=" in out else []
    images, i = {}, 0
    while i + 2 <= len(words):
        w, h = words[i], words[i + 1]
        images[(w, h)] = words[i + 2:i + 2 + w * h]
        i += 2 + w * h
    errors = []
    sizes = (32, 16) if s.wine else (48, 24, 16)
    check(errors, {(n, n) for n in sizes} <= set(images), f"icon sizes {sorted(images)}")
    for size in sizes:
        px = images.get((size, size))
        if not px:
            continue

        def at(x, y):
            return "#%06X" % (px[y * size + x] & 0xFFFFFF)
        for row in range(3):
            for col in range(3):
                x, y = size * (2 * col + 1) // 6, size * (2 * row + 1) // 6  # the middle of a square
                want = "#FFFFFF" if (col + row) % 2 == 0 else "#7F7F7F"
                check(errors, at(x, y) == want, f"icon {size}: square ({col},{row}) is {at(x, y)}, not {want}")
        if size >= 24:
            check(errors, at(0, 0) == at(size - 1, size - 1) == "#000000", f"icon {size}: no black frame")
    return errors


def case_window_layout(s):
    proc, w = wait_start(s)
    img = w.shot()
    errors = []
    check(errors, w.client_size == (389, 332),
          "client area %dx%d at (%d,%d) of the window" % (w.client_size + (w.client_left, w.client_top)))
    for r in range(1, 10):
        for c in range(1, 10):
            x, y = cell(r, c)
            inside = img.block(x, y, S18)
            check(errors, all(p == WHITE for p in inside), f"cell ({r},{c}) is not plain white inside")
            check(errors, img.pixel(x, y + 16) == BLACK and img.pixel(x + 16, y + S18 - 1) == BLACK,
                  f"cell ({r},{c}) has no black border")
    # The 6-pixel gaps between boxes, e.g. between columns 3 and 4 (cells end at 102, start at 109).
    for first, last in ((103, 108), (212 - 6, 211)):
        for t in range(first, last + 1):
            check(errors, img.pixel(t, 20) == BG, f"gap pixel ({t},20) is {xs.hex_of(img.pixel(t, 20))}")
            check(errors, img.pixel(20, t) == BG, f"gap pixel (20,{t}) is {xs.hex_of(img.pixel(20, t))}")
    check(errors, img.pixel(102, 20) == BLACK and img.pixel(109, 20) == BLACK, "box borders around the gap")
    for x, y in ((2, 2), (3, 200), (200, 3), (311, 20), (386, 20), (386, 300), (20, 310)):
        check(errors, img.pixel(x, y) == BG, f"margin pixel ({x},{y}) is {xs.hex_of(img.pixel(x, y))}")
    glyphs = []
    for k in range(1, 11):
        x, y = picker(k)
        check(errors, back(img, (x, y)) == PICKER, f"picker {k} is {xs.hex_of(back(img, (x, y)))}")
        check(errors, img.pixel(x, y + 16) == BLACK, f"picker {k} has no black border")
        check(errors, shows_text(img, (x, y)) == (k <= 9), f"picker {k}: digit shown is {k <= 9} expected")
        glyphs.append(tuple(img.block(x, y, S18)))
        if k <= 9:
            check(errors, abs(ink_centre(img, (x, y), S18) - (S18 - 1) / 2) <= 1,
                  f"picker {k}: the digit is not vertically centred (ink centre {ink_centre(img, (x, y), S18)})")
    check(errors, len(set(glyphs)) == 10, "picker labels do not all differ")
    check(errors, img.pixel(315 + 16, 6 + S18) == BG and img.pixel(315 + S18, 22) == BG,
          "picker labels are not one pixel apart")
    status = [img.pixel(x, y) for y in range(312, 332) for x in range(6, 309)]
    check(errors, all(p == BG for p in status), "the status line is not empty window colour")
    x0, y0 = window_origin(s, w.wid)
    sw, sh = xs.SCREEN
    check(errors, abs(x0 - (sw - img.width) // 2) <= 1 and abs(y0 - (sh - img.height) // 2) <= 1,
          f"window at ({x0},{y0}) is not centred on the {sw}x{sh} screen")
    errors += icon_errors(s, w.wid)
    check(errors, w.menu_marks(GAME, GAME_ITEMS) == [i == EASY for i in range(GAME_ITEMS)],
          "check marks of menu Игра at start")
    check(errors, w.menu_marks(OPTIONS, OPTION_ITEMS) == [i in (PICKER_ON, ESC_NOTHING) for i in range(OPTION_ITEMS)],
          "check marks of menu Разное at start")
    finish(errors)


# --- 2. One copy at a time --------------------------------------------------------------

def case_single_instance(s):
    first, w = wait_start(s)
    t0 = time.monotonic()
    second = s.start_game()
    status = wait_exit(second, 5)
    took = time.monotonic() - t0
    if status != 0:
        raise Failure(f"the second copy ended with status {status}")
    if s.game_windows() != [w.wid]:
        raise Failure(f"windows after the second copy: {s.game_windows()}")
    if first.poll() is not None:
        raise Failure("the first copy ended")
    print(f"second copy ended with 0 after {took * 1000:.0f} ms")
    if s.wine:
        return to_front_on_windows(s, first)
    lock = os.listdir(s.runtime)
    first.send_signal(signal.SIGKILL)
    first.wait()
    if not lock or os.listdir(s.runtime) != lock:
        raise Failure(f"expected a lock left behind by the killed copy, runtime folder holds {os.listdir(s.runtime)}")
    third, w3 = wait_start(s)  # over the stale lock
    fourth = s.start_game()
    status = wait_exit(fourth, 5)
    if status != 0 or s.game_windows() != [w3.wid] or third.poll() is not None:
        raise Failure(f"after recovery: a further copy ended with {status}, windows {s.game_windows()}")


def minimise_on_windows(w):
    """Esc set to minimise: wine, drawing the frame itself, shrinks the window to a caption strip."""
    w.focus()
    w.key("Escape")
    deadline = time.monotonic() + 3
    while w.size()[1] >= w.client_top:
        if time.monotonic() > deadline:
            raise Failure(f"Esc did not minimise the window: its size is {w.size()}")
        time.sleep(0.05)


def to_front_on_windows(s, first):
    """A copy killed outright never blocks the next start; a further copy brings the running one
    back, restored from minimised and above the window that covered it, and ends with 0. A
    maximised copy comes to the front as it is, still maximised."""
    first.send_signal(signal.SIGKILL)
    first.wait()
    third, w = wait_start(s)
    full = w.size()
    w.choose(OPTIONS, ESC_MINIMISE)
    minimise_on_windows(w)
    sw, sh = xs.SCREEN
    s.start(["sh", "-c", "exec xev -geometry %dx%d+0+0 >/dev/null" % (sw, sh)])  # covers the whole screen
    deadline = time.monotonic() + 3
    while len(s.stacking()) == 0 or s.stacking()[0] == w.wid:
        if time.monotonic() > deadline:
            raise Failure("the covering window did not appear")
        time.sleep(0.05)
    status = wait_exit(s.start_game(), 5)
    if status != 0 or third.poll() is not None:
        raise Failure(f"a further copy ended with {status}; the running copy "
                      + ("ended" if third.poll() is not None else "runs"))
    deadline = time.monotonic() + 3
    while w.size() != full or s.stacking()[0] != w.wid:
        if time.monotonic() > deadline:
            raise Failure(f"the running copy was not restored to {full} on top: size {w.size()}, "
                          f"top-most window {s.stacking()[0]:#x}, game {w.wid:#x}")
        time.sleep(0.05)
    w.wait_for(lambda im: back(im, picker(10)) == PICKER and back(im, cell(9, 9)) == WHITE, "the restored board")
    # Maximised with a double click on the title bar (wine draws it), then launched again.
    s.run(["xdotool", "mousemove", "--window", str(w.wid), str(full[0] // 2), "8",
           "click", "--repeat", "2", "--delay", "80", "1"])
    deadline = time.monotonic() + 3
    while w.size()[0] < xs.SCREEN[0]:
        if time.monotonic() > deadline:
            raise Failure(f"a double click on the title bar did not maximise the window: size {w.size()}")
        time.sleep(0.05)
    maximised = w.size()
    w.find_client_top()  # without the frame now
    status = wait_exit(s.start_game(), 5)
    if status != 0 or third.poll() is not None:
        raise Failure(f"a further copy beside the maximised one ended with {status}")
    # A click handled tells that what the further copy asked for before it ended is done too.
    w.click(*centre(cell(5, 5)))
    deadline = time.monotonic() + 5
    while w.size() == maximised and back(w.shot(), cell(5, 5)) != SELECTED:
        if time.monotonic() > deadline:
            raise Failure("a click on cell (5,5) after the further copy did not select it")
        time.sleep(0.05)
    if w.size() != maximised:
        raise Failure(f"the maximised copy was brought to the front at size {w.size()}, not {maximised}")


# --- 3. Play with the mouse -------------------------------------------------------------

def case_mouse_play(s):
    proc, w = wait_start(s)
    c11, c12, c13 = cell(1, 1), cell(1, 2), cell(1, 3)
    w.click(*centre(c11))
    w.wait_for(lambda im: back(im, c11) == SELECTED, "cell (1,1) selected")
    w.click(*centre(picker(5)))
    img = w.wait_for(lambda im: back(im, c11) == WHITE and shows_text(im, c11), "a 5 in cell (1,1)")
    five = img.block(*c11, S18)
    # Picker first: a double click on 3 while (1,2) is selected writes 3 there, then chooses 3.
    w.click(*centre(c12))
    w.wait_for(lambda im: back(im, c12) == SELECTED, "cell (1,2) selected")
    w.click(*centre(picker(3)), double=True)
    img = w.wait_for(lambda im: shows_text(im, c12) and back(im, picker(3)) == PICKER_CHOSEN,
                     "a 3 in cell (1,2) and picker 3 chosen")
    if back(img, c12) != WHITE:
        raise Failure(f"cell (1,2) after the entry is {xs.hex_of(back(img, c12))}")
    w.click(*centre(c13))
    # Two 3s in row 1: both turn the conflict colour; picker 3 is released; the 5 stays white.
    img = w.wait_for(lambda im: back(im, c13) == CONFLICT and back(im, c12) == CONFLICT
                     and back(im, picker(3)) == PICKER, "3 in cell (1,3), the two 3s in conflict")
    errors = []
    check(errors, img.block(*c12, S18) == img.block(*c13, S18), "the two 3s look different")
    check(errors, img.block(*c11, S18) == five and five != img.block(*c12, S18), "the 5 changed or looks like a 3")
    # The eraser empties a cell again.
    w.click(*centre(c13))
    w.wait_for(lambda im: back(im, c13) == SELECTED, "cell (1,3) selected")
    w.click(*centre(picker(10)))
    img = w.wait_for(lambda im: not shows_text(im, c13) and back(im, c12) == WHITE, "cell (1,3) erased")
    check(errors, all(p == WHITE for p in img.block(*c13, S18)), "erased cell not plain white")
    finish(errors)


# --- 3. Play with the keyboard, under a given keyboard layout ------------------------------

# Per layout: the keys that type + (or =) and - there, and keys in their US places that must
# leave the size alone.
LAYOUT_KEYS = {"us": ("equal", "minus", ()), "ru": ("equal", "minus", ()),
               "de": ("plus", "minus", ("ssharp", "shift+ssharp"))}


def at_size(s):
    """The board laid out with cell size s (column borders, the gap after column 3, the picker)."""
    return lambda im: (im.pixel(edge(2, s), 20) == BLACK and im.pixel(edge(2, s) - 2, 20) == WHITE
                       and im.pixel(edge(4, s) - 3, 20) == BG and back(im, picker(1, s)) == PICKER)


def case_keyboard(s, layout="us"):
    if layout != "us":
        r = s.run(["setxkbmap", "-display", s.display, layout], check=False, capture=True)
        query = s.run(["setxkbmap", "-display", s.display, "-query"], check=False, capture=True)
        if f"layout:     {layout}" not in query:
            print(f"SKIPPED: keyboard layout {layout} cannot be set here ({query.strip()})")
            raise SystemExit(xs.SKIP)
    plus, minus, inert = LAYOUT_KEYS[layout]
    proc, w = wait_start(s)
    w.focus()
    ref1, ref5, by_shift, by_keypad = cell(1, 1), cell(1, 5), cell(5, 5), cell(5, 9)
    by_ctrl, by_alt = cell(7, 3), cell(7, 7)
    for pos, k in ((ref1, 1), (ref5, 5)):  # the same digits entered with the picker, for comparison
        w.click(*centre(pos))
        w.wait_for(lambda im: back(im, pos) == SELECTED, f"cell {pos} selected")
        w.click(*centre(picker(k)))
        w.wait_for(lambda im: shows_text(im, pos) and back(im, pos) == WHITE, f"{k} entered with the picker")
    def select(pos):
        w.click(*centre(pos))
        w.wait_for(lambda im: back(im, pos) == SELECTED, f"cell {pos} selected")
    for pos, keys, ref, what in ((by_shift, ["shift+1"], ref1, "Shift+1 enters 1"),
                                 (by_ctrl, ["ctrl+1"], ref1, "Ctrl+1 enters 1"),
                                 (by_alt, ["alt+5"], ref5, "Alt+5 enters 5"),
                                 (by_alt, ["KP_Delete"], by_keypad, "keypad Del, Num Lock off, erases"),
                                 (by_keypad, ["KP_5"], ref5, "keypad 5 enters 5")):  # xdotool: Num Lock on
        select(pos)
        w.key(*keys)
        w.wait_for(lambda im: im.block(*pos, S18) == im.block(*ref, S18), what)
    # Delete erases; a digit with no cell selected does nothing.
    select(by_shift)
    w.key("Delete")
    w.wait_for(lambda im: all(p == WHITE for p in im.block(*by_shift, S18)), "Delete erases")
    w.key("7")
    # Esc with nothing assigned only drops the selection.
    c91 = cell(9, 1)
    w.click(*centre(c91))
    w.wait_for(lambda im: back(im, c91) == SELECTED, "cell (9,1) selected")
    w.key("Escape")
    img = w.wait_for(lambda im: back(im, c91) == WHITE, "Esc drops the selection")
    errors = []
    check(errors, not shows_text(img, by_shift) and not shows_text(img, c91),
          "a digit key without a selected cell wrote into the board")
    # Size keys: keypad plus to 20 points (S=36: columns 6, 41, 76, 118, ...), where x=107 lies in
    # column 3 and the gap to column 4 is 112..117; the picker moves to x=342.
    w.key("KP_Add")
    img = w.wait_for(lambda im: im.pixel(107, 20) == WHITE and im.pixel(114, 20) == BG
                     and back(im, picker(1, S20)) == PICKER, "the 20-point layout after keypad +")
    check(errors, shows_text(img, cell(5, 9, S20), S20) and shows_text(img, cell(1, 1, S20), S20),
          "digits did not move with their cells")
    check(errors, img.pixel(edge(4, S20), 20) == BLACK, "column 4 does not start at 118")
    w.key("KP_Subtract")
    w.wait_for(lambda im: im.pixel(107, 20) == BG and back(im, picker(1)) == PICKER, "back at 18 points")
    # The layout's own minus and plus keys, also with Shift: 16, 14, 16 and 18 points.
    for key, size in ((minus, S16), ("shift+" + minus, 26), (plus, S16), ("shift+" + plus, S18)):
        w.key(key)
        w.wait_for(at_size(size), f"cell size {size} after {key} ({layout})")
    if inert:
        w.key(*inert)
    # F3, the menu shortcut, hides the picker and moves the check mark; again shows it.
    w.key("F3")
    img = w.wait_for(lambda im: all(back(im, picker(k)) == BG for k in range(1, 11)), "F3 hides the picker")
    if not (img.pixel(edge(2), 20) == BLACK and img.pixel(edge(2) - 2, 20) == WHITE):
        raise Failure(f"one of {inert} changed the size ({layout})")
    marks = w.menu_marks(OPTIONS, OPTION_ITEMS)
    check(errors, marks == [i in (PICKER_OFF, ESC_NOTHING) for i in range(OPTION_ITEMS)], f"marks after F3: {marks}")
    w.focus()
    w.key("F3")
    w.wait_for(lambda im: all(back(im, picker(k)) == PICKER for k in range(1, 11)), "F3 shows the picker")
    # Held down, keypad plus repeats: one step per auto-repeat. Held for exactly two repeats, so
    # that a single lost one shows: 18 -> 20, 22, 24 points (S=42), and no further.
    x = xs.XClient(s.display)
    try:
        x.hold_key(0xFFAB, 2)  # KP_Add
    finally:
        x.close()
    y = edge(2, 42) + 10  # through the empty cell (2,1)
    first_cell = lambda im: (im.pixel(edge(2, 42), y) == BLACK  # noqa: E731
                             and all(im.pixel(x, y) == WHITE for x in range(8, edge(2, 42) - 1)))
    w.wait_for(first_cell, "24 points after keypad + and two auto-repeats")
    time.sleep(0.3)
    check(errors, first_cell(w.shot()), "the size went on past 24 points")
    finish(errors)


# --- 4. The Esc key's actions -------------------------------------------------------------

def case_esc_close(s):
    proc, w = wait_start(s)
    w.choose(OPTIONS, ESC_CLOSE)
    w.choose(OPTIONS, ESC_CLOSE)  # a second time changes nothing
    marks = w.menu_marks(OPTIONS, OPTION_ITEMS)
    if marks != [i in (PICKER_ON, ESC_CLOSE) for i in range(OPTION_ITEMS)]:
        raise Failure(f"check marks after choosing ESC - Закрыть: {marks}")
    w.focus()
    w.key("Escape")
    status = wait_exit(proc, 3)
    if status != 0:
        raise Failure(f"Esc ended the game with status {status}")


def case_esc_minimise(s):
    proc, w = wait_start(s)
    w.choose(OPTIONS, ESC_MINIMISE)
    marks = w.menu_marks(OPTIONS, OPTION_ITEMS)
    if marks != [i in (PICKER_ON, ESC_MINIMISE) for i in range(OPTION_ITEMS)]:
        raise Failure(f"check marks after choosing ESC - Свернуть: {marks}")
    if s.wine:
        minimise_on_windows(w)
        if proc.poll() is not None:
            raise Failure("the game ended on Esc with ESC - Свернуть")
        return
    x = xs.XClient(s.display)
    try:
        x.watch_root()
        w.focus()
        c = cell(2, 2)
        w.click(*centre(c))
        w.wait_for(lambda im: back(im, c) == SELECTED, "cell (2,2) selected")
        w.key("Escape")
        # Without a window manager the request to iconify (ICCCM WM_CHANGE_STATE, IconicState)
        # is what the window does; the window manager would then unmap it.
        deadline, seen = time.monotonic() + 3, []
        while not any(m == (w.wid, "WM_CHANGE_STATE", 3) for m in seen):
            if time.monotonic() > deadline:
                raise Failure(f"no request to minimise the window; messages seen: {seen}")
            time.sleep(0.03)
            seen += x.root_messages()
    finally:
        x.close()
    hints = s.run(["xprop", "-id", str(w.wid), "WM_HINTS"], capture=True)
    if "Iconic" not in hints:
        raise Failure(f"the window's hints do not ask for the iconic state: {hints.strip()}")
    if w.map_state() == "IsViewable":  # no window manager unmapped it: the selection is visible
        w.wait_for(lambda im: back(im, c) == WHITE, "Esc drops the selection also when minimising")
    if proc.poll() is not None:
        raise Failure("the game ended on Esc with ESC - Свернуть")


# --- 5. Closing while a grid is being built -------------------------------------------------

def status_busy(img):
    return any(is_dark(img.pixel(x, y)) for y in range(312, 332, 2) for x in range(6, 160))


def clues(img, s=S18):
    return [[back(img, cell(r, c, s)) == CLUE for c in range(1, 10)] for r in range(1, 10)]


def case_close_during_build(s):
    """Starts a new game and closes the window (close box, then Esc set to close) as soon as the
    status line shows the build running. The game must end with status 0 within a second either way;
    rounds are repeated a few times to catch a build in progress."""
    hits = {"close box": 0, "Esc": 0}
    for how in ("close box", "Esc"):
        for attempt in range(4):
            proc, w = wait_start(s)
            if how == "Esc":
                w.choose(OPTIONS, ESC_CLOSE)
                w.focus()
            w.open_menu(GAME)
            w.key("Down", "Return")
            building, deadline = False, time.monotonic() + 3
            while time.monotonic() < deadline:
                img = w.shot()
                if status_busy(img):
                    building = True
                    break
                if any(any(row) for row in clues(img)):
                    break
            t0 = time.monotonic()
            if how == "Esc":
                w.key("Escape")
            else:
                x = xs.XClient(s.display)
                x.send_close(w.wid)
                x.close()
            status = wait_exit(proc, 1.0)
            took = time.monotonic() - t0
            print(f"{how}, round {attempt + 1}: {'during' if building else 'after'} the build, "
                  f"ended with {status} after {took * 1000:.0f} ms")
            if status != 0:
                raise Failure(f"closing ({how}) ended the game with status {status}")
            if building:
                hits[how] += 1
                break
    print(f"rounds that closed during a build: {hits}")


# --- 6. New games through the menu -----------------------------------------------------------

def box_counts(grid):
    return [sum(grid[r][c] for r in range(br, br + 3) for c in range(bc, bc + 3))
            for br in (0, 3, 6) for bc in (0, 3, 6)]


def puzzle_shown(allowed, previous=None):
    def ok(img):
        grid = clues(img)
        return (not status_busy(img) and all(n in allowed for n in box_counts(grid)) and grid != previous)
    return ok


def case_new_game(s):
    proc, w = wait_start(s)
    errors = []
    t0 = time.monotonic()
    w.choose(GAME, NEW)
    img = w.wait_for(puzzle_shown({6, 7}), "a puzzle with 6-7 clues in every box", timeout=8)
    print(f"puzzle shown {1000 * (time.monotonic() - t0):.0f} ms after choosing Новая")
    grid = clues(img)
    for r in range(9):
        for c in range(9):
            pos = cell(r + 1, c + 1)
            check(errors, shows_text(img, pos) == grid[r][c], f"cell ({r + 1},{c + 1}): digit shown only on clues")
            check(errors, grid[r][c] or back(img, pos) == WHITE, f"cell ({r + 1},{c + 1}) neither clue nor white")
    # A digit entered into a blank cell; "Удалить введённые цифры" removes it and leaves the clues.
    r, c = next((r, c) for r in range(9) for c in range(9) if not grid[r][c])
    blank = cell(r + 1, c + 1)
    w.click(*centre(blank))
    w.wait_for(lambda im: back(im, blank) == SELECTED, "a blank cell selected")
    w.click(*centre(picker(1)))
    w.wait_for(lambda im: shows_text(im, blank), "a digit entered")
    w.choose(GAME, CLEAR)
    img = w.wait_for(lambda im: not shows_text(im, blank), "the entered digit erased")
    check(errors, clues(img) == grid, "erasing the entries changed the clues")
    # The hardest difficulty: 2-3 clues per box, its check mark alone; "Новая" keeps it.
    w.choose(GAME, HARDEST)
    img = w.wait_for(puzzle_shown({2, 3}, grid), "a puzzle with 2-3 clues in every box", timeout=8)
    marks = w.menu_marks(GAME, GAME_ITEMS)
    check(errors, marks == [i == HARDEST for i in range(GAME_ITEMS)], f"difficulty marks {marks}")
    w.choose(GAME, NEW)
    w.wait_for(puzzle_shown({2, 3}, clues(img)), "a new puzzle at the same difficulty", timeout=8)
    finish(errors)


# --- 7. Start-up that never jams, never dies unexplained ------------------------------------

HELD = []
OTHER_USER = 65534  # nobody: as root, permission bits would not stop the game


def skip(reason):
    print(f"SKIPPED: {reason}")
    raise SystemExit(xs.SKIP)


def as_other_user(s):
    """A wrapper that runs the game as an unprivileged user owning the runtime folder."""
    if os.geteuid() != 0:
        return []
    if not shutil.which("setpriv"):
        skip("as root without setpriv, a file the user may not open cannot be arranged")
    os.chmod(s.tmp, 0o711)
    os.chown(s.runtime, OTHER_USER, OTHER_USER)
    return ["setpriv", f"--reuid={OTHER_USER}", f"--regid={OTHER_USER}", "--clear-groups"]


def in_sandbox():
    sandbox = ["unshare", "--pid", "--fork", "--mount-proc", "--kill-child"]
    if not shutil.which("unshare") or subprocess.run(sandbox + ["true"], stderr=subprocess.DEVNULL).returncode:
        skip("unshare cannot make a PID namespace here (needs root)")
    return sandbox


def lock_setup(s, variant):
    """Prepares one of the places a lock is left or looked for; returns the wrapper, the
    environment and the folder the game must settle on."""
    env, lock = dict(s.env), os.path.join(s.runtime, "sudoku-game.lock")
    shared = os.path.join(s.tmp, "shared")  # a temp folder all users may write
    os.mkdir(shared)
    os.chmod(shared, 0o1777)
    own = f"sudoku-{os.geteuid()}"
    if variant in ("empty", "unreadable", "root_owned"):  # a copy killed at once; sudo -E that died
        prefix = [] if variant == "empty" else as_other_user(s)
        if variant == "root_owned" and not prefix:
            skip("only root can leave a lock file of root's")
        open(lock, "w").close()
        os.chmod(lock, 0o644 if variant == "root_owned" else 0o000 if variant == "unreadable" else 0o600)
        if variant == "unreadable" and prefix:
            os.chown(lock, OTHER_USER, OTHER_USER)
        return prefix, env, s.runtime
    if variant == "sandbox":
        return in_sandbox(), env, s.runtime
    if variant == "nowhere":  # no runtime folder, TMPDIR or home, and /tmp mounted read-only
        in_sandbox()
        for k in ("XDG_RUNTIME_DIR", "TMPDIR", "XDG_CACHE_HOME"):
            env.pop(k, None)
        env["HOME"] = os.path.join(s.tmp, "gone")
        # The game is opened before /tmp is covered, as it may live there; it starts from that descriptor.
        return ["unshare", "--mount", "sh", "-c",
                'exec 3<"$0" && mount -t tmpfs -o ro none /tmp && exec /proc/self/fd/3'], env, None
    if variant == "planted":  # another user made fallback folders under names the game uses or used, locks held
        del env["XDG_RUNTIME_DIR"]
        env["TMPDIR"] = shared
        root = os.geteuid() == 0
        for name in (own, f"runtime-{os.geteuid()}"):
            planted = os.path.join(shared, name)
            os.mkdir(planted)
            os.chmod(planted, 0o700 if root else 0o777)
            held = os.path.join(planted, "sudoku-game.lock")
            open(held, "w").close()
            if root:
                os.chown(held, OTHER_USER, OTHER_USER)
                os.chown(planted, OTHER_USER, OTHER_USER)
            HELD.append(os.open(held, os.O_RDONLY))  # held by this driver until it ends
            fcntl.flock(HELD[-1], fcntl.LOCK_EX)
        return [], env, "/tmp/" + own
    if variant == "runtime_readonly":  # as a user, for whom mode 0500 means read-only
        prefix = as_other_user(s)
        os.chmod(s.runtime, 0o500)
        env["TMPDIR"] = shared
        return prefix, env, os.path.join(shared, f"sudoku-{OTHER_USER if prefix else os.geteuid()}")
    if variant == "runtime_open":  # a runtime folder of ours that others may enter is refused
        os.chmod(s.runtime, 0o755)
        env["TMPDIR"] = shared
        return [], env, os.path.join(shared, own)
    if variant == "no_tmpdir":
        env.update(XDG_RUNTIME_DIR=os.path.join(s.tmp, "gone"), TMPDIR=os.path.join(s.tmp, "gone-too"))
        return [], env, "/tmp/" + own
    if variant == "symlink":  # a link planted under the lock's name is not followed
        os.symlink(os.path.join(s.tmp, "victim"), lock)
        env["TMPDIR"] = shared
        return [], env, os.path.join(shared, own)
    if variant == "runtime_long":  # too long a path for a socket address: the hand-over needs another folder
        env["XDG_RUNTIME_DIR"] = os.path.join(s.tmp, *["r" * 49] * 4)
        os.makedirs(env["XDG_RUNTIME_DIR"], 0o700)
        env["TMPDIR"] = shared
        return [], env, os.path.join(shared, own)
    if variant == "socket_squatted":  # a folder in the socket's place
        os.makedirs(os.path.join(s.runtime, "sudoku-game.sock", "inside"))
        env["TMPDIR"] = shared
        return [], env, os.path.join(shared, own)
    if variant == "tmpdir_file":
        del env["XDG_RUNTIME_DIR"]
        env["TMPDIR"] = lock  # any file
        open(lock, "w").close()
        return [], env, "/tmp/" + own
    raise Failure(f"unknown variant {variant}")


def kill_game(proc):
    """kill -9 to the game, inside a sandbox to its first process."""
    try:
        with open(f"/proc/{proc.pid}/task/{proc.pid}/children") as f:
            children = [int(p) for p in f.read().split()]
    except OSError:
        children = []
    for pid in children + [proc.pid]:
        os.kill(pid, signal.SIGKILL)
    proc.wait()


def case_lock(s, variant):
    """Over a leftover lock, and again after a kill -9, the game starts; a second copy then finds
    the first, hands its launch over and ends with status 0, leaving one window."""
    prefix, env, folder = lock_setup(s, variant)
    if folder is None:  # no place for a lock: the game starts all the same and says so
        first, w = wait_start(s, prefix, env)
        if "нет личной папки" not in s.output(first):
            raise Failure(f"no word on stderr that a second copy goes unnoticed: {s.output(first)!r}")
        return
    x = xs.XClient(s.display)
    x.watch_root()
    for n, round in enumerate(("over what was left", "after a kill -9")):
        first, w = wait_start(s, prefix, env)
        second = s.start_game(prefix, dict(env, DESKTOP_STARTUP_ID=f"sudoku-lock{n}_TIME{n + 1}"))
        status = wait_exit(second, 5)
        if status != 0 or s.game_windows() != [w.wid] or first.poll() is not None:
            raise Failure(f"{round}: the second copy ended with {status}, windows {s.game_windows()}")
        wait_startup_message(s, x, b"remove: ID=sudoku-lock%d_TIME%d" % (n, n + 1))
        if os.path.lexists(os.path.join(s.tmp, "victim")):
            raise Failure(f"{round}: the game followed the link planted under the lock's name")
        note = s.output(first)
        if (folder in note) != (folder != s.runtime) or s.output(second):
            raise Failure(f"{round}: the lock folder should be {folder}; the first copy said {note!r}, "
                          f"the second {s.output(second)!r}")
        kill_game(first)
        deadline = time.monotonic() + 5
        while s.game_windows():
            if time.monotonic() > deadline:
                raise Failure("the killed copy's window stays")
            time.sleep(0.05)


def free_display():
    n = 50
    while os.path.exists(f"/tmp/.X11-unix/X{n}") or os.path.exists(f"/tmp/.X{n}-lock"):
        n += 1
    return f":{n}"


def case_no_display(s):
    """Without a usable display the game says so in one line naming DISPLAY, and ends with
    status 1; a display that never answers, or falls silent after its first answer, holds it a
    few seconds. The next start is not blocked."""
    silent = socket.socket()  # a display that accepts connections and never answers
    for n in range(60, 400):
        try:
            silent.bind(("127.0.0.1", 6000 + n))
            break
        except OSError:
            continue
    silent.listen()
    errors = []
    try:
        for value in (None, free_display(), "garbage!!", f"127.0.0.1:{n}", slow_display(s, 0.0, mute=True)):
            env = {k: v for k, v in s.env.items() if k != "DISPLAY"}
            if value:
                env["DISPLAY"] = value
            t0 = time.monotonic()
            try:
                r = subprocess.run([s.exe], env=env, capture_output=True, timeout=10)
            except subprocess.TimeoutExpired:
                errors.append(f"DISPLAY={value!r}: the game still runs 10 s later")
                continue
            lines, took = r.stderr.decode(errors="replace").strip().splitlines(), time.monotonic() - t0
            print(f"DISPLAY={value!r}: status {r.returncode} after {1000 * took:.0f} ms, {lines}")
            check(errors, r.returncode == 1 and took < 4.5, f"DISPLAY={value!r}: status {r.returncode} after {took:.1f} s")
            check(errors, len(lines) == 1 and "DISPLAY" in lines[0] and (value or "") in lines[0],
                  f"DISPLAY={value!r}: not one line naming the variable: {lines}")
    finally:
        silent.close()
    # Another platform than X11 needs no display; what the toolkit says while it starts is passed on.
    env = {k: v for k, v in s.env.items() if k != "DISPLAY"}
    offscreen = s.start_game(env=dict(env, QT_QPA_PLATFORM="offscreen", QT_STYLE_OVERRIDE="no-such-style"))
    time.sleep(1)
    check(errors, offscreen.poll() is None, f"offscreen without DISPLAY ended with {offscreen.returncode}")
    check(errors, "no-such-style" in s.output(offscreen), f"the toolkit's warning was lost: {s.output(offscreen)!r}")
    offscreen.kill()
    offscreen.wait()
    finish(errors)
    wait_start(s)


def case_small_screen(s):
    """At twice the scale the window is larger than the 640x480 screen: it opens at the screen's
    top-left corner, title and menu bar within reach."""
    s.start_game(env=dict(s.env, QT_SCALE_FACTOR="2"))
    seen, deadline = [], time.monotonic() + 10
    while len(seen) < 4 or len(set(seen[-4:])) > 1:  # until the position settles
        if time.monotonic() > deadline:
            raise Failure(f"the window did not appear or settle: {seen}")
        time.sleep(0.1)
        found = s.game_windows()
        if found:
            seen.append(window_origin(s, found[0]))
    if seen[-1] != (0, 0):
        raise Failure(f"window at {seen[-1]} on a {s.screen[0]}x{s.screen[1]} screen")


def case_no_locale(s):
    """With no locale at all, the legacy title property carries the title too."""
    env = {k: v for k, v in s.env.items() if not k.startswith(("LANG", "LC_"))}
    proc = s.start_game(env=env)
    deadline = time.monotonic() + 10
    while not (found := s.run(["xdotool", "search", "--onlyvisible", "--class", "sudoku"], capture=True, check=False)):
        if proc.poll() is not None or time.monotonic() > deadline:
            raise Failure("no window")
        time.sleep(0.05)
    r = subprocess.run(["xprop", "-id", found.split()[0], "WM_NAME"], env=dict(s.env, LANG="C.UTF-8"),
                       capture_output=True, timeout=10)
    out = r.stdout.decode(errors="replace").strip()
    if not out.endswith(f'= "{xs.TITLE}"'):
        raise Failure(f"legacy title: {out}")


def case_bring_to_front(s, variant=None):
    """Launched again while a minimised copy runs: the running window comes back and takes the
    focus, and the launcher's startup notification is completed. With "after_kill", the running
    copy started over the socket file a copy killed with kill -9 left behind."""
    if variant == "after_kill":
        killed, w = wait_start(s)
        kill_game(killed)
        if "sudoku-game.sock" not in os.listdir(s.runtime):
            raise Failure(f"the killed copy left no socket file: {os.listdir(s.runtime)}")
    first, w = wait_start(s)
    w.choose(OPTIONS, ESC_MINIMISE)
    w.focus()
    w.key("Escape")
    s.run(["xdotool", "windowunmap", "--sync", str(w.wid)])  # what a window manager does on the request
    x = xs.XClient(s.display)
    try:
        x.watch_root()
        second = s.start_game(env=dict(s.env, DESKTOP_STARTUP_ID="sudoku-test_TIME0"))
        if wait_exit(second, 5) != 0 or s.output(second):
            raise Failure(f"the second copy ended with {second.returncode}: {s.output(second)!r}")
        deadline = time.monotonic() + 5
        while True:
            x.root_messages()
            focus = s.run(["xdotool", "getwindowfocus"], capture=True, check=False).strip()
            state = (w.map_state(), focus == str(w.wid), x.startup_info.split(b"\0")[0])
            if state == ("IsViewable", True, b"remove: ID=sudoku-test_TIME0"):
                break
            if time.monotonic() > deadline:
                raise Failure(f"(map state, focused, startup message) is {state}")
            time.sleep(0.05)
    finally:
        x.close()


def case_menu_keys(s):
    """F10 or a tap of Alt opens Игра, the arrows move, Enter chooses, and Esc leaves the menu
    without reaching the game."""
    proc, w = wait_start(s)
    w.focus()
    w.key("F10")
    w.wait_popup(True)
    w.key("Right", "Up", "Up", "Up", "Return")  # to Разное, then up from its end to ESC - Закрыть
    w.wait_popup(False)
    marks = w.menu_marks(OPTIONS, OPTION_ITEMS)
    if marks != [i in (PICKER_ON, ESC_CLOSE) for i in range(OPTION_ITEMS)]:
        raise Failure(f"check marks after F10, Right, Up x3, Enter: {marks}")
    w.focus()
    w.key("alt")
    popup = w.wait_popup(True)
    if window_origin(s, popup)[0] - window_origin(s, w.wid)[0] > 20:
        raise Failure("a tap of Alt opened another menu than Игра")
    w.key("Escape")
    w.wait_popup(False)
    time.sleep(0.3)
    if proc.poll() is not None:
        raise Failure("Esc in the menu reached the game and closed it")
    w.click(*centre(cell(5, 5)))
    w.key("Escape")
    if wait_exit(proc, 3) != 0:
        raise Failure(f"Esc on the board ended the game with {proc.returncode}")


# --- 8. Clicks, scaling, and a game that cannot start or a first copy that hangs ----------------

def case_press_slide_off(s):
    """A click is a press and a release on the same label: a press that slides off to another
    cell (or out of the window) and is released there chooses nothing; sliding back before the
    release still clicks."""
    proc, w = wait_start(s)
    a, b, p3 = cell(2, 2), cell(2, 3), picker(3)

    def press(pos):
        w.move(*centre(pos))
        s.run(["xdotool", "mousedown", "1"])

    def release_at(x, y):
        w.move(x, y)
        s.run(["xdotool", "mouseup", "1"])

    press(a)
    time.sleep(0.3)
    img = w.shot()
    errors = []
    check(errors, back(img, a) == WHITE, "a press alone selected the cell")
    release_at(*centre(b))
    press(p3)
    release_at(-30, 100)  # outside the window
    time.sleep(0.5)
    img = w.shot()
    check(errors, back(img, a) == WHITE and back(img, b) == WHITE, "a press that slid to another cell selected one")
    check(errors, back(img, p3) == PICKER, "a press that slid out of the window chose the picker entry")
    press(a)
    w.move(*centre(b))
    release_at(*centre(a))
    w.wait_for(lambda im: back(im, a) == SELECTED and back(im, b) == WHITE, "sliding back before the release clicks")
    finish(errors)


def set_wine_dpi(s, dpi):
    """The screen DPI of wine programs started from now on; None restores the default 96."""
    key = r"HKCU\Control Panel\Desktop"
    if dpi:
        s.run(["wine", "reg", "add", key, "/v", "LogPixels", "/t", "REG_DWORD", "/d", str(dpi), "/f"], timeout=60)
    else:
        s.run(["wine", "reg", "delete", key, "/v", "LogPixels", "/f"], check=False, timeout=60)


def case_high_dpi(s, windows="10"):
    """At 192 DPI (200 %) everything is twice as large: client area, cells, gaps, borders, digits,
    and clicks land in the doubled cells; also where Windows lacks the newer DPI functions
    (the test build pretends to be Windows 8.1 or 7). On 8.1 the screen's DPI is the monitor's,
    which the test build reports as 192 while the system's stays 96."""
    if not s.wine:
        skip("the DPI is Windows' setting")
    set_wine_dpi(s, None if windows == "8.1" else 192)
    try:
        proc, w = s.launch(env=dict(s.env, SUDOKU_AS_WINDOWS=windows))
    finally:
        set_wine_dpi(s, None)

    def at2(pos):
        return 2 * pos[0], 2 * pos[1]
    img = w.wait_for(lambda im: back(im, at2(picker(10))) == PICKER and back(im, at2(cell(9, 9))) == WHITE,
                     "the start screen, doubled")
    errors = []
    check(errors, w.client_size == (778, 664), f"client area {w.client_size}, not 778x664")
    for r in range(1, 10):
        for c in range(1, 10):
            x, y = at2(cell(r, c))
            check(errors, all(p == WHITE for p in img.block(x, y, 2 * S18, inset=2)), f"cell ({r},{c}) inside")
            check(errors, [img.pixel(x + i, y + S18) for i in range(3)] == [BLACK, BLACK, WHITE],
                  f"cell ({r},{c}): no border two pixels wide")
    check(errors, all(img.pixel(t, 40) == BG for t in range(206, 218)), "the gap between boxes is not 12 pixels")
    for k in range(1, 10):
        pos = at2(picker(k))
        check(errors, back(img, pos) == PICKER, f"picker {k} colour")
        rows = [y for y in range(2, 64) if any(is_dark(img.pixel(pos[0] + x, pos[1] + y)) for x in range(2, 64))]
        check(errors, rows and 26 <= rows[-1] - rows[0] <= 36, f"picker {k}: digit height {rows and rows[-1] - rows[0]}")
        check(errors, abs(ink_centre(img, pos, 2 * S18, 2) - (2 * S18 - 1) / 2) <= 2, f"picker {k}: digit not centred")
    finish(errors)
    target = at2(cell(5, 5))
    w.click(target[0] + S18, target[1] + S18)
    w.wait_for(lambda im: back(im, target) == SELECTED, "a click selects the doubled cell (5,5)")


SIZES = (15, 16, 18, 21, 22, 26, 29, 33, 36, 39, 42, 46, 49, 63, 83, 122)  # cell size at each of the 16 font sizes


def line_runs(scale, s, width):
    """Where the vertical lines of the board's first row and of the picker stand, in device pixels,
    from the game's rule: every edge scaled and rounded half up, each frame the whole device
    pixels of one game pixel; of two neighbours the right one's left line shows."""
    def dev(v):
        return int(v * scale + 0.5)
    fw = max(1, int(scale))
    runs = []
    for box in range(3):
        first = 3 * box + 1
        runs += [(dev(edge(k, s)), fw) for k in (first, first + 1, first + 2)]
        runs.append((dev(edge(first + 2, s) + s) - fw, fw))
    for x in (9 * s + 18, 10 * s + 19):
        runs += [(dev(x), fw), (dev(x + s) - fw, fw)]
    return [(x, min(n, width - x)) for x, n in runs if x < width]


def black_runs(img, y, width):
    runs, start = [], None
    for x in range(width + 1):
        dark = x < width and img.pixel(x, y) == BLACK
        if dark and start is None:
            start = x
        if not dark and start is not None:
            runs.append((start, x - start))
            start = None
    return runs


def clicks_at_scale(w, scale):
    """At 18 points and a display scale, clicks land on the label under the pointer: a cell, a
    picker entry, and the gaps right of and below a box (the window, which selects nothing).
    Checked on the whole board and picker after each click."""
    def dev(v):
        return int(v * scale + 0.5)

    def span(a):  # a label's edges and middle in device pixels
        return dev(a), dev(a + S18), (dev(a) + dev(a + S18)) // 2
    size = dev(S18) - 1

    def seen(img):
        """(selected cells, cells showing a digit, chosen picker entries)"""
        cells = [(r, c) for r in range(1, 10) for c in range(1, 10)]
        at = {rc: (dev(edge(rc[1])), dev(edge(rc[0]))) for rc in cells}
        chosen = {k for k in range(1, 11) if back(img, tuple(map(dev, picker(k)))) == PICKER_CHOSEN}
        return ({rc for rc in cells if back(img, at[rc]) == SELECTED},
                {rc for rc in cells if any(is_dark(p) for p in img.block(*at[rc], size, inset=4))}, chosen)

    def click(x, y, want, what):
        w.click(x, y)
        try:
            w.wait_for(lambda im: seen(im) == want, what)
        except Failure:
            raise Failure(f"scale {scale}: after a click at ({x},{y}) for {what}: selected, digits, "
                          f"chosen {seen(w.last)}, not {want}") from None

    mid5 = span(edge(5))[2]  # the middle of row or column 5
    click(mid5, mid5, ({(5, 5)}, set(), set()), "cell (5,5) selected")
    digit = {(5, 5)}
    click(span(picker(5)[0])[2], span(picker(5)[1])[2], (set(), digit, set()), "a digit from picker 5 in cell (5,5)")
    gap = (span(edge(3))[1] + dev(edge(4))) // 2  # the middle: the toolkit hands over whole logical pixels
    click(gap, mid5, (set(), digit, set()), "the gap right of a box: nothing")
    click(mid5, gap, (set(), digit, set()), "the gap below a box: nothing")
    # Had a gap selected a cell, the picker would now write into it, not choose its digit.
    click(span(picker(7)[0])[2], span(picker(7)[1])[2], (set(), digit, {7}), "picker 7 chosen")


def case_scale_lines(s, factor):
    """At a display scale (Qt's scale factor; wine's DPI), every grid and picker line of the first
    row shows at all sixteen sizes, each as wide as the scale's whole pixels, and none is lost;
    on Linux, clicks land where they are aimed."""
    scale = float(factor)
    env = dict(s.env, QT_SCALE_FACTOR=factor)
    if s.wine:
        set_wine_dpi(s, round(96 * scale))
    try:
        proc, w = s.launch(env=env)
    finally:
        if s.wine:
            set_wine_dpi(s, None)
    width = w.client_size[0]
    y = int(6 * scale + 0.5) + max(1, int(scale)) + 1
    w.wait_for(lambda im: black_runs(im, y, width) == line_runs(scale, S18, width), f"the lines at 18 points")
    if not s.wine:
        clicks_at_scale(w, scale)
    w.focus()
    errors = []
    for i, size in enumerate(SIZES):
        if i == 0:
            w.key(*["minus"] * 7)
        else:
            w.key("equal")
        want = line_runs(scale, size, width)
        try:
            w.wait_for(lambda im: black_runs(im, y, width) == want, f"cell size {size}", timeout=3)
        except Failure:
            errors.append(f"cell size {size}: lines {black_runs(w.last, y, width)}, not {want}")
    finish(errors)


def error_icon_shown(img):
    """Windows' error icon, a red disc, among the pixels."""
    red = sum(1 for i in range(0, len(img.data), 3) if img.data[i] > 160 and img.data[i + 1] < 90 and img.data[i + 2] < 90)
    return red >= 100


def case_no_window_class(s):
    """When Windows refuses the window class, a message box with the error icon says so and the
    game ends with status 1, releasing its mutex: the next start opens its window."""
    if not s.wine:
        skip("Windows only")
    proc = s.start_game(env=dict(s.env, SUDOKU_CLASS_TAKEN="1"))
    deadline = time.monotonic() + 10
    while not (found := s.game_windows()):
        if proc.poll() is not None or time.monotonic() > deadline:
            raise Failure(f"no message box; the game ended with {proc.poll()}")
        time.sleep(0.05)
    box = found[0]
    if xs.GameWindow(s, box).size()[0] > 389:
        raise Failure(f"a window of {xs.GameWindow(s, box).size()} instead of a message box")
    while not error_icon_shown(img := s.shoot(box, 0)):
        if time.monotonic() > deadline:
            img.save_png(os.path.join(s.outdir, f"{s.name}-message.png"))
            raise Failure("the message box shows no error icon")
        time.sleep(0.05)
    second = s.start_game()  # the mutex is free while the message shows
    while not (others := [wid for wid in s.game_windows() if wid != box]):
        if second.poll() is not None or time.monotonic() > deadline:
            raise Failure(f"the next start showed no window; it ended with {second.poll()}")
        time.sleep(0.05)
    w = xs.GameWindow(s, others[0])
    s.windows.append(w)
    w.find_client_top()
    second.kill()
    second.wait()
    x = xs.XClient(s.display)
    x.send_close(box)  # the message box's close box
    x.close()
    status = wait_exit(proc, 5)
    if status != 1:
        raise Failure(f"the game ended with status {status}, not 1")


def case_frozen_first(s):
    """A second copy ends within a second while the first is minimised and stopped (kill -STOP):
    it asks for the restore without waiting; the first comes back once it runs again."""
    if not s.wine:
        skip("the Linux build has its own case (bring_to_front)")
    first, w = wait_start(s)
    full = w.size()
    w.choose(OPTIONS, ESC_MINIMISE)
    minimise_on_windows(w)
    os.kill(first.pid, signal.SIGSTOP)
    try:
        t0 = time.monotonic()
        second = s.start_game()
        status = wait_exit(second, 3)
        took = time.monotonic() - t0
        print(f"second copy ended with {status} after {took * 1000:.0f} ms")
        if status != 0 or took > 1.5:  # wine's own start takes some of it
            raise Failure(f"the second copy ended with {status} after {took:.2f} s")
    finally:
        os.kill(first.pid, signal.SIGCONT)
    deadline = time.monotonic() + 5
    while w.size() != full:
        if time.monotonic() > deadline:
            raise Failure(f"the first copy was not restored after it woke: size {w.size()}, not {full}")
        time.sleep(0.05)

def case_abandoned_mutex(s):
    """The first copy killed while another program keeps its mutex open: the mutex is left
    abandoned, and the next start takes it and opens its window."""
    if not s.wine:
        skip("Windows only")
    first, w = wait_start(s)
    holder = s.start_game(env=dict(s.env, SUDOKU_HOLD_MUTEX="1"))
    time.sleep(1.0)
    if holder.poll() is not None:
        raise Failure(f"the helper could not open the mutex ({holder.returncode})")
    first.send_signal(signal.SIGKILL)
    first.wait()
    second, w2 = wait_start(s)
    status = wait_exit(s.start_game(), 5)
    if status != 0 or second.poll() is not None:
        raise Failure(f"after the abandoned mutex: a further copy ended with {status}")

def keypad_table():
    """Rows of tests/KeypadKeys.def: (key, X keysym with Num Lock on, with it off, what each enters)."""
    path = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "KeypadKeys.def")
    rows = []
    for line in open(path, encoding="utf-8"):
        if line.startswith("KEYPAD_KEY("):
            f = [v.strip().strip('"') for v in line[len("KEYPAD_KEY("):line.rindex(")")].split(",")]
            rows.append((f[0], f[2], f[5], int(f[10]), int(f[11])))
    return rows


def case_keypad(s):
    """The keypad as on Windows: with Num Lock on its keys enter digits (Del, the decimal point,
    nothing); with it off they are navigation keys that leave the selected cell alone, and Del
    erases. The X server starts with Num Lock off; xdotool sets it for a keypad digit."""
    proc, w = wait_start(s)
    w.focus()
    rows = keypad_table()
    target, ref = cell(1, 1), cell(5, 5)  # apart: the same digit in both is no conflict
    w.click(*centre(target))
    w.wait_for(lambda im: back(im, target) == SELECTED, "cell (1,1) selected")
    errors = []
    for key, sym_on, sym_off, on, off in rows:
        if off < 0:  # the selection stays: nothing was entered
            w.key(sym_off)
            time.sleep(0.15)
            img = w.wait_for(lambda im: back(im, target) in (SELECTED, WHITE), "a steady board")
            check(errors, back(img, target) == SELECTED and not shows_text(img, target),
                  f"keypad {key} with Num Lock off ({sym_off}) wrote into the cell")
    # Del with Num Lock off erases (first: xdotool may leave Num Lock on after a keypad digit).
    w.click(*centre(ref))
    w.wait_for(lambda im: back(im, ref) == SELECTED, "cell (5,5) selected")
    w.click(*centre(picker(9)))
    w.click(*centre(target))
    w.wait_for(lambda im: back(im, target) == SELECTED, "cell (1,1) selected")
    w.click(*centre(picker(9)))
    w.wait_for(lambda im: shows_text(im, target), "9 in cell (1,1)")
    for key, sym_on, sym_off, on, off in rows:
        if off == 0:
            w.click(*centre(target))
            w.wait_for(lambda im: back(im, target) == SELECTED, "cell (1,1) selected")
            w.key(sym_off)
            try:
                w.wait_for(lambda im: back(im, target) == WHITE and not shows_text(im, target),
                           f"keypad {key} with Num Lock off erases", timeout=2)
            except Failure as e:
                errors.append(str(e))
    for key, sym_on, sym_off, on, off in rows:
        if on > 0:  # the digit, entered with the picker elsewhere for comparison
            w.click(*centre(ref))
            w.wait_for(lambda im: back(im, ref) == SELECTED, "cell (5,5) selected")
            w.click(*centre(picker(on)))
            w.click(*centre(target))
            w.wait_for(lambda im: back(im, target) == SELECTED, "cell (1,1) selected")
            w.key(sym_on)
            try:
                w.wait_for(lambda im: back(im, target) == WHITE and im.block(*target, S18) == im.block(*ref, S18),
                           f"keypad {key} with Num Lock on enters {on}", timeout=2)
            except Failure as e:
                errors.append(str(e))
    finish(errors)


# --- 9. Launches handed over on any platform, at any moment --------------------------------

def wait_locked(s, proc, timeout=10.0):
    """Waits until the game holds the lock in its runtime folder (as /proc/locks shows)."""
    path, deadline = os.path.join(s.runtime, "sudoku-game.lock"), time.monotonic() + timeout
    while True:
        if os.path.exists(path):
            inode = ":%d " % os.stat(path).st_ino
            with open("/proc/locks") as f:
                if any("FLOCK" in line and inode in line for line in f):
                    return
        if proc.poll() is not None:
            raise Failure(f"the game ended with {proc.returncode} before taking the lock")
        if time.monotonic() > deadline:
            raise Failure("the game never took the lock")
        time.sleep(0.001)


def wait_startup_message(s, x, wanted, timeout=5.0):
    """Waits for a complete startup-notification message (with its closing NUL)."""
    deadline = time.monotonic() + timeout
    while wanted + b"\0" not in x.startup_info:
        x.root_messages()
        if time.monotonic() > deadline:
            raise Failure(f"no startup message {wanted!r}; received {x.startup_info!r}")
        time.sleep(0.03)


def case_offscreen_launch(s):
    """On a platform without X a launch with a startup id, and keys, leave the running copy alone."""
    env = dict({k: v for k, v in s.env.items() if k != "DISPLAY"}, QT_QPA_PLATFORM="offscreen")
    first = s.start_game(env=env)
    wait_locked(s, first)
    time.sleep(1)  # its window is up
    second = s.start_game(env=dict(env, DESKTOP_STARTUP_ID="sudoku-test_TIME7"))
    status = wait_exit(second, 5)
    time.sleep(1)
    if status != 0 or first.poll() is not None:
        raise Failure(f"the second copy ended with {status}; the running copy "
                      + (f"ended with {first.returncode}" if first.poll() is not None else "runs"))


def slow_display(s, delay, latency=0.0, mute=False):
    """A TCP display that forwards to the session's X server, each connection after a delay (a
    game started on it holds its lock that long before its window exists), and each chunk of data
    latency seconds after it came, either way, as over a distant network; a mute one passes on
    the server's first answer alone. Returns its name."""
    listener = socket.socket()
    listener.bind(("127.0.0.1", 0))
    listener.listen()
    path = "/tmp/.X11-unix/X" + s.display.lstrip(":")

    def pump(a, b, first_only=False):
        chunks = queue.Queue()

        def deliver():
            try:
                while (item := chunks.get())[1]:
                    time.sleep(max(0.0, item[0] - time.monotonic()))
                    b.sendall(item[1])
            except OSError:
                pass
            finally:
                b.close()  # noqa: B012
        threading.Thread(target=deliver, daemon=True).start()
        try:
            passed = False
            while data := a.recv(65536):
                if not (first_only and passed):
                    chunks.put((time.monotonic() + latency, data))
                passed = True
        except OSError:
            pass
        finally:
            chunks.put((0, b""))

    def serve():
        while True:
            try:
                client, _ = listener.accept()
            except OSError:
                return
            time.sleep(delay)
            server = socket.socket(socket.AF_UNIX)
            server.connect(path)
            threading.Thread(target=pump, args=(client, server), daemon=True).start()
            threading.Thread(target=pump, args=(server, client, mute), daemon=True).start()

    threading.Thread(target=serve, daemon=True).start()
    return "127.0.0.1:%d" % (listener.getsockname()[1] - 6000)


def case_early_launch(s):
    """A launch while the running copy is still starting (its display answers only after a second)
    is not lost: it ends at once, and its startup notification is completed when the window is there."""
    x = xs.XClient(s.display)
    try:
        x.watch_root()
        first = s.start_game(env=dict(s.env, DISPLAY=slow_display(s, 1.0)))
        wait_locked(s, first)
        second = s.start_game(env=dict(s.env, DESKTOP_STARTUP_ID="sudoku-early_TIME2"))
        status = wait_exit(second, 5)
        if status != 0 or s.output(second):
            raise Failure(f"the early launch ended with {status}: {s.output(second)!r}")
        if s.game_windows():
            raise Failure("the first copy's window was there before the early launch ended")
        wait_startup_message(s, x, b"remove: ID=sudoku-early_TIME2")
        if len(s.game_windows()) != 1 or first.poll() is not None:
            raise Failure(f"windows: {s.game_windows()}, first copy: {first.poll()}")
    finally:
        x.close()


def fill_queue(sock):
    """Sends launches without an id to the socket until its queue is full."""
    with socket.socket(socket.AF_UNIX, socket.SOCK_DGRAM) as c:
        c.setblocking(False)
        try:
            while True:
                c.sendto(b"DESKTOP_STARTUP_ID=\nXDG_ACTIVATION_TOKEN=", sock)
        except BlockingIOError:
            pass


def wait_sleeping(proc, timeout=5.0):
    """Waits until the process sleeps between two tries (or has ended): in a nanosleep, or where
    the kernel does not tell where it waits, asleep at all."""
    deadline = time.monotonic() + timeout
    while proc.poll() is None and time.monotonic() < deadline:
        try:
            with open(f"/proc/{proc.pid}/wchan") as f:
                where = f.read().strip()
            with open(f"/proc/{proc.pid}/stat") as f:
                state = f.read().rsplit(")", 1)[1].split()[0]
            if "nanosleep" in where or (where in ("", "0") and state == "S"):
                return
        except OSError:
            pass
        time.sleep(0.002)


def case_distant_display(s):
    """A display 60 ms away that answers all along is no display that never answers: the window
    comes, however long the start takes."""
    t0 = time.monotonic()
    # As from another host, no memory is shared with the display.
    env = dict(s.env, DISPLAY=slow_display(s, 0.0, 0.03), QT_XCB_NO_MITSHM="1")
    proc, w = wait_start(s, env=env, timeout=30)
    print(f"window on a display 60 ms away after {time.monotonic() - t0:.1f} s")


def case_launch_ids(s):
    """What later launches hand over: the window is activated with the launch's time, an id of a
    length where the closing NUL needs a message of its own is completed with it, malformed ids
    are dropped, and a flood of launches raises the window a few times, not once each."""
    first, w = wait_start(s)
    sock = os.path.join(s.runtime, "sudoku-game.sock")
    x = xs.XClient(s.display)
    try:
        x.watch_root()
        exact = "sudoku-" + "x" * 13 + "_TIME4242"  # "remove: ID=" and this fill two messages exactly
        status = wait_exit(s.start_game(env=dict(s.env, DESKTOP_STARTUP_ID=exact)), 5)
        if status != 0:
            raise Failure(f"the launch ended with {status}")
        wait_startup_message(s, x, b"remove: ID=" + exact.encode())
        deadline = time.monotonic() + 3
        while (w.wid, 1, 4242) not in x.activations:
            if time.monotonic() > deadline:
                raise Failure(f"no request to activate with the launch's time 4242: {x.activations}")
            x.root_messages()
            time.sleep(0.03)
        # Malformed ids, sent straight to the socket: a NUL, a line break, too long.
        with socket.socket(socket.AF_UNIX, socket.SOCK_DGRAM) as c:
            for bad in (b"sudoku-a\0NAME=evil", b"sudoku-b\rNAME=evil", b"sudoku-c" + b"y" * 300):
                c.sendto(b"DESKTOP_STARTUP_ID=" + bad + b"\nXDG_ACTIVATION_TOKEN=", sock)
            time.sleep(0.5)
            x.root_messages()
            for tag in (b"sudoku-a", b"sudoku-b", b"sudoku-c"):
                if tag in x.startup_info:
                    raise Failure(f"a malformed id reached the desktop: {x.startup_info!r}")
            # A flood: 300 launches at once, then the window is raised a few times at most, with the
            # newest launch's time, and the newest launch is completed.
            before = len(x.activations)
            t0 = time.monotonic()
            for i in range(300):
                while True:
                    try:
                        c.sendto(b"DESKTOP_STARTUP_ID=flood-%d_TIME%d\nXDG_ACTIVATION_TOKEN=" % (i, 5000 + i), sock)
                        break
                    except BlockingIOError:
                        time.sleep(0.001)
        took = time.monotonic() - t0
        wait_startup_message(s, x, b"remove: ID=flood-299_TIME5299")
        time.sleep(0.3)
        x.root_messages()
        raises = [a for a in x.activations[before:] if a[0] == w.wid]
        print(f"300 launches in {took * 1000:.0f} ms: {len(raises)} raises")
        if not raises or raises[-1][2] != 5299 or len(raises) > 3 + took / 0.1:
            raise Failure(f"raises after the flood: {raises}")
        # The running copy stopped with its queue full: a launch tries again while it waits, and is
        # handed over once the copy runs again; one that finds it still stopped says why on ending.
        for resume in (True, False):
            os.kill(first.pid, signal.SIGSTOP)
            try:
                fill_queue(sock)
                late = s.start_game(env=dict(s.env, DESKTOP_STARTUP_ID=f"sudoku-queued-{resume}_TIME6000"))
                wait_sleeping(late)
                if resume:
                    os.kill(first.pid, signal.SIGCONT)
                status = wait_exit(late, 5)
            finally:
                os.kill(first.pid, signal.SIGCONT)
            said = s.output(late)
            if status != 0 or bool(said) == resume or (said and "sudoku-game.sock" not in said):
                raise Failure(f"a launch over a full queue ended with {status}: {said!r}")
            if resume:
                wait_startup_message(s, x, b"remove: ID=sudoku-queued-True_TIME6000")
    finally:
        x.close()
    if first.poll() is not None:
        raise Failure(f"the running copy ended with {first.returncode}")


def case_wayland(s):
    """On a Wayland compositor (weston, headless) the window appears with its title, and a second
    launch ends at once; with the compositor gone and no X display, one line and status 1; with
    a dead compositor and a slow X display, the window on that display."""
    if not shutil.which("weston"):
        skip("weston is not installed (scripts/setup.sh installs it)")
    log = os.path.join(s.tmp, "weston.log")
    env = {k: v for k, v in s.env.items() if k not in ("DISPLAY", "QT_QPA_PLATFORM")}
    env["WAYLAND_DISPLAY"] = "wayland-sudoku"
    weston = s.start(["weston", "--backend=headless-backend.so", "--socket=wayland-sudoku", "--idle-time=0",
                      "--debug", "--logger-scopes=log,proto", f"--log={log}"], env)
    deadline = time.monotonic() + 10
    while not os.path.exists(os.path.join(s.runtime, "wayland-sudoku")):
        if weston.poll() is not None or time.monotonic() > deadline:
            raise Failure(f"weston did not start: {s.output(weston)!r}")
        time.sleep(0.05)

    def requests():
        with open(log, errors="replace") as f:
            return [line for line in f if "][proto] client" in line and " rq " in line]

    first = s.start_game(env=env)
    deadline = time.monotonic() + 10
    while True:  # titled, configured and given a buffer: the window is on the screen
        lines = requests()
        titled = [line.split("] client ")[1].split()[0] for line in lines if f'.set_title("{xs.TITLE}")' in line]
        ours = [line for line in lines if titled and f"] client {titled[0]} " in line]
        if any("ack_configure" in line for line in ours) and any(".attach(wl_buffer" in line for line in ours):
            break
        if first.poll() is not None or time.monotonic() > deadline:
            raise Failure(f"no titled window on the compositor (game: {first.poll()}, {s.output(first)!r})")
        time.sleep(0.05)
    status = wait_exit(s.start_game(env=env), 5)
    if status != 0 or first.poll() is not None:
        raise Failure(f"the second launch ended with {status}; the first " + ("ended" if first.poll() is not None else "runs"))
    first.kill()
    first.wait()
    weston.terminate()
    weston.wait(5)
    r = subprocess.run([s.exe], env=env, capture_output=True, timeout=10)
    lines = r.stderr.decode(errors="replace").strip().splitlines()
    if r.returncode != 1 or len(lines) != 1 or "wayland-sudoku" not in lines[0] or "DISPLAY" not in lines[0]:
        raise Failure(f"compositor gone: status {r.returncode}, {lines}")
    # A dead compositor's socket (it refuses) and an X display 60 ms away: the toolkit turns to
    # X, and the slow display is waited for as on X alone, past the patience for a silent one.
    sock = os.path.join(s.runtime, env["WAYLAND_DISPLAY"])
    if not os.path.exists(sock):
        with socket.socket(socket.AF_UNIX) as dead:
            dead.bind(sock)
    t0 = time.monotonic()
    proc = s.start_game(env=dict(env, DISPLAY=slow_display(s, 0.0, 0.03), QT_XCB_NO_MITSHM="1"))
    try:
        s.wait_window(proc, 30)
    except Failure as e:
        raise Failure(f"after a dead compositor, on a slow X display: {e}: {s.output(proc).strip()!r}") from None
    took = time.monotonic() - t0
    print(f"window on the slow display after the dead compositor, after {took:.1f} s")
    if took < 3.5:  # the patience for a silent display is 3 s
        raise Failure(f"the slow display took {took:.1f} s: too fast to tell waiting from giving up")


def case_screen_reader(s, client):
    """A screen reader's client through MSAA (tests/wine/access_client.cpp) reads the board's
    items and plays a move with their default actions, a key and a new game. Then, at 144 DPI,
    the client checks the cells' places alone."""
    proc, w = wait_start(s)
    r = subprocess.run(["wine", client], env=s.env, capture_output=True, timeout=60)
    out = r.stdout.decode(errors="replace").strip()
    print(out)
    errors = [] if r.returncode == 0 else [f"the client ended with status {r.returncode}: {out[-2000:]}"]
    img = w.wait_for(lambda im: back(im, picker(5)) == PICKER, "«5» shown unchosen")
    # At 144 DPI the cells' places are their own pixels still.
    proc.kill()
    proc.wait()
    set_wine_dpi(s, 144)
    try:
        proc, w = s.launch()
    finally:
        set_wine_dpi(s, None)
    r = subprocess.run(["wine", client, "places"], env=s.env, capture_output=True, timeout=60)
    out = r.stdout.decode(errors="replace").strip()
    print("at 144 DPI:", out)
    check(errors, r.returncode == 0, f"at 144 DPI the client ended with status {r.returncode}: {out[-2000:]}")
    finish(errors)


CASES = {
    "window_layout": case_window_layout,
    "single_instance": case_single_instance,
    "mouse_play": case_mouse_play,
    "keyboard": case_keyboard,
    "esc_close": case_esc_close,
    "esc_minimise": case_esc_minimise,
    "close_during_build": case_close_during_build,
    "new_game": case_new_game,
    "lock": case_lock,
    "no_display": case_no_display,
    "small_screen": case_small_screen,
    "no_locale": case_no_locale,
    "bring_to_front": case_bring_to_front,
    "menu_keys": case_menu_keys,
    "press_slide_off": case_press_slide_off,
    "high_dpi": case_high_dpi,
    "no_window_class": case_no_window_class,
    "frozen_first": case_frozen_first,
    "abandoned_mutex": case_abandoned_mutex,
    "keypad": case_keypad,
    "offscreen_launch": case_offscreen_launch,
    "early_launch": case_early_launch,
    "launch_ids": case_launch_ids,
    "distant_display": case_distant_display,
    "wayland": case_wayland,
    "scale_lines": case_scale_lines,
    "screen_reader": case_screen_reader,
}
SCREENS = {"small_screen": (640, 480)}


def main():
    args = sys.argv[1:]
    wine = args[0] == "--wine"
    exe, name, extra = args[wine], args[wine + 1], args[wine + 2:]
    label = "_".join(["wine"] * wine + [name] + [os.path.basename(e) for e in extra])
    with xs.Session(os.path.abspath(exe), label, os.getcwd(), SCREENS.get(name, xs.SCREEN), wine) as s:
        CASES[name](s, *extra)


if __name__ == "__main__":
    xs.run_driver(main)
