#!/usr/bin/env python3
"""Serves the site folder on this machine only: http://127.0.0.1:PORT/.

    serve.py SITE_DIR [PORT]     (PORT 0: a free one, printed)

WebAssembly needs its own type (application/wasm) to be compiled while it
downloads; the service worker keeps the offline copy, so the server asks the
browser to check every file again rather than keep its own. A file the
site's build wrote precompressed beside itself (NAME.br, NAME.gz) is sent so,
with its Content-Encoding, to a browser whose Accept-Encoding takes it, as a
school's web server or static host would.
"""
import functools
import http.server
import os
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


# The precompressed copies, in the order they are preferred.
ENCODINGS = (('br', '.br'), ('gzip', '.gz'))


def accepted_codings(header):
    """{coding: quality} of an Accept-Encoding header; a coding at q=0 is refused."""
    codings = {}
    for part in (header or '').split(','):
        name, *params = part.split(';')
        quality = 1.0
        for param in params:
            key, _, value = param.partition('=')
            if key.strip().lower() == 'q':
                try:
                    quality = float(value)
                except ValueError:
                    quality = 0.0
        if name.strip():
            codings[name.strip().lower()] = quality
    return codings


def encoding_for(header, path):
    """(coding, file) of the precompressed copy of path to send, or None."""
    codings = accepted_codings(header)
    for coding, suffix in ENCODINGS:
        if codings.get(coding, codings.get('*', 0.0)) > 0 and os.path.isfile(path + suffix):
            return coding, path + suffix
    return None


class Handler(http.server.SimpleHTTPRequestHandler):
    extensions_map = {**http.server.SimpleHTTPRequestHandler.extensions_map, **TYPES}

    def send_head(self):
        path = self.translate_path(self.path)
        if os.path.isdir(path) and self.path.split('?', 1)[0].endswith('/'):
            path = os.path.join(path, 'index.html')
        chosen = encoding_for(self.headers.get('Accept-Encoding'), path) if os.path.isfile(path) else None
        if not chosen:
            return super().send_head()
        coding, copy = chosen
        try:
            f = open(copy, 'rb')
        except OSError:
            return super().send_head()
        self.send_response(200)
        self.send_header('Content-Type', self.guess_type(path))
        self.send_header('Content-Encoding', coding)
        self.send_header('Content-Length', str(os.fstat(f.fileno()).st_size))
        self.send_header('Vary', 'Accept-Encoding')
        self.send_header('Last-Modified', self.date_time_string(int(os.fstat(f.fileno()).st_mtime)))
        self.end_headers()
        return f

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
        print(f'Tuvrel: http://127.0.0.1:{server.server_address[1]}/', flush=True)
        server.serve_forever()


if __name__ == '__main__':
    main()
