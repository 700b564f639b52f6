"""Drives the real game executable on a private Xvfb: start, screenshots, mouse, keys, menus.

Every process started here gets SIGKILL when the driver dies, and Session.__exit__ ends
what is still running, so a failed or timed-out test leaves nothing behind.

With wine=True the program is the Windows build, started by wine in $WINEPREFIX; wine then
draws the window frame and title bar itself, and the client area is found inside.
"""
import ctypes
import ctypes.util
import os
import shutil
import signal
import struct
import subprocess
import sys
import tempfile
import time
import zlib

TITLE = "Судоку"
WINDOW_BG = (0xC0, 0xC0, 0xFF)
SCREEN = (1024, 768)
SKIP = 77  # exit status that ctest reports as skipped


class Failure(Exception):
    pass


def finish(errors):
    """Fails with every check that did (the first 40)."""
    if errors:
        raise Failure("\n  ".join([f"{len(errors)} check(s) failed:"] + errors[:40]))


def run_driver(main):
    """A test driver's entry: a Failure is printed and ends it with status 1."""
    try:
        main()
    except Failure as e:
        print(f"FAILED: {e}")
        sys.exit(1)
    print("passed")


def wine_loader(exe):
    """Wine's loader of the program's own width. Debian's `wine` is the 32-bit one once wine's
    32-bit part is installed, and starts a 64-bit program as another process behind a start.exe:
    a signal to the process started here would then miss the game."""
    with open(exe, "rb") as f:
        head = f.read(1024)
    pe = struct.unpack_from("<I", head, 0x3C)[0]
    wine64 = "/usr/lib/wine/wine64"
    if struct.unpack_from("<H", head, pe + 24)[0] == 0x20B and os.access(wine64, os.X_OK):  # PE32+
        return wine64
    return "wine"


def _die_with_parent():
    libc = ctypes.CDLL(ctypes.util.find_library("c"), use_errno=True)
    libc.prctl(1, signal.SIGKILL)  # PR_SET_PDEATHSIG


def hex_of(rgb):
    return "#%02X%02X%02X" % rgb


def rgb_of(text):
    text = text.lstrip("#")
    return tuple(int(text[i:i + 2], 16) for i in (0, 2, 4))


def is_dark(rgb, limit=100):
    return max(rgb) < limit


class Image:
    """A screenshot of the top-level window; pixel() takes client-area coordinates."""

    def __init__(self, width, height, data, client_top, client_left=0):
        self.width, self.height, self.data = width, height, data
        self.client_top, self.client_left = client_top, client_left

    def window_pixel(self, x, y):
        if not (0 <= x < self.width and 0 <= y < self.height):
            raise Failure(f"pixel ({x},{y}) outside the {self.width}x{self.height} window")
        i = 3 * (y * self.width + x)
        return tuple(self.data[i:i + 3])

    def pixel(self, x, y):
        return self.window_pixel(x + self.client_left, y + self.client_top)

    def block(self, left, top, size, inset=2):
        """The pixels of a label's inside, without its one-pixel border."""
        return [self.pixel(x, y) for y in range(top + inset, top + size - inset)
                for x in range(left + inset, left + size - inset)]

    def save_png(self, path):
        rows = b"".join(b"\0" + bytes(self.data[3 * self.width * y:3 * self.width * (y + 1)])
                        for y in range(self.height))

        def chunk(kind, body):
            return struct.pack(">I", len(body)) + kind + body + struct.pack(">I", zlib.crc32(kind + body))

        with open(path, "wb") as f:
            f.write(b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", self.width, self.height, 8, 2, 0, 0, 0))
                    + chunk(b"IDAT", zlib.compress(rows)) + chunk(b"IEND", b""))


def _parse_ppm(raw):
    parts, pos = [], 0
    while len(parts) < 4:  # magic, width, height, maxval, separated by single whitespace runs
        while raw[pos:pos + 1].isspace():
            pos += 1
        end = pos
        while not raw[end:end + 1].isspace():
            end += 1
        parts.append(raw[pos:end])
        pos = end
    pos += 1
    if parts[0] != b"P6" or parts[3] != b"255":
        raise Failure("unexpected screenshot format %r" % parts)
    return int(parts[1]), int(parts[2]), raw[pos:]


