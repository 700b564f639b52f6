#!/usr/bin/env python3
"""With a reader on the bus: how long from a mouse click to the event a reader speaks from.
Run inside `dbus-run-session`: it starts the AT-SPI bus launcher and the game on a private
Xvfb, listens as a reader does, and plays N moves with the mouse: a picker entry (its checked
event), then an empty cell (the focus event on the written cell). The time runs from just
before xdotool is started to the event's arrival, so it includes xdotool's own start.

Usage: dbus-run-session -- python3 a11y_latency.py <path to sudoku> [N]
"""
import os
import subprocess
import sys
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "tests", "exe"))
import xsession as xs  # noqa: E402

LAUNCHER = "/usr/libexec/at-spi-bus-launcher"


def stats(values):
    v = sorted(values)
    return v[(len(v) - 1) // 2], v[min(len(v) - 1, max(0, round(len(v) * 0.9) - 1))], v[-1]


def main():
    import pyatspi
    from gi.repository import GLib
    exe = os.path.abspath(sys.argv[1])
    runs = int(sys.argv[2]) if len(sys.argv) > 2 else 20
    heard = []  # (arrival, event type, source name)

    def listener(event):
        heard.append((time.monotonic(), event.type, event.source.name))

    with xs.Session(exe, "a11y_latency", os.getcwd()) as s:
        os.environ.update(DISPLAY=s.display, XDG_RUNTIME_DIR=s.runtime)
        s.start([LAUNCHER], dict(s.env), group=True)
        s.launch(env=dict(s.env, QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1"))
        pyatspi.Registry.registerEventListener(listener, "object:state-changed:checked",
                                               "object:state-changed:focused")
        context = GLib.MainContext.default()
        deadline = time.monotonic() + 10
        app = None
        while app is None and time.monotonic() < deadline:
            app = next((a for a in pyatspi.Registry.getDesktop(0) if a is not None and a.name == "sudoku"), None)
            time.sleep(0.05)
        if app is None:
            raise SystemExit("the game never reached the bus")
        frame = next(c for c in app if c.getRole() == pyatspi.ROLE_FRAME)
        board = next(c for c in frame if c.getRole() == pyatspi.ROLE_FILLER)
        table = board.getChildAtIndex(0)

        def centre(acc):
            e = acc.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
            return str(e.x + e.width // 2), str(e.y + e.height // 2)

        def click(acc, want):
            """Clicks acc; the ms until an event satisfying want(type, name) arrives."""
            s.run(["xdotool", "mousemove", *centre(acc)])
            while context.iteration(False):
                pass
            heard.clear()
            start = time.monotonic()
            proc = subprocess.Popen(["xdotool", "click", "1"])
            limit = start + 2.0
            found = None
            while found is None and time.monotonic() < limit:
                GLib.timeout_add(20, lambda: False)  # wakes the blocking iteration now and then
                context.iteration(True)
                found = next((t for t, kind, name in heard if want(kind, name)), None)
            proc.wait()
            if found is None:
                raise SystemExit(f"no event after a click on {acc.name!r}: {heard}")
            return (found - start) * 1000

        entries, cells = [], []
        for i in range(runs):
            k = i % 9 + 1
            entry = next(c for c in board if c.name == f"Цифра {k}")
            entries.append(click(entry, lambda kind, name, k=k: kind.endswith("checked") and name == f"Цифра {k}"))
            cell = table.getChildAtIndex(i)  # empty at start: the board has no puzzle yet
            place = f"Строка {i // 9 + 1}, столбец {i % 9 + 1}: {k}"
            cells.append(click(cell, lambda kind, name, p=place: kind.endswith("focused") and name.startswith(p)))

    print(f"Click to the reader's event on the AT-SPI bus, {runs} moves (ms; xdotool's start included)")
    print(f"{'':34} {'median':>9} {'p90':>9} {'max':>9}")
    for what, values in (("entry chosen: checked event", entries), ("cell written: focus event", cells)):
        print(f"{what:34} " + " ".join(f"{v:9.1f}" for v in stats(values)))
    worst = max(entries + cells)
    print(f"target: every event within 50 ms of the click: {'met' if worst <= 50 else 'NOT met'}")


if __name__ == "__main__":
    main()
