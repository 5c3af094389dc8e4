#!/usr/bin/env python3
"""Per-kind update cost of two indicator_bench builds, run alternately.

    compare_kinds.py BASE_BENCH NEW_BENCH [--runs 5] [--bars 50000] [--top 20]

Runs BASE and NEW in turn RUNS times each, keeps each kind's minimum ns/update per
build and prints the kinds with the largest NEW / BASE ratio, then the geometric
mean of the ratios over every kind both builds measured.
"""
import argparse
import math
import re
import subprocess

LINE = re.compile(r"^(\w+)\s+([0-9.]+) ns/update$")


def run(bench, bars):
    out = subprocess.run([bench, str(bars)], check=True, capture_output=True, text=True).stdout
    return {m.group(1): float(m.group(2)) for m in map(LINE.match, out.splitlines()) if m}


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument("base")
    ap.add_argument("new")
    ap.add_argument("--runs", type=int, default=5)
    ap.add_argument("--bars", type=int, default=50000)
    ap.add_argument("--top", type=int, default=20)
    ap.add_argument("--kinds", default="", help="comma-separated kinds to print as well")
    a = ap.parse_args()
    best = {a.base: {}, a.new: {}}
    for _ in range(a.runs):
        for bench in (a.base, a.new):
            for kind, ns in run(bench, a.bars).items():
                prev = best[bench].get(kind)
                best[bench][kind] = ns if prev is None else min(prev, ns)
    base, new = best[a.base], best[a.new]
    ratios = {k: new[k] / base[k] for k in base if k in new and base[k] > 0 and new[k] > 0}
    shown = sorted(ratios, key=ratios.get, reverse=True)[: a.top]
    shown += [k for k in a.kinds.split(",") if k in ratios and k not in shown]
    print(f"{'kind':28s} {'base ns':>9s} {'new ns':>9s} {'new/base':>9s}")
    for k in shown:
        print(f"{k:28s} {base[k]:9.2f} {new[k]:9.2f} {ratios[k]:9.3f}")
    gm = math.exp(sum(math.log(r) for r in ratios.values()) / len(ratios))
    print(f"{len(ratios)} kinds, geometric mean of new/base {gm:.4f}, max {max(ratios.values()):.3f}")


if __name__ == "__main__":
    main()
