// Parameter readers and construction helpers shared by every catalogue entry.
#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <utility>

#include "catalogue/catalogue.hpp"

namespace ostrel {

Expected<double, BacktestError> param_f64(std::span<const double> params, std::size_t index,
                                          std::string_view kind);
Expected<std::uint64_t, BacktestError> param_usize(std::span<const double> params, std::size_t index,
                                                   std::string_view kind);
Expected<std::int32_t, BacktestError> param_i32(std::span<const double> params, std::size_t index,
                                                std::string_view kind);
Expected<std::uint32_t, BacktestError> param_u32(std::span<const double> params, std::size_t index,
                                                 std::string_view kind);

// Shortest round-trip decimal in positional notation: "3", "0.5", "-0", 1e21 in full.
std::string format_param_value(double v);

inline BacktestError wrap_construction_error(std::string_view kind, const IndicatorError& e) {
    return BacktestError::invalid_params(std::string(kind), e.display());
}

// Turns a constructor outcome (the kind itself, or a state the kind is made from)
// into a boxed indicator, or the wrapped error.
template <class K, class S>
BuildResult box_kind(std::string_view kind, Expected<S, IndicatorError>&& outcome) {
    if (!outcome) return wrap_construction_error(kind, outcome.error());
    return std::unique_ptr<Indicator>(new K(std::move(*outcome)));
}

template <class K>
BuildResult box_kind(K&& state) {
    return std::unique_ptr<Indicator>(new K(std::move(state)));
}

namespace catalogue {
// One builder per kind, defined beside the kind.
#define KIND(Name, FeedKind) BuildResult build_##Name(std::span<const double> params);
#include "catalogue/kinds.def"
#undef KIND
}  // namespace catalogue

}  // namespace ostrel
