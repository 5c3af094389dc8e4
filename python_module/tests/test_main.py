"""The command-line runner ``python -m ostrel_benchmark``: unreadable files."""

import pathlib
import subprocess
import sys

EXAMPLES = pathlib.Path(__file__).resolve().parents[2] / "examples"
VERSION = '{"engine_version":"0.2.0","version":"0.2.0"}'


def run(*args: str, cwd: pathlib.Path) -> subprocess.CompletedProcess:
    return subprocess.run(
        [sys.executable, "-m", "ostrel_benchmark", *args], cwd=cwd, capture_output=True, text=True, timeout=120
    )


def test_missing_file_is_one_line_and_the_others_run(tmp_path):
    good = tmp_path / "version.json"
    good.write_text('{"cmd":"version"}', encoding="utf-8")
    r = run("missing.json", str(good), cwd=tmp_path)
    assert r.returncode == 2
    assert r.stderr == "missing.json: cannot read: No such file or directory\n"
    assert r.stdout == f"{good}: {VERSION}\n"


def test_file_not_utf8_is_one_line_and_the_others_run(tmp_path):
    bad = tmp_path / "latin1.json"
    bad.write_bytes(b'{"cmd":"version","x":"caf\xe9"}')
    good = tmp_path / "version.json"
    good.write_text('{"cmd":"version"}', encoding="utf-8")
    r = run(str(good), str(bad), str(good), cwd=tmp_path)
    assert r.returncode == 2
    assert r.stderr == f"{bad}: cannot read: not UTF-8 (invalid continuation byte at byte 25)\n"
    assert r.stdout == f"{good}: {VERSION}\n" * 2


def test_directory_and_error_response(tmp_path):
    # A directory cannot be read either; an unreadable file outranks an error response.
    err = tmp_path / "err.json"
    err.write_text('{"cmd":"nope"}', encoding="utf-8")
    r = run(str(err), str(tmp_path), cwd=tmp_path)
    assert r.returncode == 2
    assert len(r.stderr.splitlines()) == 1
    assert r.stderr.startswith(f"{tmp_path}: cannot read: ")
    assert r.stdout == f'{err}: {{"error":"parse error: unknown cmd: nope","ok":false}}\n'
    # An error response alone gives 1; readable good files 0.
    assert run(str(err), cwd=tmp_path).returncode == 1
    assert run(str(EXAMPLES / "version.json"), cwd=tmp_path).returncode == 0
    assert run(cwd=tmp_path).stdout == f"version: {VERSION}\n"


def test_help_and_unknown_option(tmp_path):
    r = run("--help", cwd=tmp_path)
    assert (r.returncode, r.stderr) == (0, "")
    assert r.stdout.startswith("usage: python -m ostrel_benchmark [-h] [REQUEST.json ...]\n")
    # An unknown option is a usage error: usage and the error on stderr, nothing run.
    r = run("--bogus", str(EXAMPLES / "version.json"), cwd=tmp_path)
    assert (r.returncode, r.stdout) == (2, "")
    assert r.stderr.startswith("usage: python -m ostrel_benchmark")
    assert r.stderr.endswith("python -m ostrel_benchmark: error: unrecognized arguments: --bogus\n")
    # After "--" a name that looks like an option is a file.
    r = run("--", "-x.json", cwd=tmp_path)
    assert (r.returncode, r.stderr) == (2, "-x.json: cannot read: No such file or directory\n")
