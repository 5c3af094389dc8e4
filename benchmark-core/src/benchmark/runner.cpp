// The case runner: one benchmark case from its checks to its result.
#include "benchmark/runner.hpp"

#include "backtest/engine.hpp"
#include "hash/canonical.hpp"
#include "strategy/read.hpp"

namespace ostrel {

Expected<CaseResult, BenchmarkError> run_case(const BenchmarkCase& c, const std::vector<Candle>& candles) {
    if (auto e = c.validate()) return *e;

    // The reader takes over a copy; the case stays as it is.
    json::Read<StrategySpec> read = strategy_spec_from_value(c.strategy);
    if (!read) return BenchmarkError::invalid_strategy_spec(std::move(read.error().message));
    StrategySpec spec = std::move(*read);

    if (auto e = spec.validate()) return BenchmarkError::backtest_engine(*e);
    if (spec.costs.slippage.kind == Slippage::Kind::Spread)
        return BenchmarkError::backtest_engine(BacktestError::invalid_spec(std::string(SPREAD_REFUSAL)));
    if (spec.costs.funding)
        return BenchmarkError::backtest_engine(BacktestError::invalid_spec(std::string(FUNDING_REFUSAL)));
    if (candles.empty()) return BenchmarkError::backtest_engine(BacktestError::invalid_data("no candles"));

    auto created = Backtest::create(std::move(spec), candles.size());
    if (!created) return BenchmarkError::backtest_engine(created.error());
    Backtest bt = std::move(*created);

    BarInput bar;
    for (const Candle& candle : candles) {
        bar.candle = candle;
        if (auto e = bt.step(bar)) return BenchmarkError::backtest_engine(*e);
    }
    BacktestReport report = std::move(bt).finish();

    // Room for the head, then the report's canonical text, then the closing brace
    // of the result object: the report is written once and never copied.
    CaseResult result;
    result.id = c.id;
    const std::size_t room = CaseResult::head_room(result.id);
    // Enough for every equity point and trade in the usual ranges, so that the text
    // is not moved while it grows (pages reserved but never written cost nothing).
    result.text.reserve(room + 1024 + 64 * report.equity.size() + 320 * report.trades.size());
    result.text.resize(room);
    write_canonical_report(result.text, report);
    result.text.push_back('}');
    result.report_begin = room;
    std::string_view text = result.recomputed();
    result.hash = blake3_hex(text);
    result.hash_match = result.hash == c.expected_hash;
    result.passed = c.expected_is_text ? c.expected_text == text : canonical_text_equals(c.expected, text);
    result.write_head();
    return result;
}

}  // namespace ostrel
