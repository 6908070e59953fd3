"""From remote button to keystroke: the real Kivra.exe, the stand-in and the key sink.

Every line the stand-in sends carries a remote name used only once; Kivra shows it in status
panel 1 while it handles the line, so reading that panel back tells when the line's keys, if
any, have been typed."""

import kivra_e2e
from kivra_e2e import KivraTestCase, LIGHT_ALLOY_GATE
from winlirc_standin import format_line

F5 = 116
TAB = 9
EXTENDED_INJECTED_DOWN, EXTENDED_INJECTED_UP = 17, 145


def setUpModule():
    kivra_e2e.require_real_kivra()


class KeysTest(KivraTestCase):
    def start(self, buttons, keys=None, **settings):
        self.write_bindings(buttons, keys)
        self.write_settings(**settings)
        self.start_kivra()
        self.wait_connected()
        self.start_key_sink()
        self.warm_up()

    def typed(self):
        return [e.short for e in self.settled_keys()]

    def test_one_button_on_win_and_a_key_combination_types_both_in_row_order(self):
        delay = 250
        self.start({17: "POWER", 30: "POWER"}, {30: "Shift+Ctrl+Alt+F10"}, KeyboardDelay=delay)
        self.press("POWER")
        events = self.wait_for_keys(10)
        self.assertEqual([e.short for e in self.settled_keys()], [
            (91, "down"), (91, "up"),
            (164, "down"), (17, "down"), (160, "down"), (121, "down"), (121, "up"),
            (160, "up"), (17, "up"), (164, "up")])
        for event in events:
            self.assertEqual(event.scan, 69, event)
            self.assertEqual(event.flags, EXTENDED_INJECTED_DOWN if event.down else EXTENDED_INJECTED_UP, event)
        # PressKey waits the key delay after each key's release: after Win, and after F10 before
        # the modifiers are let go. The time stamps have a few milliseconds of jitter.
        win_up, alt_down, f10_up, shift_up = events[1], events[2], events[6], events[7]
        self.assertGreaterEqual(alt_down.time - win_up.time, delay - 20)
        self.assertGreaterEqual(shift_up.time - f10_up.time, delay - 20)

    def test_held_button_dispatches_once_and_again_after_the_gap(self):
        self.start({25: "NEXT"}, {25: "F5"})
        self.hold("NEXT", 12, 30)
        self.assertEqual(self.typed(), [(F5, "down"), (F5, "up")])
        # Well past the gap (press() waits PRESS_SPACING) the same button counts as a new press.
        self.press("NEXT")
        self.assertEqual(self.typed(), [(F5, "down"), (F5, "up")] * 2)

    def test_line_split_across_two_reads_is_one_signal(self):
        self.start({25: "CHANNEL_UP"}, {25: "F5"})
        remote = self.next_remote()
        self.server.split("CHANNEL_UP", remote)
        self.wait_handled(remote, "CHANNEL_UP")
        self.assertEqual(self.typed(), [(F5, "down"), (F5, "up")])

    def test_lines_arriving_together_are_handled_one_by_one(self):
        # Two lines in one write: the first types F5; the second is handled on its own (it is
        # shown with its own remote name), and dropped by the gap since it follows at once.
        self.start({25: "FIRST", 22: "SECOND"}, {25: "F5"})
        lines = format_line(1, 0, "FIRST", "RA") + format_line(2, 0, "SECOND", "RB")
        self.server.send_bytes(lines.encode("ascii"))
        self.wait_handled("RB", "SECOND")
        self.assertEqual(self.typed(), [(F5, "down"), (F5, "up")])

    def test_sighup_block_is_no_signal_and_does_not_hold_back_the_next_line(self):
        # Were the block's lines taken as signals, the gap would drop the press right behind it.
        self.start({22: "OK"})
        self.server.send_bytes(b"BEGIN\nSIGHUP\nEND\n0000000000000001 00 OK RS\n")
        self.wait_handled("RS", "OK")
        self.assertEqual(self.typed(), [(TAB, "down"), (TAB, "up")])

    def test_button_names_match_exactly(self):
        self.start({25: "Vol_Up"}, {25: "F5"})
        for name in ("vol_up", "VOL_UP", "Vol_Up_", "Vol"):
            self.press(name)
        self.assertEqual(self.typed(), [])
        self.press("Vol_Up")
        self.assertEqual(self.typed(), [(F5, "down"), (F5, "up")])

    def test_light_alloy_window_holds_back_the_remote_while_the_gate_is_on(self):
        self.start({25: "PLAY"}, {25: "F5"})
        self.start_light_alloy()
        self.focus_key_sink()
        self.press("PLAY")
        self.assertEqual(self.typed(), [], "typed while Light Alloy runs")

        self.set_check(LIGHT_ALLOY_GATE, False)
        self.focus_key_sink()
        self.press("PLAY")
        self.assertEqual(self.typed(), [(F5, "down"), (F5, "up")], "the gate is off")

        self.set_check(LIGHT_ALLOY_GATE, True)
        self.stop_light_alloy()
        self.focus_key_sink()
        self.press("PLAY")
        self.assertEqual(self.typed(), [(F5, "down"), (F5, "up")] * 2, "Light Alloy has gone")


if __name__ == "__main__":
    kivra_e2e.main()
