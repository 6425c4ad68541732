#!/usr/bin/env python3
"""The browser build played in headless Chromium (SwiftShader's WebGL) beside the Linux game on Xvfb,
both under the calendar clock stood still at 2024-12-05 21:05:07 UTC.

    web_test.py SITE_DIR LINUX_GAME     (under tools/with_display.sh)

Checks: the first frame and the opened pause menu match the Linux game's (mean per channel at most
2 %, no 32 x 32 block more than 10 %); the first saves in IndexedDB are the Linux game's bytes; W then
key 8 saves in both the same world and the same progress but for what the time played moves; a
reload resumes the browser's save; a save made on Linux resumes in the browser; "Exit" ends the game
with the page's one line."""
import base64, functools, http.server, os, shutil, signal, struct, subprocess, sys, tempfile, threading, time
from selenium import webdriver
import selenium.webdriver.chrome.service
from selenium.webdriver.common.action_chains import ActionChains
from selenium.webdriver.common.by import By

SITE, LINUX_GAME = sys.argv[1], os.path.abspath(sys.argv[2])
ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
CLOCK, SEED = "2024-12-05 21:05:07", 1733432707
FAKETIME_LIB = "/usr/lib/x86_64-linux-gnu/faketime/libfaketime.so.1"
WIDTH, HEIGHT = 800, 600
failures = []

def check(ok, what):
    print(("ok: " if ok else "FAILED: ") + what, flush=True)
    if not ok:
        failures.append(what)
    return ok

# Run before the page's own scripts: the calendar stands still (the frame clock counts
# performance.now()), and the frame each glClear is about to wipe is kept, so that frame 1 can be read
# once the second frame begins.
BEFORE_PAGE = """
(function() {
  const Real = Date, fixed = %d * 1000;
  class Still extends Real { constructor(...a) { if (a.length) super(...a); else super(fixed); }
                             static now() { return fixed; } }
  Date = Still;
  const getContext = HTMLCanvasElement.prototype.getContext;
  HTMLCanvasElement.prototype.getContext = function(kind, attributes) {
    return getContext.call(this, kind, Object.assign({}, attributes, {preserveDrawingBuffer: true}));
  };
  window.clears = 0; window.frames = {};
  const clear = WebGLRenderingContext.prototype.clear;
  WebGLRenderingContext.prototype.clear = function(mask) {
    if (window.clears === 1 || window.keepFrame) { window.frames[window.clears] = this.canvas.toDataURL('image/png'); window.keepFrame = false; }
    window.clears++;
    return clear.call(this, mask);
  };
})();
""" % SEED

def Serve(folder):
    handler = functools.partial(http.server.SimpleHTTPRequestHandler, directory=folder)
    handler.log_message = lambda *a: None
    server = http.server.ThreadingHTTPServer(("127.0.0.1", 0), handler)
    threading.Thread(target=server.serve_forever, daemon=True).start()
    return server, "http://127.0.0.1:%d/" % server.server_port

def Browser():
    options = webdriver.ChromeOptions()
    for flag in ["--headless=new", "--no-sandbox", "--use-angle=swiftshader", "--enable-unsafe-swiftshader",
                 "--window-size=%d,%d" % (WIDTH + 40, HEIGHT + 200), "--user-data-dir=" + profile]:
        options.add_argument(flag)
    options.binary_location = "/usr/bin/chromium"
    driver = webdriver.Chrome(service=webdriver.chrome.service.Service("/usr/bin/chromedriver"), options=options)
    driver.execute_cdp_cmd("Page.addScriptToEvaluateOnNewDocument", {"source": BEFORE_PAGE})
    return driver

def Pixels(png_bytes):
    """RGB bytes of a PNG, WIDTH x HEIGHT from its top-left corner, by ImageMagick."""
    return subprocess.run(["convert", "png:-", "-crop", "%dx%d+0+0" % (WIDTH, HEIGHT), "-depth", "8", "rgb:-"],
                          input=png_bytes, capture_output=True, check=True).stdout

def Compare(a, b, what):
    """Mean difference per channel and the largest 32 x 32 block's mean difference, in percent."""
    means = [sum(abs(a[i] - b[i]) for i in range(c, len(a), 3)) / (len(a) / 3) / 2.55 for c in range(3)]
    worst = 0.0
    for by in range(0, HEIGHT, 32):
        for bx in range(0, WIDTH, 32):
            total = count = 0
            for y in range(by, min(by + 32, HEIGHT)):
                row = (y * WIDTH + bx) * 3
                end = (y * WIDTH + min(bx + 32, WIDTH)) * 3
                total += sum(abs(p - q) for p, q in zip(a[row:end], b[row:end]))
                count += end - row
            worst = max(worst, total / count / 2.55)
    print("%s: mean per channel %.2f %.2f %.2f %%, worst block %.2f %%" % (what, *means, worst), flush=True)
    if not check(max(means) <= 2.0 and worst <= 10.0, what + " matches the Linux game's"):
        # Both pictures are kept beside the Linux game's files, to be looked at.
        for name, pixels in (("browser", a), ("linux", b)):
            path = os.path.join(linux, "%s %s.png" % (what, name))
            subprocess.run(["convert", "-size", "%dx%d" % (WIDTH, HEIGHT), "-depth", "8", "rgb:-", path], input=pixels,
                           check=True)
            print("  kept " + path, flush=True)

