"""The bench strategy (SMA 10/30 cross with an RSI 14 filter, stop loss 2%, take
profit 4%, half the equity per trade, 10 bps fees) on the same candles in this
engine (one run_case through Benchmark().command) and in the backtesting.py package,
as a reference point for speed. Not a comparison of results: the two engines differ
in fill rules.

    pip install backtesting && python3 bench/backtesting_reference.py [BARS]
"""

import json
import statistics
import sys
import time

import numpy as np
import pandas as pd

from ostrel_benchmark import Benchmark

BARS = int(sys.argv[1]) if len(sys.argv) > 1 else 200_000


def candles(n: int):
    rng = np.random.default_rng(1)
    steps = 1.0 + rng.normal(0.0002, 0.01, n)
    close = 30000.0 * np.cumprod(steps)
    open_ = np.concatenate(([30000.0], close[:-1]))
    high = np.maximum(open_, close) * (1.0 + np.abs(rng.normal(0, 0.003, n)))
    low = np.minimum(open_, close) * (1.0 - np.abs(rng.normal(0, 0.003, n)))
    return open_, high, low, close


def run_ours(o, h, l, c) -> float:
    data = [[k * 60000, o[k], h[k], l[k], c[k], 10.0] for k in range(len(c))]
    strategy = {
        "spec_version": 1, "symbol": "BENCH", "timeframe": "1m",
        "indicators": {"fast": {"type": "Sma", "params": [10]}, "slow": {"type": "Sma", "params": [30]},
                       "rsi": {"type": "Rsi", "params": [14]}},
        "entry": {"all": [{"cross_above": ["fast", "slow"]}, {"lt": ["rsi", 70]}]},
        "exit": {"cross_below": ["fast", "slow"]},
        "sizing": {"type": "fixed_fraction", "fraction": 0.5},
        "costs": {"taker_bps": 10},
        "risk": {"stop_loss_pct": 2, "take_profit_pct": 4},
    }
    case = {"id": "bench", "description": "", "strategy": strategy, "dataset_ref": "d", "expected": {},
            "expected_hash": "0" * 64}
    request = json.dumps({"cmd": "run_case", "case": case, "data": data})
    times = []
    for _ in range(3):
        t0 = time.perf_counter()
        response = Benchmark().command(request)
        times.append(time.perf_counter() - t0)
    trades = json.loads(response)["recomputed"]["metrics"]["num_trades"]
    print(f"  this engine    : {statistics.median(times):.3f} s (whole command: parse, run, report, hash), "
          f"{trades} trades")
    return statistics.median(times)


def run_backtesting(o, h, l, c) -> float:
    from backtesting import Backtest, Strategy
    from backtesting.lib import crossover

    def sma(x, n):
        return pd.Series(x).rolling(n).mean().to_numpy()

    def rsi(x, n):
        d = pd.Series(x).diff()
        up = d.clip(lower=0).ewm(alpha=1 / n, adjust=False).mean()
        down = (-d.clip(upper=0)).ewm(alpha=1 / n, adjust=False).mean()
        return (100 - 100 / (1 + up / down)).to_numpy()

    class SmaRsi(Strategy):
        def init(self):
            self.fast = self.I(sma, self.data.Close, 10)
            self.slow = self.I(sma, self.data.Close, 30)
            self.rsi = self.I(rsi, self.data.Close, 14)

        def next(self):
            price = self.data.Close[-1]
            if not self.position:
                if crossover(self.fast, self.slow) and self.rsi[-1] < 70:
                    self.buy(size=0.5, sl=price * 0.98, tp=price * 1.04)
            elif crossover(self.slow, self.fast):
                self.position.close()

    index = pd.date_range("2024-01-01", periods=len(c), freq="min")
    df = pd.DataFrame({"Open": o, "High": h, "Low": l, "Close": c, "Volume": 10.0}, index=index)
    t0 = time.perf_counter()
    stats = Backtest(df, SmaRsi, cash=1e9, commission=0.001).run()
    dt = time.perf_counter() - t0
    print(f"  backtesting.py : {dt:.3f} s, {stats['# Trades']} trades")
    return dt


def main() -> None:
    o, h, l, c = candles(BARS)
    print(f"{BARS} bars, one case, one core")
    ours = run_ours(o, h, l, c)
    ref = run_backtesting(o, h, l, c)
    print(f"  bars/s: this engine {BARS / ours:,.0f}, backtesting.py {BARS / ref:,.0f} ({ref / ours:.0f}x)")


if __name__ == "__main__":
    main()
