#!/usr/bin/env python3
"""The Windows build's own cases, on the helpers of tests/exe/exe_cases.py.

Usage: wine_cases.py <path to sudoku.exe> <case> [<case argument>]
"""
import os
import sys
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "exe"))
import exe_cases as ex  # noqa: E402
import xsession as xs  # noqa: E402
from exe_cases import S18, check  # noqa: E402
from xsession import Failure, finish  # noqa: E402


def launch_at_dpi(s, dpi):
    ex.set_wine_dpi(s, dpi)
    try:
        return s.launch()
    finally:
        ex.set_wine_dpi(s, None)


def case_scale_clicks(s, dpi):
    """At a screen DPI of 120, 144 or 168, a click on a cell selects that cell, a double click on a
    picker entry writes its digit there and chooses the entry, and a click on the first pixel
    of the gap right of a box or below it changes no cell beside it."""
    scale = int(dpi) / 96

    def dev(pos):
        return tuple(int(v * scale + 0.5) for v in pos)

    def at(pos, dx=S18 // 2, dy=S18 // 2):  # a point of a label, from its top-left corner in game pixels
        return dev((pos[0] + dx, pos[1] + dy))

    def back(im, pos):
        return ex.back(im, dev(pos))

    def selected(im):
        return [(r, c) for r in range(1, 10) for c in range(1, 10) if back(im, ex.cell(r, c)) == ex.SELECTED]

    size = int((ex.cell(5, 5)[0] + S18) * scale + 0.5) - dev(ex.cell(5, 5))[0]

    def board(im):  # each cell's colour and whether it shows a digit
        return {(r, c): (back(im, ex.cell(r, c)), ex.shows_text(im, dev(ex.cell(r, c)), size))
                for r in range(1, 10) for c in range(1, 10)}

    proc, w = launch_at_dpi(s, int(dpi))
    w.wait_for(lambda im: back(im, ex.picker(10)) == ex.PICKER and back(im, ex.cell(9, 9)) == ex.WHITE,
               "the start screen")
    target = ex.cell(5, 5)
    w.click(*at(target))
    w.wait_for(lambda im: selected(im) == [(5, 5)], "a click selects cell (5,5) alone")
    w.click(*at(ex.picker(7)), double=True)
    img = w.wait_for(lambda im: ex.shows_text(im, dev(target), size) and back(im, ex.picker(7)) == ex.PICKER_CHOSEN,
                     "a double click on picker 7 writes it into (5,5) and chooses it")
    errors = []
    before = board(img)
    check(errors, [k for k in range(1, 10) if back(img, ex.picker(k)) == ex.PICKER_CHOSEN] == [7],
          "another picker entry chosen")
    check(errors, [rc for rc, (_, ink) in before.items() if ink] == [(5, 5)], "a digit elsewhere than in (5,5)")
    # Just outside the right edge of (2,3) and the bottom edge of (3,2), in the gaps between boxes;
    # with picker 7 chosen, a click on a cell would write 7 there.
    gap = int((ex.edge(3) + S18) * scale + 0.5)
    for x, y, beside in ((gap, at(ex.cell(2, 3))[1], (2, 3)), (at(ex.cell(3, 2))[0], gap, (3, 2))):
        w.click(x, y)
        time.sleep(0.5)
        after = board(w.shot())
        check(errors, after == before, f"a click at ({x},{y}), in the gap beside cell {beside}, changed cells "
              f"{[rc for rc in after if after[rc] != before[rc]]}")
        before = after
    finish(errors)


def case_oversized(s, dpi):
    """At a DPI that makes the window larger than the 640x480 screen, it opens at the screen's
    top-left corner, title and menu bar within reach."""
    ex.set_wine_dpi(s, int(dpi))
    try:
        s.start_game()
        seen, deadline = [], time.monotonic() + 10
        while len(seen) < 4 or len(set(seen[-4:])) > 1:  # until the position settles
            if time.monotonic() > deadline:
                raise Failure(f"the window did not appear or settle: {seen}")
            time.sleep(0.1)
            if found := s.game_windows():
                seen.append(ex.window_origin(s, found[0]))
                size = xs.GameWindow(s, found[0]).size()
    finally:
        ex.set_wine_dpi(s, None)
    if size[0] <= s.screen[0] or size[1] <= s.screen[1]:
        raise Failure(f"the window, {size[0]}x{size[1]}, is not larger than the screen")
    if seen[-1] != (0, 0):
        raise Failure(f"window at {seen[-1]} on a {s.screen[0]}x{s.screen[1]} screen")


CASES = {"scale_clicks": case_scale_clicks, "oversized": case_oversized}
SCREENS = {"oversized": (640, 480)}


def main():
    exe, name, extra = sys.argv[1], sys.argv[2], sys.argv[3:]
    label = "_".join(["wine", name] + extra)
    with xs.Session(os.path.abspath(exe), label, os.getcwd(), SCREENS.get(name, xs.SCREEN), True) as s:
        CASES[name](s, *extra)


if __name__ == "__main__":
    xs.run_driver(main)
