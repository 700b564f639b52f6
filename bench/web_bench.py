"""The web page in a headless Chromium on localhost (run by scripts/bench.sh web; not a test):
first paint of the board after navigation beside a blank page's first paint, a click to its
repaint, and the page's transfer compressed.
    web_bench.py SITE [N]"""
import gzip
import os
import statistics
import sys
import tempfile
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), '..', 'tests', 'web'))
import browser  # noqa: E402
import web_cases as page  # noqa: E402


def summary(name, values, unit='ms'):
    values = sorted(values)
    print(f'{name:<38} median {statistics.median(values):7.1f} {unit}   p90 {values[int(0.9 * (len(values) - 1))]:7.1f}'
          f' {unit}   max {values[-1]:7.1f} {unit}   (N={len(values)})')


def main():
    site, n = sys.argv[1], int(sys.argv[2]) if len(sys.argv) > 2 else 20
    blank_dir = tempfile.mkdtemp(prefix='sudoku-blank-')
    with open(os.path.join(blank_dir, 'index.html'), 'w') as f:
        f.write('<!DOCTYPE html><html><body><p>.</p></body></html>')
    server, blank = browser.Server(site), browser.Server(blank_dir)
    try:
        with browser.chromium(1000, 800) as d:
            board, blank_paint, first_visit = [], [], None
            for i in range(n + 1):
                d.get(server.url)
                page.wait_for(d, 'return typeof Shell !== "undefined" && Shell.stats().paints > 0')
                t = d.execute_script('return Shell.stats().firstPaint')
                if i == 0:
                    first_visit = t
                else:
                    board.append(t)
                d.get(blank.url)
                blank_paint.append(page.wait_for(d, 'const p = performance.getEntriesByName("first-contentful-paint");'
                                                    'return p.length ? p[0].startTime : 0'))
            print(f'first visit (no service worker yet): board painted {first_visit:.1f} ms after navigation')
            summary('board painted after navigation', board)
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
        if name.endswith('.ttf') or name.endswith('.txt'):
            continue
        with open(os.path.join(site, name), 'rb') as f:
            size = len(gzip.compress(f.read(), 9))
        total += size
        print(f'  {name:<24} {size / 1024:7.1f} KB gzip')
    font = os.path.getsize(os.path.join(site, 'Carlito-Regular.ttf'))
    print(f'transfer without the font, gzip -9: {total / 1024:.1f} KB (the font: {len(gzip.compress(open(os.path.join(site, "Carlito-Regular.ttf"), "rb").read(), 9)) / 1024:.1f} KB gzip, {font / 1024:.0f} KB raw)')


if __name__ == '__main__':
    main()
