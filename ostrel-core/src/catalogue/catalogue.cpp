#include "catalogue/catalogue.hpp"

#include <cstring>
#include <new>
#include <stdexcept>
#include <string>

#include "catalogue/params.hpp"

namespace ostrel {

namespace catalogue_detail {

enum class KindId : unsigned short {
#define KIND(Name, FeedKind) Name,
#include "catalogue/kinds.def"
#undef KIND
};

#include "catalogue/name_match.inc"

constexpr Feed kFeeds[] = {
#define KIND(Name, FeedKind) Feed::FeedKind,
#include "catalogue/kinds.def"
#undef KIND
};

constexpr std::string_view kNames[] = {
#define KIND(Name, FeedKind) #Name,
#include "catalogue/kinds.def"
#undef KIND
};

BuildResult dispatch(KindId id, std::span<const double> params) {
    switch (id) {
#define KIND(Name, FeedKind) \
    case KindId::Name: return catalogue::build_##Name(params);
#include "catalogue/kinds.def"
#undef KIND
    }
    return BacktestError::unknown_indicator("");
}

}  // namespace catalogue_detail

BuildResult build_indicator(std::string_view kind, std::span<const double> params) {
    auto id = catalogue_detail::match_name(kind, /*allow_alias=*/true);
    if (!id) return BacktestError::unknown_indicator(std::string(kind));
    try {
        return catalogue_detail::dispatch(*id, params);
    } catch (const std::bad_alloc&) {
        // A window too large for this machine is a construction failure, not a crash.
        return BacktestError::invalid_params(std::string(catalogue_detail::kNames[static_cast<unsigned>(*id)]),
                                             "not enough memory for the indicator's window");
    } catch (const std::length_error&) {
        return BacktestError::invalid_params(std::string(catalogue_detail::kNames[static_cast<unsigned>(*id)]),
                                             "not enough memory for the indicator's window");
    }
}

std::optional<Feed> feed_for_kind(std::string_view kind) {
    auto id = catalogue_detail::match_name(kind, /*allow_alias=*/false);
    if (!id) return std::nullopt;
    return catalogue_detail::kFeeds[static_cast<unsigned>(*id)];
}

std::span<const std::string_view> kind_names() { return catalogue_detail::kNames; }

}  // namespace ostrel
