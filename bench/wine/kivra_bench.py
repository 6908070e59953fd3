#!/usr/bin/env python3
"""Benchmarks of the real Kivra.exe under Wine; prints one table and writes it as JSON.

    python3 bench/wine/kivra_bench.py [--quick] [--json FILE]

What is measured, and how:
  * Start-up: Kivra is started several times; its probe (KIVRA_PROBE) marks the entry to WinMain,
    the menu load, the tray icon and the first connection attempt on the performance counter,
    which under Wine is CLOCK_MONOTONIC_RAW, the clock this script reads too.
  * Button to keystroke: the stand-in writes one line for a user key row (key delay and gap at
    10 ms), stamped just before the write; the key sink stamps the key-down in its low-level
    hook and sends the stamp back by datagram. Presses are spaced beyond the gap.
  * Burst: 1000 lines in one write, cycling through the 20 bound buttons; the probe tells when
    the last byte was read and the last line handled, and how many lines were dispatched.
  * At rest: the process's CPU time (the kernel's per-process CPU clock), its threads' context
    switches (each wake-up of a sleeping thread is one) and the messages and timer ticks its
    loop took (probe), over a quiet window while connected and while WinLIRC is away.
  * Memory: Windows' view (GetProcessMemoryInfo, through the probe) and Linux's (VmRSS and the
    private pages of /proc/PID/smaps_rollup).
  * Reference: irxevent measured the same way in the same run (irxevent_reference.py).
Nothing here passes or fails on a figure; an exception means the benchmark itself broke.
"""

import json
import os
import platform
import socket
import subprocess
import sys
import threading
import time

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, HERE)
sys.path.insert(0, os.path.join(HERE, "..", "..", "tests", "e2e"))

import irxevent_reference  # noqa: E402
import kivra_e2e  # noqa: E402
from kivra_e2e import MAIN_TITLE, KivraTestCase, wait_until  # noqa: E402
from timing import now_ns, summary, summary_ms  # noqa: E402
from winlirc_standin import code_of, format_line  # noqa: E402

USER_ROWS = range(25, 45)           # the 20 rows bound to key combinations
LETTERS = [chr(ord("A") + i) for i in range(20)]
LATENCY_BUTTON, LATENCY_VK = "K00", ord("A")
MENU_ITEMS = 1000
BURST_LINES = 1000
HANDLING_AFTER_RELEASE_NS = 60_000_000  # the key delay (10 ms), the gap (10 ms) and room for a late Sleep


def menu_file(items):
    """A menu of `items` entries: ten top-level items with the rest spread beneath them."""
    tops = 10
    children = (items - tops) // tops
    lines = ["[Sub]", "Subs=%d" % tops]
    for top in range(1, tops + 1):
        lines += ["[Sub%d]" % top, "Caption=Group %d" % top, "Subs=%d" % children]
        for child in range(1, children + 1):
            lines += ["[Sub%d%d]" % (top, child), "Caption=Item %d.%d" % (top, child), "Command=SENDKEY",
                      "Parameters=Ctrl+%s" % LETTERS[child % 20]]
    return ("\r\n".join(lines) + "\r\n").encode("ascii")


# ---- the process, seen from Linux -----------------------------------------------------------------
class ProcessView:
    def __init__(self, pid):
        self.pid = pid

    def cpu_ns(self):
        # The kernel's CPU-time clock of another process: ((~pid) << 3) | CPUCLOCK_SCHED.
        return time.clock_gettime_ns(((~self.pid) << 3) | 2)

    def context_switches(self):
        total = 0
        for task in os.listdir("/proc/%d/task" % self.pid):
            try:
                with open("/proc/%d/task/%s/status" % (self.pid, task)) as status:
                    for line in status:
                        if line.startswith(("voluntary_ctxt_switches:", "nonvoluntary_ctxt_switches:")):
                            total += int(line.split()[1])
            except OSError:
                pass
        return total

    def threads(self):
        return len(os.listdir("/proc/%d/task" % self.pid))

    def memory_kb(self):
        sizes = {}
        with open("/proc/%d/status" % self.pid) as status:
            for line in status:
                key, _, value = line.partition(":")
                if key == "VmRSS":
                    sizes["rss"] = int(value.split()[0])
        with open("/proc/%d/smaps_rollup" % self.pid) as rollup:
            private = 0
            for line in rollup:
                if line.startswith(("Private_Clean:", "Private_Dirty:")):
                    private += int(line.split()[1])
            sizes["private"] = private
        return sizes


