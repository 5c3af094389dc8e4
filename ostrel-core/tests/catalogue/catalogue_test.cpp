#include <gtest/gtest.h>
#include <malloc.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <optional>
#include <string>
#include <vector>

#include "support/build_support.hpp"
#include "catalogue/catalogue.hpp"
#include "catalogue/params.hpp"

using namespace ostrel;

namespace {

using build_support::build_error;
const std::string& kMaxText = build_support::kMax;

}  // namespace

TEST(Catalogue, UnknownNames) {
    EXPECT_EQ(build_error("", {}), "unknown indicator type: ");
    EXPECT_EQ(build_error("sma", {20}), "unknown indicator type: sma");
    EXPECT_EQ(build_error(" Sma", {20}), "unknown indicator type:  Sma");
    EXPECT_EQ(build_error("Sma ", {20}), "unknown indicator type: Sma ");
    EXPECT_EQ(build_error("SMA", {20}), "unknown indicator type: SMA");
    EXPECT_EQ(build_error(std::string(27, 'A'), {}), "unknown indicator type: " + std::string(27, 'A'));
    EXPECT_EQ(build_error("AutocorrelationPeriodogramX", {}),
              "unknown indicator type: AutocorrelationPeriodogramX");
}

TEST(Catalogue, ReaderMessagesAndNumberTexts) {
    const std::string p = "invalid parameters for indicator Sma: ";
    EXPECT_EQ(build_error("Sma", {}), p + "missing parameter #0");
    EXPECT_EQ(build_error("Sma", {2.5}), p + "parameter #0 must be a positive integer, got 2.5");
    EXPECT_EQ(build_error("Sma", {0}), p + "parameter #0 must be a positive integer, got 0");
    EXPECT_EQ(build_error("Sma", {-3}), p + "parameter #0 must be a positive integer, got -3");
    EXPECT_EQ(build_error("Sma", {-0.0}), p + "parameter #0 must be a positive integer, got -0");
    EXPECT_EQ(build_error("Sma", {0.5}), p + "parameter #0 must be a positive integer, got 0.5");
    EXPECT_EQ(build_error("Sma", {2.0000000000000004}),
              p + "parameter #0 must be a positive integer, got 2.0000000000000004");
    EXPECT_EQ(build_error("Sma", {1.0000000000000002}), "built");
    EXPECT_EQ(build_error("Sma", {1e-20}), p + "period must be greater than zero");
    EXPECT_EQ(build_error("Sma", {std::numeric_limits<double>::infinity()}), p + "parameter #0 must be finite");
    EXPECT_EQ(build_error("Sma", {std::nan("")}), p + "parameter #0 must be finite");
    EXPECT_EQ(build_error("Sma", {16777217}), p + kMaxText);
    EXPECT_EQ(build_error("Sma", {1e300}), p + kMaxText);  // saturates, then the constructor refuses
    EXPECT_EQ(build_error("Sma", {16777216}), "built");
    EXPECT_EQ(build_error("Sma", {20, 99, std::nan("")}), "built");
    EXPECT_EQ(format_param_value(1e21), "1000000000000000000000");
    EXPECT_EQ(format_param_value(1e-20), "0.00000000000000000001");
    EXPECT_EQ(format_param_value(3.0), "3");
    EXPECT_EQ(format_param_value(-2.0), "-2");
    EXPECT_EQ(format_param_value(5e-324).size(), 326u);
}