class XClient:
    """A minimal libX11 client for what xdotool cannot do: the close-box message and watching
    the requests a window sends to the window manager."""

    CLIENT_MESSAGE = 33
    STRUCTURE_NOTIFY, SUBSTRUCTURE_NOTIFY, PROPERTY_CHANGE = 1 << 17, 1 << 19, 1 << 22

    class _ClientMessage(ctypes.Structure):
        _fields_ = [("type", ctypes.c_int), ("serial", ctypes.c_ulong), ("send_event", ctypes.c_int),
                    ("display", ctypes.c_void_p), ("window", ctypes.c_ulong), ("message_type", ctypes.c_ulong),
                    ("format", ctypes.c_int), ("l", ctypes.c_long * 5)]

    class _Event(ctypes.Union):
        pass

    _Event._fields_ = [("type", ctypes.c_int), ("xclient", _ClientMessage), ("pad", ctypes.c_long * 24)]

    def __init__(self, display):
        x = ctypes.CDLL(ctypes.util.find_library("X11") or "libX11.so.6")
        x.XOpenDisplay.restype = ctypes.c_void_p
        x.XOpenDisplay.argtypes = [ctypes.c_char_p]
        x.XInternAtom.restype = ctypes.c_ulong
        x.XInternAtom.argtypes = [ctypes.c_void_p, ctypes.c_char_p, ctypes.c_int]
        x.XGetAtomName.restype = ctypes.c_void_p
        x.XGetAtomName.argtypes = [ctypes.c_void_p, ctypes.c_ulong]
        x.XDefaultRootWindow.restype = ctypes.c_ulong
        x.XDefaultRootWindow.argtypes = [ctypes.c_void_p]
        x.XSendEvent.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_int, ctypes.c_long, ctypes.c_void_p]
        x.XSelectInput.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_long]
        x.XPending.argtypes = [ctypes.c_void_p]
        x.XNextEvent.argtypes = [ctypes.c_void_p, ctypes.c_void_p]
        x.XFlush.argtypes = [ctypes.c_void_p]
        x.XSync.argtypes = [ctypes.c_void_p, ctypes.c_int]
        x.XCloseDisplay.argtypes = [ctypes.c_void_p]
        self.x = x
        self.dpy = x.XOpenDisplay(display.encode())
        if not self.dpy:
            raise Failure(f"cannot open display {display}")
        self.root = x.XDefaultRootWindow(self.dpy)
        self.startup_info = b""  # the text of the startup-notification messages received
        self.activations = []  # (window, source, time) of each request to activate a window

    def atom(self, name):
        return self.x.XInternAtom(self.dpy, name.encode(), 0)

    def send_close(self, window):
        """What a window manager sends when the user clicks the close box."""
        ev = self._Event()
        ev.xclient.type = self.CLIENT_MESSAGE
        ev.xclient.window = window
        ev.xclient.message_type = self.atom("WM_PROTOCOLS")
        ev.xclient.format = 32
        ev.xclient.l[0] = self.atom("WM_DELETE_WINDOW")
        ev.xclient.l[1] = 0  # CurrentTime
        self.x.XSendEvent(self.dpy, window, 0, 0, ctypes.byref(ev))
        self.x.XFlush(self.dpy)

    def watch_root(self):
        """Client messages sent to the root window (requests to the window manager, startup
        notification) become visible."""
        self.x.XSelectInput(self.dpy, self.root, self.STRUCTURE_NOTIFY | self.SUBSTRUCTURE_NOTIFY | self.PROPERTY_CHANGE)
        self.x.XSync(self.dpy, 0)

    def root_messages(self):
        """(window, message type name, first data word) of each client message received so far."""
        out = []
        ev = self._Event()
        while self.x.XPending(self.dpy):
            self.x.XNextEvent(self.dpy, ctypes.byref(ev))
            if ev.type == self.CLIENT_MESSAGE:
                name = ctypes.string_at(self.x.XGetAtomName(self.dpy, ev.xclient.message_type)).decode()
                out.append((ev.xclient.window, name, ev.xclient.l[0]))
                if name.startswith("_NET_STARTUP_INFO"):
                    self.startup_info += bytes(ev.xclient.l)[:20]
                if name == "_NET_ACTIVE_WINDOW":
                    self.activations.append((ev.xclient.window, ev.xclient.l[0], ev.xclient.l[1] & 0xFFFFFFFF))
        return out

    def hold_key(self, keysym, repeats, delay_ms=500, interval_ms=500):
        """Holds a key down long enough for exactly this many auto-repeats: the server repeats
        after delay_ms and then every interval_ms, and the key is let go half an interval after
        the last repeat, so scheduling would have to slip by that much to change the count."""
        x, xtst = self.x, ctypes.CDLL(ctypes.util.find_library("Xtst") or "libXtst.so.6")
        x.XkbSetAutoRepeatRate.argtypes = [ctypes.c_void_p, ctypes.c_uint, ctypes.c_uint, ctypes.c_uint]
        x.XKeysymToKeycode.argtypes = [ctypes.c_void_p, ctypes.c_ulong]
        xtst.XTestFakeKeyEvent.argtypes = [ctypes.c_void_p, ctypes.c_uint, ctypes.c_int, ctypes.c_ulong]
        x.XkbSetAutoRepeatRate(self.dpy, 0x100, delay_ms, interval_ms)  # the core keyboard
        code = x.XKeysymToKeycode(self.dpy, keysym)
        x.XSync(self.dpy, 0)
        xtst.XTestFakeKeyEvent(self.dpy, code, 1, 0)
        x.XSync(self.dpy, 0)
        time.sleep((delay_ms + (repeats - 0.5) * interval_ms) / 1000)
        xtst.XTestFakeKeyEvent(self.dpy, code, 0, 0)
        x.XSync(self.dpy, 0)

    def close(self):
        if self.dpy:
            self.x.XCloseDisplay(self.dpy)
            self.dpy = None


