"""How soon a gallery's index page opens in headless Chromium, and how long a filter takes.
Usage: bench/index_load.py GALLERY [TIMES]   (e.g. after gallery --scenario all --pseudo ...)
Prints the medians of TIMES loads (default 3): the page parsed, the page loaded, and choosing the
second scenario and the second language in the filters."""
import os, statistics, sys
from selenium import webdriver
from selenium.webdriver.chrome.options import Options

page = "file://" + os.path.abspath(os.path.join(sys.argv[1], "index.html"))
times = int(sys.argv[2]) if len(sys.argv) > 2 else 3
options = Options()
for a in ("--headless=new", "--no-sandbox", "--disable-gpu", "--allow-file-access-from-files"):
    options.add_argument(a)
driver = webdriver.Chrome(options=options)
FILTER = """const s = document.getElementById(arguments[0]), t = performance.now();
s.selectedIndex = Math.min(1, s.options.length - 1); s.dispatchEvent(new Event('change'));
document.body.offsetHeight; return performance.now() - t;"""
try:
    rows = []
    for _ in range(times):
        driver.get(page)
        nav = driver.execute_script(
            "const n = performance.getEntriesByType('navigation')[0];"
            "return [n.domInteractive, n.loadEventEnd];")
        rows.append(nav + [driver.execute_script(FILTER, f) for f in ("scenario", "language")])
    pictures = driver.execute_script("return document.images.length")
    names = ("parsed", "loaded", "scenario filter", "language filter")
    print(f"{pictures} pictures: " + ", ".join(
        f"{n} {statistics.median(r[i] for r in rows):.0f} ms" for i, n in enumerate(names)))
finally:
    driver.quit()
