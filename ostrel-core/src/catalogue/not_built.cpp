// Default entries for kinds whose family is not part of this build: they refuse with
// a clear reason naming the kind. A kind's own file defines the real entry, which
// takes precedence over these weak ones at link time.
#include "catalogue/params.hpp"

namespace ostrel::catalogue {

#define KIND(Name, FeedKind)                                                          \
    __attribute__((weak)) BuildResult build_##Name(std::span<const double>) {         \
        return BacktestError::invalid_params(#Name, std::string(NOT_BUILT_REASON));   \
    }
#include "catalogue/kinds.def"
#undef KIND

}  // namespace ostrel::catalogue
