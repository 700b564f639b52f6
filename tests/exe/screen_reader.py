#!/usr/bin/env python3
"""The game as a screen reader sees it, on the real accessibility bus: run inside
`dbus-run-session`, it starts the AT-SPI bus launcher and the game on a private Xvfb, and
plays through the bus alone: reads the board, enters a digit, starts a new game through the
menu and solves the puzzle with the items' actions.

Usage: dbus-run-session -- python3 screen_reader.py <path to sudoku>
"""
import os
import shutil
import sys
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import xsession as xs  # noqa: E402
from xsession import Failure  # noqa: E402

LAUNCHER = "/usr/libexec/at-spi-bus-launcher"
EMPTY_STATUS = "Сообщений нет"


def skip(reason):
    print(f"SKIPPED: {reason} (scripts/setup.sh installs it)")
    sys.exit(xs.SKIP)


def reader_tools(*tools):
    """pyatspi, once the session bus, the bus launcher and each (tool, package) are here;
    else the test is skipped."""
    if not os.environ.get("DBUS_SESSION_BUS_ADDRESS"):
        skip("no session bus: run inside dbus-run-session (package dbus-daemon)")
    for tool, package in ((LAUNCHER, "at-spi2-core"),) + tools:
        if not shutil.which(tool):
            skip(f"{tool} is missing (package {package})")
    try:
        import pyatspi
    except ImportError:
        skip("pyatspi is missing (package python3-pyatspi)")
    return pyatspi


def wait(what, probe, timeout=10.0):
    deadline = time.monotonic() + timeout
    while True:
        found = probe()
        if found:
            return found
        if time.monotonic() > deadline:
            raise Failure(f"timed out waiting for {what}")
        time.sleep(0.05)


def cell_name(r, c, value, word=None):
    return f"Строка {r}, столбец {c}: {value or 'пусто'}" + (f", {word}" if word else "")


class Reader:
    """A client of the bus, as a screen reader is: it finds the game and its board, reads
    names and states, runs actions, and collects the events the game raised."""

    def __init__(self, pyatspi):
        self.at = pyatspi
        self.events = []
        kinds = ("object:property-change:accessible-name", "object:state-changed:focused",
                 "object:state-changed:checked", "object:state-changed:selected",
                 "object:state-changed:showing", "object:children-changed")
        pyatspi.Registry.registerEventListener(self._heard, *kinds)
        from gi.repository import Gio, GLib
        self.context = GLib.MainContext.default()
        # Qt sends children-changed (for a reorder) once a client listens for it, with a
        # signature the client library drops: heard on the bus itself.
        session = Gio.bus_get_sync(Gio.BusType.SESSION)
        address = session.call_sync("org.a11y.Bus", "/org/a11y/bus", "org.a11y.Bus", "GetAddress", None,
                                    GLib.VariantType("(s)"), 0, -1, None).unpack()[0]
        flags = Gio.DBusConnectionFlags.AUTHENTICATION_CLIENT | Gio.DBusConnectionFlags.MESSAGE_BUS_CONNECTION
        self.bus = Gio.DBusConnection.new_for_address_sync(address, flags, None, None)
        self.bus.signal_subscribe(None, "org.a11y.atspi.Event.Object", "ChildrenChanged", None, None, 0,
                                  lambda *a: self.events.append(("children-changed", a[5][0])))
        self.app = wait("the game on the accessibility bus", self._find_app)
        frame = next(c for c in self.app if c.getRole() == pyatspi.ROLE_FRAME)
        self.board = next(c for c in frame if c.getRole() == pyatspi.ROLE_FILLER)
        self.table = self.board.getChildAtIndex(0)
        self.menu_bar = next(c for c in frame if c.getRole() == pyatspi.ROLE_MENU_BAR)

    def _find_app(self):
        desktop = self.at.Registry.getDesktop(0)
        return next((a for a in desktop if a is not None and a.name == "sudoku"), None)

    def _heard(self, event):
        try:
            self.events.append((event.type, event.source.name))
        except Exception:  # an object gone meanwhile
            pass

    def pump(self, seconds=0.3):
        """Delivers the events that arrive within a moment."""
        deadline = time.monotonic() + seconds
        while time.monotonic() < deadline:
            while self.context.iteration(False):
                pass
            time.sleep(0.02)

    def items(self):
        """The cells of the board's table, then the board's other children."""
        rest = [self.board.getChildAtIndex(i) for i in range(1, self.board.childCount)]
        return [self.table.getChildAtIndex(i) for i in range(self.table.childCount)] + rest

    def names(self):
        return [i.name for i in self.items()]

    def item(self, name):
        found = [i for i in self.items() if i.name.startswith(name)]
        if len(found) != 1:
            raise Failure(f"{len(found)} items named {name!r} on the board")
        return found[0]

    def press(self, acc):
        action = acc.queryAction()
        if action.nActions < 1 or action.getName(0) != "click":
            raise Failure(f"{acc.name!r} has no click action")
        action.doAction(0)

    def menu_item(self, menu, item):
        popup = next(c for c in self.menu_bar if c.name == menu)[0]
        return next(c for c in popup if c.name == item)


