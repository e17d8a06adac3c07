"""Serves the page (build/web) on 127.0.0.1, on a free port, and opens it in the player's browser.

usage: serve_web.py DIR [--no-open]

Prints the address; Ctrl+C stops it. The folder can equally be copied to any static web host.
"""
import functools
import http.server
import shutil
import subprocess
import sys


class Handler(http.server.SimpleHTTPRequestHandler):
    extensions_map = dict(http.server.SimpleHTTPRequestHandler.extensions_map,
                          **{".wasm": "application/wasm", ".js": "text/javascript"})

    def log_message(self, *args):
        pass


def main():
    args = [a for a in sys.argv[1:] if not a.startswith("--")]
    if len(args) != 1:
        sys.exit(__doc__)
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
