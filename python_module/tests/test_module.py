"""Tests of the installed package ostrel_benchmark (Parts 4.101 and 4.104)."""

import json
import pathlib

import pytest

import ostrel_benchmark
from ostrel_benchmark import Benchmark
from ostrel_benchmark import _ostrel_benchmark as native

VERSION = '{"engine_version":"0.2.0","version":"0.2.0"}'
HASH = "a" * 64
EXAMPLES = pathlib.Path(__file__).resolve().parents[2] / "examples"


def error(text: str) -> str:
    return json.dumps({"error": text, "ok": False}, separators=(",", ":"), ensure_ascii=False)


def case(case_id: str, **over) -> dict:
    c = {
        "id": case_id,
        "description": "d",
        "strategy": {},
        "dataset_ref": "ds",
        "expected": {},
        "expected_hash": HASH,
    }
    c.update(over)
    return c


def cmd(obj) -> str:
    return Benchmark().command(json.dumps(obj))


# ---- module and class ------------------------------------------------------


def test_module_attributes():
    assert native.__version__ == "0.2.0"
    assert native.__all__ == ["__version__", "Benchmark"]
    assert native.__doc__ == "The native module (`ostrel_benchmark._ostrel_benchmark`)."
    assert native.__name__ == "ostrel_benchmark._ostrel_benchmark"
    assert pathlib.Path(native.__file__).name.endswith(".abi3.so")


def test_package_reexports():
    assert ostrel_benchmark.Benchmark is native.Benchmark
    assert ostrel_benchmark.__version__ == "0.2.0"
    assert set(ostrel_benchmark.__all__) == {"Benchmark", "__version__"}


def test_class():
    assert Benchmark.__name__ == "Benchmark"
    assert Benchmark.__module__ == "builtins"
    assert Benchmark.__doc__ == "A benchmark runner driven by JSON commands."
    assert Benchmark.__text_signature__ == "()"
    assert Benchmark.command.__doc__ == "Apply a command JSON and return the resulting response JSON."
    assert Benchmark.command.__text_signature__ == "($self, cmd_json)"
    assert Benchmark.version.__doc__ == "The library version."
    assert Benchmark.version.__text_signature__ == "()"


def test_static_version():
    assert Benchmark.version() == "0.2.0"
    assert Benchmark().version() == "0.2.0"


def test_constructor_takes_no_arguments():
    with pytest.raises(TypeError):
        Benchmark(1)
    with pytest.raises(TypeError):
        Benchmark(x=1)
    a, b = Benchmark(), Benchmark()
    assert a is not b
    assert a.command('{"cmd":"version"}') == b.command('{"cmd":"version"}')


# ---- command arguments -----------------------------------------------------


def test_version_positional_and_keyword():
    assert Benchmark().command('{"cmd":"version"}') == VERSION
    assert Benchmark().command(cmd_json='{"cmd":"version"}') == VERSION
    assert isinstance(Benchmark().command('{"cmd":"version"}'), str)


def test_bytes_argument():
    with pytest.raises(TypeError) as info:
        Benchmark().command(b"{}")
    assert str(info.value) == "'bytes' object is not an instance of 'str'"
    assert info.value.__notes__ == ["while processing 'cmd_json'"]


def test_none_argument():
    with pytest.raises(TypeError) as info:
        Benchmark().command(None)
    assert str(info.value) == "'None' is not an instance of 'str'"
    assert info.value.__notes__ == ["while processing 'cmd_json'"]


def test_other_non_str_arguments():
    for value, name in [(5, "int"), ([], "list"), (1.5, "float")]:
        with pytest.raises(TypeError) as info:
            Benchmark().command(value)
        assert str(info.value) == f"'{name}' object is not an instance of 'str'"


def test_missing_surplus_unknown_arguments():
    with pytest.raises(TypeError):
        Benchmark().command()
    with pytest.raises(TypeError):
        Benchmark().command("{}", "{}")
    with pytest.raises(TypeError):
        Benchmark().command("{}", x=1)
    with pytest.raises(TypeError):
        Benchmark().command(cmd_json="{}", x=1)


def test_lone_surrogate_raises_encoding_error():
    with pytest.raises(UnicodeEncodeError):
        Benchmark().command('{"cmd":"\udc80"}')


def test_non_ascii_text():
    assert Benchmark().command('{"cmd":"v\u00e9rsion"}') == error("parse error: unknown cmd: v\u00e9rsion")
    assert Benchmark().command('{"cmd":"\U0001F600"}') == error("parse error: unknown cmd: \U0001F600")


# ---- protocol --------------------------------------------------------------


def test_parse_errors():
    b = Benchmark()
    assert b.command("") == error("parse error: EOF while parsing a value at line 1 column 0")
    assert b.command('{"cmd":"version"} x') == error("parse error: trailing characters at line 1 column 19")
    assert b.command('{"cmd":"version"} \t\n\r ') == VERSION
    assert b.command("[\n") == error("parse error: EOF while parsing a list at line 2 column 0")
    assert b.command("[" * 127 + "]" * 127) == error("parse error: unknown cmd: ")
    assert b.command("[" * 128 + "]" * 128) == error("parse error: recursion limit exceeded at line 1 column 128")
    assert b.command("01") == error("parse error: invalid number at line 1 column 2")
    assert b.command("1e400") == error("parse error: number out of range at line 1 column 5")