def check_reading(r, errors):
    """The board's table row by row, then the picker and the eraser, then the status line."""
    want = [cell_name(row, col, 0) for row in range(1, 10) for col in range(1, 10)]
    want += [f"Цифра {k}" for k in range(1, 10)] + ["Стереть", EMPTY_STATUS]
    have = r.names()
    if have != want:
        bad = [f"{i}: {h!r} not {w!r}" for i, (h, w) in enumerate(zip(have, want)) if h != w]
        errors.append(f"{len(have)} items read, not {len(want)}; " + "; ".join(bad[:5]))
    at = r.at
    roles = [i.getRole() for i in r.items()]
    if roles != [at.ROLE_TABLE_CELL] * 81 + [at.ROLE_CHECK_BOX] * 10 + [at.ROLE_STATUS_BAR]:
        errors.append(f"roles {sorted(set(i.getRoleName() for i in r.items()))}")
    table = r.table.queryTable()
    if (r.table.getRole(), table.nRows, table.nColumns) != (at.ROLE_TABLE, 9, 9):
        errors.append(f"the board is a {r.table.getRoleName()} of {table.nRows}x{table.nColumns}")
    cell = table.getAccessibleAt(2, 4)
    index = cell.getIndexInParent()
    if (index, table.getRowAtIndex(index), table.getColumnAtIndex(index)) != (22, 2, 4):
        errors.append(f"the table's cell at row 3, column 5 is child {index} at "
                      f"{table.getRowAtIndex(index)}, {table.getColumnAtIndex(index)}")


def check_geometry(r, s, w, errors):
    """A cell's rectangle is its own pixels: its right and lower lines are the neighbours';
    the point at its centre finds it, and so does a point on the line it shares."""
    geometry = dict(line.split("=", 1) for line in
                    s.run(["xdotool", "getwindowgeometry", "--shell", str(w.wid)], capture=True).split())
    ox, oy = int(geometry["X"]), int(geometry["Y"])
    at = r.at
    cell = r.items()[1 * 9 + 1]  # row 2, column 2
    ext = cell.queryComponent().getExtents(at.DESKTOP_COORDS)
    left, top = 6 + 32, 6 + 32  # the cell as laid out at 18 points
    want = (ox + left, oy + w.client_top + top, 32, 32)
    if (ext.x, ext.y, ext.width, ext.height) != want:
        errors.append(f"row 2, column 2 at {(ext.x, ext.y, ext.width, ext.height)}, not {want}")
    for x, y, found in ((want[0] + 16, want[1] + 16, cell), (want[0] - 1, want[1] + 16, r.items()[1 * 9]),
                        (want[0] + 32, want[1] + 16, r.items()[1 * 9 + 2])):
        hit = r.table.queryComponent().getAccessibleAtPoint(x, y, at.DESKTOP_COORDS)
        if hit is None or hit.getIndexInParent() != found.getIndexInParent():
            errors.append(f"the point {x - ox}, {y - oy} finds cell {hit.getIndexInParent() if hit else None}, "
                          f"not {found.getIndexInParent()}")


