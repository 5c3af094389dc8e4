"""End-to-end tests of the engine through Benchmark().command: one case worked out
by hand, the example suite, the order and counts of suite results, determinism
over worker counts, and a suite run in a forked child."""

import json
import os
import pathlib
import subprocess
import sys

import pytest

from ostrel_benchmark import Benchmark

EXAMPLES = pathlib.Path(__file__).resolve().parents[2] / "examples"

# Four bars; entry below 101 and exit above 103 at the close, fixed_qty 2, taker
# 10 bps, slippage 5 bps. The report was computed separately with plain Python
# floats and written canonically; the hash is b3sum of that text.
STRATEGY = {
    "spec_version": 1,
    "symbol": "BTCUSDT",
    "timeframe": "1h",
    "indicators": {},
    "entry": {"lt": [{"price": "close"}, 101]},
    "exit": {"gt": [{"price": "close"}, 103]},
    "sizing": {"type": "fixed_qty", "qty": 2},
    "costs": {"taker_bps": 10, "slippage": {"type": "fixed_bps", "bps": 5}},
    "execution": {"fill_timing": "close"},
}
CANDLES = [
    [1000, 100.0, 101.0, 99.0, 100.0, 5.0],
    [2000, 100.0, 103.0, 99.5, 102.0, 5.0],
    [3000, 102.0, 104.0, 101.0, 103.5, 5.0],
    [4000, 103.5, 104.0, 100.0, 100.5, 5.0],
]
REPORT = (
    '{"equity":[{"equity":10000,"time":1000},{"equity":10003.6999,"time":2000},{"equity":10006.6999,"time":3000},'
    '{"equity":10006.3895035,"time":4000}],"fees_paid":0.809097,"initial_capital":10000,"metrics":{"calmar":20.59876449,'
    '"max_drawdown":0.00310189,"num_trades":2,"pnl":6.3895035,"profit_factor":12.71288727,"return_pct":0.06389504,'
    '"sharpe":1.21776645,"sortino":11.89102384,"win_rate":50},"schema_version":1,"symbol":"BTCUSDT","timeframe":"1h",'
    '"trades":[{"entry_price":100.05,"entry_time":1000,"exit_price":103.44825,"exit_time":3000,"pnl":6.3895035,"qty":2,'
    '"reason":"signal","return_pct":3.19315517},{"entry_price":100.55025,"entry_time":4000,"exit_price":100.5,'
    '"exit_time":4000,"pnl":-0.5026005,"qty":2,"reason":"end","return_pct":-0.24992504}]}'
)
HASH = "8602d4988240f0a23e93877f77bffff4b76cff278e072ea3c3454d24c5f6c3f2"


def case(case_id="g", strategy=None, expected=None, expected_hash=HASH, dataset_ref="ds"):
    return {
        "id": case_id,
        "description": "",
        "strategy": STRATEGY if strategy is None else strategy,
        "dataset_ref": dataset_ref,
        "expected": json.loads(REPORT) if expected is None else expected,
        "expected_hash": expected_hash,
    }


def cmd(obj) -> str:
    return Benchmark().command(json.dumps(obj))


def error(text: str) -> str:
    return json.dumps({"error": text, "ok": False}, separators=(",", ":"))


def test_run_case_golden():
    response = cmd({"cmd": "run_case", "case": case(), "data": CANDLES})
    assert response == '{"hash":"' + HASH + '","hash_match":true,"id":"g","passed":true,"recomputed":' + REPORT + "}"


def test_run_case_refusals():
    spread = dict(STRATEGY, costs={"slippage": {"type": "spread"}})
    assert cmd({"cmd": "run_case", "case": case(strategy=spread), "data": []}) == error(
        "backtest engine error: invalid strategy spec: costs.slippage spread needs an order-book feed; "
        "without one every fill              would be priced at zero slippage"
    )
    assert cmd({"cmd": "run_case", "case": case(), "data": []}) == error(
        "backtest engine error: invalid input data: no candles"
    )
    assert cmd({"cmd": "run_case", "case": case(expected_hash="A" * 64), "data": CANDLES}) == error(
        'invalid case: expected_hash must be 64 lowercase hex characters, got "' + "A" * 64 + '"'
    )


def test_run_suite_order_and_counts():
    cases = [case("b"), case("a", expected_hash="0" * 64), case("c", expected={"x": 1})]
    r = json.loads(cmd({"cmd": "run_suite", "suite": {"cases": cases}, "datasets": {"ds": CANDLES, "other": []}}))
    assert [x["id"] for x in r["results"]] == ["a", "b", "c"]
    assert [(x["passed"], x["hash_match"]) for x in r["results"]] == [(True, False), (True, True), (False, True)]
    assert (r["passed"], r["failed"]) == (1, 2)
    # The dataset lookup comes before any run, even of cases that would fail.
    bad = [case("a", strategy=dict(STRATEGY, spec_version=2)), case("b", dataset_ref="none")]
    assert cmd({"cmd": "run_suite", "suite": {"cases": bad}, "datasets": {"ds": CANDLES}}) == error(
        "data error: no dataset supplied for none"
    )


def test_example_suite_passes():
    r = json.loads(Benchmark().command((EXAMPLES / "run_suite.json").read_text(encoding="utf-8")))
    assert (r["passed"], r["failed"]) == (3, 0)
    assert [x["id"] for x in r["results"]] == sorted(x["id"] for x in r["results"])


def _suite_with_workers(workers: str) -> bytes:
    code = (
        "import sys, ostrel_benchmark as o;"
        "sys.stdout.write(o.Benchmark().command(open(sys.argv[1], encoding='utf-8').read()))"
    )
    env = dict(os.environ, RAYON_NUM_THREADS=workers)
    return subprocess.run(
        [sys.executable, "-c", code, str(EXAMPLES / "run_suite.json")], env=env, capture_output=True, check=True,
        timeout=120,
    ).stdout


def test_suite_response_independent_of_worker_count():
    one = _suite_with_workers("1")
    assert one == _suite_with_workers("8")
    assert json.loads(one)["passed"] == 3


# Forking with the pool's threads alive is what this test is about; Python 3.12 and
# later warn of it.
@pytest.mark.filterwarnings("ignore:This process .* is multi-threaded, use of fork:DeprecationWarning")
def test_suite_in_forked_child():
    request = json.dumps({"cmd": "run_suite", "suite": {"cases": [case("a"), case("b")]}, "datasets": {"ds": CANDLES}})
    parent = Benchmark().command(request)  # starts the pool in this process
    read_end, write_end = os.pipe()
    pid = os.fork()
    if pid == 0:
        try:
            os.close(read_end)
            signal_alarm = __import__("signal")
            signal_alarm.alarm(30)
            os.write(write_end, Benchmark().command(request).encode())
        finally:
            os._exit(0)
    os.close(write_end)
    chunks = []
    while True:
        chunk = os.read(read_end, 65536)
        if not chunk:
            break
        chunks.append(chunk)
    os.close(read_end)
    _, status = os.waitpid(pid, 0)
    assert os.WIFEXITED(status)
    assert b"".join(chunks).decode() == parent
