"""A headless Chromium and a local web server for the web page's tests, started and stopped
by the test: the server on 127.0.0.1 at a free port, the browser with a fresh profile."""
import contextlib
import functools
import http.server
import os
import shutil
import socketserver
import tempfile
import threading

from selenium import webdriver
from selenium.webdriver.chrome.service import Service


class _Quiet(http.server.SimpleHTTPRequestHandler):
    extensions_map = {**http.server.SimpleHTTPRequestHandler.extensions_map,
                      '.wasm': 'application/wasm', '.webmanifest': 'application/manifest+json'}

    def log_message(self, *args):
        pass


class Server:
    """Serves a folder on 127.0.0.1; stop() and start() again on the same port."""

    def __init__(self, folder, port=0):
        self.folder, self.port, self._httpd = folder, port, None
        self.start()

    def start(self):
        handler = functools.partial(_Quiet, directory=self.folder)
        socketserver.TCPServer.allow_reuse_address = True
        self._httpd = socketserver.ThreadingTCPServer(('127.0.0.1', self.port), handler)
        self._httpd.daemon_threads = True
        self.port = self._httpd.server_address[1]
        threading.Thread(target=self._httpd.serve_forever, daemon=True).start()

    def stop(self):
        if self._httpd:
            self._httpd.shutdown()
            self._httpd.server_close()
            self._httpd = None

    @property
    def url(self):
        return f'http://127.0.0.1:{self.port}/'


def _driver_path():
    for p in ('/usr/bin/chromedriver', shutil.which('chromedriver') or ''):
        if p and os.path.exists(p):
            return p
    raise RuntimeError('chromedriver not found (apt-get install chromium-driver)')


@contextlib.contextmanager
def chromium(width=800, height=600, ratio=None, extra=()):
    """A headless Chromium with its own profile; quit and removed afterwards."""
    profile = tempfile.mkdtemp(prefix='sudoku-chromium-')
    opts = webdriver.ChromeOptions()
    for a in ('--headless', '--no-sandbox', '--disable-gpu', '--disable-background-networking',
              '--disable-component-update', '--no-first-run', '--disable-sync',
              '--disable-dev-shm-usage', f'--user-data-dir={profile}', f'--window-size={width},{height}',
              '--lang=ru', *extra):
        opts.add_argument(a)
    if ratio:
        opts.add_argument(f'--force-device-scale-factor={ratio}')
    opts.set_capability('goog:loggingPrefs', {'browser': 'ALL'})
    driver = webdriver.Chrome(service=Service(_driver_path()), options=opts)
    try:
        yield driver
    finally:
        driver.quit()
        shutil.rmtree(profile, ignore_errors=True)