class GameWindow:
    """The game's top-level window; coordinates given to it are in its client area."""

    def __init__(self, session, wid):
        self.s, self.wid = session, wid
        self.client_top = None
        self.client_left = self.menu_top = 0
        self.client_size = None
        self.last = None
        self.last_popup = None

    def raw_shot(self):
        return self.s.shoot(self.wid, self.client_top or 0, self.client_left)

    def find_client_top(self, timeout=5.0):
        """The client area is where the window colour begins: from the left on the middle row
        (after the frame, where one is drawn), and down the column just inside, below the menu
        bar (and a title bar). Its size runs to the last window colour on both lines.
        Waits for the first paint."""
        deadline = time.monotonic() + timeout
        while True:
            img = self.raw_shot()
            mid = img.height // 2
            left = next((x for x in range(img.width // 2) if img.window_pixel(x, mid) == WINDOW_BG), None)
            x = (left or 0) + 2
            top = next((y for y in range(img.height) if img.window_pixel(x, y) == WINDOW_BG), 0)
            if left is not None and top > 0 and img.window_pixel(x, 0) != (0, 0, 0):  # a menu bar above
                right = max(x for x in range(img.width) if img.window_pixel(x, mid) == WINDOW_BG)
                bottom = max(y for y in range(img.height) if img.window_pixel(left + 2, y) == WINDOW_BG)
                self.client_left, self.client_top = img.client_left, img.client_top = left, top
                self.client_size = (right - left + 1, bottom - top + 1)
                if self.s.wine:  # the menu bar is the band of its own colour above the client area
                    bar = img.window_pixel(x, top - 3)
                    self.menu_top = 1 + max(y for y in range(top - 2) if img.window_pixel(x, y) != bar)
                self.last = img
                return top
            if time.monotonic() > deadline:
                self.last = img
                raise Failure("the window never showed its window colour below a menu bar")
            time.sleep(0.05)

    def shot(self):
        self.last = self.raw_shot()
        return self.last

    def wait_for(self, predicate, what, timeout=5.0):
        """Polls screenshots until predicate(image) is true."""
        deadline = time.monotonic() + timeout
        while True:
            img = self.shot()
            if predicate(img):
                return img
            if time.monotonic() > deadline:
                raise Failure(f"timed out waiting for: {what}")
            time.sleep(0.04)

    def click(self, x, y, double=False):
        cmd = ["xdotool", "mousemove", "--window", str(self.wid), str(x + self.client_left),
               str(y + self.client_top), "click"]
        if double:
            cmd += ["--repeat", "2", "--delay", "60"]
        self.s.run(cmd + ["1"])

    def move(self, x, y):
        """The pointer to client pixel (x, y)."""
        self.s.run(["xdotool", "mousemove", "--window", str(self.wid), "--", str(x + self.client_left),
                    str(y + self.client_top)])

    def focus(self):
        self.s.run(["xdotool", "windowfocus", "--sync", str(self.wid)])

    def key(self, *keys):
        self.s.run(["xdotool", "key", "--delay", "30", *keys])

    def menu_titles(self, img=None):
        """Centres (window x, y) of the menu bar's titles, found as runs of dark text pixels."""
        img = img or self.shot()
        left, width = self.client_left, self.client_size[0]  # inside a frame wine draws
        cols = [x for x in range(left, left + width) if any(is_dark(img.window_pixel(x, y), 128)
                                                            for y in range(self.menu_top, self.client_top))]
        runs = []
        for x in cols:
            if runs and x - runs[-1][1] <= 6:
                runs[-1][1] = x
            else:
                runs.append([x, x])
        return [((a + b) // 2, (self.menu_top + self.client_top) // 2) for a, b in runs]

    def open_menu(self, menu_index):
        """Opens a menu of the menu bar with a click on its title; returns the popup's window."""
        titles = self.menu_titles(self.shot())
        if len(titles) != 2:
            raise Failure(f"expected the two menu titles in the menu bar, found {len(titles)}")
        x, y = titles[menu_index]
        self.s.run(["xdotool", "mousemove", "--window", str(self.wid), str(x), str(y), "click", "1"])
        return self.wait_popup(True)

    def choose(self, menu_index, item_index):
        """Chooses an item (0-based, separators not counted) with the arrow keys, as a player can."""
        self.open_menu(menu_index)
        self.key(*(["Down"] * (item_index + 1)), "Return")
        self.wait_popup(False)
        if self.s.wine:
            time.sleep(0.3)  # wine leaves its menu loop a moment after the popup goes; a click then is lost

    def menu_marks(self, menu_index, items):
        """Which of the menu's items carry a check mark, read from the open popup: each item is a
        band of dark text rows, and a mark is dark ink left of where the item texts begin."""
        popup = self.open_menu(menu_index)
        deadline = time.monotonic() + 3
        while True:
            img = self.s.shoot(popup, 0)
            bands = []
            for y in range(img.height):
                dark = [x for x in range(img.width) if is_dark(img.pixel(x, y))]
                if not dark:
                    continue
                if bands and y - bands[-1][1] <= 3:
                    bands[-1][1] = y
                    bands[-1][2] = min(bands[-1][2], dark[0])
                else:
                    bands.append([y, y, dark[0]])
            if len(bands) == items or time.monotonic() > deadline:
                break
            time.sleep(0.05)
        self.last_popup = img
        # Closed with the mouse: after Esc the menu bar would keep the keyboard for menu navigation.
        x, y = self.menu_titles(self.last)[menu_index]
        self.s.run(["xdotool", "mousemove", "--window", str(self.wid), str(x), str(y), "click", "1"])
        self.wait_popup(False)
        if len(bands) != items:
            raise Failure(f"menu {menu_index}: expected {items} items, found {len(bands)} bands of text")
        text_left = sorted(b[2] for b in bands)[len(bands) // 2]
        return [b[2] < text_left - 6 for b in bands]

    def popups(self):
        """The game's other mapped top-level windows: open menus."""
        r = self.s.run(["xdotool", "search", "--onlyvisible", "--class", "sudoku"], capture=True, check=False)
        return [int(w) for w in r.split() if int(w) != self.wid]

    def wait_popup(self, shown, timeout=3.0):
        deadline = time.monotonic() + timeout
        while True:
            found = self.popups()
            if bool(found) == shown:
                return found[0] if found else None
            if time.monotonic() > deadline:
                raise Failure("menu popup did not " + ("open" if shown else "close"))
            time.sleep(0.03)

    def info(self, field):
        out = self.s.run(["xwininfo", "-id", str(self.wid)], capture=True, check=False)
        for line in out.splitlines():
            if line.strip().startswith(field + ":"):
                return line.split(":", 1)[1].strip()
        return ""

    def map_state(self):
        return self.info("Map State")

    def size(self):
        return int(self.info("Width") or 0), int(self.info("Height") or 0)


class Session:
    """A private X server, runtime folder and game processes for one test."""

    def __init__(self, exe, name, outdir, screen=SCREEN, wine=False):
        self.exe, self.name, self.outdir, self.screen, self.wine = exe, name, outdir, screen, wine
        self.xvfb = None
        self.games = []
        self.groups = []  # process groups of programs that start others (buses, a reader)
        self.tmp = self.runtime = self.display = None
        self.windows = []

    def __enter__(self):
        for tool in ("Xvfb", "xdotool", "import", "xwininfo", "xprop") + (("wine", "wineserver") if self.wine else ()):
            if not shutil.which(tool):
                print(f"SKIPPED: {tool} is not installed (scripts/setup.sh installs it)")
                raise SystemExit(SKIP)
        self.tmp = tempfile.mkdtemp(prefix="sudoku-exe-")
        try:
            self._start_server()
        except BaseException:
            self.__exit__(None, None, None)
            raise
        return self

    def _start_server(self):
        self.runtime = os.path.join(self.tmp, "runtime")
        os.mkdir(self.runtime, 0o700)
        r, w = os.pipe()
        self.xvfb = subprocess.Popen(
            ["Xvfb", "-displayfd", str(w), "-screen", "0", "%dx%dx24" % self.screen, "-nolisten", "tcp", "-noreset"],
            pass_fds=(w,), stdout=subprocess.DEVNULL, stderr=open(os.path.join(self.tmp, "xvfb.log"), "wb"),
            preexec_fn=_die_with_parent)
        os.close(w)
        number = b""
        deadline = time.monotonic() + 10
        while not number.endswith(b"\n"):
            chunk = os.read(r, 16)
            if not chunk or time.monotonic() > deadline:
                raise Failure("Xvfb did not report a display")
            number += chunk
        os.close(r)
        self.display = ":" + number.decode().strip()
        self.env = {k: v for k, v in os.environ.items() if not k.startswith(("WAYLAND", "QT_", "XDG_"))}
        self.env.update(DISPLAY=self.display, XDG_RUNTIME_DIR=self.runtime, QT_QPA_PLATFORM="xcb")
        if self.wine:
            if "WINEPREFIX" not in self.env:
                raise Failure("WINEPREFIX is not set: the wine tests run in a prepared prefix")
            # Wine passes text and file names in the locale's encoding: UTF-8, whatever the caller set.
            self.env.update(WINEDEBUG="-all", WINEDLLOVERRIDES="winemenubuilder.exe=", LC_ALL="C.UTF-8")

    def __exit__(self, kind, value, tb):
        if kind is not None:
            for i, win in enumerate(self.windows):
                for kind, img in (("window", win.last), ("menu", win.last_popup)):
                    if img is not None:
                        path = os.path.join(self.outdir, f"{self.name}-failed-{kind}{i}.png")
                        img.save_png(path)
                        print(f"last screenshot: {path}")
            for i, (proc, log) in enumerate(self.games):
                log.seek(0)
                text = log.read().decode(errors="replace").strip()
                if text:
                    print(f"game {i} output:\n{text}")
        for pgid in self.groups:
            try:
                os.killpg(pgid, signal.SIGKILL)
            except ProcessLookupError:
                pass
        for proc, log in self.games:
            if proc.poll() is None:
                proc.kill()
            proc.wait()
            log.close()
        if self.wine and self.display:  # its desktop process talks to this X server: ended with it
            subprocess.run(["wineserver", "-k"], env=self.env, stderr=subprocess.DEVNULL, timeout=10)
        if self.xvfb and self.xvfb.poll() is None:
            self.xvfb.terminate()
            try:
                self.xvfb.wait(3)
            except subprocess.TimeoutExpired:
                self.xvfb.kill()
                self.xvfb.wait()
        shutil.rmtree(self.tmp, ignore_errors=True)
        return False

    def run(self, cmd, capture=False, binary=False, check=True, timeout=10):
        r = subprocess.run(cmd, env=self.env, stdout=subprocess.PIPE if capture else subprocess.DEVNULL,
                           stderr=subprocess.PIPE, timeout=timeout)
        if check and r.returncode != 0:
            raise Failure(f"{' '.join(cmd)} failed ({r.returncode}): {r.stderr.decode(errors='replace').strip()}")
        if capture:
            return r.stdout if binary else r.stdout.decode(errors="replace")
        return None

    def shoot(self, wid, client_top, client_left=0):
        w, h, data = _parse_ppm(self.run(["import", "-window", str(wid), "-depth", "8", "ppm:-"],
                                         capture=True, binary=True))
        return Image(w, h, data, client_top, client_left)

    def start_game(self, prefix=(), env=None):
        """Starts the game, under a wrapper command if given (another user, another namespace)."""
        return self.start([*prefix, *([wine_loader(self.exe), self.exe] if self.wine else [self.exe])], env)

    def start(self, cmd, env=None, group=False, **popen):
        """Starts a program on this display; it ends with the session at the latest. With
        group=True it leads a process group of its own, ended whole: what it starts (a bus
        daemon, a speech server) ends with it."""
        log = tempfile.TemporaryFile(dir=self.tmp)
        popen.setdefault("stdout", log)
        popen.setdefault("stderr", subprocess.STDOUT)
        proc = subprocess.Popen(cmd, env=env or self.env, preexec_fn=_die_with_parent, start_new_session=group,
                                **popen)
        self.games.append((proc, log))
        if group:
            self.groups.append(proc.pid)
        return proc

    def output(self, proc):
        """What a game started here wrote to stdout and stderr so far."""
        log = next(log for p, log in self.games if p is proc)
        log.seek(0)
        return log.read().decode(errors="replace")

    def stacking(self):
        """The top-level windows, top-most first."""
        out = self.run(["xwininfo", "-root", "-children"], capture=True)
        return [int(line.split()[0], 16) for line in out.splitlines() if line.strip().startswith("0x")]

    def game_windows(self):
        out = self.run(["xdotool", "search", "--onlyvisible", "--name", f"^{TITLE}$"], capture=True, check=False)
        return [int(w) for w in out.split()]

    def wait_window(self, proc, timeout=10.0):
        """Waits until the game's window is mapped and painted; returns it."""
        deadline = time.monotonic() + timeout
        while True:
            if proc.poll() is not None:
                raise Failure(f"the game ended (status {proc.returncode}) before showing its window")
            found = self.game_windows()
            if found:
                win = GameWindow(self, found[0])
                self.windows.append(win)
                win.find_client_top(max(1.0, deadline - time.monotonic()))
                return win
            if time.monotonic() > deadline:
                raise Failure("no window titled " + TITLE)
            time.sleep(0.05)

    def launch(self, prefix=(), env=None, timeout=10.0):
        proc = self.start_game(prefix, env)
        return proc, self.wait_window(proc, timeout)


def wait_exit(proc, timeout):
    """The process's exit status, or a failure if it still runs after timeout seconds."""
    try:
        return proc.wait(timeout)
    except subprocess.TimeoutExpired:
        raise Failure(f"the game still runs {timeout} s later") from None
