"""One run_case command of N candles (default 200,000) through Benchmark().command,
beside orjson.loads and json.loads of the same request text, in one process.

The request is realistic: random-walk candles as json.dumps writes them, the bench
strategy (SMA 10/30 cross, RSI 14 filter, stop loss, take profit), and as the
expected report the report the engine recomputes for the case, with its real hash
(found by a first run). The phases inside the command are printed by the C++ bench
build/bench/bench/request_bench.

Usage: python3 bench/request_bench.py [BARS]   (needs the installed package and orjson)
"""

import json
import random
import statistics
import sys
import time

from ostrel_benchmark import Benchmark

BARS = int(sys.argv[1]) if len(sys.argv) > 1 else 200_000
REPS = 7

STRATEGY = {
    "spec_version": 1, "symbol": "BENCH", "timeframe": "1h",
    "indicators": {"fast": {"type": "Sma", "params": [10]}, "slow": {"type": "Sma", "params": [30]},
                   "rsi": {"type": "Rsi", "params": [14]}},
    "entry": {"all": [{"cross_above": ["fast", "slow"]}, {"lt": ["rsi", 70]}]},
    "exit": {"cross_below": ["fast", "slow"]},
    "sizing": {"type": "fixed_fraction", "fraction": 0.5},
    "costs": {"taker_bps": 10, "slippage": {"type": "fixed_bps", "bps": 2}},
    "risk": {"stop_loss_pct": 2, "take_profit_pct": 4},
}


def candles(n: int):
    rng = random.Random(1)
    out = []
    close = 30000.0
    for k in range(n):
        open_ = close
        close = open_ * (1.0 + rng.gauss(0.0002, 0.01))
        high = max(open_, close) * (1.0 + abs(rng.gauss(0.0, 0.003)))
        low = min(open_, close) * (1.0 - abs(rng.gauss(0.0, 0.003)))
        volume = round(abs(rng.gauss(0.0, 0.003)) * 1e7) / 100.0
        out.append([1700000000000 + k * 3600000, open_, high, low, close, volume])
    return out


def request_text(data, expected, expected_hash: str) -> str:
    case = {"id": "bench", "description": "SMA 10/30 cross, RSI 14 filter, stop loss, take profit",
            "strategy": STRATEGY, "dataset_ref": "d", "expected": expected, "expected_hash": expected_hash}
    return json.dumps({"cmd": "run_case", "case": case, "data": data})


def best_and_median(f, text):
    times = []
    for _ in range(REPS):
        t0 = time.perf_counter()
        f(text)
        times.append(time.perf_counter() - t0)
    return min(times), statistics.median(times)


def main() -> None:
    import orjson

    data = candles(BARS)
    bench = Benchmark()
    first = json.loads(bench.command(request_text(data, {}, "0" * 64)))
    text = request_text(data, first["recomputed"], first["hash"])
    response = json.loads(bench.command(text))
    assert response["passed"] and response["hash_match"], "the realistic case must pass"
    size = len(text)
    print(f"run_case, {BARS} candles, request {size / 1e6:.1f} MB, best and median of {REPS} runs, one process")
    cmd = best_and_median(bench.command, text)
    oj = best_and_median(orjson.loads, text)
    js = best_and_median(json.loads, text)
    for name, (b, m) in (("Benchmark().command", cmd), ("orjson.loads", oj), ("json.loads", js)):
        print(f"  {name:20}: best {b * 1e3:7.1f} ms, median {m * 1e3:7.1f} ms")
    print(f"  command / orjson.loads: {cmd[0] / oj[0]:.2f} (best), {cmd[1] / oj[1]:.2f} (median)")


if __name__ == "__main__":
    main()
