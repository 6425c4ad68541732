#!/usr/bin/env python3
"""The browser build played in headless Chromium (SwiftShader's WebGL) beside the Linux game on Xvfb,
both under the calendar clock stood still at 2024-12-05 21:05:07 UTC.

    web_test.py SITE_DIR LINUX_GAME     (under tools/with_display.sh)

Checks: the first frame and the opened pause menu match the Linux game's (mean per channel at most
2 %, no 32 x 32 block more than 10 %); the first saves in IndexedDB are the Linux game's bytes; W then
key 8 saves in both the same world and the same progress but for what the time played moves; a
reload resumes the browser's save; a save made on Linux resumes in the browser; "Exit" ends the game
with the page's one line; a save the browser refuses gives one line on the page and the game goes on."""
import atexit, base64, math, os, shutil, signal, struct, subprocess, sys, tempfile, time
from selenium.webdriver.common.action_chains import ActionChains
from selenium.webdriver.common.by import By
from selenium.webdriver.common.keys import Keys

SITE, LINUX_GAME = sys.argv[1], os.path.abspath(sys.argv[2])
ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
sys.path.insert(0, os.path.join(ROOT, "tools"))
from web_page import Browser, Serve
SEED = 1733432707  # 2024-12-05 21:05:07 UTC, the calendar clock both games stand still at
WIDTH, HEIGHT = 800, 600
SAVE_NAMES = ("worldgrid.dat", "coresave.dat")
failures = []
# The shim and every game folder: removed at the end unless a check failed, when the pictures kept
# beside the Linux game's files are there to be looked at.
WORK = tempfile.mkdtemp(prefix="cairnfold-web-")
atexit.register(lambda: print("kept " + WORK) if failures else shutil.rmtree(WORK, True))

def check(ok, what):
    print(("ok: " if ok else "FAILED: ") + what, flush=True)
    if not ok:
        failures.append(what)
    return ok

# Run before the page's own scripts: the calendar stands still at its second (the frame clock counts
# performance.now()); only its milliseconds run, since the browser's file system takes a file whose
# time has not moved for unchanged and would not write a new save to IndexedDB. The frame each
# glClear is about to wipe is kept, so that frame 1 can be read once the second frame begins.
BEFORE_PAGE = """
(function() {
  const Real = Date, fixed = %d * 1000, now = () => fixed + Math.floor(performance.now()) %% 1000;
  class Still extends Real { constructor(...a) { if (a.length) super(...a); else super(now()); }
                             static now() { return now(); } }
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

SHIM = os.path.join(WORK, "frame_shim.so")
subprocess.run(["gcc", "-shared", "-fPIC", "-O1", "-o", SHIM, os.path.join(ROOT, "tests", "web_frame_shim.c"), "-ldl",
                "-lGL"], check=True)

def LinuxGame(folder):
    env = dict(os.environ, TZ="UTC", CAIRNFOLD_CLOCK=str(SEED), LD_PRELOAD=SHIM,
               CAIRNFOLD_FRAME_FILE=os.path.join(folder, "frame1.ppm"),
               HOME=folder, MESA_SHADER_CACHE_DISABLE="true")
    subprocess.run(["xdotool", "mousemove", "1020", "760"], check=True)
    return subprocess.Popen([LINUX_GAME], cwd=folder, env=env, stderr=subprocess.PIPE)

def GameFolder():
    folder = tempfile.mkdtemp(prefix="game-", dir=WORK)
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
    return [open(os.path.join(folder, "Saves", name), "rb").read() for name in SAVE_NAMES]

def Window(game):
    found = subprocess.run(["timeout", "60", "xdotool", "search", "--sync", "--name", "Cairnfold"],
                           capture_output=True, text=True).stdout.split()
    if not found:
        game.kill()
        raise SystemExit("web_test.py: the Linux game showed no window: " + game.communicate()[1].decode())
    return found[0]

def HoldKey(key, seconds, window=None):
    subprocess.run(["xdotool", "keydown"] + (["--window", window] if window else []) + [key], check=True)
    time.sleep(seconds)
    subprocess.run(["xdotool", "keyup"] + (["--window", window] if window else []) + [key], check=True)

# ---- the browser's IndexedDB, read and written as the page's file system keeps Saves/ there

OPEN_SAVES = """
const done = arguments[arguments.length - 1], files = arguments[0];
const request = indexedDB.open('/Saves');
request.onerror = () => done(null);
request.onsuccess = () => {
  const db = request.result;
  if (!db.objectStoreNames.contains('FILE_DATA')) { db.close(); done([null, null]); return; }
  const store = db.transaction(['FILE_DATA'], files ? 'readwrite' : 'readonly').objectStore('FILE_DATA');
  const names = ['worldgrid.dat', 'coresave.dat'], got = [];
  let pending = names.length;
  names.forEach((name, i) => {
    const key = '/Saves/' + name;
    const r = files ? store.put({timestamp: new Date(), mode: 33188,
                                 contents: Uint8Array.from(atob(files[i]), c => c.charCodeAt(0))}, key)
                    : store.get(key);
    r.onsuccess = () => {
      let s = '';
      if (!files && r.result) {
        const c = r.result.contents, b = new Uint8Array(c.buffer, c.byteOffset, c.byteLength);  // kept as Int8Array
        for (let k = 0; k < b.length; k += 32768) s += String.fromCharCode.apply(null, b.subarray(k, k + 32768));
      }
      got[i] = files ? '' : (r.result ? btoa(s) : null);
      if (--pending === 0) { db.close(); done(got); }
    };
    r.onerror = () => { db.close(); done(null); };
  });
};"""

def BrowserSaves(driver):
    driver.set_script_timeout(60)
    got = driver.execute_async_script(OPEN_SAVES, None) or [None, None]
    return [base64.b64decode(x) if x else None for x in got]

def PutBrowserSaves(driver, saves):
    driver.set_script_timeout(60)
    check(driver.execute_async_script(OPEN_SAVES, [base64.b64encode(b).decode() for b in saves]) is not None,
          "the saves were put into IndexedDB")

def CoreFields(core):
    """What of a core file time played does not move: the state's switches and count, and every
    entity's kind and place, a lift by its column alone (lifts ride up and down, and are filed in
    the cell they are in; a collectable's spin runs with the frames)."""
    entities, p = [], 76
    for cell in range(937500):
        n = core[p]; p += 1
        for k in range(n):
            kind, x, y, z = struct.unpack_from("<ifff", core, p)
            entities.append((kind, x, z) if kind == 1 else (kind, x, y, z))
            p += 36
    return core[4:14], sorted(entities)

