"""Test support for the page in the two engines besides Chromium's: WebKit (Safari's, and that of
every browser on an iPhone), driven by WebKitGTK's WebDriver in an X server of our own, and Gecko
(Firefox), driven over WebDriver BiDi, which it speaks itself. Each gives the few calls the page's
tests make of a driver: get, execute_script, key_down and key_up, quit.
"""
import contextlib
import json
import os
import re
import shutil
import socket
import subprocess
import sys
import tempfile
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.dirname(os.path.abspath(__file__))),
                                "tools"))
import xserver  # noqa: E402

MINIBROWSER = "/usr/lib/x86_64-linux-gnu/webkit2gtk-4.1/MiniBrowser"


@contextlib.contextmanager
def webkit(width=1280, height=800):
    """WebKitGTK's MiniBrowser under WebDriver, in an Xvfb of its own."""
    from selenium import webdriver
    from selenium.webdriver.common.action_chains import ActionChains
    from selenium.webdriver.webkitgtk.options import Options

    x, display = xserver.start((width + 200, height + 200))
    old = os.environ.get("DISPLAY")
    os.environ["DISPLAY"] = display
    d = None
    try:
        o = Options()
        o.binary_location = MINIBROWSER
        o.add_argument("--automation")
        d = webdriver.WebKitGTK(executable_path="/usr/bin/WebKitWebDriver", options=o)
        d.set_script_timeout(600)
        d.key_down = lambda key: ActionChains(d).key_down(key).perform()
        d.key_up = lambda key: ActionChains(d).key_up(key).perform()
        yield d
    finally:
        if d:
            d.quit()
        xserver.stop(x)
        if old is None:
            os.environ.pop("DISPLAY", None)
        else:
            os.environ["DISPLAY"] = old


def _local(v):
    """A Python value as BiDi's serialised JavaScript value."""
    if v is None:
        return {"type": "null"}
    if isinstance(v, bool):
        return {"type": "boolean", "value": v}
    if isinstance(v, (int, float)):
        return {"type": "number", "value": v}
    if isinstance(v, str):
        return {"type": "string", "value": v}
    if isinstance(v, (list, tuple)):
        return {"type": "array", "value": [_local(x) for x in v]}
    return {"type": "object", "value": [[k, _local(x)] for k, x in v.items()]}


def _remote(v):
    """BiDi's description of a JavaScript value as a Python one."""
    t = v.get("type")
    if t in ("number", "string", "boolean"):
        return v["value"]
    if t == "array":
        return [_remote(x) for x in v.get("value", [])]
    if t == "object":
        return {k if isinstance(k, str) else _remote(k): _remote(x) for k, x in v.get("value", [])}
    return None


class Firefox:
    """firefox-esr, headless, with a fresh profile, over WebDriver BiDi."""

    def __init__(self, width=1280, height=800, lang="fr-FR"):
        import websocket
        self.profile = tempfile.mkdtemp(prefix="talmyr-firefox-")
        with open(os.path.join(self.profile, "user.js"), "w") as f:
            for k, v in (("intl.accept_languages", lang), ("browser.shell.checkDefaultBrowser", False),
                         ("datareporting.policy.dataSubmissionEnabled", False),
                         ("media.autoplay.default", 0), ("app.update.disabledForTesting", True)):
                f.write("user_pref(%s, %s);\n" % (json.dumps(k), json.dumps(v)))
        s = socket.socket()
        s.bind(("127.0.0.1", 0))
        port = s.getsockname()[1]
        s.close()
        self.proc = subprocess.Popen(
            ["firefox-esr", "--headless", "--profile", self.profile, "--remote-debugging-port",
             str(port), "--width", str(width), "--height", str(height), "about:blank"],
            stdout=subprocess.DEVNULL, stderr=subprocess.PIPE, text=True)
        url, end = None, time.time() + 60
        while url is None and time.time() < end:
            line = self.proc.stderr.readline()
            if not line:
                break
            m = re.search(r"WebDriver BiDi listening on (ws://\S+)", line)
            url = m.group(1) if m else None
        if url is None:
            self.quit()
            raise RuntimeError("firefox-esr did not open WebDriver BiDi")
        self.ws = websocket.create_connection(url.rstrip("/") + "/session", suppress_origin=True,
                                              timeout=600)
        self.n = 0
        self.cmd("session.new", {"capabilities": {}})
        self.context = self.cmd("browsingContext.getTree", {})["contexts"][0]["context"]
        self.cmd("browsingContext.setViewport", {"context": self.context, "viewport": {
            "width": width, "height": height}})

    def cmd(self, method, params):
        self.n += 1
        self.ws.send(json.dumps({"id": self.n, "method": method, "params": params}))
        while True:
            msg = json.loads(self.ws.recv())
            if msg.get("id") != self.n:
                continue  # an event
            if msg.get("type") == "error" or "error" in msg:
                raise RuntimeError("%s: %s %s" % (method, msg.get("error"), msg.get("message")))
            return msg.get("result")

    def get(self, url):
        self.cmd("browsingContext.navigate", {"context": self.context, "url": url,
                                              "wait": "complete"})

    def execute_script(self, script, *args):
        r = self.cmd("script.callFunction", {
            "functionDeclaration": "function () {\n%s\n}" % script,
            "arguments": [_local(a) for a in args], "target": {"context": self.context},
            "awaitPromise": True, "resultOwnership": "none"})
        if r.get("type") == "exception":
            raise RuntimeError(r["exceptionDetails"].get("text"))
        return _remote(r["result"])

    def _key(self, kind, key):
        self.cmd("input.performActions", {"context": self.context, "actions": [
            {"type": "key", "id": "keyboard", "actions": [{"type": kind, "value": key}]}]})

    def key_down(self, key):
        self._key("keyDown", key)

    def key_up(self, key):
        self._key("keyUp", key)

    def quit(self):
        try:
            if getattr(self, "ws", None):
                self.cmd("session.end", {})
                self.ws.close()
        except Exception:  # noqa: BLE001 - the browser may be gone already
            pass
        if self.proc.poll() is None:
            self.proc.kill()
            self.proc.wait()
        shutil.rmtree(self.profile, ignore_errors=True)


@contextlib.contextmanager
def firefox(**options):
    f = Firefox(**options)
    try:
        yield f
    finally:
        f.quit()
