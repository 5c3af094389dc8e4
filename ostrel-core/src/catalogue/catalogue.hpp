// Builds indicators by kind name and tells which feed each kind consumes.
#pragma once

#include <memory>
#include <optional>
#include <span>
#include <string_view>

#include "backtest/error.hpp"
#include "indicators/indicator.hpp"

namespace ostrel {

using BuildResult = Expected<std::unique_ptr<Indicator>, BacktestError>;

// Builds a fresh indicator of `kind` from positional parameters; fails with
// UnknownIndicator or InvalidParams.
BuildResult build_indicator(std::string_view kind, std::span<const double> params);

// The feed of one of the 495 kinds; none for aliases and unknown names.
std::optional<Feed> feed_for_kind(std::string_view kind);

// The 495 kind names in byte order (aliases excluded).
std::span<const std::string_view> kind_names();

}  // namespace ostrel