def Position(core):
    return struct.unpack_from("<fff", core, 14)

def Walked(before, after):
    """How far, and in which direction on the ground, the saved position moved."""
    (x0, _, z0), (x1, _, z1) = Position(before), Position(after)
    length = ((x1 - x0) ** 2 + (z1 - z0) ** 2) ** 0.5
    return length, ((x1 - x0) / length, (z1 - z0) / length) if length else (0.0, 0.0)

def Canvas(driver):
    return driver.find_element(By.ID, "canvas")

def PageLine(driver):
    return driver.find_element(By.ID, "line").text

def BrowserFrame(driver, what, keep=False):
    """The page's frame 1 (or, with keep, the next frame) as RGB bytes."""
    if keep:
        driver.execute_script("window.frames = {}; window.keepFrame = true;")
    got = WaitFor(lambda: driver.execute_script("const f = Object.values(window.frames); return f.length ? f[0] : null"),
                  300, "the browser's " + what)
    return Pixels(base64.b64decode(got.split(",", 1)[1]))

def Settled(shot, what):
    """A picture once it has stopped changing: the same twice, half a second apart."""
    last = shot()
    for _ in range(120):
        time.sleep(0.5)
        now = shot()
        if now == last:
            return now
        last = now
    raise SystemExit("web_test.py: %s never settled" % what)

def BrowserHold(driver, key, seconds):
    ActionChains(driver).key_down(key).pause(seconds).key_up(key).perform()

def BrowserSave(driver):
    """Key 8 held until IndexedDB holds a new core file; what it then holds."""
    old = BrowserSaves(driver)
    for hold in (1, 2, 4, 8):
        ActionChains(driver).key_down("8").perform()
        end = time.time() + hold
        while time.time() < end:
            now = BrowserSaves(driver)
            if now[1] and now[1] != old[1]:
                ActionChains(driver).key_up("8").perform()
                return now
            time.sleep(0.2)
        ActionChains(driver).key_up("8").perform()
    raise SystemExit("web_test.py: key 8 saved nothing in the browser")

