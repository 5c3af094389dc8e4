"""ostrel_benchmark: a benchmark runner for a trading-strategy backtest engine.

``Benchmark().command(cmd_json)`` takes one JSON command text and returns one JSON
response text.
"""

from ._ostrel_benchmark import Benchmark, __version__

__all__ = ["Benchmark", "__version__"]
