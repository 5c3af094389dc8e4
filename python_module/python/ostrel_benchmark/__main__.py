"""Runs JSON command files through ``Benchmark().command`` and prints each response.

Usage: python -m ostrel_benchmark [REQUEST.json ...]

With no file it runs {"cmd":"version"}. Exit status 1 when a response is an error
response.
"""

import json
import sys

from . import Benchmark


def main(argv: list[str]) -> int:
    bench = Benchmark()
    requests = []
    if not argv:
        requests.append(("version", '{"cmd":"version"}'))
    for path in argv:
        with open(path, encoding="utf-8") as f:
            requests.append((path, f.read()))
    status = 0
    for name, text in requests:
        response = bench.command(text)
        print(f"{name}: {response}")
        parsed = json.loads(response)
        if isinstance(parsed, dict) and parsed.get("ok") is False:
            status = 1
    return status


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
