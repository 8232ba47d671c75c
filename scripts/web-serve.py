#!/usr/bin/env python3
"""Serves the browser page's folder on 127.0.0.1, with caching rules that fit it.

    python3 scripts/web-serve.py <page folder> <port>

The game's files carry a hash of their contents in their names (game.<hash>.js and the like):
what such a name holds never changes, so a browser keeps them for a year without asking again.
Everything else (index.html, sw.js, the manifest, the icons) is asked after on every visit, so a
new build is seen at once. Like python3 -m http.server otherwise: nothing is compressed.
"""
import functools
import re
import sys
from http.server import SimpleHTTPRequestHandler, ThreadingHTTPServer

HASHED = re.compile(r"^/game\.[0-9a-f]{16}\.")


class PageHandler(SimpleHTTPRequestHandler):
    extensions_map = {
        **SimpleHTTPRequestHandler.extensions_map,
        ".wasm": "application/wasm",
        ".webmanifest": "application/manifest+json",
        ".js": "text/javascript",
    }

    def end_headers(self):
        if HASHED.match(self.path.split("?", 1)[0]):
            self.send_header("Cache-Control", "public, max-age=31536000, immutable")
        else:
            self.send_header("Cache-Control", "no-cache")
        super().end_headers()


def main():
    folder, port = sys.argv[1], int(sys.argv[2])
    handler = functools.partial(PageHandler, directory=folder)
    with ThreadingHTTPServer(("127.0.0.1", port), handler) as server:
        try:
            server.serve_forever()
        except KeyboardInterrupt:
            pass


if __name__ == "__main__":
    main()
