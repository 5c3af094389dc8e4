// Placeholder of the case runner until the engine lands (issue 5): the case checks
// run, then the case is refused with an engine error.
#include "benchmark/runner.hpp"

namespace ostrel {

Expected<CaseResult, BenchmarkError> run_case(const BenchmarkCase& c, const std::vector<Candle>&) {
    if (auto e = c.validate()) return *e;
    return BenchmarkError::backtest_engine_text("the backtest engine is not built yet");
}

}  // namespace ostrel
