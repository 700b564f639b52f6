#!/usr/bin/env python3
"""The game played by ear: Orca, started after the game, speaks through speech-dispatcher
and espeak-ng (into libao's null driver) on a private Xvfb and accessibility bus, and what it
says is read from its debug output. Each step is taken as a player would (Orca's flat review
and its click, the mouse, the digit keys, F10 for the menu) and the test asserts what Orca
said after it. The puzzle is read and all but the steps' cells are filled through the bus.

Usage: dbus-run-session -- python3 orca_speech.py <path to sudoku>
"""
import os
import pty
import re
import shutil
import subprocess
import sys
import threading
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import xsession as xs  # noqa: E402
from xsession import Failure  # noqa: E402
from screen_reader import LAUNCHER, Reader, cell_name, reader_tools, solve, wait  # noqa: E402

SPOKEN = "SPEECH OUTPUT: '"
UTTERANCE = re.compile(r"(.*?)' ?[\[{]")  # the text, then the voice
# Orca's focus moved: to whom, and whether it spoke of it.
LOCUS = re.compile(r"Changing locusOfFocus from .* to \[[^|]*\| (.*)\]\. Notify: (True|False)")


class Orca:
    """Orca with its debug output on a terminal, where Python writes it line by line."""

    def __init__(self, s, env):
        self.s = s
        self.lines = []
        master, slave = pty.openpty()
        s.start(["orca", "-u", os.path.join(s.tmp, "orca-prefs"), "--debug-file", "/dev/stdout"], env,
                group=True, stdout=slave, stdin=subprocess.DEVNULL)
        os.close(slave)
        threading.Thread(target=self._drain, args=(master,), daemon=True).start()

    def _drain(self, fd):
        rest = b""
        while True:
            try:
                chunk = os.read(fd, 65536)
            except OSError:
                return
            if not chunk:
                return
            *lines, rest = (rest + chunk).split(b"\n")
            self.lines.extend(line.decode(errors="replace") for line in lines)

    def said(self, mark=0):
        """What Orca spoke since line mark of its output, one string an utterance."""
        return [UTTERANCE.match(line.split(SPOKEN, 1)[1]).group(1) for line in self.lines[mark:] if SPOKEN in line]

    def heard_or_took(self, mark):
        """What Orca spoke since line mark, with the names it took as its focus without a word
        in their places."""
        out = []
        for line in self.lines[mark:]:
            if SPOKEN in line:
                out.append(UTTERANCE.match(line.split(SPOKEN, 1)[1]).group(1))
            elif (m := LOCUS.search(line)) and m.group(2) == "False":
                out.append(m.group(1))
        return out

    def locus(self, mark):
        """The name of the object Orca last took as its focus since line mark, if any."""
        names = [m.group(1) for line in self.lines[mark:] if (m := LOCUS.search(line))]
        return names[-1] if names else None

    def last(self):
        said = self.said(max(0, len(self.lines) - 500))
        return said[-1] if said else None

    @staticmethod
    def heard(said, want):
        """Whether said holds each of want in order: a part of an utterance, or with a leading
        "=" a whole one (its closing full stop aside)."""
        if not said:
            return False
        at = 0
        for w in want:
            exact = w.startswith("=")
            while at < len(said) and not (said[at].rstrip(". ") == w[1:] if exact else w in said[at]):
                at += 1
            if at == len(said):
                return False
            at += 1
        return True

    def quiet(self, still=0.7, timeout=15.0):
        """Waits until Orca has written nothing for a while: it has caught up with the game."""
        deadline = time.monotonic() + timeout
        count, since = len(self.lines), time.monotonic()
        while time.monotonic() - since < still and time.monotonic() < deadline:
            time.sleep(0.05)
            if len(self.lines) != count:
                count, since = len(self.lines), time.monotonic()

    def after(self, act, want, errors, what, timeout=8.0, settle=0.3, pointer=False):
        """Runs act, then waits until Orca has said each of want in order (with want empty,
        anything); records a failure.

        With pointer (the step clicks with the mouse), an item of want may also be one Orca
        took as its focus in silence. Orca's handler of a mouse button makes the object under
        the pointer its focus without a word when the game has focused it before Orca looks,
        and then the game's focus event tells Orca nothing new: a race a fast game loses. The
        player then asks where the focus is (KP_Enter), and Orca must say that item."""
        self.quiet()
        mark = len(self.lines)
        act()
        deadline = time.monotonic() + timeout
        while True:
            if self.heard(self.said(mark), want):
                time.sleep(settle)  # the rest of what it says to this step
                return self.said(mark)
            if pointer and time.monotonic() > deadline - timeout / 2 and self.heard(self.heard_or_took(mark), want):
                time.sleep(settle)
                took = self.locus(mark)
                print(f"NOTE: {what}: Orca took «{took}» as its focus in silence, after the mouse button")
                self.after(lambda: hold(self.s, "KP_Enter"), [took], errors, f"{what}, then where am I")
                return self.said(mark)
            if time.monotonic() > deadline:
                errors.append(f"{what}: Orca said {self.said(mark)}, not {want}")
                return self.said(mark)
            time.sleep(0.05)


