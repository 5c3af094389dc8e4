// Nanoseconds per update for every kind this build can construct, over a random-walk
// series of candles, and the three basic averages beside a plain loop doing the same
// arithmetic. Usage: indicator_bench [bars] [kind-filter-substring]
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "catalogue/catalogue.hpp"
#include "indicators/core/ema.hpp"
#include "indicators/core/sma.hpp"
#include "indicators/core/wma.hpp"

using namespace ostrel;
using Clock = std::chrono::steady_clock;

static std::vector<Candle> random_walk(std::size_t n) {
    std::mt19937_64 rng(42);
    std::normal_distribution<double> step(0.0, 1.0);
    std::uniform_real_distribution<double> wick(0.0, 0.5);
    std::vector<Candle> out;
    out.reserve(n);
    double price = 1000.0;
    for (std::size_t i = 0; i < n; ++i) {
        double open = price;
        price = std::fmax(1.0, price + step(rng));
        double hi = std::fmax(open, price) + wick(rng);
        double lo = std::fmin(open, price) - wick(rng);
        out.push_back({static_cast<std::int64_t>(i) * 60000, open, hi, lo, price, 100.0 + 50.0 * wick(rng)});
    }
    return out;
}

static double ns_per(Clock::time_point a, Clock::time_point b, std::size_t n) {
    return std::chrono::duration<double, std::nano>(b - a).count() / static_cast<double>(n);
}

static volatile double g_sink;

int main(int argc, char** argv) {
    std::size_t bars = argc > 1 ? std::strtoull(argv[1], nullptr, 10) : 1000000;
    const char* filter = argc > 2 ? argv[2] : "";
    auto candles = random_walk(bars);

    // Basic averages through the interface vs a plain loop.
    const std::size_t period = 20;
    for (const char* kind : {"Sma", "Ema", "Wma"}) {
        auto ind = build_indicator(kind, std::vector<double>{double(period)});
        FeedSnapshot snap;
        double acc = 0.0;
        auto t0 = Clock::now();
        for (const auto& c : candles) {
            snap.candle = c;
            if (auto v = (*ind)->update(snap)) acc += *v;
        }
        auto t1 = Clock::now();
        double plain_acc = 0.0;
        auto t2 = Clock::now();
        if (std::strcmp(kind, "Sma") == 0) {
            std::vector<double> buf(period);
            double sum = 0.0;
            std::size_t head = 0, count = 0;
            for (const auto& c : candles) {
                double x = c.close;
                if (count < period) { buf[head] = x; sum = x + sum; ++count; }
                else { double o = buf[head]; buf[head] = x; sum = x + (sum - o); }
                if (++head == period) head = 0;
                if (count == period) plain_acc += sum / double(period);
            }
        } else if (std::strcmp(kind, "Ema") == 0) {
            double alpha = 2.0 / (period + 1.0), oma = 1.0 - alpha, e = 0.0, s = -0.0;
            std::size_t n = 0;
            for (const auto& c : candles) {
                double x = c.close;
                if (n >= period) { e = std::fma(alpha, x, oma * e); plain_acc += e; }
                else { s = x + s; if (++n == period) { e = s / n; plain_acc += e; } }
            }
        } else {
            std::vector<double> buf(period);
            double sum = 0.0, ws = 0.0, wt = (period + 1.0) * period * 0.5;
            std::size_t head = 0, count = 0;
            for (const auto& c : candles) {
                double x = c.close;
                if (count < period) {
                    buf[head] = x; if (++head == period) head = 0; sum = x + sum;
                    if (++count == period) { ws = -0.0; for (std::size_t i = 0; i < period; ++i) ws = ws + (i + 1.0) * buf[i]; plain_acc += ws / wt; }
                    continue;
                }
                double o = buf[head]; buf[head] = x;
                ws = (ws - sum) + x * double(period); sum = x + (sum - o);
                if (++head == period) head = 0;
                plain_acc += ws / wt;
            }
        }
        auto t3 = Clock::now();
        // The core's step called directly: the same arithmetic without the per-bar
        // virtual call and snapshot.
        double core_acc = 0.0;
        auto sma = *core::Sma::make(period);
        auto ema = *core::Ema::make(period);
        auto wma = *core::Wma::make(period);
        auto t4 = Clock::now();
        for (const auto& c : candles) {
            std::optional<double> v = kind[0] == 'S' ? sma.step(c.close) : kind[0] == 'E' ? ema.step(c.close) : wma.step(c.close);
            if (v) core_acc += *v;
        }
        auto t5 = Clock::now();
        g_sink = acc + plain_acc + core_acc;
        double a = ns_per(t0, t1, bars), b = ns_per(t2, t3, bars), c = ns_per(t4, t5, bars);
        std::printf("%-8s update %6.2f ns  core step %6.2f ns  plain loop %6.2f ns  update/plain %.2f  core/plain %.2f\n",
                    kind, a, c, b, a / b, c / b);
    }

    // Every kind that builds with one of a few common parameter lists.
    const std::vector<std::vector<double>> tries = {
        {}, {14}, {14, 2}, {14, 0.5}, {12, 26, 9}, {14, 3, 3}, {10, 2, 30}, {14, 0.5, 6},
        {0.02, 0.02, 0.2}, {23, 50, 10}, {13, 12, 26}, {3, 2, 100}, {12, 26, 9, 3}, {10, 15, 20, 30, 10, 10, 10, 15},
        {20, 1, 1}, {20, 10, 0.7}, {30, 2, 5}, {9, 13, 13}, {20, 24, 0.7}, {0.05, 20}, {20, 5}, {100, 20},
        {23, 50, 10, 0.5}, {10, 15, 20, 30, 10, 10, 10, 15, 9}, {0, 0, 0.02, 0.02, 0.2, 0.02, 0.02, 0.2}};
    int built = 0;
    for (auto name : kind_names()) {
        if (*filter && std::string(name).find(filter) == std::string::npos) continue;
        std::unique_ptr<Indicator> ind;
        for (const auto& p : tries) {
            auto r = build_indicator(name, p);
            if (r) { ind = std::move(*r); break; }
        }
        if (!ind) continue;
        ++built;
        FeedSnapshot snap;
        double acc = 0.0;
        auto t0 = Clock::now();
        for (const auto& c : candles) {
            snap.candle = c;
            if (auto v = ind->update(snap)) acc += *v;
        }
        auto t1 = Clock::now();
        g_sink = acc;
        std::printf("%-28s %8.2f ns/update\n", std::string(name).c_str(), ns_per(t0, t1, bars));
    }
    std::printf("%d kinds measured over %zu bars\n", built, bars);
    return 0;
}
