#!/usr/bin/python3
"""The browser build in headless Chromium, against the Linux build's picture.

    page_test.py PAGE LINUX_PICTURE

Opens PAGE (skyhunt.html) from the disk at 800x600, compares its picture at start region by
region with LINUX_PICTURE (the Linux build's window at start, as skyhunt-sortie's first
screenshot takes it, half a second after its first frame), then flies: the tick rate from the ship's
travel, O's fog, T's wireframe, a hidden page, and Escape; last, in a browser without WebGL,
the page's message. Exits 1 if any check failed."""

import os
import sys
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "../../tools/browser"))
from devtools import Browser, mean_colour, rgb_pixels  # noqa: E402

# Boxes of the 800x600 picture, (left, top, width, height) from the top left: the two labels
# (baselines 550 and 570 up from the bottom, 5 from the left), the player's ship at the centre,
# and ground that the other ships do not reach in the first seconds.
REGIONS = {
    "labels": (4, 18, 52, 36),
    "player's ship": (389, 289, 22, 22),
    "ground, bottom left": (20, 480, 150, 100),
    "ground, bottom right": (620, 480, 160, 100),
    "ground, top": (150, 80, 200, 60),
    "ground, right": (620, 260, 160, 100),
}
GROUND = [name for name in REGIONS if name.startswith("ground")]
# Mean colours may differ this much a channel (of 255): SwiftShader and llvmpipe filter the
# textures and round the fog a little differently, and the labels' edges fall on other pixels.
TOLERANCE = 8
SPEED_STEP = 0.01  # world units a tick that one W adds
CLEAR_COLOUR = (0, 25, 25)  # the dark teal behind the wireframe
FRAMES = "(() => { try { return skyhuntGame._skyhunt_frames(); } catch (e) { return 0; } })()"
PLAYER = "[skyhuntGame._skyhunt_player_x(), skyhuntGame._skyhunt_player_z()]"


failures = []


def check(passed, what):
    print(("ok    " if passed else "FAIL  ") + what, flush=True)
    if not passed:
        failures.append(what)


def brightness(pixels, names):
    return sum(sum(mean_colour(pixels, REGIONS[n])) for n in names) / len(names)


