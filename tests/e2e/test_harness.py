"""The harness and its tools on their own, without Kivra: the stand-in as a WinLIRC client
sees it, the key sink catching keys that WinControl injects, WinControl's window commands, the
Light Alloy window found by its class, the registry helpers and the screenshot."""

import os
import socket
import subprocess
import sys
import threading
import time
import unittest

import kivra_e2e
from kivra_e2e import KivraTestCase, RUN_KEY, wait_until
from winlirc_standin import WinLircStandIn, format_line


class Client:
    """A WinLIRC client that records what arrives in each read."""

    def __init__(self, port):
        self.sock = socket.create_connection(("127.0.0.1", port), timeout=5)
        self.data = b""

    def read_lines(self, count, timeout=5):
        self.sock.settimeout(timeout)
        while self.data.count(b"\n") < count:
            chunk = self.sock.recv(4096)
            if not chunk:
                break
            self.data += chunk
        return self.data

    def close(self):
        self.sock.close()


class StandInTest(unittest.TestCase):
    def setUp(self):
        self.server = WinLircStandIn(kivra_e2e.free_port()).start()
        self.addCleanup(self.server.stop)

    def test_lines_are_formatted_like_winlirc(self):
        cases = [
            ((0x1234, 0, "VOL_UP", "R"), "0000000000001234 00 VOL_UP R\n"),
            ((0xFFFFFFFFFFFFFFFF, 0x1F, "A", "RC-5"), "ffffffffffffffff 1f A RC-5\n"),
            ((1, 0x100, "OK", "X"), "0000000000000001 100 OK X\n"),
        ]
        for args, expected in cases:
            with self.subTest(args=args):
                self.assertEqual(format_line(*args), expected)

    def test_every_client_gets_press_hold_and_sighup(self):
        clients = [Client(self.server.port) for _ in range(3)]
        self.assertTrue(self.server.wait_for_clients(3, 5))
        self.server.press("PLAY", "TV")
        self.server.hold("VOL", 3, 10, "TV")
        self.server.sighup()
        for client in clients:
            lines = client.read_lines(7).decode().split("\n")
            self.assertEqual([line[17:] for line in lines[:4]], ["00 PLAY TV", "00 VOL TV", "01 VOL TV", "02 VOL TV"])
            self.assertEqual(lines[4:7], ["BEGIN", "SIGHUP", "END"])
            client.close()
        self.assertTrue(self.server.wait_for_no_clients(5))

    def test_split_line_arrives_in_two_reads(self):
        client = Client(self.server.port)
        self.assertTrue(self.server.wait_for_clients(1, 5))
        sender = threading.Thread(target=self.server.split, args=("BUTTON", "R"))
        sender.start()
        first = client.sock.recv(4096)
        started = time.monotonic()
        self.assertFalse(first.endswith(b"\n"))
        rest = client.read_lines(1)
        sender.join()
        self.assertGreaterEqual(time.monotonic() - started, 0.2)
        self.assertEqual((first + rest)[17:], b"00 BUTTON R\n")

    def test_reset_gives_the_client_a_connection_reset(self):
        client = Client(self.server.port)
        self.assertTrue(self.server.wait_for_clients(1, 5))
        self.server.reset()
        with self.assertRaises(ConnectionResetError):
            client.read_lines(1)
        self.assertEqual(self.server.clients, 0)

    def test_stop_refuses_and_start_accepts_again(self):
        client = Client(self.server.port)
        self.assertTrue(self.server.wait_for_clients(1, 5))
        self.server.stop()
        self.assertEqual(client.read_lines(1), b"")
        with self.assertRaises(ConnectionRefusedError):
            Client(self.server.port)
        self.server.start()
        again = Client(self.server.port)
        self.addCleanup(again.close)
        self.assertTrue(self.server.wait_for_clients(1, 5))

    def test_command_line_tool_takes_commands_on_its_control_port(self):
        port, control = kivra_e2e.free_port(), kivra_e2e.free_port()
        tool = os.path.join(kivra_e2e.SOURCE_DIR, "tools", "winlirc_standin.py")
        process = subprocess.Popen([sys.executable, tool, "--port", str(port), "--control-port", str(control),
                                    "--no-stdin"], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        self.addCleanup(process.kill)
        conn = wait_until(lambda: _connect(control), 10, message="the control port")
        client = Client(port)
        replies = conn.makefile("rw", newline="\n")
        for command, reply in [("wait 1 5", "ok 1"), ("press MUTE TV", "ok 1"), ("bogus", "error"),
                               ("quit", "bye")]:
            replies.write(command + "\n")
            replies.flush()
            self.assertTrue(replies.readline().startswith(reply), command)
        self.assertTrue(client.read_lines(1).endswith(b"00 MUTE TV\n"))
        self.assertEqual(process.wait(10), 0)


def _connect(port):
    try:
        return socket.create_connection(("127.0.0.1", port), timeout=5)
    except OSError:
        return None


class WindowToolsTest(KivraTestCase):
    server_at_start = False

    def test_key_sink_logs_injected_keys_with_scan_code_flags_and_time(self):
        self.start_key_sink()
        for vk in (65, 121):
            self.assertEqual(self.win_control("key", vk)[0], 0)
        events = self.wait_for_keys(4)
        self.assertEqual([e.short for e in events], [(65, "down"), (65, "up"), (121, "down"), (121, "up")])
        for event in events:
            self.assertTrue(event.flags & 0x10, "injected flag missing in %r" % (event,))
            self.assertGreater(event.scan, 0)
        self.assertLessEqual(events[0].time, events[-1].time)
        self.assertEqual(self.status("KeySink"), ["KeySink", "Событий: 4"])

    def test_key_sink_reports_each_event_by_datagram_too(self):
        with socket.socket(socket.AF_INET, socket.SOCK_DGRAM) as receiver:
            receiver.bind(("127.0.0.1", 0))
            receiver.settimeout(10)
            self.start_key_sink(udp_port=receiver.getsockname()[1])
            sent = time.clock_gettime_ns(time.CLOCK_MONOTONIC_RAW)
            self.win_control("key", 65)
            lines = [receiver.recv(256).decode() for _ in range(2)]
            received = time.clock_gettime_ns(time.CLOCK_MONOTONIC_RAW)
        self.assertEqual([line.split()[0] for line in lines], ["65", "65"])
        self.assertEqual([line.rsplit(" ", 1)[0] + "\n" for line in lines],
                         ["%d %d %d %d\n" % e for e in self.wait_for_keys(2)])
        # The fifth field is the performance counter, which Wine keeps on the same clock as ours
        # in units of 100 ns: the benchmark relies on that.
        for line in lines:
            self.assertTrue(sent <= int(line.split()[4]) * 100 <= received, (sent, line, received))

    def test_check_and_click_operate_a_check_box(self):
        self.start_key_sink()
        self.set_check("Пауза", True, title="KeySink")
        self.assertEqual(self.win_control("checked", "KeySink", "Пауза")[1].strip(), "1")
        self.win_control("key", 66)
        self.click("Пауза", title="KeySink")
        self.assertEqual(self.win_control("checked", "KeySink", "Пауза")[1].strip(), "0")
        self.win_control("key", 67)
        self.assertEqual([e.short for e in self.wait_for_keys(2)], [(67, "down"), (67, "up")])
        self.assertEqual(self.win_control("find-child", "KeySink", "Нет такой")[0], 1)
        self.assertNotEqual(self.win_control("click", "KeySink", "Нет такой")[0], 0)

    def test_light_alloy_window_is_found_by_class_and_closes(self):
        self.start_light_alloy()
        self.assertEqual(self.win_control("find-title", "LIGHT ALLOY")[0], 0)
        self.assertEqual(self.win_control("visible", "Light Alloy")[1].strip(), "1")
        self.stop_light_alloy()
        self.assertEqual(self.win_control("find-class", "LightAlloyFront")[1].strip(), "0")

    def test_wait_title_and_missing_windows(self):
        self.assertEqual(self.win_control("wait-title", "Нет такого окна", 300)[0], 1)
        self.assertEqual(self.win_control("status", "Нет такого окна")[0], 1)
        self.assertEqual(self.win_control("menu-popup-items")[0], 1)
        self.assertEqual(self.win_control("no-such-command")[0], 2)

    def test_registry_helpers_read_and_delete_a_value(self):
        self.forget_registry_value(RUN_KEY, "KivraHarnessProbe")
        self.wine.run(["wine", "reg", "add", RUN_KEY, "/v", "KivraHarnessProbe", "/t", "REG_SZ", "/d",
                       r"C:\e2e\probe.exe", "/f"], log="reg")
        self.assertEqual(self.wine.reg_query(RUN_KEY, "KivraHarnessProbe"), r"C:\e2e\probe.exe")
        self.wine.reg_delete(RUN_KEY, "KivraHarnessProbe")
        self.assertIsNone(self.wine.reg_query(RUN_KEY, "KivraHarnessProbe"))

    def test_screenshot_of_a_window(self):
        self.start_key_sink()
        path = self.screenshot("harness-keysink", "KeySink")
        self.assertTrue(os.path.getsize(path) > 0)
        self.assertEqual(self.wine.windows_path(self.wine.drive_c("e2e", "x")), r"C:\e2e\x")


if __name__ == "__main__":
    kivra_e2e.main()
