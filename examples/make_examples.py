"""Writes the example requests of this directory: a small suite of three strategies
over one synthetic dataset, with each case's expected report and hash recorded
from the engine.

Run after changing the engine on purpose (the recorded reports are the engine's
own output, so they pin its behaviour rather than prove it):

    python3 examples/make_examples.py
"""

import json
import pathlib
import random

from ostrel_benchmark import Benchmark

HERE = pathlib.Path(__file__).resolve().parent


def dataset(n: int = 300, seed: int = 7) -> list:
    """Hourly candles of a seeded random walk, prices rounded to cents."""
    rng = random.Random(seed)
    candles = []
    close = 30000.0
    for k in range(n):
        open_ = close
        close = round(open_ * (1 + rng.gauss(0.0003, 0.01)), 2)
        high = round(max(open_, close) * (1 + abs(rng.gauss(0, 0.003))), 2)
        low = round(min(open_, close) * (1 - abs(rng.gauss(0, 0.003))), 2)
        volume = round(rng.uniform(5, 50), 3)
        candles.append([1700000000000 + k * 3600000, open_, high, low, close, volume])
    return candles


def strategies() -> list:
    base = {"spec_version": 1, "symbol": "BTCUSDT", "timeframe": "1h"}
    return [
        (
            "sma_cross_rsi",
            "SMA 10/30 cross with an RSI filter, stop loss and take profit, next-open market orders",
            dict(
                base,
                indicators={
                    "fast": {"type": "Sma", "params": [10]},
                    "slow": {"type": "Sma", "params": [30]},
                    "rsi": {"type": "Rsi", "params": [14]},
                },
                entry={"all": [{"cross_above": ["fast", "slow"]}, {"lt": ["rsi", 70]}]},
                exit={"cross_below": ["fast", "slow"]},
                sizing={"type": "fixed_fraction", "fraction": 0.5},
                costs={"taker_bps": 10, "maker_bps": 2, "slippage": {"type": "fixed_bps", "bps": 2}},
                risk={"stop_loss_pct": 3, "take_profit_pct": 6},
            ),
        ),
        (
            "rsi_reversion_long_short",
            "RSI 14 mean reversion on both sides, limit entries 0.2% inside the close, trailing stop",
            dict(
                base,
                indicators={"rsi": {"type": "Rsi", "params": [14]}},
                entry={"lt": ["rsi", 35]},
                exit={"gt": ["rsi", 55]},
                short_entry={"gt": ["rsi", 65]},
                short_exit={"lt": ["rsi", 45]},
                sizing={"type": "fixed_cash", "cash": 4000},
                costs={"taker_bps": 8, "maker_bps": 1},
                risk={"trailing_stop_pct": 4},
                execution={"order_type": "limit", "limit_offset_pct": -0.2},
            ),
        ),
        (
            "ema_trend_vol_target",
            "EMA 20 trend with volatility-targeted size, fills at the close, exit after 24 bars",
            dict(
                base,
                indicators={"ema": {"type": "Ema", "params": [20]}},
                entry={"all": [{"gt": [{"price": "close"}, "ema"]}, {"rising": ["ema", 3]}]},
                exit={"any": [{"lt": [{"price": "close"}, "ema"]}, {"bars_since_entry": {"ge": 24}}]},
                sizing={"type": "vol_target", "target_vol": 0.005, "lookback": 20},
                costs={"taker_bps": 10, "slippage": {"type": "volume_impact", "coef": 0.5}},
                risk={"max_leverage": 1.0, "max_position_pct": 80},
                execution={"fill_timing": "close"},
            ),
        ),
    ]


def main() -> None:
    bench = Benchmark()
    data = dataset()
    cases = []
    for case_id, description, strategy in strategies():
        case = {
            "id": case_id,
            "description": description,
            "strategy": strategy,
            "dataset_ref": "btc_1h",
            "expected": {},
            "expected_hash": "0" * 64,
        }
        result = json.loads(bench.command(json.dumps({"cmd": "run_case", "case": case, "data": data})))
        if "error" in result:
            raise SystemExit(f"{case_id}: {result['error']}")
        case["expected"] = result["recomputed"]
        case["expected_hash"] = result["hash"]
        cases.append(case)
    suite = {"name": "example", "cases": cases}
    (HERE / "run_suite.json").write_text(
        json.dumps({"cmd": "run_suite", "suite": suite, "datasets": {"btc_1h": data}}) + "\n", encoding="utf-8"
    )
    (HERE / "list_cases.json").write_text(json.dumps({"cmd": "list_cases", "suite": suite}) + "\n", encoding="utf-8")


if __name__ == "__main__":
    main()
