#!/usr/bin/env python3
"""The native reference row of the button-to-keystroke benchmark: LIRC's irxevent.

Same method as Kivra's row: a stand-in writes a button line, a key sink stamps the key-down, both
on CLOCK_MONOTONIC_RAW. Here the stand-in is a lircd socket that irxevent reads as a lirc client,
irxevent sends the bound key with XSendEvent to XKeyWatch's window, and XKeyWatch reports the
stamp over UDP.

    measure(display, presses=500, spacing_s=0.05, workdir=None) -> Result(latencies_ns, missing)
    python3 bench/wine/irxevent_reference.py      (starts its own Xvfb when DISPLAY is not set)
"""

import collections
import os
import select
import shutil
import signal
import socket
import subprocess
import sys
import tempfile
import time

from timing import now_ns, summary_ms

ROOT = os.path.abspath(os.path.join(os.path.dirname(__file__), "..", ".."))
sys.path.insert(0, os.path.join(ROOT, "tools"))

from winlirc_standin import format_line  # noqa: E402
XKEYWATCH = os.path.join(ROOT, "build", "native", "xkeywatch")
WINDOW_NAME = "KivraBenchTarget"
REMOTE = "KIVRA"
BUTTON = "BENCH"
CODE = 0x00FF00000000BE0C
START_TIMEOUT_S = 10.0
WARMUP_TIMEOUT_S = 5.0
LAST_KEY_WAIT_S = 1.0

Result = collections.namedtuple("Result", "latencies_ns missing")

LIRCRC = """begin
    prog = irxevent
    remote = {remote}
    button = {button}
    config = Key a {window}
end
"""


def button_line():
    """The line lircd (and WinLIRC) writes for one press: code, repeat count, button, remote."""
    return format_line(CODE, 0, BUTTON, REMOTE).encode("ascii")


def log_tail(path, lines=20):
    try:
        with open(path, errors="replace") as f:
            return "".join(f.readlines()[-lines:]) or "(empty)\n"
    except OSError as e:
        return "(no log: %s)\n" % e


def start(argv, log_path, env, stdout=None):
    """A process in its own session, so stop() takes its children along; output to a log file."""
    with open(log_path, "wb") as log:
        return subprocess.Popen(argv, env=env, stdin=subprocess.DEVNULL,
                                stdout=stdout if stdout is not None else log,
                                stderr=log, start_new_session=True)


def stop(proc):
    """SIGTERM to the process group, SIGKILL if it is still there two seconds later."""
    for sig, wait_s in ((signal.SIGTERM, 2), (signal.SIGKILL, None)):
        if proc.poll() is not None:
            break
        try:
            os.killpg(proc.pid, sig)
            proc.wait(timeout=wait_s)
        except (ProcessLookupError, subprocess.TimeoutExpired):
            pass
    if proc.stdout:
        proc.stdout.close()


def wait_ready(watcher, log_path):
    """XKeyWatch prints "ready" once its window is mapped, and nothing else on stdout."""
    ready, _, _ = select.select([watcher.stdout], [], [], START_TIMEOUT_S)
    if not ready or watcher.stdout.readline().strip() != b"ready":
        raise RuntimeError("xkeywatch did not map its window; log tail:\n" + log_tail(log_path))


def accept_client(listener, proc, log_path):
    """irxevent connects to the lircd socket as soon as it starts; fail fast if it exits instead."""
    deadline = time.monotonic() + START_TIMEOUT_S
    while time.monotonic() < deadline:
        if proc.poll() is not None:
            raise RuntimeError("irxevent exited with %d before connecting; log tail:\n%s"
                               % (proc.returncode, log_tail(log_path)))
        if select.select([listener], [], [], 0.1)[0]:
            return listener.accept()[0]
    raise RuntimeError("irxevent did not connect in %.0f s; log tail:\n%s"
                       % (START_TIMEOUT_S, log_tail(log_path)))


def read_downs(udp):
    """The key-down stamps among the datagrams already waiting; key-ups are dropped."""
    downs = []
    while True:
        try:
            fields = udp.recv(128).split()
        except BlockingIOError:
            return downs
        if len(fields) == 3 and fields[1] == b"down":
            downs.append(int(fields[2]))


def key_downs(udp, timeout_s):
    """Waits at most timeout_s for datagrams and returns the key-downs among them, maybe none."""
    if select.select([udp], [], [], max(0.0, timeout_s))[0]:
        return read_downs(udp)
    return []


def wait_for_down(udp, timeout_s):
    deadline = time.monotonic() + timeout_s
    while time.monotonic() < deadline:
        if key_downs(udp, deadline - time.monotonic()):
            return True
    return False


def run_presses(conn, udp, presses, spacing_s):
    """Writes the lines spacing_s apart and collects key-downs in between, in arrival order."""
    line = button_line()
    writes, downs = [], []
    next_write = time.monotonic()
    for _ in range(presses):
        while time.monotonic() < next_write:
            downs += key_downs(udp, next_write - time.monotonic())
        writes.append(now_ns())
        conn.sendall(line)
        next_write += spacing_s
    deadline = time.monotonic() + LAST_KEY_WAIT_S
    while len(downs) < presses and time.monotonic() < deadline:
        downs += key_downs(udp, deadline - time.monotonic())
    return writes, downs


