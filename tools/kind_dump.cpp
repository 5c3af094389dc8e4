// Dumps what every indicator kind gives over a set of hostile series, and the
// responses of request files, as text that two builds can compare byte for byte.
//
//   kind_dump [--full] [--kind NAME] [--bars N]     every kind, one digest line per
//                                                   (kind, parameters, series)
//   kind_dump --responses FILE...                   each request's response text
//                                                   (not when built with
//                                                   OSTREL_KIND_DUMP_KINDS_ONLY)
//
// --full writes every bar's value and named outputs instead of a digest. Series are
// generated with integer arithmetic and exactly rounded + - * / only, one random draw
// per full expression, so they are the same bits whatever built this program.
#include <bit>
#include <cinttypes>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <limits>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#ifndef OSTREL_KIND_DUMP_KINDS_ONLY
#include "benchmark/command.hpp"
#endif
#include "catalogue/catalogue.hpp"
#include "indicators/indicator.hpp"
#include "support/feed_bar.hpp"

namespace {

using ostrel::Candle;
using ostrel::CrossSectionEntry;
using ostrel::DerivativesTick;
using ostrel::OrderBook;
using ostrel::Trade;

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();

using feed_bar::Rng;

// One bar with every feed the kinds can read.
using Bar = feed_bar::FeedBar;

struct Series {
    std::string name;
    std::vector<Bar> bars;
};

Candle around(std::int64_t t, double open, double close, double spread_hi, double spread_lo, double volume) {
    Candle c;
    c.time = t;
    c.open = open;
    c.close = close;
    c.high = (open > close ? open : close) + spread_hi;
    c.low = (open < close ? open : close) - spread_lo;
    c.volume = volume;
    return c;
}

// Feeds around a price level `p`; `hostile` sprinkles non-finite and crossed values.
void add_feeds(Bar& b, Rng& r, double p, bool hostile) {
    b.reference = p * (0.9 + 0.2 * r.unit());
    DerivativesTick d;
    d.funding_rate = (r.unit() - 0.5) * 0.001;
    d.mark_price = p * (1.0 + (r.unit() - 0.5) * 0.01);
    d.index_price = p * (1.0 + (r.unit() - 0.5) * 0.01);
    d.futures_price = p * (1.0 + (r.unit() - 0.4) * 0.02);
    d.open_interest = 1000.0 + 500.0 * r.unit();
    d.long_positions = 100.0 + 50.0 * r.unit();
    d.short_positions = 100.0 + 50.0 * r.unit();
    d.taker_buy_volume = 10.0 * r.unit();
    d.taker_sell_volume = 10.0 * r.unit();
    d.long_liquidations = r.below(4) == 0 ? 5.0 * r.unit() : 0.0;
    d.short_liquidations = r.below(4) == 0 ? 5.0 * r.unit() : 0.0;
    b.derivatives = d;
    std::uint64_t nt = r.below(6);
    for (std::uint64_t i = 0; i < nt; ++i) {
        Trade t;
        t.price = p * (1.0 + (r.unit() - 0.5) * 0.004);
        t.size = 0.1 + 3.0 * r.unit();
        t.time = b.candle.time + static_cast<std::int64_t>(i) * 1000;
        t.is_sell = r.below(2) == 0;
        b.trades.push_back(t);
    }
    OrderBook ob;
    double tick = p * 0.0005;
    for (int i = 0; i < 5; ++i) {
        ob.bids.push_back({p - tick * (i + 1), 1.0 + 4.0 * r.unit()});
        ob.asks.push_back({p + tick * (i + 1), 1.0 + 4.0 * r.unit()});
    }
    b.book = ob;
    std::vector<CrossSectionEntry> cs;
    for (int i = 0; i < 20; ++i) {
        CrossSectionEntry e;
        e.change = (r.unit() - 0.5) * 0.04;
        e.volume = 1000.0 * r.unit();
        e.new_high = r.below(5) == 0;
        e.new_low = r.below(5) == 0;
        e.above_ma = r.below(2) == 0;
        e.bullish = r.below(2) == 0;
        cs.push_back(e);
    }
    b.cross = cs;
    if (hostile) {
        switch (r.below(12)) {
            case 0: b.reference = kNaN; break;
            case 1: b.derivatives->funding_rate = kNaN; break;
            case 2: b.derivatives->open_interest = kInf; break;
            case 3: if (!b.trades.empty()) b.trades[0].size = kNaN; break;
            case 4: if (!b.trades.empty()) b.trades[0].price = -1.0; break;
            case 5: std::swap(b.book->bids, b.book->asks); break;  // crossed book
            case 6: b.book->bids.clear(); break;
            case 7: b.cross->clear(); break;
            case 8: b.cross->front().change = kNaN; break;
            case 9: b.derivatives.reset(); break;
            case 10: b.book.reset(); break;
            default: break;
        }
    }
}

// A random walk around `level` with relative steps of `vol`.
Series walk(const std::string& name, std::uint64_t seed, std::size_t n, double level, double vol, bool feeds,
            bool hostile) {
    Series s{name, {}};
    Rng r{seed};
    double p = level;
    const std::int64_t t0 = 1'700'000'000'000;
    for (std::size_t i = 0; i < n; ++i) {
        Bar b;
        double open = p;
        p = p * (1.0 + (r.unit() - 0.5) * vol);
        // The order of evaluation of function arguments is unspecified, so every draw
        // is a statement of its own (last argument first, as the series always were).
        const double volume = 50.0 + 100.0 * r.unit();
        const double spread_lo = p * vol * 0.3 * r.unit();
        const double spread_hi = p * vol * 0.3 * r.unit();
        b.candle = around(t0 + static_cast<std::int64_t>(i) * 3'600'000, open, p, spread_hi, spread_lo, volume);
        if (hostile) {
            switch (r.below(14)) {
                case 0: b.candle.close = kNaN; break;
                case 1: b.candle.high = kInf; break;
                case 2: b.candle.volume = -1.0; break;
                case 3: std::swap(b.candle.high, b.candle.low); break;
                case 4: b.candle.volume = 0.0; break;
                case 5: b.candle.open = b.candle.high = b.candle.low = b.candle.close; break;  // no range
                case 6: b.candle.volume = kNaN; break;
                case 7: b.candle.time += 86'400'000; break;  // a gap of a day
                default: break;
            }
        }
        if (feeds) add_feeds(b, r, p, hostile);
        s.bars.push_back(std::move(b));
    }
    return s;
}

std::vector<Series> make_series(std::size_t n) {
    std::vector<Series> all;
    all.push_back(walk("walk_feeds", 1, n, 100.0, 0.02, true, false));
    all.push_back(walk("walk_candles_only", 2, n, 100.0, 0.02, false, false));
    all.push_back(walk("hostile_feeds", 3, n, 100.0, 0.05, true, true));
    all.push_back(walk("hostile_candles_only", 4, n, 50.0, 0.05, false, true));
    all.push_back(walk("huge", 5, n, 1e300, 0.02, true, false));
    all.push_back(walk("tiny", 6, n, 1e-300, 0.02, true, false));
    all.push_back(walk("subnormal", 7, n, 1e-310, 0.5, false, false));
    all.push_back(walk("near_max", 8, n, 1e307, 0.5, false, true));
    {
        // Flat: one price, zero volume, then a single jump and flat again.
        Series s{"flat_zero_volume", {}};
        Rng r{9};
        for (std::size_t i = 0; i < n; ++i) {
            Bar b;
            double p = i < n / 2 ? 100.0 : 250.0;
            b.candle = around(1'700'000'000'000 + static_cast<std::int64_t>(i) * 60'000, p, p, 0.0, 0.0, 0.0);
            add_feeds(b, r, p, false);
            s.bars.push_back(std::move(b));
        }
        all.push_back(std::move(s));
    }
    {
        // Zeros of both signs, negative prices and a sign change of the close.
        Series s{"signed_zero_negative", {}};
        Rng r{10};
        for (std::size_t i = 0; i < n; ++i) {
            Bar b;
            std::int64_t t = 1'700'000'000'000 + static_cast<std::int64_t>(i) * 3'600'000;
            switch (i % 5) {
                case 0: b.candle = around(t, -0.0, -0.0, 0.0, 0.0, 0.0); break;
                case 1: b.candle = around(t, 0.0, 0.0, 0.0, 0.0, 1.0); break;
                case 2: {
                    const double lo = r.unit(), hi = r.unit(), close = -2.0 * r.unit(), open = -1.0 - r.unit();
                    b.candle = around(t, open, close, hi, lo, 5.0);
                    break;
                }
                case 3: b.candle = around(t, -0.0, 1e-5 * r.unit(), 0.0, 0.0, -0.0); break;
                default: {
                    const double lo = r.unit(), close = 1.0 - r.unit();
                    b.candle = around(t, 1.0, close, 0.0, lo, 2.0);
                    break;
                }
            }
            if (i % 2 == 0) add_feeds(b, r, b.candle.close, true);
            s.bars.push_back(std::move(b));
        }
        all.push_back(std::move(s));
    }
    {
        // Jumps over many orders of magnitude.
        Series s{"jumps", {}};
        Rng r{11};
        const double levels[] = {1e-8, 1.0, 1e8, 1e-3, 1e15, 3.0, 1e150, 1e-150};
        for (std::size_t i = 0; i < n; ++i) {
            Bar b;
            double p = levels[(i / 7) % 8] * (1.0 + r.unit() * 0.1);
            const double volume = 10.0 * r.unit();
            const double close = p * (1.0 + 0.01 * r.unit());
            b.candle = around(1'700'000'000'000 + static_cast<std::int64_t>(i) * 3'600'000, p, close, p * 0.01, p * 0.01,
                              volume);
            add_feeds(b, r, p, i % 3 == 0);
            s.bars.push_back(std::move(b));
        }
        all.push_back(std::move(s));
    }
    {
        // Zeros of both signs in every candle field (+0 and -0 compare equal, so each
        // of these candles is valid), among small values of either sign. Blocks of
        // zero candles alone fill the windows with zeros; the tiny candle makes a
        // range midpoint of +0 and a pivot of -0. Ties of +0 and -0 between the
        // operands of a larger or smaller must give the same sign everywhere.
        Series s{"signed_zeros", {}};
        Rng r{12};
        constexpr double tiny = 0x1p-1074;  // the smallest subnormal
        const std::size_t zeros_only[] = {0, 1, 2, 3, 9};
        for (std::size_t i = 0; i < n; ++i) {
            Bar b;
            Candle& c = b.candle;
            c.time = 1'700'000'000'000 + static_cast<std::int64_t>(i) * 3'600'000;
            switch ((i / 40) % 2 == 0 ? zeros_only[i % 5] : i % 10) {
                case 0: c.open = 0.0, c.high = 0.0, c.low = -0.0, c.close = -0.0, c.volume = 0.0; break;
                case 1: c.open = -0.0, c.high = -0.0, c.low = 0.0, c.close = 0.0, c.volume = -0.0; break;
                case 2: c.open = -0.0, c.high = -0.0, c.low = -0.0, c.close = -0.0, c.volume = 1.0; break;
                case 3: c.open = 0.0, c.high = -0.0, c.low = 0.0, c.close = -0.0, c.volume = 2.0; break;
                case 4: {
                    const double close = 0.001 * r.unit();
                    c.open = -0.0, c.high = close, c.low = -0.0, c.close = close, c.volume = 1.0;
                    break;
                }
                case 5: {
                    const double close = -0.001 * r.unit();
                    c.open = 0.0, c.high = 0.0, c.low = close, c.close = close, c.volume = -0.0;
                    break;
                }
                case 6:
                    // (high + low) / 2 rounds to +0 and (high + low + close) / 3 to -0.
                    c.open = -0.0, c.high = 3.0 * tiny, c.low = -2.0 * tiny, c.close = -2.0 * tiny, c.volume = 1.0;
                    break;
                case 7: {
                    const double low = -0.5 * r.unit();
                    c.open = -0.0, c.high = 0.0, c.low = low, c.close = 0.0, c.volume = 3.0;
                    break;
                }
                case 8: {
                    const double open = 0.002 * r.unit();
                    const double low = -0.001 * r.unit();
                    c.open = open, c.high = open, c.low = low, c.close = -0.0, c.volume = 0.0;
                    break;
                }
                default: c.open = -0.0, c.high = -0.0, c.low = -0.0, c.close = 0.0, c.volume = 0.0; break;
            }
            add_feeds(b, r, c.close, false);
            s.bars.push_back(std::move(b));
        }
        all.push_back(std::move(s));
    }
    {
        // Flat markets at a price whose sums are not exact: every candle at 102.6 from
        // the first bar; a walk of 307 bars (a length no period lines up with) and then
        // flat at 102.6; a walk whose untraded bars (runs of 1 to 60, volume 0) repeat
        // the last close, as forward-filled minute data does.
        const double p = 102.6;
        // Every feed at rest too: the same reference, derivatives record, trade, order
        // book and cross-section on every flat bar at one price.
        auto flat_bar = [](std::size_t i, double price) {
            Bar b;
            b.candle = around(1'700'000'000'000 + static_cast<std::int64_t>(i) * 60'000, price, price, 0.0, 0.0, 1000.0);
            b.reference = price * 0.9;
            DerivativesTick d;
            d.funding_rate = 0.0001;
            d.mark_price = d.index_price = d.futures_price = price;
            d.open_interest = 1000.0;
            d.long_positions = d.short_positions = 100.0;
            d.taker_buy_volume = d.taker_sell_volume = 5.0;
            d.long_liquidations = d.short_liquidations = 0.0;
            b.derivatives = d;
            b.trades.push_back(Trade{price, 1.0, b.candle.time, false});
            OrderBook ob;
            for (int l = 1; l <= 3; ++l) {
                ob.bids.push_back({price - 0.01 * l, 2.0});
                ob.asks.push_back({price + 0.01 * l, 2.0});
            }
            b.book = ob;
            std::vector<CrossSectionEntry> cs;
            for (int e = 0; e < 10; ++e) cs.push_back(CrossSectionEntry{0.001, 100.0, false, false, true, e % 2 == 0});
            b.cross = cs;
            return b;
        };
        Series flat{"flat_102_6", {}};
        for (std::size_t i = 0; i < n; ++i) flat.bars.push_back(flat_bar(i, p));
        all.push_back(std::move(flat));

        Series after = walk("flat_after_walk", 14, n < 307 ? n : 307, p, 0.02, true, false);
        for (std::size_t i = after.bars.size(); i < n; ++i) after.bars.push_back(flat_bar(i, p));
        all.push_back(std::move(after));

        Series moving = walk("forward_filled", 16, n, p, 0.02, true, false);
        Series filled{"forward_filled", {}};
        Rng rr{17};
        for (std::size_t i = 0; filled.bars.size() < n; ++i) {
            filled.bars.push_back(moving.bars[i]);
            if (rr.below(100) < 7) {
                const double last = filled.bars.back().candle.close;
                for (std::uint64_t k = 1 + rr.below(60); k > 0 && filled.bars.size() < n; --k) {
                    Bar b = flat_bar(filled.bars.size(), last);
                    b.reference = filled.bars[filled.bars.size() - 1].reference;
                    b.candle.volume = 0.0;
                    filled.bars.push_back(std::move(b));
                }
            }
        }
        for (std::size_t i = 0; i < filled.bars.size(); ++i) {
            const std::int64_t t = 1'700'000'000'000 + static_cast<std::int64_t>(i) * 60'000;
            for (auto& tr : filled.bars[i].trades) tr.time += t - filled.bars[i].candle.time;
            filled.bars[i].candle.time = t;
        }
        all.push_back(std::move(filled));
    }
    return all;
}

// Parameter lists tried for every kind; each kind runs with the first few it accepts.
const std::vector<std::vector<double>> kParams = {
    {}, {14}, {5}, {2}, {1}, {14, 2}, {14, 0.5}, {12, 26, 9}, {14, 3, 3}, {5, 2, 3}, {10, 2, 30},
    {14, 0.5, 6}, {0.02, 0.02, 0.2}, {23, 50, 10}, {13, 12, 26}, {3, 2, 100}, {12, 26, 9, 3}, {20, 1, 1},
    {20, 10, 0.7}, {30, 2, 5}, {10, 15, 20, 30, 10, 10, 10, 15}, {9, 13, 13}, {20, 24, 0.7}, {0.05, 20},
    {20, 5}, {100, 20}, {23, 50, 10, 0.5}, {10, 15, 20, 30, 10, 10, 10, 15, 9},
    {0, 0, 0.02, 0.02, 0.2, 0.02, 0.02, 0.2}, {0}, {-1}, {16777217}, {kNaN}, {14, kInf}, {1e18},
};
constexpr std::size_t kRunsPerKind = 4;

// The bits of a value, every NaN written as the default NaN of x86 arithmetic
// (negative, quiet, no payload): the sign and payload of a NaN made by arithmetic
// depend on the operand order the compiler chose (IEEE 754 leaves them open), and
// no output can show them (a NaN is written as null).
std::uint64_t value_bits(double v) {
    return std::isnan(v) ? 0xfff8000000000000ull : std::bit_cast<std::uint64_t>(v);
}

std::string bits(double v) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "%016" PRIx64, value_bits(v));
    return buf;
}

std::string params_text(const std::vector<double>& p) {
    std::string s = "[";
    for (std::size_t i = 0; i < p.size(); ++i) {
        if (i) s += ",";
        char buf[40];
        std::snprintf(buf, sizeof buf, "%.17g", p[i]);
        s += buf;
    }
    return s + "]";
}

struct Digest {
    std::uint64_t h = 0xcbf29ce484222325ull;
    void add(const void* p, std::size_t n) {
        auto b = static_cast<const unsigned char*>(p);
        for (std::size_t i = 0; i < n; ++i) h = (h ^ b[i]) * 0x100000001b3ull;
    }
    void add(std::string_view s) { add(s.data(), s.size()); }
    void add(double v) {
        std::uint64_t u = value_bits(v);
        add(&u, sizeof u);
    }
};

void dump_kind(std::string_view kind, const std::vector<Series>& series, bool full) {
    std::size_t runs = 0;
    for (const auto& params : kParams) {
        auto built = ostrel::build_indicator(kind, params);
        std::string head = std::string(kind) + " " + params_text(params);
        if (!built) {
            std::printf("%s error %s\n", head.c_str(), built.error().display().c_str());
            continue;
        }
        if (runs++ >= kRunsPerKind) continue;
        std::printf("%s warmup %zu\n", head.c_str(), (*built)->warmup_period());
        for (const auto& s : series) {
            auto ind = ostrel::build_indicator(kind, params);
            Digest d;
            std::size_t values = 0;
            std::optional<std::size_t> first;
            for (std::size_t i = 0; i < s.bars.size(); ++i) {
                auto v = (*ind)->update(s.bars[i].snapshot());
                auto outs = (*ind)->outputs();
                d.add(v ? "v" : "n");
                if (v) {
                    d.add(*v);
                    ++values;
                    if (!first) first = i;
                }
                for (const auto& o : outs) {
                    d.add(o.name);
                    d.add(o.value);
                }
                if (full) {
                    std::printf("%s %s %zu %s", head.c_str(), s.name.c_str(), i, v ? bits(*v).c_str() : "-");
                    for (const auto& o : outs) std::printf(" %.*s=%s", static_cast<int>(o.name.size()), o.name.data(),
                                                           bits(o.value).c_str());
                    std::printf("\n");
                }
            }
            std::printf("%s %s values %zu first %lld warmup %zu digest %016" PRIx64 "\n", head.c_str(), s.name.c_str(),
                        values, first ? static_cast<long long>(*first) : -1LL, (*ind)->warmup_period(), d.h);
        }
    }
}

int dump_responses(int argc, char** argv, int from) {
#ifdef OSTREL_KIND_DUMP_KINDS_ONLY
    // Built from the core library alone (e.g. for another architecture): no requests.
    (void)argc, (void)argv, (void)from;
    std::fprintf(stderr, "kind_dump: built without the request path\n");
    return 2;
#else
    for (int i = from; i < argc; ++i) {
        std::ifstream in(argv[i], std::ios::binary);
        if (!in) {
            std::fprintf(stderr, "kind_dump: cannot read %s\n", argv[i]);
            return 2;
        }
        std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        auto r = ostrel::command(text);
        std::printf("== %s\n%s\n", argv[i], r ? r->c_str() : ("(unwritable) " + r.error().display()).c_str());
    }
    return 0;
#endif
}

}  // namespace

int main(int argc, char** argv) {
    bool full = false;
    std::string only;
    std::size_t bars = 2000;
    for (int i = 1; i < argc; ++i) {
        std::string_view a = argv[i];
        if (a == "--responses") return dump_responses(argc, argv, i + 1);
        if (a == "--full") full = true;
        else if (a == "--kind" && i + 1 < argc) only = argv[++i];
        else if (a == "--bars" && i + 1 < argc) bars = std::stoul(argv[++i]);
        else {
            std::fprintf(stderr, "usage: kind_dump [--full] [--kind NAME] [--bars N] | --responses FILE...\n");
            return 2;
        }
    }
    auto series = make_series(bars);
    for (auto kind : ostrel::kind_names())
        if (only.empty() || kind == only) dump_kind(kind, series, full);
    for (std::string_view alias : {"Macd", "Bollinger"})
        if (only.empty() || alias == only) dump_kind(alias, series, full);
    return 0;
}
