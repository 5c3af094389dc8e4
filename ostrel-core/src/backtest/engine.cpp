#include "backtest/engine.hpp"

#include <algorithm>
#include <cmath>
#include <limits>
#include <utility>

#include "catalogue/catalogue.hpp"
#include "indicators/trade_filter.hpp"
#include "strategy/rules.hpp"

namespace ostrel {

Backtest::Backtest(StrategySpec spec, std::size_t capacity)
    : spec_(std::make_unique<StrategySpec>(std::move(spec))),
      rules_(std::make_unique<RuleSet>(*spec_)),
      history_(capacity, rules_->slots().size()),
      row_(rules_->slots().size()) {}

Expected<Backtest, BacktestError> Backtest::create(StrategySpec spec, std::size_t bars) {
    if (auto e = spec.validate()) return *e;

    // The history keeps the largest lookback + 1 bars; a run of `bars` candles never
    // holds more than `bars`, so a huge lookback costs no memory for bars that never
    // come.
    std::uint64_t lookback = spec.rule_lookback();
    if (spec.sizing.kind == Sizing::Kind::VolTarget) lookback = std::max<std::uint64_t>(lookback, spec.sizing.lookback);
    std::uint64_t capacity = lookback == std::numeric_limits<std::uint64_t>::max() ? lookback : lookback + 1;
    if (bars > 0) capacity = std::min<std::uint64_t>(capacity, bars);
    capacity = std::min<std::uint64_t>(capacity, std::numeric_limits<std::size_t>::max());

    Backtest bt(std::move(spec), static_cast<std::size_t>(capacity));
    const StrategySpec& s = *bt.spec_;
    const std::vector<std::string>& keys = bt.rules_->slots().keys();

    std::size_t largest_warmup = 0;
    bt.indicators_.reserve(s.indicators.size());
    for (const auto& [id, decl] : s.indicators) {  // ascending byte order of the ids
        BuildResult built = build_indicator(decl.type, decl.params);
        if (!built) return std::move(built).error();
        largest_warmup = std::max(largest_warmup, (*built)->warmup_period());
        bool outputs_read = std::any_of(keys.begin(), keys.end(), [&id = id](const std::string& k) {
            return k.size() > id.size() && k.compare(0, id.size(), id) == 0 && k[id.size()] == '.';
        });
        bt.indicators_.push_back(IndicatorSlot{std::move(*built), IndicatorKeys(id, bt.rules_->slots()), outputs_read});
    }
    bt.warmup_ = s.warmup ? *s.warmup : largest_warmup;
    bt.maker_rate_ = s.costs.maker_bps / 10000.0;
    bt.taker_rate_ = s.costs.taker_bps / 10000.0;
    bt.ledger_.cash = INITIAL_CAPITAL;
    bt.initial_capital_ = INITIAL_CAPITAL;
    bt.equity_.reserve(bars);
    return bt;
}

FillContext Backtest::fill_context(const Candle& candle, const OrderBook* order_book, std::uint64_t index) const {
    FillContext ctx;
    ctx.spec = spec_.get();
    ctx.candle = &candle;
    ctx.history = &history_;
    ctx.order_book = order_book;
    ctx.maker_rate = maker_rate_;
    ctx.taker_rate = taker_rate_;
    ctx.index = index;
    return ctx;
}

std::optional<BacktestError> Backtest::step(const BarInput& bar) {
    const StrategySpec& spec = *spec_;
    const Candle& candle = bar.candle;
    const std::uint64_t index = bar_count_;

    // Costs that need feeds a run does not have (the case runner refuses them before
    // the first bar).
    if (spec.costs.slippage.kind == Slippage::Kind::Spread)
        return BacktestError::invalid_spec(std::string(SPREAD_REFUSAL));
    if (spec.costs.funding) return BacktestError::invalid_spec(std::string(FUNDING_REFUSAL));

    // The bar's valid trades, in arrival order.
    trades_.clear();
    std::size_t cursor = 0;
    while (const Trade* t = next_valid_trade(bar.trades, cursor)) trades_.push_back(*t);

    // The last bar seen, for the end-of-run close.
    last_bar_ = std::make_pair(candle.time, candle.close);

    // The pending order, against a history without this bar; its fills get no
    // order book (the fills at the close, when the rules are applied, get the bar's).
    if (auto e = settle_pending(pending_, fill_context(candle, nullptr, index), ledger_, entry_bar_,
                                trailing_extreme_))
        return e;

    // Indicators, in id order; only what an update returns is stored.
    FeedSnapshot snapshot{bar.reference, bar.derivatives, candle, std::span<const Trade>(trades_), bar.order_book,
                          bar.cross_section};
    row_.clear();
    for (IndicatorSlot& slot : indicators_) {
        std::optional<double> v = slot.indicator->update(snapshot);
        if (!v) continue;
        row_.set(slot.keys.id_slot(), *v);
        if (!slot.outputs_read) continue;  // no rule reads these keys: storing them is moot
        for (const NamedOutput& o : slot.indicator->outputs()) row_.set(slot.keys.output_slot(o.name), o.value);
    }

    // The bar and its values join the history; the bar is counted.
    history_.push(candle, row_);
    ++bar_count_;

    // Stop loss, trailing stop, take profit and liquidation of an open position.
    apply_protective_exits(spec.risk, taker_rate_, candle, ledger_, entry_bar_, trailing_extreme_);

    // The equity point: every bar gets one, warm-up bars included.
    equity_.push_back(EquityPoint{candle.time, ledger_.cash + (candle.close * ledger_.qty)});

    // From the warm-up on: the exit rule of an open position or the entry rules when
    // flat, filled at the close or placed as an order for the next bar.
    if (index < warmup_) return std::nullopt;
    return apply_rules(candle, bar.order_book, index);
}

std::optional<BacktestError> Backtest::apply_rules(const Candle& candle, const OrderBook* order_book,
                                                   std::uint64_t index) {
    const StrategySpec& spec = *spec_;
    const RuleSet& rules = *rules_;
    // The current bar is the last one of the history.
    const std::size_t i = history_.size() - 1;
    PositionInfo pos;
    pos.entry_recorded = entry_bar_.has_value();
    pos.bars_since_entry = entry_bar_ ? static_cast<std::uint32_t>(index - *entry_bar_) : 0;
    pos.in_position = ledger_.in_position();
    const bool close_timing = spec.execution.fill_timing == FillTiming::Close;

    if (pos.in_position) {
        const CompiledRule& rule = (ledger_.qty < 0.0 && rules.short_exit) ? *rules.short_exit : rules.exit;
        if (!rule.eval(history_, i, pos)) return std::nullopt;
        if (close_timing) {
            exit_fill("signal", fill_context(candle, order_book, index), ledger_, entry_bar_, candle.close);
        } else {
            // Replaces whatever is pending, a pending Exit included.
            pending_ = exit_order(spec.execution.latency_bars);
        }
        return std::nullopt;
    }

    if (pending_) return std::nullopt;  // a waiting order blocks new entries
    std::optional<Side> side;
    if (rules.entry.eval(history_, i, pos))
        side = Side::Long;
    else if (rules.short_entry && rules.short_entry->eval(history_, i, pos))
        side = Side::Short;
    if (!side) return std::nullopt;
    if (close_timing)
        return entry_fill(*side, false, fill_context(candle, order_book, index), ledger_, entry_bar_, trailing_extreme_,
                          candle.close);
    pending_ = entry_order(*side, spec.execution, candle.close);
    return std::nullopt;
}

BacktestReport Backtest::finish() && {
    if (ledger_.in_position() && last_bar_) {
        const double close = last_bar_->second;
        const double fee = (std::fabs(ledger_.qty) * close) * taker_rate_;
        ledger_.close_position(last_bar_->first, "end", close, fee);
    }
    BacktestReport r;
    r.symbol = spec_->symbol;
    r.timeframe = spec_->timeframe;
    r.metrics = compute_metrics(equity_, ledger_.trades, initial_capital_);
    r.fees_paid = ledger_.fees_paid;
    r.initial_capital = initial_capital_;
    r.schema_version = 1;
    r.trades = std::move(ledger_.trades);
    r.equity = std::move(equity_);
    return r;
}

}  // namespace ostrel
