#!/usr/bin/env python3
"""A stand-in for the WinLIRC server, for the demo and the end-to-end tests.

It listens on 127.0.0.1 and sends every connected client the lines that WinLIRC sends when a
remote button is pressed or held: "%016llx %02x %s %s\n" (code, repeat count, button, remote).
Clients never send anything; whatever they send is read and thrown away.

Driven three ways:
  * as a module:  WinLircStandIn(port).start(); .press("VOL_UP"); .wait_for_clients(1, 10)
  * from stdin:   python3 tools/winlirc_standin.py --port 8765   then type commands
  * over a control port (one command per line, one reply line "ok ..." or "error ..."):
                  python3 tools/winlirc_standin.py --control-port 9765 --no-stdin
    bash can talk to it through /dev/tcp (scripts/demo does).

Commands:
  press BUTTON [REMOTE]            one line, repeat count 00
  hold BUTTON COUNT INTERVAL_MS [REMOTE]
                                   COUNT lines, repeat counts 00, 01, ... INTERVAL_MS apart
  split BUTTON [REMOTE]            one line in two writes, 300 ms apart
  sighup                           the block WinLIRC sends after re-reading its configuration
  raw HEX                          the bytes given in hexadecimal, in one write
  reset                            drop every client with a TCP reset (RST)
  close                            close every client in order (FIN)
  listen | unlisten                start or stop accepting (clients stay)
  clients                          reply with the number of connected clients
  wait N TIMEOUT_S                 wait until N clients are connected
  quit                             close everything and end
"""

import argparse
import socket
import struct
import sys
import threading
import time
import zlib

DEFAULT_PORT = 8765
DEFAULT_REMOTE = "KIVRA"
SPLIT_PAUSE_S = 0.3


def format_line(code, repeat, button, remote):
    """One line exactly as WinLIRC writes it."""
    return "%016x %02x %s %s\n" % (code, repeat, button, remote)


def code_of(button):
    """A stable code per button name, as a real remote would have."""
    return 0x00FF000000000000 | zlib.crc32(button.encode("utf-8"))


