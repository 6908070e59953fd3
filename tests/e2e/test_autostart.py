"""Autostart with Windows: the registry value "Kivra" under HKEY_LOCAL_MACHINE's Run key, written
and deleted by the check box "Запускаться вместе с Windows" and by the settings file at start.

A registry write that fails ("Failed to create key %s") cannot be provoked under Wine, where
the tests run with every right; the native tests cover that path on the recording fake."""

import kivra_e2e
from kivra_e2e import MAIN_TITLE, RUN_KEY, KivraTestCase, wait_until

AUTOSTART = "Запускаться вместе с Windows"


def setUpModule():
    kivra_e2e.require_real_kivra()


class AutostartTest(KivraTestCase):
    def setUp(self):
        super().setUp()
        self.forget_registry_value(RUN_KEY, "Kivra")

    def expected_path(self):
        return self.wine.windows_path(self.binding_path("Kivra.exe"))

    def run_value(self):
        return self.wine.reg_query(RUN_KEY, "Kivra")

    def test_check_box_writes_and_deletes_the_value(self):
        self.write_settings()
        self.start_kivra()
        self.assertIsNone(self.run_value())
        self.set_check(AUTOSTART, True)
        value = wait_until(self.run_value, 10, interval=0.5, message="the Run value")
        self.assertEqual(value.lower(), self.expected_path().lower())
        self.set_check(AUTOSTART, False)
        wait_until(lambda: self.run_value() is None, 10, interval=0.5, message="the Run value to go")

    def test_settings_file_with_autostart_writes_the_value_at_start(self):
        self.write_settings(AutoStart=1)
        self.start_kivra()
        value = wait_until(self.run_value, 10, interval=0.5, message="the Run value")
        self.assertEqual(value.lower(), self.expected_path().lower())
        self.assertEqual(self.win_control("checked", MAIN_TITLE, AUTOSTART)[1].strip(), "1")


if __name__ == "__main__":
    kivra_e2e.main()
