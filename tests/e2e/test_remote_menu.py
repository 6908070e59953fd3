"""The remote menu of the real Kivra.exe, walked from the remote: a button opens it, buttons
bound to Down, Right, Enter and Esc move through it, and a chosen item runs its command."""

import kivra_e2e
from kivra_e2e import KivraTestCase

DOWN, ENTER, ESCAPE, RIGHT = 40, 13, 27, 39
F5, F7 = 116, 118

# Row 1 opens the menu; user key rows type Down and Right; the built-in rows type Enter and Esc.
BUTTONS = {1: "MENU", 21: "OK", 23: "BACK", 25: "DOWN", 26: "RIGHT"}
KEYS = {25: "Down", 26: "Right"}


def setUpModule():
    kivra_e2e.require_real_kivra()


def menu_file(*sections):
    """A menu file's text from (section, {key: value}) pairs."""
    return "".join("[%s]\r\n" % name + "".join("%s=%s\r\n" % item for item in keys.items())
                   for name, keys in sections)


class RemoteMenuTest(KivraTestCase):
    def start(self, menu_text):
        # Menu files are in the ANSI code page, which is 1252 under the tests' Wine, so the
        # captions here keep to ASCII.
        with open(self.wine.windows_dir("Kivra.mnu"), "wb") as mnu:
            mnu.write(menu_text.encode("ascii"))
        self.write_bindings(BUTTONS, KEYS)
        self.write_settings()
        self.start_kivra()
        self.wait_connected()
        self.start_key_sink()
        self.warm_up()

    def open_menu(self):
        self.press("MENU")
        return self.wait_for_popup()

    def typed(self):
        return [e.short for e in self.settled_keys()]

    def test_remote_opens_the_menu_moves_down_twice_and_chooses_the_second_item(self):
        self.start(menu_file(("Sub", {"Subs": 2}),
                             ("Sub1", {"Caption": "First", "Command": "SENDKEY", "Parameters": "F5"}),
                             ("Sub2", {"Caption": "Second", "Command": "SENDKEY", "Parameters": "F7"})))
        self.open_menu()
        self.press("DOWN")
        self.press("DOWN")
        self.press("OK")
        self.wait_for_popup(open_=False)
        self.assertEqual(self.typed(), [(DOWN, "down"), (DOWN, "up")] * 2
                         + [(ENTER, "down"), (ENTER, "up"), (F7, "down"), (F7, "up")])

    def test_choosing_an_item_with_children_runs_nothing(self):
        self.start(menu_file(("Sub", {"Subs": 1}),
                             ("Sub1", {"Caption": "Folder", "Subs": 1, "Command": "SENDKEY", "Parameters": "F7"}),
                             ("Sub11", {"Caption": "Inside", "Command": "SENDKEY", "Parameters": "F5"})))
        self.open_menu()
        self.press("DOWN")
        self.press("OK")        # opens the submenu; the item's own command must not run
        self.press("BACK")
        self.press("BACK")
        self.wait_for_popup(open_=False)
        typed = self.typed()
        self.assertNotIn((F7, "down"), typed)
        self.assertNotIn((F5, "down"), typed)

    def test_screenshot_of_the_open_menu_with_a_submenu_and_a_separator(self):
        self.start(menu_file(
            ("Sub", {"Subs": 5}),
            ("Sub1", {"Caption": "&Notepad", "Command": "OPEN", "Parameters": "notepad.exe"}),
            ("Sub2", {"Caption": "Volume +", "Command": "VOLUMEUP"}),
            ("Sub3", {"Caption": "-"}),
            ("Sub4", {"Caption": "Keys", "Subs": 2}),
            ("Sub41", {"Caption": "Copy", "Command": "SENDKEY", "Parameters": "Ctrl+C"}),
            ("Sub42", {"Caption": "Paste", "Command": "SENDKEY", "Parameters": "Ctrl+V"}),
            ("Sub5", {"Caption": "A very long menu item whose caption goes on and on past the right edge of "
                                 "the screen, so that the painter has to cut it short with an ellipsis",
                      "Command": "MUTE"})))
        self.open_menu()
        for _ in range(3):      # Notepad, Volume +, (the separator is passed over) Keys
            self.press("DOWN")
        self.press("RIGHT")
        self.screenshot("remote-menu")
        self.press("BACK")
        self.press("BACK")
        self.wait_for_popup(open_=False)


if __name__ == "__main__":
    kivra_e2e.main()