TEST(Catalogue, IntegerReaderBounds) {
    auto i32 = [](double v) {
        std::vector<double> p{v};
        auto r = param_i32(p, 0, "K");
        return r ? std::to_string(*r) : r.error().reason;
    };
    auto u32 = [](double v) {
        std::vector<double> p{v};
        auto r = param_u32(p, 0, "K");
        return r ? std::to_string(*r) : r.error().reason;
    };
    EXPECT_EQ(i32(-2147483648.0), "-2147483648");
    EXPECT_EQ(i32(2147483647.0), "2147483647");
    EXPECT_EQ(i32(2147483648.0), "parameter #0 must be an i32, got 2147483648");
    EXPECT_EQ(i32(-2147483649.0), "parameter #0 must be an i32, got -2147483649");
    EXPECT_EQ(i32(-0.0), "0");
    EXPECT_EQ(i32(1e-20), "0");
    EXPECT_EQ(i32(0.5), "parameter #0 must be an i32, got 0.5");
    EXPECT_EQ(u32(0.0), "0");
    EXPECT_EQ(u32(-0.0), "0");
    EXPECT_EQ(u32(4294967295.0), "4294967295");
    EXPECT_EQ(u32(-1.0), "parameter #0 must be a u32, got -1");
    EXPECT_EQ(u32(-1e-20), "parameter #0 must be a u32, got -0.00000000000000000001");
    EXPECT_EQ(u32(4294967296.0), "parameter #0 must be a u32, got 4294967296");
    std::vector<double> big{1e300};
    EXPECT_EQ(*param_usize(big, 0, "K"), 18446744073709551615ULL);
    std::vector<double> two{3.0, 4.0};
    EXPECT_EQ(param_f64(two, 2, "K").error().reason, "missing parameter #2");
}

TEST(Catalogue, AliasesNameTheirKind) {
    // Both aliases resolve before any parameter is read, so errors name the kind.
    EXPECT_EQ(feed_for_kind("Macd"), std::nullopt);
    EXPECT_EQ(feed_for_kind("Bollinger"), std::nullopt);
    EXPECT_EQ(feed_for_kind("MacdIndicator"), Feed::Kline);
    EXPECT_EQ(feed_for_kind("BollingerBands"), Feed::Kline);
    auto r = build_indicator("Macd", std::vector<double>{12, std::nan(""), 9});
    ASSERT_FALSE(r);
    EXPECT_EQ(r.error().text, "MacdIndicator");
    auto b = build_indicator("Bollinger", std::vector<double>{});
    ASSERT_FALSE(b);
    EXPECT_EQ(b.error().text, "BollingerBands");
}

TEST(Catalogue, FeedMap) {
    EXPECT_EQ(kind_names().size(), 495u);
    EXPECT_EQ(feed_for_kind("Vpin"), Feed::Trade);
    EXPECT_EQ(feed_for_kind("QuotedSpread"), Feed::Orderbook);
    EXPECT_EQ(feed_for_kind("KylesLambda"), Feed::TradeQuote);
    EXPECT_EQ(feed_for_kind("FundingRate"), Feed::Derivatives);
    EXPECT_EQ(feed_for_kind("Trin"), Feed::CrossSection);
    EXPECT_EQ(feed_for_kind("Alpha"), Feed::Kline);
    EXPECT_EQ(feed_for_kind(""), std::nullopt);
    EXPECT_EQ(feed_for_kind("vpin"), std::nullopt);
    EXPECT_EQ(feed_for_kind("Vpin "), std::nullopt);
    EXPECT_EQ(feed_name(Feed::TradeQuote), "TradeQuote");
    EXPECT_EQ(feed_name(Feed::CrossSection), "CrossSection");
}

// AddressSanitizer reserves terabytes of shadow address space, so a process under it
// cannot run with a limit on its address space: the test below is skipped there. GCC
// says it is on by __SANITIZE_ADDRESS__, Clang by __has_feature.
#if defined(__SANITIZE_ADDRESS__)
#define OSTREL_UNDER_ASAN 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define OSTREL_UNDER_ASAN 1
#endif
#endif

