"""Parse throughput of Benchmark().command on a "run_suite" request holding
1,000,000 candles (object form and array form), side by side with json.loads and
orjson.loads on the same text, and the peak memory of each above the text itself.

The request has no cases, so command() parses the text, reads the datasets (every
candle) and answers {"failed":0,"passed":0,"results":[]}.

Usage: python3 bench/protocol_bench.py   (needs the installed package; orjson from
PyPI is optional)
"""

import json
import resource
import subprocess
import sys
import time

N = 1_000_000


def request_text(object_form: bool) -> str:
    parts = []
    price = 30000.0
    for i in range(N):
        o = price
        c = price + (((i * 7919) % 200) - 100) * 0.25
        h = max(o, c) + 1.5
        lo = min(o, c) - 1.25
        t = 1700000000000 + 60000 * i
        v = 100.0 + (i % 977) * 0.125
        if object_form:
            parts.append(
                f'{{"time":{t},"open":{o:.2f},"high":{h:.2f},"low":{lo:.2f},"close":{c:.2f},"volume":{v:.3f}}}'
            )
        else:
            parts.append(f"[{t},{o:.2f},{h:.2f},{lo:.2f},{c:.2f},{v:.3f}]")
        price = c
    return '{"cmd":"run_suite","suite":{"name":"bench","cases":[]},"datasets":{"btc":[' + ",".join(parts) + "]}}"


def runner(name: str):
    if name == "ostrel":
        from ostrel_benchmark import Benchmark

        b = Benchmark()

        def f(t):
            r = b.command(t)
            assert r == '{"failed":0,"passed":0,"results":[]}', r[:200]

        return f
    if name == "json":
        return json.loads
    import orjson

    return orjson.loads


def child(name: str, object_form: bool) -> None:
    text = request_text(object_form)
    f = runner(name)
    before = resource.getrusage(resource.RUSAGE_SELF).ru_maxrss * 1024
    best = float("inf")
    for _ in range(3):
        t0 = time.perf_counter()
        f(text)
        best = min(best, time.perf_counter() - t0)
    peak = resource.getrusage(resource.RUSAGE_SELF).ru_maxrss * 1024
    size = len(text)
    print(json.dumps({"mb_s": size / 1e6 / best, "size": size, "extra_peak": max(0, peak - before)}))


def main() -> None:
    if len(sys.argv) == 4 and sys.argv[1] == "--child":
        child(sys.argv[2], sys.argv[3] == "object")
        return
    names = ["ostrel", "json"]
    try:
        import orjson  # noqa: F401

        names.append("orjson")
    except ImportError:
        print("(orjson not installed: pip install orjson)")
    for form in ["object", "array"]:
        for name in names:
            out = subprocess.run(
                [sys.executable, __file__, "--child", name, form], check=True, capture_output=True, text=True
            ).stdout
            r = json.loads(out)
            print(
                f"{form:6} form, {r['size'] / 1e6:5.1f} MB, {name:7}: {r['mb_s']:7.1f} MB/s, "
                f"peak memory above the text {r['extra_peak'] / r['size']:.2f}x the text"
            )


if __name__ == "__main__":
    main()
