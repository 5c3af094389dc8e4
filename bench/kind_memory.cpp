// Memory a kind takes from its parameters rather than from its data: every kind is
// built with each size-like parameter pushed to the largest value it accepts, then
// fed a few hundred bars with every feed, and the heap bytes it holds are counted
// after construction and after the bars. A kind whose windows grow with the values
// received holds little at construction and, after the bars, about what those bars
// need; one that allocates its whole window up front shows the parameter's size.
//
//   kind_memory [--bars N] [--kind NAME] [--all]
//
// Prints one line per kind and parameter position whose construction or run holds
// more than 1 MiB (every line with --all). Single requests above 256 MiB are refused
// (the catalogue turns that into a construction error), so the scan never takes the
// memory it reports; "wanted" gives the largest refused request.
#include <malloc.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <new>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "catalogue/catalogue.hpp"
#include "indicators/indicator.hpp"

namespace {

std::size_t g_live = 0;
std::size_t g_refused = 0;
constexpr std::size_t kRefuseAbove = std::size_t{256} << 20;

void* counted_alloc(std::size_t n) {
    if (n > kRefuseAbove) {
        if (n > g_refused) g_refused = n;
        throw std::bad_alloc();
    }
    void* p = std::malloc(n ? n : 1);
    if (!p) throw std::bad_alloc();
    g_live += malloc_usable_size(p);
    return p;
}

void counted_free(void* p) {
    if (!p) return;
    g_live -= malloc_usable_size(p);
    std::free(p);
}

}  // namespace

void* operator new(std::size_t n) { return counted_alloc(n); }
void* operator new[](std::size_t n) { return counted_alloc(n); }
void* operator new(std::size_t n, std::align_val_t) { return counted_alloc(n); }
void* operator new[](std::size_t n, std::align_val_t) { return counted_alloc(n); }
void operator delete(void* p) noexcept { counted_free(p); }
void operator delete[](void* p) noexcept { counted_free(p); }
void operator delete(void* p, std::size_t) noexcept { counted_free(p); }
void operator delete[](void* p, std::size_t) noexcept { counted_free(p); }
void operator delete(void* p, std::align_val_t) noexcept { counted_free(p); }
void operator delete[](void* p, std::align_val_t) noexcept { counted_free(p); }
void operator delete(void* p, std::size_t, std::align_val_t) noexcept { counted_free(p); }
void operator delete[](void* p, std::size_t, std::align_val_t) noexcept { counted_free(p); }

namespace {

using namespace ostrel;

struct Bar {
    Candle candle;
    DerivativesTick derivatives;
    std::vector<Trade> trades;
    OrderBook book;
    std::vector<CrossSectionEntry> cross;
    double reference = 0.0;
};

std::vector<Bar> make_bars(std::size_t n) {
    std::vector<Bar> bars(n);
    std::uint64_t s = 7;
    auto unit = [&s] {
        s = s * 6364136223846793005ull + 1442695040888963407ull;
        return static_cast<double>(s >> 11) * 0x1.0p-53;
    };
    double p = 100.0;
    for (std::size_t i = 0; i < n; ++i) {
        Bar& b = bars[i];
        const double open = p;
        p *= 1.0 + (unit() - 0.5) * 0.02;
        b.candle = {1'700'000'000'000 + static_cast<std::int64_t>(i) * 3'600'000, open,
                    std::fmax(open, p) * (1.0 + 0.005 * unit()), std::fmin(open, p) * (1.0 - 0.005 * unit()), p,
                    50.0 + 100.0 * unit()};
        b.reference = p * (0.9 + 0.2 * unit());
        b.derivatives = {(unit() - 0.5) * 0.001, p, p * 1.001, p * 1.002, 1000.0 + 500.0 * unit(),
                         100.0 + 50.0 * unit(), 100.0 + 50.0 * unit(), 10.0 * unit(), 10.0 * unit(),
                         5.0 * unit(), 5.0 * unit(), 0.0};
        for (int t = 0; t < 4; ++t)
            b.trades.push_back({p * (1.0 + (unit() - 0.5) * 0.004), 0.1 + 3.0 * unit(), b.candle.time + t * 1000,
                                unit() < 0.5});
        for (int l = 0; l < 5; ++l) {
            b.book.bids.push_back({p * (1.0 - 0.0005 * (l + 1)), 1.0 + 4.0 * unit()});
            b.book.asks.push_back({p * (1.0 + 0.0005 * (l + 1)), 1.0 + 4.0 * unit()});
        }
        for (int e = 0; e < 20; ++e)
            b.cross.push_back({(unit() - 0.5) * 0.04, 1000.0 * unit(), unit() < 0.2, unit() < 0.2, unit() < 0.5,
                               unit() < 0.5});
    }
    return bars;
}

// Base parameter lists; each kind is scanned from the first one it accepts.
const std::vector<std::vector<double>> kBase = {
    {}, {14}, {5}, {2}, {14, 2}, {14, 0.5}, {12, 26, 9}, {14, 3, 3}, {5, 2, 3}, {10, 2, 30}, {14, 0.5, 6},
    {0.02, 0.02, 0.2}, {23, 50, 10}, {13, 12, 26}, {3, 2, 100}, {12, 26, 9, 3}, {20, 1, 1}, {20, 10, 0.7},
    {30, 2, 5}, {10, 15, 20, 30, 10, 10, 10, 15}, {9, 13, 13}, {20, 24, 0.7}, {0.05, 20}, {20, 5}, {100, 20},
    {23, 50, 10, 0.5}, {10, 15, 20, 30, 10, 10, 10, 15, 9}, {0, 0, 0.02, 0.02, 0.2, 0.02, 0.02, 0.2},
};
// Sizes tried at one position, largest first; the first accepted one is scanned.
const double kSizes[] = {16777216, 4194304, 1048576, 65536, 10000, 4096, 1000, 500, 256, 100, 50};

struct Measure {
    std::size_t built = 0;  // bytes held after construction
    std::size_t run = 0;    // bytes held after the bars
};

std::optional<Measure> measure(std::string_view kind, const std::vector<double>& params,
                               const std::vector<Bar>& bars) {
    const std::size_t before = g_live;
    auto built = build_indicator(kind, params);
    if (!built) return std::nullopt;
    Measure m;
    m.built = g_live - before;
    for (const Bar& b : bars) {
        FeedSnapshot s;
        s.candle = b.candle;
        s.reference = b.reference;
        s.derivatives = b.derivatives;
        s.trades = b.trades;
        s.order_book = &b.book;
        s.cross_section = &b.cross;
        (*built)->update(s);
    }
    m.run = g_live - before;
    return m;
}

std::string text(const std::vector<double>& p) {
    std::string s = "[";
    for (std::size_t i = 0; i < p.size(); ++i) {
        char buf[32];
        std::snprintf(buf, sizeof buf, "%s%.17g", i ? "," : "", p[i]);
        s += buf;
    }
    return s + "]";
}

}  // namespace