def test_unknown_commands():
    b = Benchmark()
    assert b.command('{"cmd":"nope"}') == error("parse error: unknown cmd: nope")
    assert b.command('{"cmd":"VERSION"}') == error("parse error: unknown cmd: VERSION")
    for text in ["[]", '"version"', "5", '{"cmd": 5}', "{}", "null"]:
        assert b.command(text) == error("parse error: unknown cmd: ")


def test_last_cmd_wins():
    assert Benchmark().command('{"cmd":"version","cmd":"list_cases"}') == error(
        "parse error: missing field `suite`"
    )


def test_list_cases():
    assert cmd({"cmd": "list_cases", "suite": {"cases": []}}) == '{"ids":[]}'
    assert cmd({"cmd": "list_cases", "suite": {"cases": [case("b"), case("a"), case("c")]}}) == (
        '{"ids":["a","b","c"]}'
    )
    assert cmd({"cmd": "list_cases", "suite": {"cases": [case("b"), case("b")]}}) == error(
        "invalid case: duplicate case id: b"
    )
    assert cmd({"cmd": "list_cases", "suite": {"cases": [case("b"), case("b", expected_hash="A" * 64)]}}) == error(
        'invalid case: expected_hash must be 64 lowercase hex characters, got "' + "A" * 64 + '"'
    )
    # Invisible characters in a pasted hash are shown escaped.
    assert cmd({"cmd": "list_cases", "suite": {"cases": [case("b", expected_hash="\ufeff" + "a" * 64)]}}) == error(
        'invalid case: expected_hash must be 64 lowercase hex characters, got "\\u{feff}' + "a" * 64 + '"'
    )
    assert cmd({"cmd": "list_cases", "suite": {"name": "n"}}) == error("parse error: missing field `cases`")
    assert cmd({"cmd": "list_cases", "suite": []}) == error(
        "parse error: invalid length 1, expected struct Suite with 2 elements"
    )
    assert cmd({"cmd": "list_cases", "suite": {"cases": [dict(case("a"), notes=1)]}}) == error(
        "parse error: unknown field `notes`, expected one of `id`, `description`, `strategy`, `dataset_ref`, "
        "`expected`, `expected_hash`"
    )
    strategy_string = case("a", strategy="s")
    assert cmd({"cmd": "list_cases", "suite": {"cases": [strategy_string]}}) == error(
        "invalid strategy spec: strategy must be a JSON object (a StrategySpec)"
    )


def test_run_case_reading():
    assert cmd({"cmd": "run_case"}) == error("parse error: missing field `case`")
    assert cmd({"cmd": "run_case", "case": case("a")}) == error("parse error: missing field `data`")
    assert cmd({"cmd": "run_case", "case": case("a"), "data": {}}) == error(
        "parse error: invalid type: map, expected a sequence"
    )
    assert cmd({"cmd": "run_case", "case": case("a"), "data": [[1, 2, 3, 4]]}) == error(
        "parse error: invalid length 4, expected struct Candle with 6 elements"
    )
    assert cmd({"cmd": "run_case", "case": case("a"), "data": [[1, 2, 3, 4, 5, 6, 7]]}) == error(
        "parse error: invalid length 7, expected fewer elements in array"
    )
    bad_time = {"time": 1.0, "open": 1, "high": 1, "low": 1, "close": 1}
    assert cmd({"cmd": "run_case", "case": case("a"), "data": [bad_time]}) == error(
        "parse error: invalid type: floating point `1.0`, expected i64"
    )
    assert cmd({"cmd": "run_case", "case": case("", dataset_ref=""), "data": []}) == error(
        "invalid case: case id must not be empty"
    )


def test_run_suite_reading():
    assert cmd({"cmd": "run_suite", "suite": {"cases": []}}) == '{"failed":0,"passed":0,"results":[]}'
    assert cmd({"cmd": "run_suite", "datasets": []}) == error("parse error: invalid type: sequence, expected a map")
    assert cmd({"cmd": "run_suite", "datasets": {}}) == error("parse error: missing field `suite`")
    assert cmd({"cmd": "run_suite", "suite": {"cases": [case("a"), case("b")]}, "datasets": {"DS": []}}) == error(
        "data error: no dataset supplied for ds"
    )
    assert cmd({"cmd": "run_suite", "suite": {"cases": [case("b"), case("b")]}}) == error(
        "invalid case: duplicate case id: b"
    )


def test_error_response_shape():
    out = json.loads(Benchmark().command('{"cmd":"nope"}'))
    assert out == {"error": "parse error: unknown cmd: nope", "ok": False}
    assert "ok" not in json.loads(Benchmark().command('{"cmd":"version"}'))


def test_untrusted_input_never_crashes():
    b = Benchmark()
    big = '"' + "x" * (100 * 1024 * 1024) + '"'
    assert b.command(big) == error("parse error: unknown cmd: ")
    assert b.command("[" * 1_000_000).startswith('{"error":"parse error: recursion limit exceeded')
    assert b.command('{"cmd":"\\ud800"}') == error(
        "parse error: unexpected end of hex escape at line 1 column 15"
    )
    assert b.command("9" * 100_000) == error("parse error: number out of range at line 1 column 100000")


def test_example_requests():
    b = Benchmark()
    ids = json.loads(b.command((EXAMPLES / "list_cases.json").read_text(encoding="utf-8")))
    assert ids == {"ids": ["ema_trend_vol_target", "rsi_reversion_long_short", "sma_cross_rsi"]}
