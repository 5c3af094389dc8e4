#include "strategy/spec.hpp"

#include <algorithm>
#include <set>

#include "catalogue/catalogue.hpp"

namespace ostrel {

std::optional<BacktestError> StrategySpec::validate() const {
    std::set<std::string, std::less<>> ids;
    for (const auto& [id, decl] : indicators) ids.insert(id);

    if (auto e = entry.check_refs(ids)) return e;
    if (auto e = exit.check_refs(ids)) return e;
    if (short_entry)
        if (auto e = short_entry->check_refs(ids)) return e;
    if (short_exit)
        if (auto e = short_exit->check_refs(ids)) return e;

    if (spec_version != 1)
        return BacktestError::invalid_spec("spec_version " + std::to_string(spec_version) +
                                           " is not supported; this build reads 1..=1");

    if (sizing.kind == Sizing::Kind::RiskPerTrade && !risk.stop_loss_pct)
        return BacktestError::invalid_spec(
            "sizing risk_per_trade requires risk.stop_loss_pct: the position size is                  "
            "derived from the distance to the stop");

    for (const auto& [id, decl] : indicators) {
        if (!decl.feed) continue;
        std::optional<Feed> consumed = feed_for_kind(decl.type);
        if (consumed && *consumed != *decl.feed) {
            std::string msg = "indicator '";
            msg += id;
            msg += "' (";
            msg += decl.type;
            msg += ") declares feed ";
            msg += feed_name(*decl.feed);
            msg += " but consumes ";
            msg += feed_name(*consumed);
            return BacktestError::invalid_spec(std::move(msg));
        }
    }

    switch (execution.order_type) {
        case OrderType::Market: break;
        case OrderType::Limit:
            if (!execution.limit_offset_pct)
                return BacktestError::invalid_spec("limit order_type requires execution.limit_offset_pct");
            break;
        case OrderType::Stop:
            if (!execution.stop_offset_pct)
                return BacktestError::invalid_spec("stop order_type requires execution.stop_offset_pct");
            break;
        case OrderType::StopLimit:
            if (!execution.stop_offset_pct || !execution.limit_offset_pct)
                return BacktestError::invalid_spec(
                    "stop_limit order_type requires both execution.stop_offset_pct and                      "
                    "execution.limit_offset_pct");
            break;
    }

    if (execution.partial_fills && !execution.max_participation)
        return BacktestError::invalid_spec("partial_fills requires execution.max_participation");

    if (execution.fill_timing == FillTiming::Close) {
        if (execution.order_type != OrderType::Market)
            return BacktestError::invalid_spec("fill_timing close requires a market order_type");
        if (execution.latency_bars != 0)
            return BacktestError::invalid_spec("fill_timing close is incompatible with latency_bars");
    }
    return std::nullopt;
}

std::uint64_t StrategySpec::rule_lookback() const {
    std::uint64_t m = std::max(entry.lookback(), exit.lookback());
    if (short_entry) m = std::max(m, short_entry->lookback());
    if (short_exit) m = std::max(m, short_exit->lookback());
    return m;
}

}  // namespace ostrel
