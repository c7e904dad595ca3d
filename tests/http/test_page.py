"""The page in a headless Chromium against a real `tavrel serve`: a valid
account, a wrong one, a name search with a pick from the hit list, the "Warum?"
panel with a suggestion picked, and IBANs, each state saved as a PNG screenshot.

Usage: test_page.py TAVREL_BINARY CHROMEDRIVER PICTURE_FOLDER
Exits 77 (skipped) when Chromium or its driver is missing."""
import os
import shutil
import signal
import subprocess
import sys
import tempfile
import unittest

from selenium import webdriver
from selenium.webdriver.chrome.service import Service
from selenium.webdriver.common.by import By
from selenium.webdriver.common.keys import Keys
from selenium.webdriver.support.ui import WebDriverWait

TAVREL, DRIVER, PICTURES = sys.argv[1:4]
CHROMIUM_FLAGS = ["--headless", "--no-sandbox", "--disable-gpu", "--disable-quic",
                  "--no-first-run", "--disable-background-networking",
                  "--disable-component-update", "--disable-sync"]


def start_server():
    server = subprocess.Popen([TAVREL, "serve", "--port", "0", "--threads", "4"],
                              stdout=subprocess.PIPE, text=True)
    line = server.stdout.readline()
    if not line.startswith("listening on http://127.0.0.1:"):
        server.kill()
        raise RuntimeError("tavrel serve printed %r" % line)
    return server, line.split()[-1]