class WinLircStandIn:
    """The server. Thread-safe: the accept loop runs on its own thread."""

    def __init__(self, port=DEFAULT_PORT, host="127.0.0.1"):
        self.host = host
        self.port = port
        self._listener = None
        self._accept_thread = None
        self._clients = []
        self._drains = {}
        self._lock = threading.Lock()
        self._changed = threading.Condition(self._lock)
        self._stopping = False
        self.lines_sent = 0

    # ---- life cycle -------------------------------------------------------------------------
    def start(self):
        """Starts listening (again). Returns self."""
        if self._listener is not None:
            return self
        listener = socket.socket(socket.AF_INET, socket.SOCK_STREAM)
        listener.setsockopt(socket.SOL_SOCKET, socket.SO_REUSEADDR, 1)
        listener.bind((self.host, self.port))
        listener.listen(8)
        self.port = listener.getsockname()[1]
        self._listener = listener
        self._stopping = False
        self._accept_thread = threading.Thread(target=self._accept_loop, args=(listener,),
                                               name="standin-accept", daemon=True)
        self._accept_thread.start()
        return self

    def stop_listening(self):
        """Stops accepting; connected clients stay."""
        listener, self._listener = self._listener, None
        if listener is None:
            return
        self._stopping = True
        try:
            listener.shutdown(socket.SHUT_RDWR)
        except OSError:
            pass
        listener.close()
        if self._accept_thread is not None:
            self._accept_thread.join(2)
            self._accept_thread = None

    def stop(self):
        """Stops accepting and closes every client in order, as WinLIRC does when it quits."""
        self.stop_listening()
        self.close_clients()

    def __enter__(self):
        return self.start()

    def __exit__(self, *exc):
        self.stop()

    @property
    def listening(self):
        return self._listener is not None

    # ---- clients ----------------------------------------------------------------------------
    def _accept_loop(self, listener):
        while True:
            try:
                conn, _ = listener.accept()
            except OSError:
                return
            conn.setsockopt(socket.IPPROTO_TCP, socket.TCP_NODELAY, 1)
            drain = threading.Thread(target=self._drain, args=(conn,), daemon=True)
            with self._lock:
                self._clients.append(conn)
                self._drains[conn] = drain
                drain.start()
                self._changed.notify_all()

    def _drain(self, conn):
        """Reads and discards what a client sends, and notices when it goes away. This thread
        owns the socket and is the only one that closes it: closing it under a blocked recv
        would not release it, so the others wake it with shutdown() instead."""
        while True:
            try:
                data = conn.recv(4096)
            except OSError:
                data = b""
            if not data:
                break
        self._forget(conn)
        conn.close()
        with self._lock:
            self._drains.pop(conn, None)
            self._changed.notify_all()

    def _forget(self, conn):
        with self._lock:
            if conn in self._clients:
                self._clients.remove(conn)
                self._changed.notify_all()

    def _end_clients(self, how):
        """Wakes every client's reader with shutdown(how) and waits until each socket is closed."""
        with self._lock:
            clients, self._clients = self._clients, []
            drains = [self._drains.get(conn) for conn in clients]
            self._changed.notify_all()
        for conn in clients:
            try:
                conn.shutdown(how)
            except OSError:
                pass
        for drain in drains:
            if drain is not None:
                drain.join(2)

    @property
    def clients(self):
        with self._lock:
            return len(self._clients)

    def wait_for_clients(self, n, timeout):
        """True when at least n clients are connected before the timeout (seconds) ends."""
        deadline = time.monotonic() + timeout
        with self._lock:
            while len(self._clients) < n:
                left = deadline - time.monotonic()
                if left <= 0:
                    return False
                self._changed.wait(left)
            return True

    def wait_for_no_clients(self, timeout):
        deadline = time.monotonic() + timeout
        with self._lock:
            while self._clients:
                left = deadline - time.monotonic()
                if left <= 0:
                    return False
                self._changed.wait(left)
            return True

    def close_clients(self):
        """Orderly close (FIN) of every client."""
        self._end_clients(socket.SHUT_RDWR)

    def reset(self):
        """Drops every client with a reset: SO_LINGER on with a zero timeout, then close."""
        with self._lock:
            clients = list(self._clients)
        for conn in clients:
            try:
                conn.setsockopt(socket.SOL_SOCKET, socket.SO_LINGER, struct.pack("ii", 1, 0))
            except OSError:
                pass
        # SHUT_RD sends nothing by itself; the close that follows sends the RST.
        self._end_clients(socket.SHUT_RD)

    # ---- sending ----------------------------------------------------------------------------
    def send_bytes(self, data):
        """Sends data to every client in one write each. Returns the number of clients reached."""
        with self._lock:
            clients = list(self._clients)
        reached = 0
        for conn in clients:
            try:
                conn.sendall(data)
                reached += 1
            except OSError:
                self._forget(conn)
                try:
                    conn.shutdown(socket.SHUT_RDWR)
                except OSError:
                    pass
        return reached

    def send_line(self, button, remote=DEFAULT_REMOTE, repeat=0, code=None):
        code = code_of(button) if code is None else code
        self.lines_sent += 1
        return self.send_bytes(format_line(code, repeat, button, remote).encode("latin-1"))

    def press(self, button, remote=DEFAULT_REMOTE):
        return self.send_line(button, remote, 0)

    def hold(self, button, count, interval_ms, remote=DEFAULT_REMOTE):
        """A held button: count lines with rising repeat counts, interval_ms apart."""
        next_at = time.monotonic()
        for repeat in range(count):
            delay = next_at - time.monotonic()
            if delay > 0:
                time.sleep(delay)
            self.send_line(button, remote, repeat)
            next_at += interval_ms / 1000.0

    def split(self, button, remote=DEFAULT_REMOTE, pause_s=SPLIT_PAUSE_S):
        """One line in two writes: the cut falls inside the button name."""
        line = format_line(code_of(button), 0, button, remote).encode("latin-1")
        cut = 16 + 1 + 2 + 1 + max(1, len(button) // 2)
        self.send_bytes(line[:cut])
        time.sleep(pause_s)
        self.send_bytes(line[cut:])

    def sighup(self):
        return self.send_bytes(b"BEGIN\nSIGHUP\nEND\n")

    def raw(self, hex_text):
        return self.send_bytes(bytes.fromhex(hex_text))

    # ---- text commands ----------------------------------------------------------------------
    def command(self, text):
        """Runs one text command; returns the reply line (without "\n"). "quit" returns "bye"."""
        words = text.split()
        if not words:
            return "ok"
        verb, args = words[0].lower(), words[1:]
        try:
            if verb == "press" and 1 <= len(args) <= 2:
                return "ok %d" % self.press(*args)
            if verb == "hold" and 3 <= len(args) <= 4:
                remote = args[3] if len(args) == 4 else DEFAULT_REMOTE
                self.hold(args[0], int(args[1]), float(args[2]), remote)
                return "ok"
            if verb == "split" and 1 <= len(args) <= 2:
                self.split(*args)
                return "ok"
            if verb == "sighup" and not args:
                return "ok %d" % self.sighup()
            if verb == "raw" and args:
                return "ok %d" % self.raw("".join(args))
            if verb == "reset" and not args:
                self.reset()
                return "ok"
            if verb == "close" and not args:
                self.close_clients()
                return "ok"
            if verb == "listen" and not args:
                self.start()
                return "ok"
            if verb == "unlisten" and not args:
                self.stop_listening()
                return "ok"
            if verb == "clients" and not args:
                return "ok %d" % self.clients
            if verb == "wait" and len(args) == 2:
                done = self.wait_for_clients(int(args[0]), float(args[1]))
                return ("ok %d" if done else "error timeout, %d clients") % self.clients
            if verb == "quit":
                return "bye"
        except (ValueError, OSError) as error:
            return "error %s" % error
        return "error unknown command: %s" % text.strip()


def _serve_control(server, port, done):
    """One command per line on a local TCP port; each gets one reply line."""
    listener = socket.socket(socket.AF_INET, socket.SOCK_STREAM)
    listener.setsockopt(socket.SOL_SOCKET, socket.SO_REUSEADDR, 1)
    listener.bind(("127.0.0.1", port))
    listener.listen(4)

    def talk(conn):
        with conn, conn.makefile("rw", encoding="utf-8", newline="\n") as stream:
            for line in stream:
                reply = server.command(line)
                stream.write(reply + "\n")
                stream.flush()
                if reply == "bye":
                    done.set()
                    return

    def accept():
        while not done.is_set():
            try:
                conn, _ = listener.accept()
            except OSError:
                return
            threading.Thread(target=talk, args=(conn,), daemon=True).start()

    threading.Thread(target=accept, daemon=True).start()
    return listener


def main(argv=None):
    parser = argparse.ArgumentParser(description="WinLIRC stand-in")
    parser.add_argument("port", nargs="?", type=int, default=None)
    parser.add_argument("--port", dest="port_option", type=int, default=None)
    parser.add_argument("--control-port", type=int, default=None,
                        help="also take commands on this local TCP port")
    parser.add_argument("--no-stdin", action="store_true", help="do not read commands from stdin")
    options = parser.parse_args(argv)
    port = options.port_option or options.port or DEFAULT_PORT

    server = WinLircStandIn(port).start()
    done = threading.Event()
    control = _serve_control(server, options.control_port, done) if options.control_port else None
    print("WinLIRC stand-in listening on 127.0.0.1:%d" % server.port, file=sys.stderr, flush=True)
    try:
        if options.no_stdin:
            done.wait()
        else:
            for line in sys.stdin:
                reply = server.command(line)
                print(reply, flush=True)
                if reply == "bye" or done.is_set():
                    break
    except KeyboardInterrupt:
        pass
    finally:
        if control is not None:
            control.close()
        server.stop()
    return 0


if __name__ == "__main__":
    sys.exit(main())
