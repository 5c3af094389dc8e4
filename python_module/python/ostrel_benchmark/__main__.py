"""Runs JSON command files through ``Benchmark().command`` and prints each response.

Usage: python -m ostrel_benchmark [-h] [REQUEST.json ...]

With no file it runs {"cmd":"version"}. A file that cannot be read (missing,
unreadable, not UTF-8) is reported on one line on stderr, naming the file and the
reason, and the other files still run. Exit status 2 when a file could not be
read, else 1 when a response is an error response, else 0.
"""

import argparse
import json
import sys

from . import Benchmark


def read_request(path: str) -> str | None:
    """The file's text, or None after one line on stderr naming the file and why."""
    try:
        with open(path, encoding="utf-8") as f:
            return f.read()
    except UnicodeDecodeError as e:
        reason = f"not UTF-8 ({e.reason} at byte {e.start})"
    except OSError as e:
        reason = e.strerror or str(e)
    print(f"{path}: cannot read: {reason}", file=sys.stderr)
    return None


def parse_args(argv: list[str]) -> argparse.Namespace:
    """The files to run; --help prints the usage (exit 0), an unknown option is a
    usage error (exit 2)."""
    parser = argparse.ArgumentParser(
        prog="python -m ostrel_benchmark",
        description="Runs JSON command files through Benchmark().command and prints each response "
        'on one line, after the file\'s name. With no file it runs {"cmd":"version"}.',
        epilog="Exit status: 2 when a file could not be read, else 1 when a response is an error "
        "response, else 0.",
    )
    parser.add_argument("files", nargs="*", metavar="REQUEST.json", help="a JSON command file (UTF-8)")
    return parser.parse_args(argv)


def main(argv: list[str]) -> int:
    files = parse_args(argv).files
    bench = Benchmark()
    unreadable = False
    error_response = False
    requests = files if files else [None]
    for path in requests:
        if path is None:
            name, text = "version", '{"cmd":"version"}'
        else:
            name, text = path, read_request(path)
            if text is None:
                unreadable = True
                continue
        response = bench.command(text)
        print(f"{name}: {response}")
        parsed = json.loads(response)
        if isinstance(parsed, dict) and parsed.get("ok") is False:
            error_response = True
    if unreadable:
        return 2
    return 1 if error_response else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
