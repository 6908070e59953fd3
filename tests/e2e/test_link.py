"""The WinLIRC link of the real Kivra.exe: its states in status panel 0, the retry, the active
button, and a server that goes away in order or with a reset.

The states "Поиск WinLIRC..." and "Подключение..." are set and replaced inside one message
handler, so from outside only the outcome of each attempt can be seen."""

import time

import kivra_e2e
from kivra_e2e import (ACTIVE, CONNECTED, DISCONNECTED, INACTIVE, REFUSED, RETRY_OPTION, KivraTestCase)

RETRY_PERIOD = 5
WITHIN_ONE_PERIOD = RETRY_PERIOD + 3


def setUpModule():
    kivra_e2e.require_real_kivra()


class LinkTest(KivraTestCase):
    server_at_start = False

    def start(self, **settings):
        self.write_bindings({})
        self.write_settings(TryPeriod=RETRY_PERIOD, **settings)
        self.start_kivra()

    def test_no_server_gives_the_refusal_code_and_a_later_server_is_found(self):
        self.start()
        self.wait_for_panel(0, REFUSED)
        self.server.start()
        self.assertTrue(self.server.wait_for_clients(1, WITHIN_ONE_PERIOD), "not connected within one period")
        self.wait_for_panel(0, CONNECTED)
        self.press("PLAY")

    def test_server_that_quits_is_shown_and_found_again_when_it_returns(self):
        self.server.start()
        self.start()
        self.wait_connected()
        self.server.stop()
        self.wait_for_panel(0, DISCONNECTED)
        # While it is away, the retries are refused.
        self.wait_for_panel(0, REFUSED, timeout=WITHIN_ONE_PERIOD)
        self.server.start()
        self.assertTrue(self.server.wait_for_clients(1, WITHIN_ONE_PERIOD), "not connected again")
        self.wait_for_panel(0, CONNECTED)
        self.press("PLAY")

    def test_reset_connection_is_closed_and_made_again(self):
        self.server.start()
        self.start()
        self.wait_connected()
        self.server.reset()
        # The error closes the link, so the retry brings it back; a link left counted as
        # connected would never be retried.
        self.assertTrue(self.server.wait_for_clients(1, WITHIN_ONE_PERIOD), "the reset link was not made again")
        self.wait_for_panel(0, CONNECTED)
        self.press("PLAY")

    def test_active_button_switches_the_link_off_and_on(self):
        self.server.start()
        self.start()
        self.wait_connected()
        self.click(ACTIVE)
        self.wait_for_panel(0, DISCONNECTED)
        self.assertTrue(self.server.wait_for_no_clients(5))
        self.assertTrue(self.has_control(INACTIVE), "the button should read " + INACTIVE)
        # Switched off by the user, the link stays off: the retry does not bring it back.
        time.sleep(WITHIN_ONE_PERIOD)
        self.assertEqual(self.server.clients, 0, "the retry connected a link the user switched off")
        self.assertEqual(self.panel(0), DISCONNECTED)

        self.click(INACTIVE)
        self.wait_connected()
        self.assertTrue(self.has_control(ACTIVE), "the button should read " + ACTIVE)

    def test_without_the_retry_option_one_attempt_then_none_until_it_is_ticked(self):
        self.start(TryConnect=0)
        self.wait_for_panel(0, REFUSED)
        self.server.start()
        time.sleep(WITHIN_ONE_PERIOD)
        self.assertEqual(self.server.clients, 0, "retried with the retry option unticked")
        # Ticking the option tries at once and keeps retrying from then on.
        self.set_check(RETRY_OPTION, True)
        self.wait_connected()
        self.server.stop()
        self.wait_for_panel(0, DISCONNECTED)
        self.server.start()
        self.assertTrue(self.server.wait_for_clients(1, WITHIN_ONE_PERIOD), "ticking the option did not start the retry")

    def test_inactive_at_start_makes_no_attempt(self):
        self.server.start()
        self.start(isActive=0)
        self.assertTrue(self.has_control(INACTIVE))
        time.sleep(WITHIN_ONE_PERIOD)
        self.assertEqual(self.server.clients, 0, "connected although the active flag was clear")
        self.click(INACTIVE)
        self.wait_connected()


if __name__ == "__main__":
    kivra_e2e.main()
