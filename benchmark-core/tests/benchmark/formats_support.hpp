// Helpers for the benchmark-format tests: parse a JSON text, read a fault as its
// message, and the text of a minimal benchmark case.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <string_view>

#include "benchmark/formats.hpp"
#include "json/parse.hpp"

namespace formats_support {

// The parsed value of a text that must parse.
inline ostrel::json::Value v(std::string_view text) {
    auto r = ostrel::json::parse(text);
    EXPECT_TRUE(r.has_value()) << text;
    return r ? std::move(*r) : ostrel::json::Value();
}

// The fault's message, "ok" for none.
inline std::string msg(const ostrel::json::Fault& f) { return f ? f->message : "ok"; }

inline const std::string kHash(64, 'a');

// A minimal case with the given id and expected hash (kHash when empty).
inline std::string case_text(std::string_view id = "c1", std::string_view hash = "") {
    std::string h = hash.empty() ? kHash : std::string(hash);
    return "{\"id\":\"" + std::string(id) + "\",\"description\":\"d\",\"strategy\":{},\"dataset_ref\":\"ds\","
           "\"expected\":{},\"expected_hash\":\"" + h + "\"}";
}

}  // namespace formats_support