def check_mouse_and_key(r, w, errors):
    """Row 2, column 2 chosen by the mouse, then 4 typed into it: each time the cell takes the
    focus under its new name."""
    cell = r.items()[1 * 9 + 1]
    for act, name in ((lambda: w.click(6 + 32 + 16, 6 + 32 + 16), cell_name(2, 2, 0, "выбрана")),
                      (lambda: (w.focus(), w.key("4")), cell_name(2, 2, 4))):
        r.pump(0.1)
        r.events.clear()
        act()
        r.pump()
        if ("object:state-changed:focused", name) not in r.events:
            errors.append(f"no focus on {name!r}; heard {r.events}")


def check_move(r, errors):
    """«Цифра 5», then row 3, column 5: the cell says 5 and takes the focus, the entry is
    pressed while chosen, and the game told the bus each change."""
    at = r.at
    five = r.item("Цифра 5")
    r.events.clear()
    r.press(five)
    r.pump()
    if not five.getState().contains(at.STATE_CHECKED):
        errors.append("«Цифра 5» chosen is not checked")
    if ("object:state-changed:checked", "Цифра 5") not in r.events:
        errors.append(f"no check event for «Цифра 5»: {r.events}")
    cell = r.items()[2 * 9 + 4]
    r.events.clear()
    r.press(cell)
    r.pump()
    if cell.name != cell_name(3, 5, 5):
        errors.append(f"row 3, column 5 reads {cell.name!r} after the move")
    if five.getState().contains(at.STATE_CHECKED):
        errors.append("«Цифра 5» still checked after the move")
    for event in [("object:state-changed:checked", "Цифра 5"),
                  ("object:property-change:accessible-name", cell_name(3, 5, 5)),
                  ("object:state-changed:focused", cell_name(3, 5, 5))]:
        if event not in r.events:
            errors.append(f"not heard: {event}; heard {r.events}")
    # A cell chosen first is selected and has the focus; the digit then goes into it.
    corner = r.items()[80]
    r.press(corner)
    r.pump(0.1)
    st = corner.getState()
    if corner.name != cell_name(9, 9, 0, "выбрана") or not st.contains(at.STATE_SELECTED) \
            or not st.contains(at.STATE_FOCUSED):
        errors.append(f"row 9, column 9 chosen reads {corner.name!r}, selected {st.contains(at.STATE_SELECTED)}")
    r.press(r.item("Цифра 5"))
    # Told again under its new name, the focused cell is a new object: a reader says it anew.
    corner = r.items()[80]
    if corner.name != cell_name(9, 9, 5) or not corner.getState().contains(at.STATE_FOCUSED):
        errors.append(f"row 9, column 9 reads {corner.name!r} after «Цифра 5»")


def check_hidden_picker(r, errors):
    """With the picker switched off through the menu, its entries leave the board's items, and
    come back with it."""
    r.pump(0.1)
    r.events.clear()
    r.menu_item("Разное", "Цифры для вставки выключены").queryAction().doAction(0)
    names = wait("the picker gone from the bus", lambda: r.names() if r.board.childCount == 2 else None, 5)
    r.pump()
    # Told by the menu command: ten entries hidden and the board reordered; the focus, still
    # on the cell it was on, is not told again.
    kinds = [e[0] for e in r.events]
    if kinds.count("object:state-changed:showing") != 10 or "children-changed" not in kinds \
            or "object:state-changed:focused" in kinds:
        errors.append(f"the picker switched off told {r.events}")
    if names[-1] != EMPTY_STATUS or any(n.startswith(("Цифра", "Стереть")) for n in names):
        errors.append(f"with the picker off the board lists {names[80:]}")
    r.menu_item("Разное", "Цифры для вставки включены").queryAction().doAction(0)
    wait("the picker back on the bus", lambda: r.board.childCount == 12 and r.names()[81] == "Цифра 1", 5)


