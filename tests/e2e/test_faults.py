"""Fault scenarios for the real Kivra.exe under Wine: hostile bytes from the WinLIRC side, a
server that comes and goes, binding files that cannot be written, a menu file built to exhaust
the loader. After each the program must still answer window messages within a second, its
memory must not have grown without bound, the link must work, and the binding files on disk
must be the old ones or the new ones, never truncated.

Each scenario prints its figures (bytes and lines sent, time to recover, memory before and
after) on standard error, for the reliability document. KIVRA_SOAK=1 runs the long versions
(50 server restarts instead of 5)."""

import os
import random
import shutil
import sys
import time

import kivra_e2e
from kivra_e2e import CONNECTED, SAVE_BINDINGS, KivraTestCase, crlf_lines, wait_until
from winlirc_standin import format_line

SOAK = os.environ.get("KIVRA_SOAK") == "1"
MEMORY_GROWTH_LIMIT_KB = 32 * 1024
RETRY_PERIOD = 5


def setUpModule():
    kivra_e2e.require_real_kivra()


def figure(scenario, **values):
    print("FIGURES %s: %s" % (scenario, ", ".join("%s=%s" % item for item in values.items())), file=sys.stderr,
          flush=True)


class FaultsTest(KivraTestCase):
    def start(self, **settings):
        self.write_bindings({25: "PLAY"}, {25: "F5"})
        self.write_settings(TryPeriod=RETRY_PERIOD, **settings)
        self.start_kivra()
        self.wait_connected()
        self.memory_before = self.memory_kb()

    def assertStillWell(self, scenario, **figures):
        """The link works (a marked line behind everything sent so far is handled), then the main
        window answers within a second and the memory has not grown without bound."""
        started = time.monotonic()
        self.assertTrue(self.server.wait_for_clients(1, RETRY_PERIOD + 5), "the link did not come back")
        # A lone line end first ends whatever partial line the scenario left behind.
        self.server.send_bytes(b"\n")
        marked = self.next_remote()
        self.server.send_line("PLAY", marked)
        self.wait_handled(marked, "PLAY", timeout=120)
        recovered = time.monotonic() - started
        answered = self.answers_within(1000)
        self.assertIsNotNone(answered, "the main window did not answer within a second")
        after = self.memory_kb()
        figure(scenario, answered_ms=answered, recover_s="%.2f" % recovered,
               rss_kb_before=self.memory_before.get("VmRSS"), rss_kb_after=after.get("VmRSS"),
               data_kb_before=self.memory_before.get("VmData"), data_kb_after=after.get("VmData"), **figures)
        self.assertLess(after["VmRSS"] - self.memory_before["VmRSS"], MEMORY_GROWTH_LIMIT_KB,
                        "resident memory grew by more than %d kB" % MEMORY_GROWTH_LIMIT_KB)

    def test_ten_megabytes_without_a_line_end(self):
        self.start()
        chunk = b"x" * 65536
        started = time.monotonic()
        for _ in range(160):
            self.server.send_bytes(chunk)
        self.assertStillWell("10 MB without LF", bytes=160 * len(chunk), send_s="%.2f" % (time.monotonic() - started))

    def test_random_binary_bytes_with_nul(self):
        self.start()
        data = random.Random(6).randbytes(2 * 1024 * 1024) + b"\0" * 4096
        self.server.send_bytes(data)
        self.assertStillWell("random bytes", bytes=len(data))

    def test_flood_of_ten_thousand_lines_a_second(self):
        self.start()
        line = format_line(0xFFFF, 0, "FLOOD", "R").encode("ascii")
        seconds, per_second = 10, 10000
        started = time.monotonic()
        for second in range(seconds):
            for tenth in range(10):
                self.server.send_bytes(line * (per_second // 10))
                time.sleep(max(0.0, started + second + (tenth + 1) / 10 - time.monotonic()))
        # recover_s: how long after the last line of the flood Kivra had read them all.
        self.assertStillWell("flood", lines=seconds * per_second, bytes=seconds * per_second * len(line),
                             send_s="%.2f" % (time.monotonic() - started))

    def test_reset_in_the_middle_of_a_line(self):
        self.start()
        line = format_line(1, 0, "PLAY", "HALF").encode("ascii")
        self.server.send_bytes(line[:22])
        time.sleep(0.5)     # a partial line shows nothing, so there is no sign to wait for
        self.server.reset()
        self.assertTrue(self.server.wait_for_clients(1, RETRY_PERIOD + 5), "no reconnection after the reset")
        # The half line of the old connection must not prefix the first line of the new one.
        remote = self.next_remote()
        self.server.send_line("PLAY", remote)
        self.wait_handled(remote, "PLAY")
        self.assertStillWell("reset mid-line")

    def test_server_goes_away_and_comes_back_again_and_again(self):
        self.start()
        rounds = 50 if SOAK else 5
        worst = 0.0
        for _ in range(rounds):
            self.server.stop()
            self.wait_for_panel(0, kivra_e2e.DISCONNECTED)
            self.server.start()
            started = time.monotonic()
            self.assertTrue(self.server.wait_for_clients(1, RETRY_PERIOD + 5), "not connected again")
            worst = max(worst, time.monotonic() - started)
        self.wait_for_panel(0, CONNECTED)
        self.assertStillWell("server restarts", rounds=rounds, worst_reconnect_s="%.2f" % worst)

    def test_binding_files_that_cannot_be_written(self):
        self.write_bindings({25: "PLAY"}, {25: "F5"})
        old = self.read_binding_file("LIRCAC.LST"), self.read_binding_file("LIRCHT.LST")
        self.write_settings(isMode=1)
        self.start_kivra()
        self.wait_connected()
        self.memory_before = self.memory_kb()
        self.select_cell(8)
        self.press("VOL_UP")
        new_ac = crlf_lines([" Команда WinLIRC"] + [{8: "VOL_UP", 25: "PLAY"}.get(r, "") for r in range(1, 45)])

        for blocked in ("LIRCAC.LST", "LIRCHT.LST"):
            with self.subTest(blocked=blocked):
                # A directory where the file should be: it can be neither created nor replaced.
                path = self.binding_path(blocked)
                kept = self.read_binding_file(blocked)
                os.remove(path)
                os.makedirs(path)
                self.click(SAVE_BINDINGS)
                dialog = self.wait_for_dialog("Cannot create file")
                self.assertTrue(any(blocked in text for text in dialog), dialog)
                self.win_control("dialog-click", "Cannot create file", "OK")
                wait_until(lambda: not self.dialogs(), 10, interval=0.2, message="the message to close")
                shutil.rmtree(path)
                with open(path, "wb") as restore:
                    restore.write(kept)
                ac = self.read_binding_file("LIRCAC.LST")
                self.assertIn(ac, (old[0], new_ac), "LIRCAC.LST is neither the old nor the new file")
                self.assertEqual(self.read_binding_file("LIRCHT.LST"), old[1])
        self.set_check(kivra_e2e.SETUP_MODE, False)
        self.assertStillWell("unwritable binding files")

    def test_menu_file_with_huge_counts_and_deep_nesting(self):
        sections = ["[Sub]", "Subs=0x7FFFFFFF", "[Sub1]", "Caption=Глубже", "Subs=$7FFFFFFF"]
        name = "Sub1"
        for _ in range(40):
            name += "1"
            sections += ["[%s]" % name, "Caption=Глубже", "Subs=1"]
        with open(self.wine.windows_dir("Kivra.mnu"), "wb") as mnu:
            mnu.write(("\r\n".join(sections) + "\r\n").encode("cp1251"))
        self.write_bindings({1: "MENU", 23: "BACK", 25: "PLAY"}, {25: "F5"})
        self.write_settings(TryPeriod=RETRY_PERIOD)
        started = time.monotonic()
        self.start_kivra(timeout=60)
        shown = time.monotonic() - started
        self.wait_connected()
        self.memory_before = self.memory_kb()
        self.press("MENU")
        self.wait_for_popup()
        self.press("BACK")
        self.wait_for_popup(open_=False)
        self.assertStillWell("hostile menu file", start_s="%.2f" % shown)


if __name__ == "__main__":
    kivra_e2e.main()
