"""The preview in headless Chromium, as a person uses it: pictures show, a store change shows
within a second, a language changes the captions, a tap shows the link, a widget that cannot be
drawn says why, a tinted look takes the tint chosen, and as the phone does, a store change waits for the reload date or "Reload
timelines". The gallery's index page filters its findings and pictures, opened from disk. Skipped (exit 77)
unless TAMSA_BROWSER_TESTS=1. Usage: browser_test.py PROGRAM CONTAINER"""
import json, os, shutil, subprocess, sys, tempfile, time, unittest

if os.environ.get("TAMSA_BROWSER_TESTS") != "1":
    print("skipped: set TAMSA_BROWSER_TESTS=1 (needs chromium, chromium-driver, python3-selenium)")
    sys.exit(77)

from selenium import webdriver
from selenium.common.exceptions import StaleElementReferenceException
from selenium.webdriver.chrome.service import Service
from selenium.webdriver.common.by import By
from selenium.webdriver.support.ui import Select, WebDriverWait

from preview_server import PreviewServer


class BrowserTest(unittest.TestCase):
    def setUp(self):
        self.server = PreviewServer(sys.argv[1], sys.argv[2])
        options = webdriver.ChromeOptions()
        for arg in ("--headless=new", "--no-sandbox", "--disable-gpu", "--disable-dev-shm-usage"):
            options.add_argument(arg)
        self.browser = webdriver.Chrome(service=Service("/usr/bin/chromedriver"), options=options)
        self.browser.get(self.server.url + "/")
        self.wait_for(lambda: len(self.pictures()) >= 3)

    def tearDown(self):
        self.browser.quit()
        self.server.close()

    def wait_for(self, condition, seconds=5):
        WebDriverWait(self.browser, seconds, poll_frequency=0.05).until(lambda _: condition())

    def pictures(self):
        return self.browser.find_elements(By.CSS_SELECTOR, ".tile img")

    def texts(self, family="medium"):
        return self.browser.execute_script(  # read at once: the page replaces its tiles
            "const i = document.querySelector(arguments[0]); return i ? i.dataset.texts : ''",
            f'.tile[data-kind="TamsaWidget"][data-family="{family}"] img')

    def click(self, selector):
        try:  # a tile can be replaced between finding and clicking it
            self.browser.find_element(By.CSS_SELECTOR, selector).click()
            return True
        except StaleElementReferenceException:
            return False

    def choose(self, select, value):
        Select(self.browser.find_element(By.ID, select)).select_by_value(value)

    def test_live_page_follows_the_store_language_and_taps(self):
        self.wait_for(lambda: self.browser.execute_script(
            "return [...document.querySelectorAll('.tile img')].every(i => i.naturalWidth > 0)"))
        self.server.store("widget_balance=98765")
        self.wait_for(lambda: "98,765" in self.texts(), seconds=1)

        english = self.texts()
        self.choose("language", "de")
        self.wait_for(lambda: self.texts() and self.texts() != english)
        self.assertIn("98,765", self.texts())

        self.wait_for(lambda: self.click('.tile[data-family="small"]'))
        self.wait_for(lambda: self.browser.find_element(By.ID, "link").text.startswith("tamsaledger://"))

    def test_a_widget_that_cannot_be_drawn_shows_why(self):
        error, caption, pictures = self.browser.execute_script(
            "const t = tile({kind: 'TamsaWidget', family: 'small', error: 'no room'});"
            "return [t.querySelector('.error').textContent, t.querySelector('figcaption').textContent,"
            " t.querySelectorAll('img').length]")
        self.assertEqual((error, pictures), ("no room", 0))
        self.assertTrue(caption.startswith("TamsaWidget · small"), caption)

    def test_the_look_and_tint_chosen_are_the_ones_drawn(self):
        self.choose("appearance", "tinted")
        self.browser.execute_script(
            "const t = document.getElementById('tint'); t.value = '#30d158';"
            "t.dispatchEvent(new Event('change'))")
        # The backdrop of the medium summary, read from its picture: the tint's green.
        backdrop = ("const i = document.querySelector('.tile[data-family=\"medium\"] img');"
                    "if (!i || !i.complete || !i.naturalWidth) return null;"
                    "const c = document.createElement('canvas'); c.width = 40; c.height = 60;"
                    "const g = c.getContext('2d'); g.drawImage(i, 0, 0);"
                    "return [...g.getImageData(30, 50, 1, 1).data]")
        self.wait_for(lambda: (lambda p: p and p[1] > p[0] + 20)(
            self.browser.execute_script(backdrop)))
        self.assertEqual(self.browser.find_element(By.ID, "screen").get_attribute("class"), "tinted")

    def test_the_gallery_index_shows_only_what_the_filters_pick(self):
        folder = tempfile.mkdtemp()
        self.addCleanup(shutil.rmtree, folder, ignore_errors=True)
        baseline = folder + "/baseline.json"
        draw = [sys.argv[1], "gallery", "-o", folder + "/g", "--language", "en,de", "--scale", "1",
                "--appearance", "light,tinted",
                "--scenario", "custom-unknown-mode,long-wallet-name", "--baseline", baseline]
        subprocess.run(draw + ["--update-baseline"], check=True, stdout=subprocess.DEVNULL)
        # Accept everything but German's cut: that one is new, and an error.
        with open(baseline) as f:
            accepted = json.load(f)
        accepted["accepted"] = [e for e in accepted["accepted"]
                                if not (e["rule"] == "cut" and e.get("language") == "de")]
        with open(baseline, "w") as f:
            json.dump(accepted, f)
        self.assertEqual(subprocess.run(draw, stdout=subprocess.DEVNULL,
                                        stderr=subprocess.DEVNULL).returncode, 3)
        self.browser.get("file://" + folder + "/g/index.html")
        shown = "return [...document.querySelectorAll(arguments[0])].filter(e => e.offsetParent).length"
        count = lambda selector: self.browser.execute_script(shown, selector)
        everything = (count("section"), count("figure"), count("tr.finding"))
        self.assertEqual(everything[0], 4)

        self.choose("status", "new")
        self.assertEqual(count("tr.finding"), 1)
        self.assertIn("widget_period_custom", self.browser.find_element(By.CSS_SELECTOR, "tr.finding:not(.hidden)").text)
        new = count("figure")
        self.assertEqual(new, len(self.browser.find_elements(By.CSS_SELECTOR, 'figure[data-statuses*=" new "]')))
        self.assertGreater(new, 0)
        self.choose("language", "en")  # English shows no new finding
        self.assertEqual((count("tr.finding"), count("figure"), count("section")), (0, 0, 0))

        self.choose("status", "")
        self.choose("language", "")
        self.choose("severity", "note")
        notes = count("tr.finding")
        self.assertGreater(notes, 0)
        self.assertEqual(notes, len(self.browser.find_elements(By.CSS_SELECTOR, "tr.finding.note")))
        self.choose("scenario", "long-wallet-name")
        self.choose("kind", "TamsaWidget")
        for figure in self.browser.find_elements(By.CSS_SELECTOR, "figure:not(.hidden)"):
            self.assertEqual(figure.get_attribute("data-scenario"), "long-wallet-name")
            self.assertIn(" note ", figure.get_attribute("data-severities"))
        self.assertEqual(self.browser.find_element(By.ID, "count").text,
                         f"{count('tr.finding')} findings, {count('figure')} pictures shown")
        self.choose("severity", "")
        self.choose("scenario", "")
        self.choose("kind", "")
        # A look: only its pictures, and only the findings it shows (colours lost to one tone).
        self.choose("appearance", "tinted")
        tinted = len(self.browser.find_elements(By.CSS_SELECTOR, 'figure[data-appearance="tinted"]'))
        self.assertEqual(count("figure"), tinted)
        self.assertTrue(0 < tinted < everything[1])
        rows = self.browser.execute_script(
            "return [...document.querySelectorAll('tr.finding')].filter(e => e.offsetParent)"
            ".map(e => e.textContent)")
        self.assertTrue(any("one tone" in r for r in rows), rows)
        self.assertFalse(any("in light:" in r for r in rows), rows)
        self.choose("appearance", "")
        self.assertEqual((count("section"), count("figure"), count("tr.finding")), everything)

    def test_as_the_phone_waits_for_the_reload_date(self):
        self.choose("mode", "phone")
        time.sleep(0.3)
        before = self.texts()
        self.server.store("widget_balance=55555")
        time.sleep(0.6)  # a live page would have shown it by now
        self.assertEqual(self.texts(), before)
        self.click("#hour")
        self.wait_for(lambda: "55,555" in self.texts())

        self.server.store("widget_balance=44444")
        time.sleep(0.6)
        self.assertIn("55,555", self.texts())
        self.click("#reload")
        self.wait_for(lambda: "44,444" in self.texts())


if __name__ == "__main__":
    unittest.main(argv=sys.argv[:1])
