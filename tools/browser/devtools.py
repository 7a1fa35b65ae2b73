"""Headless Chromium driven through the DevTools protocol, for the browser tests and the
benchmark: one page at 800x600 on SwiftShader's WebGL 2, keys typed into it, its console
read, its screen taken as RGB pixels (through ImageMagick's own convert, not whatever else
is first in PATH under its name)."""

import base64
import json
import os
import shutil
import subprocess
import tempfile
import time
import urllib.request

import websocket

WIDTH, HEIGHT = 800, 600
# WebGL 2 on the processor: these machines have no GPU, and Chromium refuses WebGL without.
# The page is composited in software: SwiftShader's compositing of it too more than halved the
# frame rate on a busy machine (17 frames a second against 40).
FLAGS = ["--headless=new", "--no-sandbox", "--use-angle=swiftshader",
         "--enable-unsafe-swiftshader", "--disable-gpu-compositing",
         f"--window-size={WIDTH},{HEIGHT}",
         "--remote-debugging-port=0", "--no-first-run", "--no-default-browser-check"]
# The codes GLUT reads (keyCode, and Shift for upper case), by the character typed.
SPECIAL_KEYS = {"\x1b": ("Escape", 27), " ": (" ", 32)}


class Browser:
    def __init__(self, timeout=30, extra_flags=()):
        self.socket = None
        self.profile = tempfile.mkdtemp(prefix="skyhunt-chromium-")
        self.process = subprocess.Popen(
            ["/usr/bin/chromium", *FLAGS, *extra_flags, f"--user-data-dir={self.profile}",
             "about:blank"],
            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        port_file = os.path.join(self.profile, "DevToolsActivePort")
        deadline = time.monotonic() + timeout
        while not os.path.exists(port_file) or os.path.getsize(port_file) == 0:
            if time.monotonic() > deadline or self.process.poll() is not None:
                self.close()
                raise RuntimeError("chromium did not open its DevTools port")
            time.sleep(0.1)
        with open(port_file) as f:
            port = f.readline().strip()
        with urllib.request.urlopen(f"http://127.0.0.1:{port}/json/list") as answer:
            pages = [t for t in json.load(answer) if t["type"] == "page"]
        self.socket = websocket.create_connection(pages[0]["webSocketDebuggerUrl"],
                                                  timeout=timeout)
        self.next_id = 0
        self.events = []
        self.call("Runtime.enable")
        self.call("Page.enable")
        # The window's size leaves room for a browser's bars; the page itself gets 800x600.
        self.call("Emulation.setDeviceMetricsOverride", width=WIDTH, height=HEIGHT,
                  deviceScaleFactor=1, mobile=False)

    def call(self, method, **params):
        self.next_id += 1
        self.socket.send(json.dumps({"id": self.next_id, "method": method, "params": params}))
        while True:
            message = json.loads(self.socket.recv())
            if message.get("id") == self.next_id:
                if "error" in message:
                    raise RuntimeError(f"{method}: {message['error']}")
                return message.get("result", {})
            self.events.append(message)

    def console(self):
        """The page's console lines so far, as text."""
        self.call("Runtime.evaluate", expression="0")
        return [" ".join(str(a.get("value", "")) for a in e["params"]["args"])
                for e in self.events if e.get("method") == "Runtime.consoleAPICalled"]

    def evaluate(self, expression):
        result = self.call("Runtime.evaluate", expression=expression, returnByValue=True)
        if "exceptionDetails" in result:
            raise RuntimeError(f"{expression}: {result['exceptionDetails']}")
        return result["result"].get("value")

    def wait_for(self, expression, timeout=30):
        deadline = time.monotonic() + timeout
        while not self.evaluate(expression):
            if time.monotonic() > deadline:
                raise RuntimeError(f"timed out waiting for {expression}")
            time.sleep(0.05)

    def open(self, path):
        self.call("Page.navigate", url="file://" + os.path.abspath(path))

    def type(self, character):
        key, code = SPECIAL_KEYS.get(character, (character, ord(character.upper())))
        shift = 8 if character.isupper() else 0
        for kind in ("keyDown", "keyUp"):
            self.call("Input.dispatchKeyEvent", type=kind, key=key, modifiers=shift,
                      windowsVirtualKeyCode=code, nativeVirtualKeyCode=code)

    def screen(self):
        """The page's 800x600 pixels, RGB, rows from the top."""
        png = base64.b64decode(self.call("Page.captureScreenshot", format="png")["data"])
        return rgb_pixels(png)

    def close(self):
        if self.socket is not None:
            try:
                self.call("Browser.close")
            except (RuntimeError, websocket.WebSocketException, OSError):
                pass
        try:
            self.process.wait(timeout=10)
        except subprocess.TimeoutExpired:
            self.process.kill()
            self.process.wait()
        shutil.rmtree(self.profile, ignore_errors=True)


def rgb_pixels(png):
    out = subprocess.run(["/usr/bin/convert", "png:-", "-depth", "8", "rgb:-"], input=png,
                         capture_output=True, check=True).stdout
    if len(out) != WIDTH * HEIGHT * 3:
        raise RuntimeError(f"a picture of {len(out)} bytes, not {WIDTH}x{HEIGHT} RGB")
    return out


def mean_colour(pixels, box):
    """The mean (r, g, b) over box = (left, top, width, height), in pixels from the top left."""
    left, top, width, height = box
    sums = [0, 0, 0]
    for y in range(top, top + height):
        row = pixels[(y * WIDTH + left) * 3:(y * WIDTH + left + width) * 3]
        for channel in range(3):
            sums[channel] += sum(row[channel::3])
    return tuple(s / (width * height) for s in sums)
