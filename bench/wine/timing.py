"""The clock and the figures both benchmark rows share.

Under Wine the performance counter is CLOCK_MONOTONIC_RAW in units of 100 ns, so stamps taken
here and inside Windows programs compare directly."""

import statistics
import time


def now_ns():
    return time.clock_gettime_ns(time.CLOCK_MONOTONIC_RAW)


def percentile(sorted_values, p):
    """Nearest rank: every figure is one that was measured."""
    rank = max(1, -(-len(sorted_values) * p // 100))
    return sorted_values[rank - 1]


def summary(values):
    """n, median, p95, p99, min and max of the values, or None when there are none."""
    values = sorted(values)
    if not values:
        return None
    return {"n": len(values), "median": statistics.median(values), "p95": percentile(values, 95),
            "p99": percentile(values, 99), "min": values[0], "max": values[-1]}


def summary_ms(values_ns):
    return summary(v / 1e6 for v in values_ns)
