#!/usr/bin/python3
"""The browser build's figures beside the Linux build's frame, in one run.

    web_bench.py PAGE LINUX_BENCH

Runs LINUX_BENCH's renderFrame (the game's frame on llvmpipe; needs an X server), then plays
PAGE in headless Chromium on SwiftShader for 10 s at speed: the frames and ticks a second, the
time each frame takes on the page's thread (the browser draws what it was given after), and
the WebGL draw calls a frame."""

import os
import re
import statistics
import subprocess
import sys
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "../tools/browser"))
from devtools import Browser  # noqa: E402

SPEED_STEP = 0.01  # world units a tick that one W adds
SECONDS = 10
FRAMES = "(() => { try { return skyhuntGame._skyhunt_frames(); } catch (e) { return 0; } })()"
PLAYER = "[skyhuntGame._skyhunt_player_x(), skyhuntGame._skyhunt_player_z()]"


def linux_frame_ms(bench):
    out = subprocess.run([bench, "--benchmark_filter=^renderFrame"], capture_output=True,
                         text=True, check=True).stdout
    found = re.search(r"^renderFrame\S*_mean\s+([\d.]+) (ms|us)", out, re.MULTILINE)
    if not found:
        raise RuntimeError("no renderFrame mean in the benchmark's output:\n" + out)
    return float(found.group(1)) / (1000 if found.group(2) == "us" else 1)


def page_figures(page):
    browser = Browser()
    try:
        browser.open(page)
        browser.wait_for(FRAMES + " > 60")
        browser.type("w")
        time.sleep(0.2)
        frames0, (x0, z0), t0 = browser.evaluate(FRAMES), browser.evaluate(PLAYER), time.monotonic()
        frame_ms, draws = [], []
        while time.monotonic() < t0 + SECONDS:
            frame_ms.append(browser.evaluate("skyhuntGame._skyhunt_frame_time()"))
            draws.append(browser.evaluate("skyhuntGame._skyhunt_draw_calls()"))
            time.sleep(0.05)
        frames1, (x1, z1), t1 = browser.evaluate(FRAMES), browser.evaluate(PLAYER), time.monotonic()
    finally:
        browser.close()
    travel = ((x1 - x0) ** 2 + (z1 - z0) ** 2) ** 0.5
    return {"frames/s": (frames1 - frames0) / (t1 - t0), "ticks/s": travel / SPEED_STEP / (t1 - t0),
            "frame ms": statistics.mean(frame_ms), "frame ms p90": sorted(frame_ms)[len(frame_ms) * 9 // 10],
            "draws": statistics.median(draws)}


def main(page, bench):
    linux = linux_frame_ms(bench)
    web = page_figures(page)
    print("\nThe browser build beside the Linux build, this run:")
    print("| build | renderer | frame | frames/s | ticks/s | draw calls a frame |")
    print("|---|---|---|---|---|---|")
    print(f"| Linux | llvmpipe | {linux:.2f} ms (renderFrame, drawn and finished) | | | |")
    print(f"| page | SwiftShader | {web['frame ms']:.2f} ms mean, {web['frame ms p90']:.2f} ms p90 "
          f"(page's thread) | {web['frames/s']:.1f} | {web['ticks/s']:.2f} | {web['draws']:.0f} |")


if __name__ == "__main__":
    if len(sys.argv) != 3:
        sys.exit(__doc__)
    main(sys.argv[1], sys.argv[2])
