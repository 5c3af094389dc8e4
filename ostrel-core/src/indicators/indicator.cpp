#include "indicators/indicator.hpp"

#include <cmath>

namespace ostrel {

std::string IndicatorError::display() const {
    switch (kind) {
        case Kind::ZeroPeriod: return "period must be greater than zero";
        case Kind::InvalidPeriod: return std::string("invalid period: ") + detail;
        case Kind::NonFiniteInput: return "input value must be finite (got NaN or infinity)";
        case Kind::InvalidCandle: return std::string("invalid candle: ") + detail;
        case Kind::InvalidTick: return std::string("invalid tick: ") + detail;
        case Kind::NonPositiveMultiplier: return "multiplier must be greater than zero";
        case Kind::InvalidOrderBook: return std::string("invalid order book: ") + detail;
        case Kind::InvalidTrade: return std::string("invalid trade: ") + detail;
        case Kind::InvalidDerivativesTick: return std::string("invalid derivatives tick: ") + detail;
        case Kind::InvalidCrossSection: return std::string("invalid cross-section: ") + detail;
        case Kind::InvalidParameter: return std::string("invalid parameter: ") + detail;
    }
    return {};
}

bool IndicatorError::operator==(const IndicatorError& o) const {
    return kind == o.kind && std::string_view(detail) == std::string_view(o.detail);
}

std::optional<IndicatorError> Candle::validate() const {
    if (!std::isfinite(open) || !std::isfinite(high) || !std::isfinite(low) || !std::isfinite(close))
        return IndicatorError::invalid_candle("open, high, low, close must all be finite");
    if (!std::isfinite(volume)) return IndicatorError::invalid_candle("volume must be finite");
    if (volume < 0.0) return IndicatorError::invalid_candle("volume must be non-negative");
    if (high < low) return IndicatorError::invalid_candle("high must be >= low");
    if (high < open || high < close)
        return IndicatorError::invalid_candle("high must be >= open and >= close");
    if (low > open || low > close)
        return IndicatorError::invalid_candle("low must be <= open and <= close");
    return std::nullopt;
}

std::string_view feed_name(Feed f) {
    switch (f) {
        case Feed::Kline: return "Kline";
        case Feed::Trade: return "Trade";
        case Feed::Orderbook: return "Orderbook";
        case Feed::TradeQuote: return "TradeQuote";
        case Feed::Derivatives: return "Derivatives";
        case Feed::CrossSection: return "CrossSection";
    }
    return {};
}

}  // namespace ostrel
