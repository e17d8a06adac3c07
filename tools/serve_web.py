"""Serves the page (build/web) on 127.0.0.1, on a free port, and opens it in the player's browser.

usage: serve_web.py DIR [--no-open] [--gzip | --no-length]

Prints the address; Ctrl+C stops it. The folder can equally be copied to any static web host.
--gzip compresses what it sends, as most hosts do; --no-length sends no length, as some do.
"""
import functools
import gzip
import http.server
import os
import shutil
import subprocess
import sys


class Handler(http.server.SimpleHTTPRequestHandler):
    extensions_map = dict(http.server.SimpleHTTPRequestHandler.extensions_map,
                          **{".wasm": "application/wasm", ".js": "text/javascript"})
    mode = None

    def log_message(self, *args):
        pass

    def end_headers(self):
        # nothing kept by the browser's HTTP cache: what a visit without a connection finds is the
        # page's own keeping (sw.js), as on a host whose files expire
        self.send_header("Cache-Control", "no-store")
        super().end_headers()

    def do_GET(self):
        path = self.translate_path(self.path)
        if os.path.isdir(path):
            path = os.path.join(path, "index.html")
        if self.mode is None or not os.path.isfile(path):
            return super().do_GET()
        with open(path, "rb") as f:
            body = f.read()
        self.send_response(200)
        self.send_header("Content-Type", self.guess_type(path))
        if self.mode == "gzip":
            body = gzip.compress(body)
            self.send_header("Content-Encoding", "gzip")
            self.send_header("Content-Length", str(len(body)))
        else:  # no length: the end of the body is the end of the connection
            self.close_connection = True
        self.end_headers()
        for at in range(0, len(body), 16384):
            self.wfile.write(body[at:at + 16384])


def main():
    args = [a for a in sys.argv[1:] if not a.startswith("--")]
    if len(args) != 1:
        sys.exit(__doc__)
    Handler.mode = "gzip" if "--gzip" in sys.argv else "no-length" if "--no-length" in sys.argv \
        else None
    handler = functools.partial(Handler, directory=args[0])
    server = http.server.ThreadingHTTPServer(("127.0.0.1", 0), handler)
    address = "http://127.0.0.1:%d/" % server.server_address[1]
    print("The game is served at %s (Ctrl+C stops it)" % address, flush=True)
    if "--no-open" not in sys.argv and shutil.which("xdg-open"):
        subprocess.Popen(["xdg-open", address], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    try:
        server.serve_forever()
    except KeyboardInterrupt:
        pass


if __name__ == "__main__":
    main()