def hold(s, key):
    """A key held as a hand would hold it: a 12 ms tap races Orca."""
    s.run(["xdotool", "keydown", key, "sleep", "0.15", "keyup", key])


def orca_click(s):
    """Orca's left click on the item under review, the pointer first routed there by Orca's own
    command (Insert+KP_Divide), as a player does who wants the click to land. Orca takes its click
    for failed when it reads the pointer before the X server has moved it, and clicks a second
    time; a pointer already on the spot cannot seem to stay put."""
    where = lambda: s.run(["xdotool", "getmouselocation"], capture=True)  # noqa: E731
    before = where()
    s.run(["xdotool", "keydown", "Insert", "keydown", "KP_Divide", "sleep", "0.15", "keyup", "KP_Divide",
           "keyup", "Insert"])
    deadline = time.monotonic() + 2
    while where() == before and time.monotonic() < deadline:
        time.sleep(0.05)
    hold(s, "KP_Divide")


def speech_config(s):
    """speech-dispatcher's configuration with sound through libao's null driver."""
    conf = os.path.join(s.tmp, "speechd")
    shutil.copytree("/etc/speech-dispatcher", conf)
    path = os.path.join(conf, "speechd.conf")
    text = open(path).read().splitlines()
    text = [line for line in text if not line.lstrip("# ").startswith("AudioOutputMethod")]
    open(path, "w").write("\n".join(text + ['AudioOutputMethod "libao"', ""]))
    home = os.path.join(s.tmp, "home")
    os.mkdir(home)
    open(os.path.join(home, ".libao"), "w").write("default_driver=null\n")
    return conf, home