def LinuxSave(folder, window):
    """Key 8 held until the Linux game has written a new core file; what it then holds."""
    core = os.path.join(folder, "Saves", "coresave.dat")
    old = os.stat(core).st_ino
    for hold in (1, 2, 4, 8):
        subprocess.run(["xdotool", "keydown", "8"], check=True)
        end = time.time() + hold
        while time.time() < end and os.stat(core).st_ino == old:
            time.sleep(0.1)
        subprocess.run(["xdotool", "keyup", "8"], check=True)
        if os.stat(core).st_ino != old:
            time.sleep(0.5)
            return Saves(folder)
    raise SystemExit("web_test.py: key 8 saved nothing in the Linux game")

def LinuxFrameOf(saves):
    """The Linux game's frame 1 resumed from saves, as RGB bytes."""
    folder = GameFolder()
    for name, data in zip(SAVE_NAMES, saves):
        open(os.path.join(folder, "Saves", name), "wb").write(data)
    game = LinuxGame(folder)
    WaitFor(lambda: os.path.exists(os.path.join(folder, "frame1.ppm")), 120, "the Linux game's frame")
    time.sleep(0.5)
    game.send_signal(signal.SIGTERM); game.wait()
    return LinuxPixels(os.path.join(folder, "frame1.ppm"))

def LinuxPixels(path):
    return Pixels(subprocess.run(["convert", "ppm:" + path, "png:-"], capture_output=True, check=True).stdout)

