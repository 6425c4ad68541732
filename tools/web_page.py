"""The browser build's page served on 127.0.0.1 and opened in headless Chromium with SwiftShader's
WebGL (drawn on the CPU), driven through Debian's chromium-driver: shared by the browser test and the
frame rate benchmark."""
import atexit, functools, http.server, shutil, tempfile, threading
from selenium import webdriver
import selenium.webdriver.chrome.service

def Serve(folder):
    """Serves folder on a free port of 127.0.0.1 from a thread; the server and the page's address."""
    class Quiet(http.server.SimpleHTTPRequestHandler):
        def log_message(self, *args):
            pass
    server = http.server.ThreadingHTTPServer(("127.0.0.1", 0), functools.partial(Quiet, directory=folder))
    threading.Thread(target=server.serve_forever, daemon=True).start()
    return server, "http://127.0.0.1:%d/" % server.server_port

def Browser(before_page):
    """Headless Chromium in a window that holds an 800 x 600 canvas under the page's line, with a
    new profile of its own (IndexedDB lives there), before_page run before every page's own scripts
    and the time zone UTC. The profile is removed when this process ends, after the browser has quit."""
    profile = tempfile.mkdtemp(prefix="cairnfold-chromium-")
    atexit.register(shutil.rmtree, profile, True)
    options = webdriver.ChromeOptions()
    for flag in ["--headless=new", "--no-sandbox", "--use-angle=swiftshader", "--enable-unsafe-swiftshader",
                 "--window-size=840,800", "--user-data-dir=" + profile]:
        options.add_argument(flag)
    options.binary_location = "/usr/bin/chromium"
    driver = webdriver.Chrome(service=webdriver.chrome.service.Service("/usr/bin/chromedriver"), options=options)
    driver.execute_cdp_cmd("Page.addScriptToEvaluateOnNewDocument", {"source": before_page})
    driver.execute_cdp_cmd("Emulation.setTimezoneOverride", {"timezoneId": "UTC"})
    return driver