def play(s, w, r, orca, errors):
    def click(acc):
        e = acc.queryComponent().getExtents(r.at.DESKTOP_COORDS)
        s.run(["xdotool", "mousemove", str(e.x + e.width // 2), str(e.y + e.height // 2), "click", "1"])

    orca.after(w.focus, ["Судоку"], errors, "the game's window focused")
    rc = lambda i: (i // 9 + 1, i % 9 + 1)  # noqa: E731
    # A new game from the menu: F10, then the menu's first item; again while the puzzle has no
    # cell for the flat-review step below (one in 10 or so).
    for _ in range(5):
        orca.after(lambda: (hold(s, "F10"), hold(s, "Return"), hold(s, "Return")), ["Создание таблицы"], errors,
                   "a new game")
        wait("a puzzle with clues on the bus", lambda: sum("подсказка" in n for n in r.names()[:81]) >= 27)
        puzzle = [0 if n.split(": ", 1)[1].startswith("пусто") else int(n.split(": ", 1)[1][0])
                  for n in r.names()[:81]]
        grid = list(puzzle)
        if not solve(grid):
            raise Failure(f"no solution to the clues read from the bus: {puzzle}")
        empty = [i for i, v in enumerate(puzzle) if v == 0]
        # Orca's flat review shows the picker beside the board: entries k and k + 5 end line k.
        # Its click chooses a digit, then places it into a cell of the same line.
        fits = [(k, i) for i in empty for k in range(1, 6) if rc(i)[0] == k and grid[i] in (k, k + 5)]
        if fits:
            break
    else:
        raise Failure("five puzzles without a cell for the flat-review step")
    k, cell = max(fits, key=lambda c: c[1] % 9)
    digit = grid[cell]
    # The mouse's steps wait for Orca between clicks, as a player who listens does: Orca passes
    # over a focus event whose object has lost the focus by the time it gets to it.
    orca.after(lambda: click(r.item(f"Цифра {k}")), [f"Цифра {k}"], errors, f"«Цифра {k}» chosen by mouse",
               pointer=True)
    orca.after(lambda: click(r.item(f"Цифра {k}")), ["not checked"], errors, f"«Цифра {k}» dropped by mouse")
    def review(key, want, tries):
        """Orca's flat review moved by a word at a time until it says want."""
        for _ in range(tries):
            if orca.last() == want:
                return
            orca.after(lambda: hold(s, key), [], errors, f"flat review, {key}", settle=0.05)
        if orca.last() != want:
            errors.append(f"flat review never reached {want!r}, but {orca.last()!r}")

    orca.after(lambda: hold(s, "KP_Begin"), [], errors, "flat review, this item")
    review("KP_Right", f"Цифра {digit}", 4)
    # Chosen, it is checked; when the focus moves to it, Orca names it first.
    orca.after(lambda: orca_click(s), ([f"Цифра {digit} check box checked"] if digit > 5 else ["=checked"]),
               errors, f"«Цифра {digit}» chosen by Orca's click")
    # Back along the line from the chosen entry, word by word, to the cell's last word.
    words = (2 if digit > 5 else 1) + sum(len(n.split()) for n in r.names()[cell + 1:(cell // 9 + 1) * 9]) + 1
    for _ in range(words - 1):
        orca.after(lambda: hold(s, "KP_Left"), [], errors, "flat review, KP_Left", settle=0.05)
    review("KP_Left", "пусто", 1)
    orca.after(lambda: orca_click(s), [cell_name(*rc(cell), digit)], errors,
               f"{digit} placed into {rc(cell)} by Orca's click")
    empty.remove(cell)
    # Orca may take its own click for failed when it reads the pointer too soon, and click
    # again (its debug says "Mouse event possible failure"): a second click that chooses the
    # cell just written. Escape drops such a choice.
    hold(s, "Escape")

    # By mouse: the digit, then the cell.
    cell = empty.pop()
    orca.after(lambda: click(r.item(f"Цифра {grid[cell]}")), [f"Цифра {grid[cell]}"], errors,
               f"«Цифра {grid[cell]}» chosen by mouse", pointer=True)
    orca.after(lambda: click(r.items()[cell]), [cell_name(*rc(cell), grid[cell])], errors, f"{rc(cell)} by mouse",
               pointer=True)

    # By key: the cell chosen by mouse, then a digit repeated in its row, then the right one.
    cell = empty.pop()
    row = (cell // 9) * 9
    repeated = next(v for v in puzzle[row:row + 9] if v)
    orca.after(lambda: click(r.items()[cell]), [cell_name(*rc(cell), 0, "выбрана")], errors,
               f"{rc(cell)} chosen by mouse", pointer=True)
    orca.after(lambda: hold(s, str(repeated)), [cell_name(*rc(cell), repeated, "повтор")], errors,
               f"{repeated} repeated into {rc(cell)} by key")
    # A digit written ends the choice: the cell is chosen again, and says both words.
    orca.after(lambda: click(r.items()[cell]), [cell_name(*rc(cell), repeated, "повтор, выбрана")], errors,
               f"{rc(cell)} chosen again by mouse", pointer=True)
    orca.after(lambda: hold(s, str(grid[cell])), [cell_name(*rc(cell), grid[cell])], errors,
               f"{grid[cell]} into {rc(cell)} by key")

    # All but one cell through the bus, then the solving move by mouse.
    last = empty.pop()
    picker = {d: r.item(f"Цифра {d}") for d in range(1, 10)}
    for i in empty:
        r.press(picker[grid[i]])
        r.press(r.items()[i])
    # The board as the bus shows it before the last move: a failure below then says whether
    # the game or the reader missed it.
    want = [cell_name(*rc(i), grid[i]) for i in range(81) if i != last]
    try:
        wait("every cell but the last written", lambda: all(
            n.startswith(c) for n, c in zip((n for i, n in enumerate(r.names()[:81]) if i != last), want)))
    except Failure:
        missing = [c for n, c in zip((n for i, n in enumerate(r.names()[:81]) if i != last), want)
                   if not n.startswith(c)]
        errors.append(f"before the solving move the bus shows these cells otherwise: {missing}")
    # Orca ignores events while a flood of them waits ("DELUGE" in its debug): the board filled
    # at once through the bus makes one. It must have caught up before the last move.
    orca.quiet(still=2.0, timeout=90)
    orca.after(lambda: click(picker[grid[last]]), [f"Цифра {grid[last]}"], errors,
               f"«Цифра {grid[last]}» chosen by mouse", timeout=15, pointer=True)
    orca.after(lambda: click(r.items()[last]), [cell_name(*rc(last), grid[last]), "Судоку пройден"], errors,
               "the solving move", pointer=True)


def main():
    pyatspi = reader_tools(("orca", "orca"), ("speech-dispatcher", "speech-dispatcher"))
    exe = os.path.abspath(sys.argv[1])
    with xs.Session(exe, "orca_speech", os.getcwd()) as s:
        os.environ.update(DISPLAY=s.display, XDG_RUNTIME_DIR=s.runtime)
        conf, home = speech_config(s)
        env = dict(s.env, HOME=home)
        s.start([LAUNCHER], env, group=True)
        s.start(["speech-dispatcher", "--run-single", "--timeout", "0", "--config-dir", conf], env, group=True)
        proc, w = s.launch(env=env)
        # The reader starts after the game, as players often start it.
        orca = Orca(s, env)
        try:
            wait("Orca speaking", lambda: orca.said(), 20)
            r = Reader(pyatspi)
            errors = []
            play(s, w, r, orca, errors)
            xs.finish(errors)
        except Failure:
            with open(os.path.join(os.getcwd(), "orca_speech-debug.txt"), "w") as f:
                f.write("\n".join(orca.lines))
            print("Orca said:\n  " + "\n  ".join(orca.said()))
            raise
        print("Orca said:\n  " + "\n  ".join(orca.said()))


if __name__ == "__main__":
    xs.run_driver(main)