server, url = Serve(SITE)
linux = GameFolder()
driver = Browser(BEFORE_PAGE)
try:
    # First start in both: the first frame and the first saves are the same.
    game = LinuxGame(linux)
    window = Window(game)
    WaitFor(lambda: os.path.exists(os.path.join(linux, "frame1.ppm")), 120, "the Linux game's first frame")
    first_saves = Saves(linux)
    start = time.time()
    driver.get(url)
    browser_first = BrowserFrame(driver, "first frame")
    print("browser: first frame %.1f s after the page was opened" % (time.time() - start), flush=True)
    check(BrowserSaves(driver) == first_saves, "the browser's first saves in IndexedDB are the Linux game's bytes")
    Compare(browser_first, LinuxPixels(os.path.join(linux, "frame1.ppm")), "the first frame")
    canvas = driver.execute_script("const c = document.getElementById('canvas');"
                                   "return [c.width, c.height, getComputedStyle(c).cursor]")
    check(canvas == [WIDTH, HEIGHT, "none"], "the canvas is settings.ini's size, the system's cursor hidden over it: %s"
          % canvas)

    # W, then key 8: the same world and progress saved, the player walked the same way. The keys go to
    # the game's window, the pointer off it (the view does not turn, the pointer is not drawn).
    # Both have landed from the start's height first.
    subprocess.run(["xdotool", "windowfocus", "--sync", window], check=True)
    time.sleep(3)
    # Held about as long as each needs to walk a cell or so down the corridor ahead (the page draws
    # fewer frames, each a longer step, up to the longest the game takes).
    subprocess.run(["xdotool", "keydown", "w"], check=True); time.sleep(0.4); subprocess.run(["xdotool", "keyup", "w"])
    linux_saved = LinuxSave(linux, window)
    BrowserHold(driver, "w", 1.5)
    browser_saved = BrowserSave(driver)
    check(browser_saved[0] == linux_saved[0], "key 8 saved the same world in the browser as on Linux")
    check(CoreFields(browser_saved[1]) == CoreFields(linux_saved[1]),
          "key 8 saved the same progress and entities in the browser as on Linux")
    (linux_walk, linux_way), (browser_walk, browser_way) = (Walked(first_saves[1], linux_saved[1]),
                                                            Walked(first_saves[1], browser_saved[1]))
    print("walked %.2f towards (%.3f, %.3f) on Linux, %.2f towards (%.3f, %.3f) in the browser"
          % (linux_walk, *linux_way, browser_walk, *browser_way), flush=True)
    view = [struct.unpack_from("<ff", core, 64) for core in (first_saves[1], linux_saved[1], browser_saved[1])]
    check(view[1] == view[0] and view[2] == view[0], "the view did not turn: pitch and yaw %s, %s, %s" % tuple(view))
    forward = (math.cos(view[0][1]), math.sin(view[0][1]))
    check(linux_walk > 1 and browser_walk > 1 and all(way[0] * forward[0] + way[1] * forward[1] > 0.95
                                                     for way in (linux_way, browser_way)),
          "W walked the player forward in both")

    # The pause menu, open in both.
    subprocess.run(["xdotool", "keydown", "Escape"], check=True); time.sleep(0.5); subprocess.run(["xdotool", "keyup", "Escape"])
    BrowserHold(driver, Keys.ESCAPE, 0.5)
    linux_menu = Settled(lambda: Pixels(subprocess.run(["import", "-window", window, "png:-"], capture_output=True,
                                                       check=True).stdout), "the Linux game's menu")
    Compare(Settled(lambda: BrowserFrame(driver, "menu", keep=True), "the browser's menu"), linux_menu, "the pause menu")
    game.send_signal(signal.SIGTERM); game.wait()
    check(game.returncode == 0, "the Linux game ended with status 0")

    # "Exit" ends the game; the page says so.
    ActionChains(driver).move_to_element_with_offset(Canvas(driver), 0, -75).click_and_hold().pause(0.5).release().perform()
    WaitFor(lambda: "ended" in PageLine(driver), 60, "the page's line after Exit")
    check(PageLine(driver) == "The game has ended. Reload the page to play again.", "Exit ended the game: " + PageLine(driver))

    # A reload resumes what IndexedDB holds, as the Linux game resumes it.
    kept = BrowserSaves(driver)
    driver.refresh()
    Compare(BrowserFrame(driver, "resumed frame"), LinuxFrameOf(kept), "the frame resumed after a reload")
    check(BrowserSaves(driver) == kept, "the reload resumed the saves IndexedDB held")

    # The Linux game's saves, put into IndexedDB, resume in the browser.
    PutBrowserSaves(driver, linux_saved)
    driver.refresh()
    Compare(BrowserFrame(driver, "frame from the Linux saves"), LinuxFrameOf(linux_saved),
            "the frame resumed from the Linux game's saves")

    # The keys beyond W and 8, each held, then saved: the arrows walk as W, S, A and D do (the view
    # looks along +x: A steps towards -z), 2 and 1 lengthen and shorten the view, 3 turns textures
    # off, 4 flight on and off again.
    def Moved(axis, sign):
        return lambda before, after: sign * (Position(after)[axis] - Position(before)[axis]) > 1
    def Field(offset, kind, value):
        return lambda before, after: struct.unpack_from(kind, after, offset)[0] == value
    for key, name, holds in [(Keys.UP, "Up", Moved(0, 1)), (Keys.DOWN, "Down", Moved(0, -1)),
                             (Keys.LEFT, "Left", Moved(2, -1)), (Keys.RIGHT, "Right", Moved(2, 1)),
                             ("2", "2", Field(4, "<i", 11)), ("1", "1", Field(4, "<i", 10)),
                             ("3", "3", Field(8, "<B", 0)), ("4", "4", Field(9, "<B", 1)), ("4", "4", Field(9, "<B", 0))]:
        before = BrowserSaves(driver)[1]
        BrowserHold(driver, key, 1.0 if len(key) == 1 and key.isdigit() else 1.5)
        after = BrowserSave(driver)[1]
        check(holds(before, after), "key %s acted in the browser" % name)

    # A save the browser refuses (its storage full) gives the game's one line on the page, and the
    # game goes on.
    driver.execute_script("IDBObjectStore.prototype.put = function() {"
                          "  throw new DOMException('the storage is full', 'QuotaExceededError'); };")
    ActionChains(driver).key_down("8").pause(1).key_up("8").perform()
    WaitFor(lambda: PageLine(driver).startswith("cairnfold: "), 60, "the page's line on a refused save")
    # Both files are refused; the page shows the last line.
    check(PageLine(driver) == "cairnfold: could not save Saves/coresave.dat (replace: the storage is full)",
          "a refused save says so on the page: " + PageLine(driver))
    drawn = driver.execute_script("return window.clears")
    time.sleep(2)
    check(driver.execute_script("return window.clears") > drawn + 5, "the game went on after the refused save")
finally:
    driver.quit()
    server.shutdown()
if failures:
    sys.exit("web_test.py: %d checks failed" % len(failures))
