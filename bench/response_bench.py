"""One run_case of 200,000 hourly candles through Benchmark().command, beside
orjson.loads (and json.loads) of the same request text, in one process, runs
alternating; and the peak memory growth of one command.

The request is realistic: the case's expected report is the real recomputed report
(one equity point per candle) and its real hash, so the case passes.

Usage: python3 bench/response_bench.py [--bars N] [--reps R]
(needs the installed package; orjson from PyPI is optional)
"""

import argparse
import json
import random
import statistics
import subprocess
import sys
import tempfile
import time

STRATEGY = {
    "spec_version": 1,
    "symbol": "BTCUSDT",
    "timeframe": "1h",
    "indicators": {
        "fast": {"type": "Sma", "params": [10]},
        "slow": {"type": "Sma", "params": [30]},
        "rsi": {"type": "Rsi", "params": [14]},
    },
    "entry": {"all": [{"cross_above": ["fast", "slow"]}, {"lt": ["rsi", 70]}]},
    "exit": {"cross_below": ["fast", "slow"]},
    "sizing": {"type": "fixed_fraction", "fraction": 0.5},
    "costs": {"taker_bps": 10, "slippage": {"type": "fixed_bps", "bps": 2}},
    "risk": {"stop_loss_pct": 2, "take_profit_pct": 4},
}


def candles_text(n: int, seed: int = 11) -> str:
    rng = random.Random(seed)
    parts = []
    close = 30000.0
    for k in range(n):
        o = close
        close = max(1.0, o * (1.0 + rng.gauss(0.0, 0.006)))
        h = max(o, close) * (1.0 + abs(rng.gauss(0.0, 0.002)))
        lo = min(o, close) * (1.0 - abs(rng.gauss(0.0, 0.002)))
        t = 1500000000000 + k * 3600000
        v = 10.0 + (k % 997) * 0.125
        parts.append(f'{{"time":{t},"open":{o:.2f},"high":{h:.2f},"low":{lo:.2f},"close":{close:.2f},"volume":{v:.3f}}}')
    return "[" + ",".join(parts) + "]"


def request(candles: str, expected: str, hash_: str) -> str:
    case = (
        '{"id":"bench","description":"one strategy","strategy":' + json.dumps(STRATEGY, separators=(",", ":"))
        + ',"dataset_ref":"btc","expected":' + expected + ',"expected_hash":"' + hash_ + '"}'
    )
    return '{"cmd":"run_case","case":' + case + ',"data":' + candles + "}"


def build(bars: int) -> str:
    from ostrel_benchmark import Benchmark

    candles = candles_text(bars)
    first = Benchmark().command(request(candles, "{}", "0" * 64))
    at = first.index(',"recomputed":')
    return request(candles, first[at + len(',"recomputed":'):-1], first[9:73])


def memory_child(path: str) -> None:
    """Peak memory growth of one command above a fresh process holding the text."""
    from ostrel_benchmark import Benchmark

    with open(path, encoding="utf-8") as f:
        text = f.read()
    b = Benchmark()
    before = rss_kb("VmRSS:")
    with open("/proc/self/clear_refs", "w") as f:
        f.write("5")
    response = b.command(text)
    peak = rss_kb("VmHWM:")
    print(json.dumps({"growth": (peak - before) * 1024, "request": len(text), "response": len(response)}))


def rss_kb(field: str) -> int:
    with open("/proc/self/status") as f:
        for line in f:
            if line.startswith(field):
                return int(line.split()[1])
    return 0


def main() -> None:
    ap = argparse.ArgumentParser()
    ap.add_argument("--bars", type=int, default=200000)
    ap.add_argument("--reps", type=int, default=9)
    ap.add_argument("--memory-child")
    args = ap.parse_args()
    if args.memory_child:
        memory_child(args.memory_child)
        return
    from ostrel_benchmark import Benchmark

    text = build(args.bars)
    b = Benchmark()
    response = b.command(text)
    assert '"hash_match":true' in response and '"passed":true' in response, response[:300]
    runners = {"command": b.command, "json.loads": json.loads}
    try:
        import orjson

        runners["orjson.loads"] = orjson.loads
    except ImportError:
        print("orjson is not installed: pip install orjson")
    times = {name: [] for name in runners}
    for _ in range(args.reps):
        for name, f in runners.items():
            t0 = time.perf_counter()
            f(text)
            times[name].append(time.perf_counter() - t0)
    print(f"run_case request: {args.bars} candles, {len(text) / 1e6:.1f} MB; response {len(response) / 1e6:.1f} MB")
    print(f"medians of {args.reps} alternating runs:")
    med = {name: statistics.median(t) * 1e3 for name, t in times.items()}
    for name, m in med.items():
        runs = " ".join(f"{t * 1e3:.0f}" for t in times[name])
        print(f"  {name:14s} {m:8.1f} ms   (runs: {runs})")
    if "orjson.loads" in med:
        print(f"  command / orjson.loads = {med['command'] / med['orjson.loads']:.2f} (goal: at most 0.5)")
    with tempfile.NamedTemporaryFile("w", encoding="utf-8", suffix=".json") as f:
        f.write(text)
        f.flush()
        out = subprocess.run(
            [sys.executable, __file__, "--memory-child", f.name], capture_output=True, text=True, check=True
        ).stdout
    m = json.loads(out)
    print(
        f"  peak memory growth of one command: {m['growth'] / 1e6:.1f} MB = "
        f"{m['growth'] / (m['request'] + m['response']):.2f} x (request + response text)"
    )


if __name__ == "__main__":
    main()
