// Market-data records, the indicator interface and the construction error.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "indicators/expected.hpp"

namespace ostrel {

// Largest window length any constructor accepts (2^24).
inline constexpr std::size_t MAX_PERIOD = 16777216;

struct IndicatorError {
    enum class Kind : std::uint8_t {
        ZeroPeriod,
        InvalidPeriod,
        NonFiniteInput,
        InvalidCandle,
        InvalidTick,
        NonPositiveMultiplier,
        InvalidOrderBook,
        InvalidTrade,
        InvalidDerivativesTick,
        InvalidCrossSection,
        InvalidParameter,
    };
    Kind kind;
    const char* detail = "";  // static text, for the variants that carry one

    static IndicatorError zero_period() { return {Kind::ZeroPeriod, ""}; }
    static IndicatorError invalid_period(const char* d) { return {Kind::InvalidPeriod, d}; }
    static IndicatorError non_positive_multiplier() { return {Kind::NonPositiveMultiplier, ""}; }
    static IndicatorError invalid_parameter(const char* d) { return {Kind::InvalidParameter, d}; }
    static IndicatorError invalid_candle(const char* d) { return {Kind::InvalidCandle, d}; }
    static IndicatorError invalid_trade(const char* d) { return {Kind::InvalidTrade, d}; }
    // Window length above MAX_PERIOD.
    static IndicatorError too_long() {
        return invalid_period("period exceeds the maximum supported window length (see MAX_PERIOD)");
    }

    std::string display() const;
    bool operator==(const IndicatorError& o) const;
};

// The usual first checks of a window length: zero, then above MAX_PERIOD.
inline std::optional<IndicatorError> check_period(std::size_t period) {
    if (period == 0) return IndicatorError::zero_period();
    if (period > MAX_PERIOD) return IndicatorError::too_long();
    return std::nullopt;
}

struct Candle {
    std::int64_t time = 0;
    double open = 0.0;
    double high = 0.0;
    double low = 0.0;
    double close = 0.0;
    double volume = 0.0;

    // The six candle checks, in order; the first failure wins.
    std::optional<IndicatorError> validate() const;
    bool is_valid() const { return !validate().has_value(); }
};

struct Trade {
    double price = 0.0;
    double size = 0.0;
    std::int64_t time = 0;
    bool is_sell = false;
};

struct BookLevel {
    double price = 0.0;
    double size = 0.0;
};

struct OrderBook {
    std::vector<BookLevel> bids;  // best (highest) first
    std::vector<BookLevel> asks;  // best (lowest) first
};

struct DerivativesTick {
    double funding_rate = 0.0;
    double mark_price = 0.0;
    double index_price = 0.0;
    double futures_price = 0.0;
    double open_interest = 0.0;
    double long_positions = 0.0;
    double short_positions = 0.0;
    double taker_buy_volume = 0.0;
    double taker_sell_volume = 0.0;
    double long_liquidations = 0.0;
    double short_liquidations = 0.0;
    double reserved = 0.0;  // carried, read by no indicator
};

struct CrossSectionEntry {
    double change = 0.0;
    double volume = 0.0;
    bool new_high = false;
    bool new_low = false;
    bool above_ma = false;
    bool bullish = false;
};

enum class Feed : std::uint8_t { Kline, Trade, Orderbook, TradeQuote, Derivatives, CrossSection };

// "Kline", "Trade", ... exactly as the enumerators are named.
std::string_view feed_name(Feed f);

// Everything an indicator may read for one bar. Absent feeds are empty optionals or
// null pointers; an empty cross-section list is present.
struct FeedSnapshot {
    std::optional<double> reference;
    std::optional<DerivativesTick> derivatives;
    Candle candle;
    std::span<const Trade> trades;
    const OrderBook* order_book = nullptr;
    const std::vector<CrossSectionEntry>* cross_section = nullptr;
};

struct NamedOutput {
    std::string_view name;  // static text
    double value = 0.0;
};

class Indicator {
public:
    virtual ~Indicator() = default;
    // Consumes one bar; a multi-output kind returns its first output.
    virtual std::optional<double> update(const FeedSnapshot& snapshot) = 0;
    // The named outputs stored by the last update that gave a value; valid until the
    // next update. Empty for single-output kinds and before a first value.
    virtual std::span<const NamedOutput> outputs() const { return {}; }
    virtual std::size_t warmup_period() const = 0;
};

// Fixed storage for a multi-output kind's named outputs: names set once, values
// replaced on each update that yields a value, so reading them never allocates.
template <std::size_t N>
class OutputSlots {
public:
    explicit OutputSlots(const std::array<std::string_view, N>& names) {
        for (std::size_t i = 0; i < N; ++i) slots_[i].name = names[i];
    }
    void store(const std::array<double, N>& values) {
        for (std::size_t i = 0; i < N; ++i) slots_[i].value = values[i];
        set_ = true;
    }
    std::span<const NamedOutput> view() const {
        return set_ ? std::span<const NamedOutput>(slots_) : std::span<const NamedOutput>();
    }

private:
    std::array<NamedOutput, N> slots_{};
    bool set_ = false;
};

// Midpoint of two values that cannot overflow: halves first when either magnitude
// exceeds half the largest finite double.
inline double midpoint(double a, double b) {
    constexpr double half_max = 8.988465674311579e307;
    double aa = a < 0 ? -a : a;
    double ab = b < 0 ? -b : b;
    if (aa <= half_max && ab <= half_max) return (a + b) * 0.5;
    return a * 0.5 + b * 0.5;
}

}  // namespace ostrel