def wineserver_of(prefix):
    """The wineserver serving this prefix: it does the work behind every Wine call that waits."""
    for pid in os.listdir("/proc"):
        if not pid.isdigit():
            continue
        try:
            with open("/proc/%s/comm" % pid) as comm:
                if not comm.read().startswith("wineserver"):
                    continue
            with open("/proc/%s/environ" % pid, "rb") as environ:
                if ("WINEPREFIX=" + prefix).encode() in environ.read().split(b"\0"):
                    return ProcessView(int(pid))
        except OSError:
            continue
    return None


# ---- the probe ------------------------------------------------------------------------------------
class Report:
    """What Kivra's probe wrote: events (count, sum, first ns, last ns), memory and CPU."""

    def __init__(self, text):
        self.events, self.memory, self.cpu_ns = {}, None, None
        frequency = 10_000_000
        rows = [line.split() for line in text.splitlines()]
        for row in rows:
            if row[0] == "frequency":
                frequency = int(row[1])
        for row in rows:
            if row[0] == "event":
                count, total, first, last = (int(v) for v in row[2:6])
                self.events[row[1]] = (count, total, first * 10**9 // frequency, last * 10**9 // frequency)
            elif row[0] == "memory":
                self.memory = {"working_set": int(row[1]), "peak_working_set": int(row[2]), "private": int(row[3])}
            elif row[0] == "cpu":
                self.cpu_ns = (int(row[1]) + int(row[2])) * 100

    def count(self, event):
        return self.events.get(event, (0, 0, 0, 0))[0]

    def sum(self, event):
        return self.events.get(event, (0, 0, 0, 0))[1]

    def first(self, event):
        return self.events[event][2]

    def last(self, event):
        return self.events[event][3]


class Bench(KivraTestCase):
    """The harness of the end-to-end tests, used for one long session instead of a test."""

    def runTest(self):
        pass

    def start_probed(self):
        self.probe_path = os.path.join(self.dir, "probe.txt")
        spawned = now_ns()
        self.start_kivra(extra_env={"KIVRA_PROBE": self.wine.windows_path(self.probe_path)})
        return spawned

    def report(self):
        if os.path.exists(self.probe_path):
            os.remove(self.probe_path)
        status, answer = self.win_control("post", MAIN_TITLE, "KivraProbeReport")
        assert status == 0, "posting the report request: " + answer

        def whole():
            if not os.path.exists(self.probe_path):
                return None
            with open(self.probe_path) as report:
                text = report.read()
            return text if text.endswith("end\n") else None
        return Report(wait_until(whole, 20, interval=0.05, message="the probe's report"))

    def bind_user_rows(self):
        self.write_bindings({row: "K%02d" % i for i, row in enumerate(USER_ROWS)},
                            {row: LETTERS[i] for i, row in enumerate(USER_ROWS)})

    def fast_settings(self, menu):
        self.write_settings(KeyboardDelay=10, SignalTimeOut=10, TryConnect=1, TryPeriod=5,
                            MenuPath="Kivra.mnu" if menu else "none.mnu")
        if menu:
            with open(self.wine.windows_dir("Kivra.mnu"), "wb") as out:
                out.write(menu_file(MENU_ITEMS))


# ---- the measurements -----------------------------------------------------------------------------
def measure_startups(bench, starts):
    """Start-up figures per start with the 1000-item menu, and memory after a start without it."""
    runs = []
    memory_plain = None
    for index in range(starts + 1):
        with_menu = index > 0
        bench.fast_settings(menu=with_menu)
        bench.server.start()
        spawned = bench.start_probed()
        assert bench.server.wait_for_clients(1, 20), "Kivra did not connect"
        report = bench.report()
        start = report.first("start")
        run = {"loader_ms": (start - spawned) / 1e6,
               "to_connect_ms": (report.first("connect-attempt") - start) / 1e6,
               "to_tray_ms": (report.first("tray-icon") - start) / 1e6,
               "spawn_to_connect_ms": (report.first("connect-attempt") - spawned) / 1e6,
               "menu_load_ms": (report.last("menu-load-end") - report.first("menu-load-begin")) / 1e6}
        if with_menu:
            runs.append(run)
        else:
            memory_plain = dict(windows=report.memory, linux=ProcessView(bench.kivra.pid).memory_kb())
        bench.stop_kivra()
        bench.server.close_clients()
    return runs, memory_plain


def key_event(receiver, vk, released, timeout_s):
    """The performance-counter stamp (ns) of the sink's next press (or release) of vk, or None
    after timeout_s."""
    deadline = time.monotonic() + timeout_s
    while time.monotonic() < deadline:
        receiver.settimeout(max(0.001, deadline - time.monotonic()))
        try:
            fields = receiver.recv(256).split()
        except socket.timeout:
            return None
        if int(fields[0]) == vk and bool(int(fields[2]) & 0x80) == released:
            return int(fields[4]) * 100
    return None


def measure_latency(bench, receiver, presses, spacing_s):
    line = format_line(code_of(LATENCY_BUTTON), 0, LATENCY_BUTTON, "BENCH").encode("ascii")
    latencies, missing = [], 0
    # Until `presses` are measured: a lost press is counted and replaced (at most a tenth more).
    while len(latencies) < presses and missing <= presses // 10:
        written = now_ns()
        bench.server.send_bytes(line)
        down = key_event(receiver, LATENCY_VK, False, 1.0)
        if down is not None:
            latencies.append(down - written)
        else:
            missing += 1
        # The gap counts from the end of the handling, a key delay after the key's release: the
        # next press waits for that, however late this one's release came.
        up = key_event(receiver, LATENCY_VK, True, 1.0) if down is not None else None
        next_ns = max(written + spacing_s * 1e9, (up if up is not None else now_ns()) + HANDLING_AFTER_RELEASE_NS)
        time.sleep(max(0.0, (next_ns - now_ns()) / 1e9))
    drain(receiver)
    return latencies, missing


def measure_stages(bench, receiver, presses):
    """Where one press's time goes, from the probe's marks: the line written -> Kivra's read ->
    the dispatch -> the key-down seen by the sink. One report per press, so fewer presses."""
    line = format_line(code_of(LATENCY_BUTTON), 0, LATENCY_BUTTON, "STAGES").encode("ascii")
    stages = {"to_read": [], "read_to_dispatch": [], "dispatch_to_key": []}
    for _ in range(presses):
        written = now_ns()
        bench.server.send_bytes(line)
        down = key_event(receiver, LATENCY_VK, False, 1.0)
        report = bench.report()
        if down is not None:
            stages["to_read"].append(report.last("read") - written)
            stages["read_to_dispatch"].append(report.last("dispatch") - report.last("read"))
            stages["dispatch_to_key"].append(down - report.last("dispatch"))
        time.sleep(0.05)
    drain(receiver)
    return {name: summary_ms(values) for name, values in stages.items()}


def drain(receiver):
    """Reads what the sink has sent until it is quiet for 0.2 s; returns the key-downs among it."""
    receiver.settimeout(0.2)
    count = 0
    try:
        while True:
            fields = receiver.recv(256).split()
            count += not int(fields[2]) & 0x80
    except socket.timeout:
        return count


def measure_burst(bench, receiver):
    before = bench.report()
    lines = b"".join(format_line(code_of("K%02d" % (i % 20)), 0, "K%02d" % (i % 20), "BURST").encode("ascii")
                     for i in range(BURST_LINES))
    written = now_ns()
    bench.server.send_bytes(lines)
    after = wait_until(lambda: (lambda r: r if r.count("signal") - before.count("signal") >= BURST_LINES else None)(
        bench.report()), 60, interval=0.2, message="the burst to be handled")
    keys_seen = drain(receiver)
    return {"bytes": len(lines),
            "reads": after.count("read") - before.count("read"),
            "bytes_read": after.sum("read") - before.sum("read"),
            "read_all_ms": (after.last("read") - written) / 1e6,
            "handled_all_ms": (after.last("signal") - written) / 1e6,
            "dispatched": after.count("dispatch") - before.count("dispatch"),
            "key_downs_seen": keys_seen,
            "memory": dict(windows=after.memory, linux=ProcessView(bench.kivra.pid).memory_kb())}


def measure_rest(bench, seconds, alongside=None):
    """The cost of `seconds` of quiet: CPU, wake-ups, messages and ticks. `alongside` starts
    other work meanwhile, which touches neither Kivra nor its server."""
    kivra, server = ProcessView(bench.kivra.pid), wineserver_of(bench.wine.prefix)
    first = bench.report()
    cpu, switches = kivra.cpu_ns(), kivra.context_switches()
    server_cpu = server.cpu_ns() if server else None
    began = time.monotonic()
    if alongside:
        alongside()
    time.sleep(max(0.0, began + seconds - time.monotonic()))
    cpu, switches = kivra.cpu_ns() - cpu, kivra.context_switches() - switches
    server_cpu = server.cpu_ns() - server_cpu if server else None
    elapsed = time.monotonic() - began
    second = bench.report()
    per_minute = 60.0 / elapsed
    return {"seconds": elapsed,
            "cpu_ms_per_min": cpu / 1e6 * per_minute,
            "wakeups_per_min": switches * per_minute,
            # The second report's own request is one message; it is not part of the quiet.
            "messages_per_min": (second.count("message") - first.count("message") - 1) * per_minute,
            "timer_ticks_per_min": (second.count("timer") - first.count("timer")) * per_minute,
            "attempts_per_min": (second.count("connect-attempt") - first.count("connect-attempt")) * per_minute,
            "wineserver_cpu_ms_per_min": server_cpu / 1e6 * per_minute if server_cpu is not None else None,
            "threads": kivra.threads()}


def run(quick):
    presses = 50 if quick else 500
    rest_s = 5 if quick else 60
    starts = 1 if quick else 5
    spacing_s = 0.05
    results = {"when": time.strftime("%Y-%m-%d %H:%M UTC", time.gmtime()), "quick": quick,
               "machine": machine(), "presses": presses, "rest_s": rest_s}
    bench = Bench()
    bench.setUp()
    try:
        bench.bind_user_rows()
        results["startup"], memory_plain = measure_startups(bench, starts)

        bench.fast_settings(menu=True)
        bench.server.start()
        bench.start_probed()
        bench.wait_connected()
        startup_report = bench.report()
        results["memory"] = {"after start-up": memory_plain,
                             "after the 1000-item menu": dict(windows=startup_report.memory,
                                                              linux=ProcessView(bench.kivra.pid).memory_kb())}
        with socket.socket(socket.AF_INET, socket.SOCK_DGRAM) as receiver:
            receiver.bind(("127.0.0.1", 0))
            bench.start_key_sink(udp_port=receiver.getsockname()[1])
            bench.warm_up()
            drain(receiver)
            before = bench.report()
            latencies, missing = measure_latency(bench, receiver, presses, spacing_s)
            after = bench.report()
            # A press without its key-down: dispatched by Kivra or not, and in the sink's log or not.
            results["latency"] = dict(summary_ms(latencies), missing=missing,
                                      signals=after.count("signal") - before.count("signal"),
                                      dispatched=after.count("dispatch") - before.count("dispatch"),
                                      logged=sum(1 for e in bench.keys() if e.vk == LATENCY_VK and e.down))
            results["stages"] = measure_stages(bench, receiver, 5 if quick else 30)
            results["burst"] = measure_burst(bench, receiver)
            results["memory"]["after the burst"] = results["burst"].pop("memory")
        # What any program costs under Wine: a window of class LightAlloyFront and nothing else.
        bench.start_light_alloy()
        results["memory"]["Wine's floor: a bare window"] = dict(windows=None,
                                                               linux=ProcessView(bench.light_alloy.pid).memory_kb())
        bench.stop_light_alloy()

        reference = {}

        def reference_row():
            try:
                found = irxevent_reference.measure(bench.wine.env["DISPLAY"], presses, spacing_s,
                                                   workdir=os.path.join(bench.wine.logs, "irxevent"))
                reference.update(summary_ms(found.latencies_ns), missing=found.missing)
            except Exception as error:  # the table still shows Kivra's figures
                reference["error"] = str(error)
        worker = threading.Thread(target=reference_row)
        results["rest_connected"] = measure_rest(bench, rest_s, alongside=worker.start)
        worker.join()
        results["reference"] = reference

        bench.server.stop()
        bench.wait_for_panel(0, kivra_e2e.DISCONNECTED)
        results["rest_absent"] = measure_rest(bench, rest_s)
    finally:
        bench.tearDown()
        bench.doCleanups()
        kivra_e2e.session().stop()
    return results


def machine():
    model = ""
    try:
        with open("/proc/cpuinfo") as info:
            model = next((l.split(":", 1)[1].strip() for l in info if l.startswith("model name")), "")
    except OSError:
        pass
    wine = subprocess.run(["wine", "--version"], capture_output=True, text=True).stdout.strip()
    return {"cpu": model, "cores": os.cpu_count(), "kernel": platform.release(), "wine": wine}


# ---- the table ------------------------------------------------------------------------------------
def table(r):
    out = []
    m = r["machine"]
    out.append("Kivra under %s on %s, %d cores, Linux %s; %s%s" % (
        m["wine"], m["cpu"] or "an unknown processor", m["cores"], m["kernel"], r["when"],
        " (quick run)" if r["quick"] else ""))
    out.append("%-52s %8s %8s %8s %8s %8s" % ("", "median", "p95", "p99", "min", "max"))

    def stats_row(name, s, unit="ms"):
        if s:
            out.append("%-52s %8.3f %8.3f %8.3f %8.3f %8.3f  %s" % (name, s["median"], s["p95"], s["p99"], s["min"],
                                                                    s["max"], unit))

    lat, ref = r["latency"], r["reference"]
    stats_row("Button to keystroke, Kivra (%d presses, %d lost)" % (lat["n"], lat["missing"]), lat)
    if lat["missing"]:
        out.append("  of %d presses Kivra received %d and dispatched %d; the sink's log holds %d key-downs" % (
            lat["n"] + lat["missing"], lat["signals"], lat["dispatched"], lat["logged"]))
    if "median" in ref:
        stats_row("Button to keystroke, irxevent (%d presses, %d lost)" % (ref["n"], ref["missing"]), ref)
        out.append("%-52s %8.2f %8.2f %8.2f" % ("  ratio Kivra / irxevent", lat["median"] / ref["median"],
                                                 lat["p95"] / ref["p95"], lat["p99"] / ref["p99"]))
    else:
        out.append("  irxevent reference not measured: %s" % ref.get("error", "?"))

    for name, label in (("to_read", "line written to Kivra's read"),
                        ("read_to_dispatch", "read to dispatch (framing, parsing, gates)"),
                        ("dispatch_to_key", "dispatch to the sink's key-down")):
        stats_row("  stage (%d presses): %s" % (r["stages"][name]["n"], label), r["stages"][name])

    def column(key):
        return summary(run[key] for run in r["startup"])
    n = len(r["startup"])
    stats_row("Start-up (%d starts): Wine's loader, to WinMain" % n, column("loader_ms"))
    stats_row("  WinMain to the first connection attempt", column("to_connect_ms"))
    stats_row("  WinMain to the tray icon", column("to_tray_ms"))
    stats_row("  loading the %d-item menu (inside the above)" % MENU_ITEMS, column("menu_load_ms"))

    b = r["burst"]
    out.append("Burst of %d lines (%d bytes, one write): read in %d reads within %.1f ms, all handled within %.1f ms;"
               % (BURST_LINES, b["bytes"], b["reads"], b["read_all_ms"], b["handled_all_ms"]))
    out.append("  dispatched %d (the 10 ms gap drops lines that follow closer), key-downs seen by the sink %d"
               % (b["dispatched"], b["key_downs_seen"]))
    for name, key in (("connected", "rest_connected"), ("WinLIRC absent, retry every 5 s", "rest_absent")):
        s = r[key]
        server = ("%.2f" % s["wineserver_cpu_ms_per_min"]) if s["wineserver_cpu_ms_per_min"] is not None else "?"
        out.append("At rest, %s (%.0f s), per minute: CPU %.2f ms, wake-ups %.0f, messages %.0f, timer ticks %.0f,"
                   " attempts %.0f; wineserver CPU %s ms" % (name, s["seconds"], s["cpu_ms_per_min"],
                                                             s["wakeups_per_min"], s["messages_per_min"],
                                                             s["timer_ticks_per_min"], s["attempts_per_min"], server))
    out.append("Memory, MB                  Windows: working set  private   Linux: resident  private")
    for when, mem in r["memory"].items():
        if mem:
            win, lin = mem["windows"], mem["linux"]
            windows = "%12.1f %8.1f" % (win["working_set"] / 2**20, win["private"] / 2**20) if win else "%12s %8s" % (
                "-", "-")
            out.append("  %-28s %s %16.1f %8.1f" % (when, windows, lin["rss"] / 1024, lin["private"] / 1024))
    return "\n".join(out)


def main():
    quick = "--quick" in sys.argv
    json_path = sys.argv[sys.argv.index("--json") + 1] if "--json" in sys.argv else None
    results = run(quick)
    print(table(results))
    if json_path:
        with open(json_path, "w") as out:
            json.dump(results, out, indent=1)


if __name__ == "__main__":
    main()
