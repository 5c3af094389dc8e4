"""Memory a run_case takes for windows that never fill: 300 hourly candles and a
strategy of 24 window indicators, each declared with the largest period the
catalogue accepts (16,777,216), beside the same case with period 14, in one process.

For each case the script prints the growth of the process's peak resident set
during the command (VmHWM, reset before each case through /proc/self/clear_refs;
where that is not possible, the growth of ru_maxrss). Windows that grow with the
values they receive keep the long case near the short one; windows allocated whole
at construction take gigabytes.

Usage: python3 bench/window_memory.py [--limit-mb 64]   (needs the installed package)
Exit status 1 when the long case grows the process by more than the limit.
"""

import argparse
import json
import pathlib
import resource
import sys

from ostrel_benchmark import Benchmark

# The example requests' candles: 300 hours of a seeded random walk.
sys.path.insert(0, str(pathlib.Path(__file__).resolve().parents[1] / "examples"))
from make_examples import dataset  # noqa: E402

MAX_PERIOD = 16_777_216

# (kind, parameters after the period): window kinds of every family that accept
# MAX_PERIOD as their period.
KINDS = [
    ("Sma", []),
    ("Wma", []),
    ("Trima", []),
    ("MedianMa", []),
    ("StdDev", []),
    ("Variance", []),
    ("RollingQuantile", [0.5]),
    ("Donchian", []),
    ("Atr", []),
    ("Cci", []),
    ("Mfi", []),
    ("Obv", []),
    ("Hma", []),
    ("Alma", [0.85, 6]),
    ("Kurtosis", []),
    ("Skewness", []),
    ("LinearRegression", []),
    ("ZScore", []),
    ("BollingerBands", [2]),
    ("Aroon", []),
    ("WilliamsR", []),
    ("MidPrice", []),
    ("Stochastic", [3]),
    ("UlcerIndex", []),
]


def request(period: int, data: list) -> str:
    indicators = {f"i{n:02d}_{kind}": {"type": kind, "params": [period] + rest} for n, (kind, rest) in enumerate(KINDS)}
    strategy = {
        "spec_version": 1,
        "symbol": "BTCUSDT",
        "timeframe": "1h",
        "indicators": indicators,
        "entry": {"gt": [{"price": "close"}, "i00_Sma"]},
        "exit": {"lt": [{"price": "close"}, "i00_Sma"]},
        "sizing": {"type": "fixed_fraction", "fraction": 0.5},
    }
    case = {
        "id": f"windows_{period}",
        "description": "24 window indicators",
        "strategy": strategy,
        "dataset_ref": "d",
        "expected": {},
        "expected_hash": "0" * 64,
    }
    return json.dumps({"cmd": "run_case", "case": case, "data": data})


def status_kb(field: str) -> int:
    with open("/proc/self/status") as f:
        for line in f:
            if line.startswith(field + ":"):
                return int(line.split()[1])
    raise KeyError(field)


def reset_peak() -> bool:
    try:
        with open("/proc/self/clear_refs", "w") as f:
            f.write("5")
        return True
    except OSError:
        return False


def measure(bench: Benchmark, text: str) -> tuple:
    """Peak resident growth of one command in MB, and the response."""
    if reset_peak():
        before = status_kb("VmRSS")
        response = bench.command(text)
        return (status_kb("VmHWM") - before) / 1024.0, response
    before = resource.getrusage(resource.RUSAGE_SELF).ru_maxrss
    response = bench.command(text)
    return (resource.getrusage(resource.RUSAGE_SELF).ru_maxrss - before) / 1024.0, response


def main() -> int:
    ap = argparse.ArgumentParser()
    ap.add_argument("--limit-mb", type=float, default=64.0)
    args = ap.parse_args()
    bench = Benchmark()
    data = dataset()
    results = {}
    for period in (14, MAX_PERIOD):
        text = request(period, data)
        grown, response = measure(bench, text)
        r = json.loads(response)
        if "error" in r:
            print(f"period {period}: error {r['error']}")
            return 1
        results[period] = grown
        print(f"period {period:>10}: {len(KINDS)} indicators, {len(data)} candles, peak RSS growth {grown:9.1f} MB")
    print(f"difference: {results[MAX_PERIOD] - results[14]:.1f} MB (limit {args.limit_mb:.0f} MB for the long case)")
    return 0 if results[MAX_PERIOD] <= args.limit_mb else 1


if __name__ == "__main__":
    raise SystemExit(main())
