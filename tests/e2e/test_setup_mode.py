"""Setup mode and the binding files of the real Kivra.exe: capturing remote buttons into the
selected row, "Сохранить настройки", and loading the files back at start."""


import kivra_e2e
from kivra_e2e import SAVE_BINDINGS, SETUP_MODE, KivraTestCase, crlf_lines, wait_until

HEADER = " Команда WinLIRC"
F7 = 118


def setUpModule():
    kivra_e2e.require_real_kivra()


def expected_files(buttons, keys=None):
    """The exact bytes of LIRCAC.LST and LIRCHT.LST for a table holding these bindings."""
    ac = [HEADER] + [buttons.get(row, "") for row in range(1, 45)]
    ht = [(keys or {}).get(row, "") for row in range(25, 45)]
    return crlf_lines(ac), crlf_lines(ht)


class SetupModeTest(KivraTestCase):
    def save_and_read(self, before=(None, None)):
        """Clicks "Сохранить настройки" and returns both files once they have been written."""
        self.click(SAVE_BINDINGS)

        def written():
            files = self.read_binding_file("LIRCAC.LST"), self.read_binding_file("LIRCHT.LST")
            return files if None not in files and files != tuple(before) else None
        return wait_until(written, 10, message="the binding files to be written")

    def test_captured_buttons_land_in_the_selected_rows_and_are_saved(self):
        self.write_bindings({25: "KEEP", 30: "OLD"}, {25: "F5", 30: "F7"})
        self.write_settings(isMode=1)
        self.start_kivra()
        self.wait_connected()
        self.start_key_sink()
        before = self.read_binding_file("LIRCAC.LST"), self.read_binding_file("LIRCHT.LST")

        cases = [
            # row, button sent, what the row holds afterwards
            (8, "VOL_UP", "VOL_UP"),
            (9, "KEEP", "KEEP"),       # bound to row 25 too: captured, not typed, and row 25 keeps it
            (30, "NEW", "NEW"),        # below the visible part of the grid; replaces OLD
            (6, "CATEGORY", ""),       # a category row is never bound
        ]
        for row, button, _ in cases:
            if row == 6:
                # The block WinLIRC sends after re-reading its configuration carries no button:
                # it must not overwrite the selected row (30) with an empty name. The press into
                # the category row that follows shows when it has been handled.
                self.server.sighup()
            self.select_cell(row)
            self.press(button)
        self.assertEqual(self.settled_keys(), [], "setup mode typed keys")

        buttons = {25: "KEEP"}
        buttons.update({row: held for row, _, held in cases if held})
        ac, ht = self.save_and_read(before)
        self.assertEqual((ac, ht), expected_files(buttons, {25: "F5", 30: "F7"}))

        # The usual course ends by leaving setup mode: the captured button now runs its row.
        self.set_check(SETUP_MODE, False)
        self.focus_key_sink()
        self.warm_up()
        self.press("NEW")
        self.assertEqual([e.short for e in self.settled_keys()], [(F7, "down"), (F7, "up")])

    def test_untouched_table_saves_the_header_and_empty_lines(self):
        self.write_settings()
        self.start_kivra()
        ac, ht = self.save_and_read()
        self.assertEqual(ac, crlf_lines([HEADER] + [""] * 44))
        self.assertEqual(len(ac.split(b"\r\n")), 46)
        self.assertEqual(HEADER.encode("cp1251"), ac.split(b"\r\n")[0])
        self.assertEqual(ht, b"\r\n" * 20)

    def test_files_with_lone_line_feeds_load_and_save_back_with_cr_lf(self):
        buttons = {1: "MENU", 3: "EXPLORE", 17: "WIN", 25: "A", 44: "LAST"}
        keys = {25: "Shift+Ctrl+Alt+F10", 26: "Ctrl+C", 44: "Alt+Ins"}
        # Whatever the file holds in line 0, the header is written over it at start.
        self.write_bindings(buttons, keys, line_end="\n", header="старый заголовок")
        self.write_settings()
        self.start_kivra()
        self.assertEqual(self.save_and_read(), expected_files(buttons, keys))

    def test_binding_files_are_read_from_beside_the_executable(self):
        self.write_bindings({25: "PLAY"}, {25: "F7"})
        self.write_settings()
        self.start_kivra()
        self.wait_connected()
        self.start_key_sink()
        self.warm_up()
        self.press("PLAY")
        self.assertEqual([e.short for e in self.wait_for_keys(2)], [(F7, "down"), (F7, "up")])


if __name__ == "__main__":
    kivra_e2e.main()