def solve(grid):
    """Backtracking over the 81 values (0 empty); True when grid is filled."""
    try:
        i = grid.index(0)
    except ValueError:
        return True
    r, c = divmod(i, 9)
    box = [grid[(r // 3 * 3 + a) * 9 + c // 3 * 3 + b] for a in range(3) for b in range(3)]
    used = set(grid[r * 9:r * 9 + 9]) | set(grid[c::9]) | set(box)
    for d in range(1, 10):
        if d not in used:
            grid[i] = d
            if solve(grid):
                return True
    grid[i] = 0
    return False


def play_new_game(r, errors):
    """«Новая» through the menu's action, the clues read from the names, and the puzzle
    solved through the actions of the picker and the cells alone."""
    new = r.menu_item("Игра", "Новая")
    new.queryAction().doAction(0)
    wait("a puzzle with clues on the bus",
         lambda: sum("подсказка" in n for n in r.names()[:81]) >= 27 and r.names()[-1] == EMPTY_STATUS)
    grid, clues = [], 0
    for n in r.names()[:81]:
        value = n.split(": ", 1)[1].split(", ")
        grid.append(0 if value[0] == "пусто" else int(value[0]))
        clues += value[-1] == "подсказка"
    read_only = [i for i, c in enumerate(r.items()[:81]) if c.getState().contains(r.at.STATE_READ_ONLY)]
    if read_only != [i for i, v in enumerate(grid) if v]:
        errors.append(f"read-only cells {read_only} are not the clues")
    if clues != sum(v != 0 for v in grid):
        errors.append(f"{clues} cells say «подсказка», {sum(v != 0 for v in grid)} hold a digit")
    puzzle = list(grid)
    if not solve(grid):
        raise Failure(f"the clues read from the bus have no solution: {puzzle}")
    cells = r.items()[:81]
    picker = {k: r.item(f"Цифра {k}") for k in range(1, 10)}
    for i, v in enumerate(puzzle):
        if v == 0:
            r.press(picker[grid[i]])
            r.press(cells[i])
    status = wait("«Судоку пройден» on the bus", lambda: r.items()[-1].name == "Судоку пройден" or None, 5)
    if not status:
        errors.append("the status line never said «Судоку пройден»")
    wrong = [(i, n) for i, n in enumerate(r.names()[:81]) if n.split(": ", 1)[1].split(", ")[0] != str(grid[i])]
    if wrong:
        errors.append(f"cells not as solved: {wrong[:3]}")
    # Solved: the board refuses an entry as it refuses the mouse.
    r.press(picker[1])
    r.pump(0.1)
    if picker[1].getState().contains(r.at.STATE_CHECKED):
        errors.append("a picker entry was chosen on the solved board")


def main():
    pyatspi = reader_tools()
    exe = os.path.abspath(sys.argv[1])
    with xs.Session(exe, "screen_reader", os.getcwd()) as s:
        # The bus and the reader see this display and runtime folder, as the game does.
        os.environ.update(DISPLAY=s.display, XDG_RUNTIME_DIR=s.runtime)
        s.start([LAUNCHER], dict(s.env), group=True)
        proc, w = s.launch(env=dict(s.env, QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1"))
        r = Reader(pyatspi)
        errors = []
        check_reading(r, errors)
        check_geometry(r, s, w, errors)
        check_mouse_and_key(r, w, errors)
        check_move(r, errors)
        check_hidden_picker(r, errors)
        play_new_game(r, errors)
        xs.finish(errors)


if __name__ == "__main__":
    xs.run_driver(main)