int main(int argc, char** argv) {
    std::size_t n = 300;
    std::string only;
    bool all = false;
    for (int i = 1; i < argc; ++i) {
        std::string_view a = argv[i];
        if (a == "--bars" && i + 1 < argc) n = std::strtoull(argv[++i], nullptr, 10);
        else if (a == "--kind" && i + 1 < argc) only = argv[++i];
        else if (a == "--all") all = true;
        else {
            std::fprintf(stderr, "usage: kind_memory [--bars N] [--kind NAME] [--all]\n");
            return 2;
        }
    }
    const auto bars = make_bars(n);
    const std::size_t report_above = all ? 0 : std::size_t{1} << 20;
    std::size_t flagged = 0;
    std::size_t worst_built = 0;
    std::size_t worst_run = 0;
    std::printf("%-34s %-44s %12s %12s %12s\n", "kind", "params", "built", "after_bars", "wanted");
    for (std::string_view kind : kind_names()) {
        if (!only.empty() && kind != only) continue;
        const std::vector<double>* base = nullptr;
        for (const auto& p : kBase)
            if (build_indicator(kind, p)) {
                base = &p;
                break;
            }
        if (!base) {
            std::printf("%-34.*s (no base parameters accepted)\n", static_cast<int>(kind.size()), kind.data());
            continue;
        }
        // Each position alone from the base list, then each later position with the
        // first one at the largest size it took (a second size is often bounded by
        // the first, as lags by the period).
        std::vector<double> first = *base;
        const std::size_t passes = base->size() > 1 ? 2 : 1;
        for (std::size_t pass = 0; pass < passes; ++pass)
        for (std::size_t pos = pass; pos <= base->size(); ++pos) {
            std::vector<double> params = pass == 0 ? *base : first;
            std::optional<Measure> m;
            if (pos < base->size()) {
                // Only integer-valued positions can be sizes.
                if (params[pos] != std::floor(params[pos]) || params[pos] < 1) continue;
                for (double size : kSizes) {
                    params[pos] = size;
                    g_refused = 0;
                    if ((m = measure(kind, params, bars))) break;
                    if (g_refused) break;  // accepted, but wanted more than the scan grants
                }
                if (pass == 0 && pos == 0 && (m || g_refused)) first = params;
                if (pass == 1 && pos == base->size()) continue;
            } else {
                if (pos > 0 || pass > 0) continue;
                m = measure(kind, params, bars);  // kinds without parameters
            }
            const bool refused = !m && g_refused;
            if (!m && !refused) continue;
            const std::size_t built = m ? m->built : 0;
            const std::size_t run = m ? m->run : 0;
            if (built > worst_built) worst_built = built;
            if (run > worst_run) worst_run = run;
            if (refused || built > report_above || run > report_above) {
                ++flagged;
                std::printf("%-34.*s %-44s %12zu %12zu %12zu\n", static_cast<int>(kind.size()), kind.data(),
                            text(params).c_str(), built, run, refused ? g_refused : 0);
            }
        }
    }
    std::printf("flagged %zu; largest held after construction %zu bytes, after %zu bars %zu bytes\n", flagged,
                worst_built, n, worst_run);
    return 0;
}
