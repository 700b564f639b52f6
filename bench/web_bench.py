"""The web page in a headless Chromium on localhost (run by scripts/bench.sh web; not a test):
first paint of the board after navigation on a first visit (no cache, no service worker: the
origin's storage and the browser's cache cleared through the DevTools protocol before each) and on
a repeat visit (the service worker in charge), beside a blank page's first paint in the same run;
a click to its repaint; and the page's transfer compressed.
    web_bench.py SITE [N]"""
import gzip
import os
import statistics
import sys
import tempfile

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), '..', 'tests', 'web'))
import browser  # noqa: E402
import web_cases as page  # noqa: E402

FONT = 'SudokuSans.ttf'


def summary(name, values, unit='ms'):
    values = sorted(values)
    print(f'{name:<44} median {statistics.median(values):7.1f} {unit}   p90 {values[int(0.9 * (len(values) - 1))]:7.1f}'
          f' {unit}   max {values[-1]:7.1f} {unit}   (N={len(values)})')


def board_painted(d, url):
    d.get(url)
    page.wait_for(d, 'return typeof Shell !== "undefined" && Shell.stats().paints > 0')
    return d.execute_script('return Shell.stats().firstPaint')


def forget(d, server):
    """Leaves the page and clears what a visit leaves behind: cache, service worker, storage."""
    d.get('about:blank')
    d.execute_cdp_cmd('Storage.clearDataForOrigin', {'origin': server.url.rstrip('/'), 'storageTypes': 'all'})
    d.execute_cdp_cmd('Network.clearBrowserCache', {})


def main():
    site, n = sys.argv[1], int(sys.argv[2]) if len(sys.argv) > 2 else 20
    blank_dir = tempfile.mkdtemp(prefix='sudoku-blank-')
    with open(os.path.join(blank_dir, 'index.html'), 'w') as f:
        f.write('<!DOCTYPE html><html><body><p>.</p></body></html>')
    server, blank = browser.Server(site), browser.Server(blank_dir)
    try:
        with browser.chromium(1000, 800) as d:
            d.execute_cdp_cmd('Network.enable', {})
            first, repeat, blank_paint = [], [], []
            for i in range(n):
                forget(d, server)
                first.append(board_painted(d, server.url))
                # The next visit finds the service worker this one installed.
                d.execute_async_script('navigator.serviceWorker.ready.then(() => arguments[0]())')
                d.get(blank.url)
                blank_paint.append(page.wait_for(d, 'const p = performance.getEntriesByName("first-contentful-paint");'
                                                    'return p.length ? p[0].startTime : 0'))
                repeat.append(board_painted(d, server.url))
                if not d.execute_script('return navigator.serviceWorker.controller !== null'):
                    print('warning: a repeat visit without the service worker in charge')
            summary('first visit: board painted after navigation', first)
            summary('repeat visit: board painted after navigation', repeat)
            summary('blank page first contentful paint', blank_paint)

            d.get(server.url)
            page.wait_for(d, 'return Shell.stats().paints > 0')
            d.execute_script('window.pressed = 0; document.getElementById("board").addEventListener("pointerdown",'
                             ' (e) => { pressed = performance.now(); }, true)')
            clicks = []
            for i in range(n):
                k = 1 + i % 9  # the picker's entries: each click repaints one
                page.click(d, page.pick_sel(k))
                clicks.append(d.execute_script('return Shell.stats().lastPaint - pressed'))
            summary('pointer press to repaint', clicks)
    finally:
        server.stop()
        blank.stop()

    total = 0
    for name in sorted(os.listdir(site)):
        if name in (FONT, 'Carlito-Regular.ttf') or name.endswith('.txt'):
            continue
        with open(os.path.join(site, name), 'rb') as f:
            size = len(gzip.compress(f.read(), 9))
        total += size
        print(f'  {name:<24} {size / 1024:7.1f} KB gzip')
    font = next(os.path.join(site, f) for f in (FONT, 'Carlito-Regular.ttf') if os.path.exists(os.path.join(site, f)))
    with open(font, 'rb') as f:
        data = f.read()
    print(f'transfer without the font, gzip -9: {total / 1024:.1f} KB '
          f'(the font: {len(gzip.compress(data, 9)) / 1024:.1f} KB gzip, {len(data) / 1024:.0f} KB raw)')


if __name__ == '__main__':
    main()
