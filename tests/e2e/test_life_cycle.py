"""The life of the real Kivra.exe: its settings file at first start and at close, the single
instance, the tray and its menu, start-up in the tray, a settings file that cannot be written,
and screenshots of the about window, the tray menu and two skins for review."""

import os
import shutil

import kivra_e2e
from kivra_e2e import MAIN_TITLE, SETUP_MODE, LIGHT_ALLOY_GATE, RETRY_OPTION, KivraTestCase, wait_until

VK_DOWN, VK_RETURN, VK_ESCAPE = 40, 13, 27
DOUBLE_CLICK, RIGHT_BUTTON_DOWN = 515, 516
ABOUT_TITLE = "О программе Kivra 0.91 beta"
APPLICATION_TITLE = "Kivra"

FIRST_START_SETTINGS = [
    ("Common", [("SleepIfLightAlloy", "1"), ("StartInTray", "0"), ("isMode", "1"), ("StartWinLIRC", "0"),
                ("WinLIRCPath", ""), ("WinLIRCPort", ""), ("TryConnect", "0"), ("TryPeriod", "5"),
                ("AutoStart", "0"), ("isActive", "1"), ("SignalTimeOut", "100"), ("KeyboardDelay", "100"),
                ("isSkinned", "1"), ("MenuPath", "Kivra.mnu")]),
    ("Interface", ["SkinPath", "Skin"]),
]


def setUpModule():
    kivra_e2e.require_real_kivra()


class LifeCycleTest(KivraTestCase):
    def checked(self, caption):
        return self.win_control("checked", MAIN_TITLE, caption)[1].strip() == "1"

    def choose_first_tray_item(self):
        """Opens the tray menu with a right click and chooses its first item with the keyboard."""
        self.tray_click(RIGHT_BUTTON_DOWN)
        self.wait_for_popup()
        self.key(VK_DOWN)
        self.key(VK_RETURN)
        self.wait_for_popup(open_=False)

    def test_first_start_without_settings_file_and_what_closing_writes(self):
        self.start_kivra()
        for caption, state in [(SETUP_MODE, True), (LIGHT_ALLOY_GATE, True), ("Использовать скины", True),
                               (RETRY_OPTION, False), ("Запускать WinLIRC при старте", False),
                               ("Запускаться свёрнутым в трей", False), ("Запускаться вместе с Windows", False)]:
            with self.subTest(caption=caption):
                self.assertEqual(self.checked(caption), state)
        self.assertTrue(self.has_control("Активен"))
        self.assertEqual(self.stop_kivra(), 0)

        written = self.read_settings()
        self.assertIsNotNone(written, "closing wrote no Kivra.ini into the Windows directory")
        self.assertEqual(list(written), ["Common", "Interface"])
        self.assertEqual(list(written["Common"].items()), FIRST_START_SETTINGS[0][1])
        self.assertEqual(list(written["Interface"]), FIRST_START_SETTINGS[1][1])
        self.assertFalse(os.path.exists(self.binding_path("LIRCAC.LST")), "closing wrote the binding files")

    def test_second_start_shows_the_first_instance_and_touches_no_file(self):
        self.write_settings()
        self.start_kivra()
        self.click("Свернуть")
        self.wait_visible(False)
        settings_before = self.read_settings()

        second_dir = self.wine.drive_c("e2e", self.id().split(".")[-1] + "-second")
        shutil.rmtree(second_dir, ignore_errors=True)
        os.makedirs(second_dir)
        shutil.copy(self.wine.kivra_exe, os.path.join(second_dir, "Kivra.exe"))
        second = self.wine.spawn(["wine", os.path.join(second_dir, "Kivra.exe")],
                                 os.path.join(self.dir, "second-wine.log"), cwd=second_dir)
        try:
            self.assertEqual(second.wait(20), 0)
        finally:
            self.wine.kill(second)
        self.wait_visible(True)
        self.assertEqual(self.kivra.poll(), None, "the first instance ended")
        self.assertEqual(sorted(os.listdir(second_dir)), ["Kivra.exe"])
        self.assertEqual(self.read_settings(), settings_before)

    def test_minimize_goes_to_the_tray_and_the_tray_menu_alternates(self):
        self.write_settings()
        self.start_kivra()
        self.win_control("sysmin", MAIN_TITLE)
        self.wait_visible(False)
        self.assertFalse(self.visible(APPLICATION_TITLE), "the taskbar button is still there")

        self.tray_click(RIGHT_BUTTON_DOWN)
        self.wait_for_popup()
        self.screenshot("tray-menu")
        self.key(VK_ESCAPE)
        self.wait_for_popup(open_=False)
        self.assertFalse(self.visible())

        self.choose_first_tray_item()           # "Развернуть"
        self.wait_visible(True)
        self.choose_first_tray_item()           # "Свернуть"
        self.wait_visible(False)
        self.tray_click(DOUBLE_CLICK)
        self.wait_visible(True)
        self.tray_click(DOUBLE_CLICK)           # already shown: nothing changes
        self.wait_visible(True)

    def test_start_in_tray(self):
        self.write_settings(StartInTray=1)
        self.start_kivra()
        self.wait_visible(False)
        self.tray_click(DOUBLE_CLICK)
        self.wait_visible(True)
        self.assertTrue(self.checked("Запускаться свёрнутым в трей"))

    def test_settings_file_that_cannot_be_written_keeps_the_window_open(self):
        # A directory where the file should be: the profile service cannot write it.
        blocker = self.wine.windows_dir("Kivra.ini")
        os.makedirs(blocker)
        self.addCleanup(shutil.rmtree, blocker, True)
        self.start_kivra()
        self.win_control("close", MAIN_TITLE)
        dialog = self.wait_for_dialog("Unable to write to Kivra.ini")
        self.assertIn("Unable to write to Kivra.ini.", dialog)
        self.assertEqual(self.win_control("dialog-click", "Unable to write", "OK")[0], 0)
        wait_until(lambda: not self.dialogs(), 10, interval=0.2, message="the message to close")
        self.assertIsNone(self.kivra.poll(), "the program ended although its settings were not saved")
        self.assertTrue(self.visible())

        # Once the cause is gone, closing again saves and ends the program.
        shutil.rmtree(blocker)
        self.assertEqual(self.stop_kivra(), 0)
        self.assertIsNotNone(self.read_settings())

    def test_screenshots_of_the_about_window_and_two_skins(self):
        self.write_settings(isSkinned=1)
        self.start_kivra()
        self.click("Помощь")
        self.wait_visible(True, ABOUT_TITLE)
        self.screenshot("about", ABOUT_TITLE)
        self.click("OK", title=ABOUT_TITLE)
        self.wait_visible(False, ABOUT_TITLE)

        entries = self.win_control("combo-items", MAIN_TITLE)[1].splitlines()
        self.assertEqual(entries[0], "Папка со скинами...")
        skins = [i for i, name in enumerate(entries) if i > 0 and name and name != "Нет скинов"]
        self.assertGreaterEqual(len(skins), 2, "fewer than two skins: %r" % entries)
        for index in skins[:2]:
            with self.subTest(skin=entries[index]):
                self.assertEqual(self.win_control("combo-select", MAIN_TITLE, index)[0], 0)
                for page in ("Функции", "Настройки"):
                    self.win_control("tab", MAIN_TITLE, page)
                    self.screenshot("skin-%d-%s" % (index, page), MAIN_TITLE)

if __name__ == "__main__":
    kivra_e2e.main()
