"""The main window of the real Kivra.exe as the user sees it: its captions, its size, the page
that shows first, and screenshots of every page (build/win32/screenshots/main-*.png) for a
person to review: Russian captions readable, nothing clipped or overlapping."""

import subprocess

import kivra_e2e
from kivra_e2e import MAIN_TITLE, KivraTestCase

PAGES = ("Функции", "Kivra menu", "Настройки")

# Texts that must appear on controls of the main window, byte for byte.
CAPTIONS = [
    "Активен", "Помощь", "Свернуть", "Выход",
    "Сохранить настройки", "Режим настройки",
    "Эмулируемая комбинация клавиш:", "Добавить",
    "Загрузить из файла",
    "Запускаться свёрнутым в трей", "Запускаться вместе с Windows", "Запускать WinLIRC при старте",
    "Путь", ">>", "Порт", "При потере сервера пытаться соединиться с периодом", "секунд",
    "Не обрабатывать команды при запущенном Light Alloy",
    "Минимальные промежуток между командами, милисекунд", "Задержка при нажатии клавиш, милисекунд",
    "Использовать скины",
]


def setUpModule():
    kivra_e2e.require_real_kivra()


class ScreensTest(KivraTestCase):
    def children(self):
        status, text = self.win_control("children", MAIN_TITLE)
        self.assertEqual(status, 0, text)
        return [line.split("\t", 2) for line in text.splitlines() if line.count("\t") >= 2]

    def test_main_window_layout_and_captions(self):
        self.write_settings()
        self.start_kivra()
        self.wait_connected()
        self.assertEqual(self.win_control("client-size", MAIN_TITLE)[1].split(), ["656", "502"])
        self.assertEqual(self.win_control("tab-selected", MAIN_TITLE)[1].strip(), "Настройки",
                         "the settings page shows first")
        texts = {text for _, _, text in self.children()}
        for caption in CAPTIONS:
            with self.subTest(caption=caption):
                self.assertTrue(caption in texts or "&" + caption in texts, "no control reads %r" % caption)
        panels = self.status()
        self.assertEqual(len(panels), 3)
        self.assertEqual(panels[0], kivra_e2e.CONNECTED)
        self.assertEqual(panels[2], "")

    def test_screenshots_of_every_page(self):
        self.write_bindings({1: "MENU", 17: "WIN", 25: "A"}, {25: "Shift+Ctrl+Alt+F10"})
        self.write_settings()
        self.start_kivra()
        self.wait_connected()
        self.press("VOL_UP")
        for page in PAGES:
            with self.subTest(page=page):
                self.assertEqual(self.win_control("tab", MAIN_TITLE, page)[0], 0)
                self.assertEqual(self.win_control("tab-selected", MAIN_TITLE)[1].strip(), page)
                self.assertPicture(self.screenshot("main-" + page, MAIN_TITLE))

    def test_screenshot_with_skins_on(self):
        self.write_settings(isSkinned=1)
        self.start_kivra()
        self.wait_connected()
        for page in ("Функции", "Настройки"):
            self.win_control("tab", MAIN_TITLE, page)
            self.assertPicture(self.screenshot("main-skinned-" + page, MAIN_TITLE))

    def assertPicture(self, path):
        """The file holds a picture with some content, not one flat colour."""
        # identify is no Wine program, so reading its output through a pipe is safe.
        colours = subprocess.run(["identify", "-format", "%k", path], capture_output=True, text=True).stdout.strip()
        self.assertTrue(colours.isdigit() and int(colours) > 8, "%s looks empty (%s colours)" % (path, colours))

if __name__ == "__main__":
    kivra_e2e.main()
