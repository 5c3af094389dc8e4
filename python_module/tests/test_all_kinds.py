"""Every indicator kind of the catalogue inside a real run: each is declared in a
strategy whose rules read its value, the case runs to a report, the same case gives
the same hash twice, and a suite of all of them gives byte-identical responses on
one worker and on eight."""

import json
import pathlib
import random
import re
import subprocess
import sys

from ostrel_benchmark import Benchmark

ROOT = pathlib.Path(__file__).resolve().parents[2]
KINDS = re.findall(r"^KIND\((\w+),", (ROOT / "ostrel-core/src/catalogue/kinds.def").read_text(), re.M)

# Parameter lists tried in turn until a kind accepts one.
TRIES = [
    [], [14], [14, 2], [14, 0.5], [12, 26, 9], [14, 3, 3], [10, 2, 30], [14, 0.5, 6], [0.02, 0.02, 0.2],
    [23, 50, 10], [13, 12, 26], [3, 2, 100], [12, 26, 9, 3], [20, 1, 1], [20, 10, 0.7], [30, 2, 5],
    [10, 15, 20, 30, 10, 10, 10, 15], [9, 13, 13], [20, 24, 0.7], [0.05, 20], [20, 5], [100, 20],
    [23, 50, 10, 0.5], [10, 15, 20, 30, 10, 10, 10, 15, 9], [0, 0, 0.02, 0.02, 0.2, 0.02, 0.02, 0.2],
]


def candles(n=300, seed=7):
    rng = random.Random(seed)
    out, price = [], 100.0
    for i in range(n):
        o = price
        price = max(1.0, price + rng.gauss(0, 1))
        hi = max(o, price) + rng.random() * 0.5
        lo = min(o, price) - rng.random() * 0.5
        out.append([1_700_000_000_000 + i * 3_600_000, o, hi, lo, price, 50 + rng.random() * 100])
    return out


DATA = candles()


def strategy(kind, params):
    return {
        "spec_version": 1,
        "symbol": "TEST",
        "timeframe": "1h",
        "indicators": {"x": {"type": kind, "params": params}},
        "entry": {"rising": ["x", 2]},
        "exit": {"falling": ["x", 2]},
        "sizing": {"type": "fixed_fraction", "fraction": 0.5},
        "costs": {"taker_bps": 5, "slippage": {"type": "fixed_bps", "bps": 1}},
        "risk": {"stop_loss_pct": 5},
    }


def case(case_id, strat):
    return {"id": case_id, "description": "", "dataset_ref": "d", "strategy": strat,
            "expected": {}, "expected_hash": "0" * 64}


def run_case(strat):
    return json.loads(Benchmark().command(json.dumps({"cmd": "run_case", "case": case("c", strat), "data": DATA})))


def accepted_params():
    found = {}
    for kind in KINDS:
        for params in TRIES:
            r = run_case(strategy(kind, params))
            if "error" in r and r["error"].startswith("backtest engine error: invalid parameters for indicator"):
                continue
            assert "error" not in r, (kind, params, r)
            found[kind] = (params, r)
            break
    return found


def test_every_kind_runs_in_the_engine_and_repeats_its_hash():
    found = accepted_params()
    assert sorted(found) == sorted(KINDS), sorted(set(KINDS) - set(found))
    for kind, (params, first) in found.items():
        again = run_case(strategy(kind, params))
        assert again["hash"] == first["hash"], kind
        assert len(first["recomputed"]["equity"]) == len(DATA), kind
    # Kinds that read more than candles never get their feed in a run, so their
    # rules never hold and they never trade.
    for kind in ("Vpin", "QuotedSpread", "FundingRate", "Trin", "Beta"):
        assert found[kind][1]["recomputed"]["trades"] == [], kind


def test_suite_of_every_kind_is_the_same_on_one_and_eight_workers(tmp_path):
    found = accepted_params()
    suite = {"cmd": "run_suite", "datasets": {"d": DATA},
             "suite": {"name": "all", "cases": [case(k, strategy(k, p)) for k, (p, _) in sorted(found.items())]}}
    request = tmp_path / "suite.json"
    request.write_text(json.dumps(suite))
    script = ("import sys; from ostrel_benchmark import Benchmark; "
              "sys.stdout.write(Benchmark().command(open(sys.argv[1]).read()))")
    outs = []
    for workers in ("1", "8"):
        env = {"RAYON_NUM_THREADS": workers, "PATH": "/usr/bin:/bin"}
        outs.append(subprocess.run([sys.executable, "-c", script, str(request)], env=env, check=True,
                                   capture_output=True).stdout)
    assert outs[0] == outs[1]
    r = json.loads(outs[0])
    assert r["passed"] + r["failed"] == len(KINDS)
    assert [c["id"] for c in r["results"]] == sorted(KINDS)
