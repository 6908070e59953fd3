"""The life of the real Kivra.exe: the first start and its settings file, the single instance,
the tray, the about window, the skins, and a settings file that cannot be written at close.
Screenshots of the tray menu, the about window and two skins land in build/win32/screenshots/."""

import os
import shutil
import time

import kivra_e2e
from kivra_e2e import MAIN_TITLE, KivraTestCase, wait_until

APPLICATION_TITLE = "Kivra"  # the taskbar window, and the title of the error report
ABOUT_TITLE = "О программе Kivra 0.91 beta"

FIRST_SAVE = [
    ("SleepIfLightAlloy", "1"), ("StartInTray", "0"), ("isMode", "1"), ("StartWinLIRC", "0"),
    ("WinLIRCPath", ""), ("WinLIRCPort", ""), ("TryConnect", "0"), ("TryPeriod", "5"),
    ("AutoStart", "0"), ("isActive", "1"), ("SignalTimeOut", "100"), ("KeyboardDelay", "100"),
    ("isSkinned", "1"), ("MenuPath", "Kivra.mnu"),
]


def setUpModule():
    kivra_e2e.require_real_kivra()


class LifecycleTest(KivraTestCase):
    def visible(self, title):
        status, text = self.win_control("visible", title)
        return status == 0 and text.strip() == "1"

    def wait_visible(self, title, state, timeout=10):
        wait_until(lambda: self.visible(title) == state, timeout, interval=0.2,
                   message="%r to be %s" % (title, "shown" if state else "hidden"))

    def settings_bytes(self):
        path = self.wine.windows_dir("Kivra.ini")
        if not os.path.exists(path):
            return None
        with open(path, "rb") as ini:
            return ini.read()

    def write_skin(self, name):
        self.write_settings(isSkinned=1)
        path = self.wine.windows_dir("Kivra.ini")
        with open(path, "rb") as ini:
            text = ini.read().replace(b"Skin=\r\n", b"Skin=" + name.encode("ascii") + b"\r\n")
        with open(path, "wb") as ini:
            ini.write(text)

    def test_first_start_without_settings_writes_the_sixteen_keys_at_close(self):
        self.start_kivra()
        self.assertIsNone(self.settings_bytes(), "nothing is written before the close")
        self.assertEqual(self.stop_kivra(), 0)
        settings = self.read_settings()
        self.assertIsNotNone(settings, "Kivra.ini is in the Windows directory")
        self.assertEqual(list(settings.keys()), ["Common", "Interface"])
        self.assertEqual(list(settings["Common"].items()), FIRST_SAVE)
        self.assertEqual(list(settings["Interface"].items()), [("SkinPath", ""), ("Skin", "Classic")])
        self.assertIsNone(self.read_binding_file("LIRCAC.LST"), "the binding files have their own button")

    def test_second_start_shows_the_first_and_touches_nothing(self):
        self.write_settings()
        self.start_kivra()
        self.wait_connected()
        self.win_control("sysmin", MAIN_TITLE)
        self.wait_visible(MAIN_TITLE, False)
        before = self.settings_bytes()

        second = self.wine.spawn(["wine", os.path.join(self.dir, "Kivra.exe")],
                                 os.path.join(self.dir, "second-wine.log"), cwd=self.dir)
        try:
            second.wait(30)
        finally:
            self.wine.kill(second)
        self.assertEqual(second.returncode, 0)
        self.wait_visible(MAIN_TITLE, True)
        self.assertEqual(self.settings_bytes(), before)
        self.assertIsNone(self.read_binding_file("LIRCAC.LST"))
        self.assertFalse(self.server.wait_for_clients(2, 1), "the second start made no connection")

    def test_minimize_goes_to_the_tray_and_a_double_click_brings_it_back(self):
        self.write_settings()
        self.start_kivra()
        self.wait_connected()
        self.assertTrue(self.visible(APPLICATION_TITLE))
        self.win_control("sysmin", MAIN_TITLE)
        self.wait_visible(MAIN_TITLE, False)
        self.assertFalse(self.visible(APPLICATION_TITLE), "no taskbar button is left")
        self.win_control("tray-callback", MAIN_TITLE, 515)
        self.wait_visible(MAIN_TITLE, True)
        self.assertTrue(self.visible(APPLICATION_TITLE))

    def test_start_in_tray(self):
        self.write_settings(StartInTray=1)
        self.start_kivra()
        self.wait_connected()
        self.wait_visible(MAIN_TITLE, False)
        self.assertFalse(self.visible(APPLICATION_TITLE))

    def menu_open(self):
        return self.win_control("find-class", "#32768")[0] == 0

    def test_tray_menu_opens_on_the_right_button_and_closes_with_esc(self):
        self.write_settings()
        self.start_kivra()
        self.wait_connected()
        self.win_control("tray-callback", MAIN_TITLE, 516)
        wait_until(self.menu_open, 10, interval=0.2, message="the tray menu")
        time.sleep(0.5)
        self.wine.screenshot("tray-menu")
        self.win_control("key", 27)
        wait_until(lambda: not self.menu_open(), 10, interval=0.2, message="the tray menu to close")
        self.assertTrue(self.visible(MAIN_TITLE), "closing the menu chooses nothing")

    def test_about_window(self):
        self.write_settings()
        self.start_kivra()
        self.wait_connected()
        self.click("Помощь")
        self.wait_visible(ABOUT_TITLE, True)
        self.assertTrue(self.has_control("версия 0.91 beta", ABOUT_TITLE))
        self.screenshot("about", ABOUT_TITLE)
        self.click("OK", ABOUT_TITLE)
        self.wait_visible(ABOUT_TITLE, False)
        self.assertTrue(self.visible(MAIN_TITLE))

    def check_skin(self, skin):
        self.write_skin(skin)
        self.start_kivra()
        # A skinned status bar is painted by the program itself: its text cannot be read back.
        self.assertTrue(self.server.wait_for_clients(1, 15), "Kivra did not connect to the stand-in")
        time.sleep(1)
        self.screenshot("skin-" + skin, MAIN_TITLE)
        self.assertEqual(self.stop_kivra(), 0)
        self.assertEqual(self.read_settings()["Interface"]["Skin"], skin)

    def test_skin_graphite(self):
        self.check_skin("Graphite")

    def test_skin_marine(self):
        self.check_skin("Marine")

    def test_unwritable_settings_at_close_keep_the_window_open(self):
        self.start_kivra()
        # A directory where the file should be: every write to it fails.
        blocker = self.wine.windows_dir("Kivra.ini")
        os.makedirs(blocker)
        self.addCleanup(shutil.rmtree, blocker, True)
        self.win_control("close", MAIN_TITLE)

        def report_shown():
            status, text = self.win_control("children", APPLICATION_TITLE)
            return status == 0 and "Unable to write to Kivra.ini." in text
        wait_until(report_shown, 10, interval=0.2, message="the error report")
        time.sleep(0.5)
        self.assertEqual(self.win_control("find-title", MAIN_TITLE)[0], 0, "the window stays")
        self.assertIsNone(self.kivra.poll(), "the program keeps running")

        self.win_control("key", 13)  # OK on the report
        wait_until(lambda: not report_shown(), 10, interval=0.2, message="the report to close")
        shutil.rmtree(blocker)
        self.assertEqual(self.stop_kivra(), 0, "once the file can be written the close completes")
        self.assertEqual(self.read_settings()["Common"]["isMode"], "1")


if __name__ == "__main__":
    kivra_e2e.main()