def main(page, linux_png):
    with open(linux_png, "rb") as f:
        linux = rgb_pixels(f.read())
    browser = Browser()
    try:
        browser.open(page)
        browser.wait_for(FRAMES + " > 60")
        lines = browser.console()
        for texture in ("metalTexture.bmp", "sunTexture.bmp", "grass.bmp"):
            check(any(f"Width of {texture}:" in line for line in lines) and
                  any(f"Height of {texture}:" in line for line in lines),
                  f"the console shows the size lines of {texture}")

        start = browser.screen()
        for name, box in REGIONS.items():
            web, native = mean_colour(start, box), mean_colour(linux, box)
            check(max(abs(a - b) for a, b in zip(web, native)) <= TOLERANCE,
                  f"{name}: mean colour {tuple(round(c) for c in web)} is within {TOLERANCE} "
                  f"of Linux's {tuple(round(c) for c in native)}")

        # The ship flies at 0.01 units a tick: its travel over 8 s of real time gives the rate,
        # within a frame's ticks at either end. The page's thread is kept busy 20 ms in every
        # 25, as on a slow machine, so that the frames come slower than 60 a second and only
        # the clock can keep the ticks at 60.
        browser.type("w")
        browser.evaluate("window.busy = setInterval(() => { const end = performance.now() + 20;"
                         " while (performance.now() < end) {} }, 5)")
        time.sleep(0.5)
        (x0, z0), frames, t0 = browser.evaluate(PLAYER), browser.evaluate(FRAMES), time.monotonic()
        time.sleep(8)
        (x1, z1), t1 = browser.evaluate(PLAYER), time.monotonic()
        frame_rate = (browser.evaluate(FRAMES) - frames) / (t1 - t0)
        browser.evaluate("clearInterval(window.busy)")
        rate = ((x1 - x0) ** 2 + (z1 - z0) ** 2) ** 0.5 / SPEED_STEP / (t1 - t0)
        check(abs(rate - 60) <= 1 and frame_rate < 50,
              f"the world ticks {rate:.2f} times a second (60 +- 1) at {frame_rate:.0f} frames")

        # Hidden, the page draws nothing and the world stands; shown again, it goes on from
        # there with no catch-up for the time away.
        window = browser.call("Browser.getWindowForTarget")["windowId"]
        browser.call("Browser.setWindowBounds", windowId=window, bounds={"windowState": "minimized"})
        time.sleep(0.3)
        frames, hidden_at = browser.evaluate(FRAMES), browser.evaluate(PLAYER)
        time.sleep(2)
        check(browser.evaluate("document.hidden") and browser.evaluate(FRAMES) == frames,
              "a hidden page draws no frames")
        browser.call("Browser.setWindowBounds", windowId=window, bounds={"windowState": "normal"})
        shown = time.monotonic()
        browser.wait_for(FRAMES + f" > {frames + 2}")
        x, z = browser.evaluate(PLAYER)
        ticks = ((x - hidden_at[0]) ** 2 + (z - hidden_at[1]) ** 2) ** 0.5 / SPEED_STEP
        allowed = (time.monotonic() - shown) * 60 + 2
        check(ticks <= allowed, f"shown again, the world went on {ticks:.0f} ticks "
              f"(at most {allowed:.0f} for the time since)")

        # O twice pulls the fog's start from 10 to 0 units: the ground at 16 keeps a fifth of
        # its colour instead of two fifths.
        before = brightness(browser.screen(), GROUND)
        browser.type("o")
        browser.type("o")
        browser.wait_for(FRAMES + f" > {browser.evaluate(FRAMES) + 3}")
        ratio = brightness(browser.screen(), GROUND) / before
        check(0.4 <= ratio <= 0.6, f"o twice darkens the ground to {ratio:.2f} of its brightness")
        browser.type("p")
        browser.type("p")

        browser.type("T")
        browser.wait_for(FRAMES + f" > {browser.evaluate(FRAMES) + 3}")
        lines_picture = browser.screen()
        pixels = [tuple(lines_picture[i:i + 3]) for i in range(0, len(lines_picture), 3)]
        clear = sum(1 for p in pixels if max(abs(a - b) for a, b in zip(p, CLEAR_COLOUR)) <= 2)
        lit = sum(1 for p in pixels if p[1] > CLEAR_COLOUR[1] + 20)
        check(clear > len(pixels) / 2 and lit > len(pixels) / 100,
              f"T draws lines: {100 * clear // len(pixels)} % background, "
              f"{100 * lit // len(pixels)} % lines")
        browser.type("t")

        browser.type("\x1b")
        time.sleep(0.5)
        frames = browser.evaluate(FRAMES)
        time.sleep(0.5)
        message = browser.evaluate("document.getElementById('message').hidden ? '' : "
                                   "document.getElementById('message').textContent")
        check(browser.evaluate(FRAMES) == frames and "ended" in message and "Reload" in message,
              f"Escape stops the loop and the page says: {message!r}")
    finally:
        browser.close()

    # Without WebGL the page says why in plain words rather than showing an empty canvas.
    browser = Browser(extra_flags=["--disable-webgl"])
    try:
        browser.open(page)
        browser.wait_for("(() => { const m = document.getElementById('message'); "
                         "return m !== null && !m.hidden; })()")
        message = browser.evaluate("document.getElementById('message').textContent")
        check("WebGL 2" in message, f"without WebGL the page says: {message!r}")
    finally:
        browser.close()


if __name__ == "__main__":
    if len(sys.argv) != 3:
        sys.exit(__doc__)
    main(sys.argv[1], sys.argv[2])
    sys.exit(1 if failures else 0)
