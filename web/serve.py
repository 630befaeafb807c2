#!/usr/bin/env python3
"""Serves the site folder on this machine only: http://127.0.0.1:PORT/.

    serve.py SITE_DIR [PORT]

WebAssembly needs its own type (application/wasm) to be compiled while it
downloads; the service worker keeps the offline copy, so the server asks the
browser to check every file again rather than keep its own.
"""
import functools
import http.server
import sys

TYPES = {
    '.wasm': 'application/wasm',
    '.js': 'text/javascript',
    '.webmanifest': 'application/manifest+json',
    '.otf': 'font/otf',
    '.ttf': 'font/ttf',
    '.woff2': 'font/woff2',
    '.ico': 'image/x-icon',
    '.svg': 'image/svg+xml',
}


class Handler(http.server.SimpleHTTPRequestHandler):
    extensions_map = {**http.server.SimpleHTTPRequestHandler.extensions_map, **TYPES}

    def end_headers(self):
        self.send_header('Cache-Control', 'no-cache')
        self.send_header('X-Content-Type-Options', 'nosniff')
        super().end_headers()

    def log_message(self, format, *args):
        pass


def main():
    if len(sys.argv) < 2:
        sys.exit('usage: serve.py SITE_DIR [PORT]')
    port = int(sys.argv[2]) if len(sys.argv) > 2 else 8080
    handler = functools.partial(Handler, directory=sys.argv[1])
    with http.server.ThreadingHTTPServer(('127.0.0.1', port), handler) as server:
        print(f'Tuvrel: http://127.0.0.1:{port}/', flush=True)
        server.serve_forever()


if __name__ == '__main__':
    main()
