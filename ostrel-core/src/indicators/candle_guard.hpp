// The one guard every candle-fed kind runs first: a candle that fails any of the
// six checks is ignored, so the kind yields nothing and leaves its state as it was.
#pragma once

#include "indicators/indicator.hpp"

namespace ostrel::core {

// The snapshot's candle when it passes the checks, null otherwise.
inline const Candle* checked_candle(const FeedSnapshot& f) {
    return f.candle.is_valid() ? &f.candle : nullptr;
}

}  // namespace ostrel::core
