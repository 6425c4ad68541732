#!/usr/bin/env python3
"""Frames a second of the browser build in headless Chromium (SwiftShader's WebGL, on the CPU): a new
game of the known-good world of 2024-12-05 21:05:07 UTC (the page's calendar stands still there),
at the new game's view distance of 10, 800 x 600 from settings.ini, the player standing at the start.

    web_frame_rate.py SITE_DIR [SECONDS]     (make bench-web)"""
import os, sys, time
sys.path.insert(0, os.path.join(os.path.dirname(os.path.dirname(os.path.abspath(__file__))), "tools"))
from web_page import Browser, Serve

SITE, SECONDS = sys.argv[1], float(sys.argv[2]) if len(sys.argv) > 2 else 20
STILL = """Date = class extends Date { constructor(...a) { if (a.length) super(...a); else super(1733432707000); }
                              static now() { return 1733432707000; } };
window.clears = 0; const clear = WebGLRenderingContext.prototype.clear;
WebGLRenderingContext.prototype.clear = function(m) { window.clears++; return clear.call(this, m); };"""

server, url = Serve(SITE)
driver = Browser(STILL)
try:
    driver.get(url)
    while driver.execute_script("return window.clears") < 30:
        time.sleep(0.2)
    start, first = time.time(), driver.execute_script("return window.clears")
    time.sleep(SECONDS)
    frames = driver.execute_script("return window.clears") - first
    print("web: %.1f frames a second over %.0f s (%d frames), view distance 10, 800 x 600"
          % (frames / (time.time() - start), SECONDS, frames))
finally:
    driver.quit()
    server.shutdown()