class PageTest(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.server, cls.url = start_server()
        cls.profile = tempfile.mkdtemp(prefix="tavrel-page-")
        options = webdriver.ChromeOptions()
        for flag in CHROMIUM_FLAGS + ["--user-data-dir=" + cls.profile]:
            options.add_argument(flag)
        cls.browser = webdriver.Chrome(service=Service(DRIVER), options=options)
        # The narrowest phone the page is made for.
        cls.browser.execute_cdp_cmd("Emulation.setDeviceMetricsOverride", {
            "width": 320, "height": 640, "deviceScaleFactor": 1, "mobile": True})
        cls.browser.get(cls.url)
        os.makedirs(PICTURES, exist_ok=True)

    @classmethod
    def tearDownClass(cls):
        cls.browser.quit()
        shutil.rmtree(cls.profile, ignore_errors=True)
        cls.server.send_signal(signal.SIGTERM)
        status = cls.server.wait(timeout=10)
        assert status == 0, "tavrel serve exited with %d" % status

    def field(self, name):
        return self.browser.find_element(By.ID, name)

    def type_into(self, name, text):
        field = self.field(name)
        field.clear()
        field.send_keys(text)

    def wait_for_verdict(self, text):
        WebDriverWait(self.browser, 5).until(lambda _: self.field("verdict").text == text)
        return self.field("verdict").get_attribute("data-kind")

    def snapshot(self, name):
        self.browser.save_screenshot(os.path.join(PICTURES, name + ".png"))

    def test_1_valid_account(self):
        self.type_into("bank-code", "12030000")
        self.type_into("account", "9290701")
        self.assertEqual(self.wait_for_verdict("gültig"), "valid")
        self.assertEqual(self.field("bank-name").text, "Deutsche Kreditbank Berlin")
        self.assertLessEqual(self.browser.execute_script(
            "return document.documentElement.scrollWidth"), 320)
        self.snapshot("valid")

    def test_2_wrong_account(self):
        self.type_into("bank-code", "12030000")
        self.type_into("account", "9290702")
        self.assertEqual(self.wait_for_verdict("Prüfziffer ungültig!"), "invalid")
        self.assertEqual(self.field("account").get_attribute("aria-invalid"), "")
        self.snapshot("invalid")

    def test_3_input_fault(self):
        self.type_into("account", "")
        self.type_into("bank-code", "1203")
        self.assertEqual(self.wait_for_verdict("BLZ nicht achtstellig!"), "fault")
        self.snapshot("input_fault")

    def test_4_name_search_and_pick(self):
        self.type_into("account", "")
        self.type_into("bank-code", "volksbank,chemnitz")
        hits = self.field("hits")
        WebDriverWait(self.browser, 5).until(lambda _: hits.is_displayed())
        options = hits.find_elements(By.CSS_SELECTOR, "[role=option]")
        self.assertEqual([o.text for o in options], ["87096214 Volksbank Chemnitz"])
        self.assertEqual(self.field("bank-code").get_attribute("aria-expanded"), "true")
        self.snapshot("name_search")
        self.field("bank-code").send_keys(Keys.ARROW_DOWN, Keys.ENTER)
        self.assertEqual(self.field("bank-code").get_attribute("value"), "87096214")
        self.assertFalse(hits.is_displayed())
        self.assertEqual(self.browser.switch_to.active_element, self.field("account"))
        self.assertEqual(self.wait_for_verdict("Konto hat falsche Länge!"), "fault")
        self.assertEqual(self.field("bank-name").text, "Volksbank Chemnitz")
        self.snapshot("picked")

    def test_5_escape_closes_the_hit_list(self):
        self.type_into("bank-code", "Sparkasse")
        hits = self.field("hits")
        WebDriverWait(self.browser, 5).until(lambda _: hits.is_displayed())
        self.field("bank-code").send_keys(Keys.ESCAPE)
        self.assertFalse(hits.is_displayed())

    def test_6_why_panel_and_a_suggestion(self):
        self.type_into("bank-code", "12030000")
        self.type_into("account", "9290702")
        self.wait_for_verdict("Prüfziffer ungültig!")
        self.field("why").click()
        self.assertEqual(self.field("why").get_attribute("aria-expanded"), "true")
        suggestions = self.field("suggestion-list")
        WebDriverWait(self.browser, 5).until(
            lambda _: suggestions.find_elements(By.TAG_NAME, "button"))
        steps = self.field("why-steps").find_elements(By.CSS_SELECTOR, ".head")
        self.assertTrue(steps[0].text.startswith("Methode 00"), steps[0].text)
        self.assertLessEqual(self.browser.execute_script(
            "return document.documentElement.scrollWidth"), 320)
        self.snapshot("why")
        first = suggestions.find_element(By.TAG_NAME, "button")
        picked = first.text
        first.click()
        self.assertEqual(self.field("account").get_attribute("value"), picked)
        self.assertEqual(self.wait_for_verdict("gültig"), "valid")
        self.assertFalse(self.field("why-panel").is_displayed())

    def wait_for_iban(self, iban, printed):
        self.type_into("iban", iban)
        verdict = self.field("iban-verdict")
        WebDriverWait(self.browser, 5).until(lambda _: verdict.text.startswith(printed + ":"))
        return verdict

    def test_7_iban(self):
        # The server serves today's directory: N26 Bank Berlin, method 09.
        verdict = self.wait_for_iban("de65 1001 1001 1234 5678 90", "DE65 1001 1001 1234 5678 90")
        self.assertEqual(verdict.text, "DE65 1001 1001 1234 5678 90: gültig (ohne Prüfung)")
        self.assertEqual(verdict.get_attribute("data-kind"), "valid")
        self.assertEqual(self.field("iban-bank").text, "N26 Bank Berlin · BIC NTSBDEB1XXX")
        self.snapshot("iban")
        verdict = self.wait_for_iban("DE32120300000009290702", "DE32 1203 0000 0009 2907 02")
        self.assertIn("Prüfziffer ungültig!", verdict.text)
        self.assertEqual(verdict.get_attribute("data-kind"), "invalid")
        self.assertEqual(self.field("iban").get_attribute("aria-invalid"), "")
        self.snapshot("iban_wrong_account")


if __name__ == "__main__":
    if not (shutil.which("chromium") or shutil.which("chromium-browser")) or \
            not os.access(DRIVER, os.X_OK):
        print("skipped: Chromium or chromedriver is not installed")
        sys.exit(77)
    unittest.main(argv=sys.argv[:1], verbosity=2)