// A construction the machine has no memory for is a build error, not a crash. The
// windows grow with the values received, so what a construction takes is the kind
// itself (AutocorrelationPeriodogram's state is several KiB): a child process limits
// its address space, takes every byte it can get under that limit, then gives back
// a 2 KiB block, room for the error's texts but not for the kind.
TEST(Catalogue, ConstructionOutOfMemoryIsABuildError) {
#if defined(OSTREL_UNDER_ASAN)
    GTEST_SKIP() << "no address-space limit under AddressSanitizer";
#else
    const std::vector<double> params{12, 26, 16777216};
    ASSERT_EQ(build_error("AutocorrelationPeriodogram", params), "built");
    pid_t pid = fork();
    ASSERT_NE(pid, -1);
    if (pid == 0) {
        alarm(60);  // a hang ends the child with SIGALRM
        const std::string want =
            "invalid parameters for indicator AutocorrelationPeriodogram: not enough memory for the indicator's window";
        long pages = 0;
        if (std::FILE* f = std::fopen("/proc/self/statm", "r")) {
            if (std::fscanf(f, "%ld", &pages) != 1) pages = 0;
            std::fclose(f);
        }
        if (pages <= 0) _exit(10);
        // The heap grows by what a request needs, so that what is left under the limit
        // is below the smallest block taken.
        mallopt(M_TOP_PAD, 0);
        void* spare = std::malloc(2048);
        rlimit lim{};
        getrlimit(RLIMIT_AS, &lim);
        lim.rlim_cur = static_cast<rlim_t>(pages) * static_cast<rlim_t>(sysconf(_SC_PAGESIZE)) + (rlim_t{64} << 20);
        if (lim.rlim_max != RLIM_INFINITY && lim.rlim_cur > lim.rlim_max) lim.rlim_cur = lim.rlim_max;
        if (spare == nullptr || setrlimit(RLIMIT_AS, &lim) != 0) _exit(11);
        void* held = nullptr;  // a list threaded through the blocks themselves
        for (std::size_t size : {std::size_t{1} << 20, std::size_t{1} << 16, std::size_t{1} << 12, std::size_t{256},
                                 std::size_t{16}}) {
            while (void* p = std::malloc(size)) {
                *static_cast<void**>(p) = held;
                held = p;
            }
        }
        std::free(spare);
        std::optional<ostrel::BuildResult> r;
        try {
            r.emplace(ostrel::build_indicator("AutocorrelationPeriodogram", params));
        } catch (...) {
            _exit(14);
        }
        while (held != nullptr) {
            void* next = *static_cast<void**>(held);
            std::free(held);
            held = next;
        }
        if (*r) _exit(12);
        _exit(r->error().display() == want ? 0 : 13);
    }
    int status = 0;
    ASSERT_EQ(waitpid(pid, &status, 0), pid);
    ASSERT_TRUE(WIFEXITED(status)) << "child did not exit normally (signal " << WTERMSIG(status) << ")";
    // 10, 11: the limit could not be set; 12: the kind was built; 13: another text;
    // 14: the build let the exception out.
    EXPECT_EQ(WEXITSTATUS(status), 0);
#endif
}

#include "indicators/trade_filter.hpp"

TEST(TradeFilter, SkipsTradesThatFailTheirCheck) {
    const double nan = std::nan("");
    std::vector<Trade> trades{{0.0, 1, 0, false}, {10, -1, 0, false}, {nan, 1, 0, true},
                              {11, 0.0, 0, true}, {12, nan, 0, false}, {13, 2, 0, false}};
    EXPECT_EQ(validate_trade(trades[0])->display(), "invalid trade: trade price must be finite and positive");
    EXPECT_EQ(validate_trade(trades[1])->display(), "invalid trade: trade size must be finite and non-negative");
    EXPECT_EQ(validate_trade(trades[4])->display(), "invalid trade: trade size must be finite and non-negative");
    std::size_t pos = 0;
    const Trade* t = next_valid_trade(trades, pos);
    ASSERT_NE(t, nullptr);
    EXPECT_EQ(t->price, 11);  // a zero size is allowed
    t = next_valid_trade(trades, pos);
    ASSERT_NE(t, nullptr);
    EXPECT_EQ(t->price, 13);
    EXPECT_EQ(next_valid_trade(trades, pos), nullptr);
}
