// Helpers for the tests that build kinds through the catalogue: the build outcome as
// text, the text of a kind's construction error, the reasons most checks give, and a
// build by name that records a failed build as a test failure.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "catalogue/catalogue.hpp"

namespace build_support {

inline const std::string kMax = "invalid period: period exceeds the maximum supported window length (see MAX_PERIOD)";
inline const std::string kZero = "period must be greater than zero";
inline const std::string kMult = "multiplier must be greater than zero";

// "built", or the display text of the catalogue's error.
inline std::string build_error(std::string_view kind, std::vector<double> params) {
    auto r = ostrel::build_indicator(kind, params);
    if (r) return "built";
    return r.error().display();
}

// The display text of a construction error of `kind` with the given reason.
inline std::string params_error(std::string_view kind, std::string_view reason) {
    return "invalid parameters for indicator " + std::string(kind) + ": " + std::string(reason);
}

// The kind built by name; a failed build is a test failure naming the kind and the error.
inline std::unique_ptr<ostrel::Indicator> make(std::string_view kind, std::vector<double> params) {
    auto r = ostrel::build_indicator(kind, params);
    if (!r) {
        ADD_FAILURE() << kind << ": " << r.error().display();
        return nullptr;
    }
    return std::move(*r);
}

}  // namespace build_support