def match(writes, downs):
    """irxevent handles lines one at a time in order, so the n-th key-down answers the n-th line
    written before it."""
    latencies = []
    i = 0
    for down in downs:
        if i < len(writes) and down >= writes[i]:
            latencies.append(down - writes[i])
            i += 1
    return Result(latencies, len(writes) - len(latencies))


def measure(display, presses=500, spacing_s=0.05, workdir=None):
    """Latencies (ns) from writing a button line to the target window's key-down, and the number
    of presses whose key never arrived. workdir holds the socket, the lircrc and the logs; when
    None, a fresh temporary folder that is left in place for the logs."""
    irxevent = shutil.which("irxevent")
    if not irxevent:
        raise RuntimeError("irxevent not found: install lirc-x (scripts/lib/deps.sh)")
    if not os.access(XKEYWATCH, os.X_OK):
        raise RuntimeError("%s not built: cmake --build build/native --target xkeywatch" % XKEYWATCH)
    workdir = workdir or tempfile.mkdtemp(prefix="kivra-irxevent-")
    os.makedirs(workdir, exist_ok=True)
    socket_path = os.path.join(workdir, "lircd.sock")
    lircrc = os.path.join(workdir, "lircrc")
    with open(lircrc, "w") as f:
        f.write(LIRCRC.format(remote=REMOTE, button=BUTTON, window=WINDOW_NAME))
    # HOME and the XDG folders point into workdir so that lirc_client reads and writes nothing of
    # the user's; LIRC_SOCKET_PATH is where lirc_client looks for lircd before lirc_options.conf.
    env = dict(os.environ, DISPLAY=display, LIRC_SOCKET_PATH=socket_path, HOME=workdir,
               XDG_CONFIG_HOME=workdir, XDG_CACHE_HOME=workdir)
    watcher_log = os.path.join(workdir, "xkeywatch.log")
    irxevent_log = os.path.join(workdir, "irxevent.log")

    procs, sockets = [], []
    try:
        udp = socket.socket(socket.AF_INET, socket.SOCK_DGRAM)
        sockets.append(udp)
        udp.bind(("127.0.0.1", 0))
        udp.setblocking(False)
        if os.path.exists(socket_path):
            os.unlink(socket_path)
        listener = socket.socket(socket.AF_UNIX, socket.SOCK_STREAM)
        sockets.append(listener)
        listener.bind(socket_path)
        listener.listen(1)

        watcher = start([XKEYWATCH, "--name", WINDOW_NAME, "--udp", str(udp.getsockname()[1])],
                        watcher_log, env, stdout=subprocess.PIPE)
        procs.append(watcher)
        wait_ready(watcher, watcher_log)
        irx = start([irxevent, lircrc], irxevent_log, env)
        procs.append(irx)
        conn = accept_client(listener, irx, irxevent_log)
        sockets.append(conn)

        # One press outside the count proves the whole path (irxevent has its X connection and
        # finds the window) before the clock starts.
        conn.sendall(button_line())
        if not wait_for_down(udp, WARMUP_TIMEOUT_S):
            # irxevent says nothing when it finds no window of that name, hence the hint.
            raise RuntimeError("the first key never reached the window %r (does irxevent find it?);"
                               " irxevent log tail:\n%s" % (WINDOW_NAME, log_tail(irxevent_log)))
        time.sleep(spacing_s)
        read_downs(udp)  # drops the warm-up's key-up

        writes, downs = run_presses(conn, udp, presses, spacing_s)
        return match(writes, downs)
    finally:
        for s in reversed(sockets):
            s.close()
        for p in reversed(procs):
            stop(p)


def start_xvfb(log_path):
    """Xvfb on a display it picks itself (-displayfd), so no other X server is disturbed."""
    read_fd, write_fd = os.pipe()
    try:
        with open(log_path, "wb") as log:
            xvfb = subprocess.Popen(["Xvfb", "-displayfd", str(write_fd), "-screen", "0",
                                     "1280x1024x24", "-nolisten", "tcp"],
                                    stdin=subprocess.DEVNULL, stdout=log, stderr=log,
                                    pass_fds=(write_fd,), start_new_session=True)
        os.close(write_fd)
        write_fd = -1
        number = b""
        while select.select([read_fd], [], [], START_TIMEOUT_S)[0]:
            chunk = os.read(read_fd, 16)
            number += chunk
            if not chunk or number.endswith(b"\n"):
                break
        if not number.strip().isdigit():
            stop(xvfb)
            raise RuntimeError("Xvfb did not start; log tail:\n" + log_tail(log_path))
        return xvfb, ":" + number.strip().decode()
    finally:
        os.close(read_fd)
        if write_fd >= 0:
            os.close(write_fd)


def main():
    presses = 200
    with tempfile.TemporaryDirectory(prefix="kivra-irxevent-") as workdir:
        xvfb = None
        display = os.environ.get("DISPLAY")
        try:
            if not display:
                xvfb, display = start_xvfb(os.path.join(workdir, "xvfb.log"))
            result = measure(display, presses=presses, workdir=workdir)
        finally:
            if xvfb:
                stop(xvfb)
    figures = summary_ms(result.latencies_ns)
    print("irxevent reference, %d presses 50 ms apart on %s, button line to key-down:"
          % (presses, display))
    if figures:
        print("  median %(median).3f ms  p95 %(p95).3f ms  p99 %(p99).3f ms  min %(min).3f ms  max %(max).3f ms"
              % figures)
    print("  keys that never arrived: %d" % result.missing)


if __name__ == "__main__":
    sys.exit(main())
