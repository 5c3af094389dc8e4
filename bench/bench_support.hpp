// What the benchmarks share: the strategy they run (SMA 10/30 cross, RSI 14 filter,
// stop loss, take profit), hourly random-walk candles as records or as request text,
// and timing helpers.
#pragma once

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <random>
#include <string>
#include <vector>

#include "indicators/indicator.hpp"

namespace bench_support {

using Clock = std::chrono::steady_clock;

inline const char* const kStrategy =
    R"({"spec_version":1,"symbol":"BENCH","timeframe":"1h",)"
    R"("indicators":{"fast":{"type":"Sma","params":[10]},"slow":{"type":"Sma","params":[30]},)"
    R"("rsi":{"type":"Rsi","params":[14]}},)"
    R"("entry":{"all":[{"cross_above":["fast","slow"]},{"lt":["rsi",70]}]},)"
    R"("exit":{"cross_below":["fast","slow"]},)"
    R"("sizing":{"type":"fixed_fraction","fraction":0.5},)"
    R"("costs":{"taker_bps":10,"slippage":{"type":"fixed_bps","bps":2}},)"
    R"("risk":{"stop_loss_pct":2,"take_profit_pct":4}})";

inline double ms_since(Clock::time_point t0) {
    return std::chrono::duration<double, std::milli>(Clock::now() - t0).count();
}

inline double median(std::vector<double> v) {
    if (v.empty()) return 0.0;
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

// Hourly candles of a random walk from 30,000 with random wicks and volumes.
inline std::vector<ostrel::Candle> random_walk(std::size_t n, unsigned seed) {
    std::mt19937_64 rng(seed);
    std::normal_distribution<double> step(0.0002, 0.01);
    std::normal_distribution<double> wick(0.0, 0.003);
    std::vector<ostrel::Candle> out;
    out.reserve(n);
    double close = 30000.0;
    for (std::size_t k = 0; k < n; ++k) {
        double open = close;
        close = open * (1.0 + step(rng));
        double high = std::max(open, close) * (1.0 + std::abs(wick(rng)));
        double low = std::min(open, close) * (1.0 - std::abs(wick(rng)));
        double volume = std::round(std::abs(wick(rng)) * 1e7) / 100.0;
        out.push_back(
            ostrel::Candle{1700000000000LL + static_cast<std::int64_t>(k) * 3600000, open, high, low, close, volume});
    }
    return out;
}

// Hourly candles of a random walk, prices with two decimals, as a JSON array of
// candle objects (the way a client usually writes them).
inline std::string candles_text(std::size_t n, unsigned seed) {
    std::mt19937_64 rng(seed);
    std::normal_distribution<double> step(0.0, 0.006);
    std::normal_distribution<double> wick(0.0, 0.002);
    std::string out = "[";
    double close = 30000.0;
    char buf[256];
    for (std::size_t k = 0; k < n; ++k) {
        double open = close;
        close = std::max(1.0, open * (1.0 + step(rng)));
        double high = std::max(open, close) * (1.0 + std::abs(wick(rng)));
        double low = std::min(open, close) * (1.0 - std::abs(wick(rng)));
        int len = std::snprintf(buf, sizeof buf,
                                "%s{\"time\":%lld,\"open\":%.2f,\"high\":%.2f,\"low\":%.2f,\"close\":%.2f,"
                                "\"volume\":%.3f}",
                                k ? "," : "", 1500000000000LL + static_cast<long long>(k) * 3600000LL, open, high,
                                low, close, 10.0 + static_cast<double>(k % 997) * 0.125);
        out.append(buf, static_cast<std::size_t>(len));
    }
    out += "]";
    return out;
}

}  // namespace bench_support
