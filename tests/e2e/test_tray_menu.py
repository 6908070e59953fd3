"""The tray menu's first item of the real Kivra.exe, chosen from the keyboard: "Развернуть"
while the window is in the tray, "Свернуть" while it is shown. (The rest of the life cycle is in
test_lifecycle.py.)"""

import kivra_e2e
from kivra_e2e import MAIN_TITLE, KivraTestCase

VK_DOWN, VK_RETURN = 40, 13
DOUBLE_CLICK, RIGHT_BUTTON_DOWN = 515, 516


def setUpModule():
    kivra_e2e.require_real_kivra()


class TrayMenuTest(KivraTestCase):
    def choose_first_tray_item(self):
        """Opens the tray menu with a right click and chooses its first item with the keyboard."""
        self.tray_click(RIGHT_BUTTON_DOWN)
        self.wait_for_popup()
        self.key(VK_DOWN)
        self.key(VK_RETURN)
        self.wait_for_popup(open_=False)

    def test_first_item_alternates_between_restore_and_minimize(self):
        self.write_settings()
        self.start_kivra()
        self.win_control("sysmin", MAIN_TITLE)
        self.wait_visible(False)
        self.choose_first_tray_item()           # "Развернуть"
        self.wait_visible(True)
        self.choose_first_tray_item()           # "Свернуть"
        self.wait_visible(False)
        self.choose_first_tray_item()           # "Развернуть" again
        self.wait_visible(True)
        self.tray_click(DOUBLE_CLICK)           # already shown: nothing changes
        self.wait_visible(True)


if __name__ == "__main__":
    kivra_e2e.main()