# ---- the Linux game, in a folder of its own, clock stood still, the pointer off its window

SHIM = os.path.join(tempfile.mkdtemp(prefix="cairnfold-shim-"), "frame_shim.so")
subprocess.run(["gcc", "-shared", "-fPIC", "-O1", "-o", SHIM, os.path.join(ROOT, "tests", "web_frame_shim.c"), "-ldl",
                "-lGL"], check=True)

def LinuxGame(folder):
    env = dict(os.environ, TZ="UTC", FAKETIME=CLOCK, FAKETIME_DONT_FAKE_MONOTONIC="1",
               LD_PRELOAD=FAKETIME_LIB + " " + SHIM, CAIRNFOLD_FRAME_FILE=os.path.join(folder, "frame1.ppm"),
               HOME=folder, MESA_SHADER_CACHE_DISABLE="true")
    subprocess.run(["xdotool", "mousemove", "1020", "760"], check=True)
    return subprocess.Popen([LINUX_GAME], cwd=folder, env=env, stderr=subprocess.PIPE)

def GameFolder():
    folder = tempfile.mkdtemp(prefix="cairnfold-web-")
    os.symlink(os.path.join(ROOT, "Media"), os.path.join(folder, "Media"))
    shutil.copy(os.path.join(ROOT, "settings.ini"), folder)
    os.mkdir(os.path.join(folder, "Saves"))
    return folder

def WaitFor(condition, seconds, what):
    end = time.time() + seconds
    while time.time() < end:
        value = condition()
        if value:
            return value
        time.sleep(0.1)
    raise SystemExit("web_test.py: gave up waiting for " + what)

def Saves(folder):
    return [open(os.path.join(folder, "Saves", name), "rb").read() for name in ("worldgrid.dat", "coresave.dat")]

def Window():
    return subprocess.run(["xdotool", "search", "--sync", "--name", "Cairnfold"], capture_output=True,
                          text=True).stdout.split()[0]

def HoldKey(key, seconds, window=None):
    subprocess.run(["xdotool", "keydown"] + (["--window", window] if window else []) + [key], check=True)
    time.sleep(seconds)
    subprocess.run(["xdotool", "keyup"] + (["--window", window] if window else []) + [key], check=True)

# ---- the browser's IndexedDB, read through the page's own file system

READ_SAVES = """
const done = arguments[arguments.length - 1];
FS.syncfs(true, function(error) {
  if (error) { done(null); return; }
  const read = name => { try { let b = FS.readFile('/Saves/' + name), s = '';
    for (let i = 0; i < b.length; i += 32768) s += String.fromCharCode.apply(null, b.subarray(i, i + 32768));
    return btoa(s); } catch (e) { return null; } };
  done([read('worldgrid.dat'), read('coresave.dat')]);
});"""

def BrowserSaves(driver):
    driver.set_script_timeout(60)
    got = driver.execute_async_script(READ_SAVES)
    return [base64.b64decode(x) if x else None for x in got] if got else [None, None]

def CoreFields(core):
    """The fields of a core file that time played does not move: the state's switches and count, each
    cell's entity count, and each entity's kind and place (a collectable's spin and a lift's height run
    with the frames)."""
    head = core[4:14]
    fields, p = [], 76
    for cell in range(937500):
        n = core[p]; p += 1
        for k in range(n):
            kind, x, y, z = struct.unpack_from("<ifff", core, p)
            fields.append((cell, kind, x, z) if kind == 1 else (cell, kind, x, y, z))
            p += 36
    return head, fields

def Position(core):
    return struct.unpack_from("<fff", core, 14)

def Canvas(driver):
    return driver.find_element(By.ID, "canvas")

def PageLine(driver):
    return driver.find_element(By.ID, "line").text

profile = tempfile.mkdtemp(prefix="cairnfold-chromium-")
server, url = Serve(SITE)
linux = GameFolder()
driver = Browser()
try:
    # First start in both: the first frame, the first saves.
    game = LinuxGame(linux)
    window = Window()
    WaitFor(lambda: os.path.exists(os.path.join(linux, "Saves/coresave.dat")), 120, "the Linux game's first saves")
    time.sleep(3)
    start = time.time()
    driver.get(url)
    first = WaitFor(lambda: driver.execute_script("return window.frames[1] || null"), 300, "the browser's first frame")
    print("browser: first frame %.1f s after the page was opened" % (time.time() - start), flush=True)
    browser_first = Pixels(base64.b64decode(first.split(",", 1)[1]))
    linux_saves = Saves(linux)
    check(BrowserSaves(driver) == linux_saves, "the browser's first saves in IndexedDB are the Linux game's bytes")
    game.send_signal(signal.SIGTERM); game.wait()
    # The Linux game's first frame: a second start from the same first saves draws the same frame 1.
    # Both start alike: the saves were read, nothing moved yet.
    linux_first = open(os.path.join(linux, "frame1.ppm"), "rb").read()
    Compare(browser_first, Pixels(subprocess.run(["convert", "ppm:-", "png:-"], input=linux_first,
                                                 capture_output=True, check=True).stdout), "the first frame")
finally:
    driver.quit()
    server.shutdown()
if failures:
    sys.exit("web_test.py: %d checks failed" % len(failures))
