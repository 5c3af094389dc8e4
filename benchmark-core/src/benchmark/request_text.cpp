// Requests read with their bulk straight from the text: candle lists and expected
// reports taken while the request is parsed, or read ahead by parallel tasks.
#include "benchmark/formats.hpp"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <limits>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "benchmark/record_shapes.hpp"
#include "hash/canonical.hpp"
#include "json/number.hpp"
#include "json/parse.hpp"
#include "json/read.hpp"

namespace ostrel {

using json::Fault;
using json::Value;

namespace formats_detail {

inline const char* skip_ws(const char* p, const char* end) {
    while (p < end && (*p == ' ' || *p == '\n' || *p == '\t' || *p == '\r')) ++p;
    return p;
}

// A number as read_f64 reads it.
inline const char* take_f64(const char* p, const char* end, double& out) {
    if (const char* q = json::number_detail::read_plain_f64(p, end, out)) return q;
    Value v;
    const char* q = json::read_number(p, end, v);
    if (q != nullptr) out = v.to_f64();
    return q;
}

// A number as read_i64 reads it without a fault; nullptr for anything else.
inline const char* take_time(const char* p, const char* end, std::int64_t& out) {
    if (const char* q = json::number_detail::read_plain_i64(p, end, out)) return q;
    Value v;
    const char* q = json::read_number(p, end, v);
    if (q == nullptr) return nullptr;
    if (v.is_int()) {
        out = v.as_int();
    } else if (v.is_uint() && v.as_uint() <= static_cast<std::uint64_t>(std::numeric_limits<std::int64_t>::max())) {
        out = static_cast<std::int64_t>(v.as_uint());
    } else {
        return nullptr;
    }
    return q;
}

// [time, open, high, low, close] or [time, open, high, low, close, volume], p at '['.
inline const char* take_candle_array(const char* p, const char* end, Candle& c) {
    p = skip_ws(p + 1, end);
    p = take_time(p, end, c.time);
    if (p == nullptr) return nullptr;
    double* const fields[5] = {&c.open, &c.high, &c.low, &c.close, &c.volume};
    c.volume = 0.0;
    for (int k = 0; k < 5; ++k) {
        p = skip_ws(p, end);
        if (p == end) return nullptr;
        if (*p == ']') return k == 4 ? p + 1 : nullptr;
        if (*p != ',') return nullptr;
        p = take_f64(skip_ws(p + 1, end), end, *fields[k]);
        if (p == nullptr) return nullptr;
    }
    p = skip_ws(p, end);
    if (p == end || *p != ']') return nullptr;
    return p + 1;
}

// {"time": t, "open": o, "high": h, "low": l, "close": c, "volume"?: v} in any
// order, each key once, written without escapes, nothing else; p at '{'.
inline const char* take_candle_object(const char* p, const char* end, Candle& c) {
    c.volume = 0.0;
    unsigned seen = 0;
    p = skip_ws(p + 1, end);
    for (;;) {
        if (p == end || *p != '"') return nullptr;
        const char* k = p + 1;
        const char* q = k;
        while (q < end && *q != '"' && *q != '\\') ++q;
        if (q == end || *q != '"') return nullptr;
        const std::string_view key(k, static_cast<std::size_t>(q - k));
        int idx = -1;
        for (int i = 0; i < 6; ++i) {
            if (key == kCandleFields[i].key) {
                idx = i;
                break;
            }
        }
        if (idx < 0 || (seen & (1u << idx)) != 0) return nullptr;
        seen |= 1u << idx;
        p = skip_ws(q + 1, end);
        if (p == end || *p != ':') return nullptr;
        p = skip_ws(p + 1, end);
        switch (idx) {
            case 0: p = take_time(p, end, c.time); break;
            case 1: p = take_f64(p, end, c.open); break;
            case 2: p = take_f64(p, end, c.high); break;
            case 3: p = take_f64(p, end, c.low); break;
            case 4: p = take_f64(p, end, c.close); break;
            default: p = take_f64(p, end, c.volume); break;
        }
        if (p == nullptr) return nullptr;
        p = skip_ws(p, end);
        if (p == end) return nullptr;
        if (*p == '}') break;
        if (*p != ',') return nullptr;
        p = skip_ws(p + 1, end);
    }
    if ((seen & 0x1Fu) != 0x1Fu) return nullptr;
    return p + 1;
}

// Candles gathered in blocks, then moved into one vector of the exact size, each
// block released once copied: reading never holds much more than the candles.
class CandleBlocks {
public:
    Candle& next() {
        if (used_ == kBlock) {
            blocks_.push_back(std::make_unique<Candle[]>(kBlock));
            used_ = 0;
        }
        ++count_;
        return blocks_.back()[used_++];
    }
    void move_into(std::vector<Candle>& out) {
        out.clear();
        out.reserve(count_);
        for (std::size_t b = 0; b < blocks_.size(); ++b) {
            const std::size_t n = b + 1 == blocks_.size() ? used_ : kBlock;
            out.insert(out.end(), blocks_[b].get(), blocks_[b].get() + n);
            blocks_[b].reset();
        }
        blocks_.clear();
        used_ = kBlock;
        count_ = 0;
    }

private:
    static constexpr std::size_t kBlock = 8192;
    std::vector<std::unique_ptr<Candle[]>> blocks_;
    std::size_t used_ = kBlock;
    std::size_t count_ = 0;
};

// An array of candles, each read as read_candle reads it without a fault; nullptr
// for anything else (the parser then reads the array and the tree reader reads it).
const char* take_candles(const char* p, const char* end, std::vector<Candle>& out) {
    if (p == end || *p != '[') return nullptr;
    CandleBlocks blocks;
    p = skip_ws(p + 1, end);
    if (p != end && *p == ']') {
        out.clear();
        return p + 1;
    }
    for (;;) {
        if (p == end) return nullptr;
        Candle& c = blocks.next();
        if (*p == '[') {
            p = take_candle_array(p, end, c);
        } else if (*p == '{') {
            p = take_candle_object(p, end, c);
        } else {
            return nullptr;
        }
        if (p == nullptr) return nullptr;
        p = skip_ws(p, end);
        if (p == end) return nullptr;
        if (*p == ']') break;
        if (*p != ',') return nullptr;
        p = skip_ws(p + 1, end);
    }
    blocks.move_into(out);
    return p + 1;
}

// The tree's stand-in for the expected report with this index in expected_texts:
// its key is not UTF-8, so no parsed text gives this object.
inline const std::string kMarkerKey("\xFF", 1);

Value expected_marker(std::size_t index) {
    json::Object o;
    o.insert_or_assign(kMarkerKey, Value::integer(static_cast<std::int64_t>(index)));
    return Value::object(std::move(o));
}

// A case read from the parsed request: its marker, if any, replaced by the text.
void take_expected_text(ParsedRequest& request, BenchmarkCase& c) {
    if (!c.expected.is_object()) return;
    const json::Object& o = c.expected.as_object();
    if (o.size() != 1 || o[0].key != kMarkerKey || !o[0].value.is_uint()) return;
    const std::uint64_t i = o[0].value.as_uint();
    if (i >= request.expected_texts.size()) return;
    c.expected_text = std::move(request.expected_texts[i]);
    c.expected_is_text = true;
    c.expected = Value::object(json::Object());
}

// A large member's value read ahead of the parse, from its place in the text.
struct Prepared {
    Prepared(const char* place, bool is_expected) : at(place), expected(is_expected) {}

    const char* at;
    bool expected;               // an expected report (else a candle list)
    const char* end = nullptr;   // end of the value; nullptr when it was declined
    std::vector<Candle> candles;
    std::string text;
};

// The values read ahead, ascending by place.
class PreparedSet {
public:
    std::vector<Prepared> items;

    // The value read ahead at `at` as this kind, or nullptr.
    Prepared* find(const char* at, bool expected) {
        auto it = std::lower_bound(items.begin(), items.end(), at,
                                   [](const Prepared& x, const char* a) { return x.at < a; });
        if (it == items.end() || it->at != at || it->expected != expected) return nullptr;
        return &*it;
    }
};

// Takes the candle lists of the request's "data" member and of the members of its
// "datasets" object; the last occurrence of a key is the one the tree keeps.
class RequestHook final : public json::ParseHook {
public:
    explicit RequestHook(ParsedRequest& r, PreparedSet* prepared = nullptr) : r_(r), prepared_(prepared) {}

    const char* member(std::span<const std::string_view> keys, const char* at, const char* end) override {
        took_expected_ = false;
        if (is_expected(keys)) {
            if (at == end || *at != '{') return nullptr;
            std::string text;
            const char* q;
            if (Prepared* pr = prepared_ != nullptr ? prepared_->find(at, true) : nullptr) {
                q = pr->end;
                text = std::move(pr->text);
            } else {
                q = canonical_from_text(at, end, text);
            }
            if (q != nullptr) {
                r_.expected_texts.push_back(std::move(text));
                took_expected_ = true;
            }
            return q;
        }
        if (keys.size() == 1) {
            if (keys[0] == "data") {
                const char* q = candles(at, end, r_.data);
                r_.data_taken = q != nullptr;
                if (q == nullptr) r_.data.clear();
                return q;
            }
            if (keys[0] == "datasets") r_.datasets_taken.clear();
            return nullptr;
        }
        if (keys[0] != "datasets") return nullptr;
        std::vector<Candle> list;
        const char* q = candles(at, end, list);
        if (q != nullptr) {
            r_.datasets_taken.insert_or_assign(std::string(keys[1]), std::move(list));
        } else if (auto it = r_.datasets_taken.find(std::string(keys[1])); it != r_.datasets_taken.end()) {
            r_.datasets_taken.erase(it);
        }
        return q;
    }

    // The suite's cases array and the case objects in it are entered, for their
    // expected reports.
    bool enter(std::span<const std::string_view> keys, bool array) override {
        if (keys.size() == 2 && keys[0] == "suite" && keys[1] == "cases") return true;
        return !array && keys.size() < 2;
    }

    Value placeholder() override {
        return took_expected_ ? expected_marker(r_.expected_texts.size() - 1) : Value();
    }

private:
    // A candle list at `at`: read ahead, or read now.
    const char* candles(const char* at, const char* end, std::vector<Candle>& out) {
        if (Prepared* pr = prepared_ != nullptr ? prepared_->find(at, false) : nullptr) {
            if (pr->end != nullptr) out = std::move(pr->candles);
            return pr->end;
        }
        return take_candles(at, end, out);
    }

    static bool is_expected(std::span<const std::string_view> keys) {
        if (keys.size() == 2) return keys[0] == "case" && keys[1] == "expected";
        return keys.size() == 3 && keys[0] == "suite" && keys[1] == "cases" && keys[2] == "expected";
    }

    ParsedRequest& r_;
    PreparedSet* prepared_;
    bool took_expected_ = false;  // the value just taken was an expected report
};

// The places in [from, to) of `text` where a candle list or an expected report
// may start: after a ':' (and whitespace), a '[' followed (after whitespace) by
// '[' or '{'; or a '{' when the key before the ':' is written "expected". The
// bytes after `to` may be looked at.
void find_places(const char* begin, const char* end, const char* from, const char* to,
                 std::vector<Prepared>& out) {
    const char* p = from;
    while (p < to) {
        const void* hit = std::memchr(p, ':', static_cast<std::size_t>(to - p));
        if (hit == nullptr) break;
        const char* colon = static_cast<const char*>(hit);
        p = colon + 1;
        const char* v = skip_ws(colon + 1, end);
        if (v == end) continue;
        if (*v == '[') {
            const char* w = skip_ws(v + 1, end);
            if (w != end && (*w == '[' || *w == '{')) out.emplace_back(v, false);
        } else if (*v == '{') {
            const char* k = colon;
            while (k > begin && (k[-1] == ' ' || k[-1] == '\n' || k[-1] == '\t' || k[-1] == '\r')) --k;
            static constexpr std::string_view kKey = "\"expected\"";
            if (static_cast<std::size_t>(k - begin) >= kKey.size() &&
                std::string_view(k - kKey.size(), kKey.size()) == kKey) {
                out.emplace_back(v, true);
            }
        }
    }
}

}  // namespace formats_detail

Expected<ParsedRequest, json::ParseError> parse_request(std::string_view text) {
    ParsedRequest out;
    formats_detail::RequestHook hook(out);
    auto tree = json::parse(text, hook);
    if (!tree) return tree.error();
    out.tree = std::move(*tree);
    return out;
}

Expected<ParsedRequest, json::ParseError> parse_request(std::string_view text, const ParallelFor& parallel_for,
                                                        std::size_t chunks) {
    using formats_detail::Prepared;
    const char* const begin = text.data();
    const char* const end = begin + text.size();
    if (chunks == 0) chunks = 1;
    // The places, searched chunk by chunk, then joined in text order.
    std::vector<std::vector<Prepared>> found(chunks);
    parallel_for(chunks, [&](std::size_t c) {
        const char* from = begin + text.size() / chunks * c;
        const char* to = c + 1 == chunks ? end : begin + text.size() / chunks * (c + 1);
        formats_detail::find_places(begin, end, from, to, found[c]);
    });
    formats_detail::PreparedSet prepared;
    for (auto& f : found) {
        for (Prepared& x : f) prepared.items.push_back(std::move(x));
        std::vector<Prepared>().swap(f);
    }
    // Each value read from its place, the likely largest first (the room up to the
    // next place bounds a value's length from above, or nearly: values nest) so
    // that no large one is left to run alone at the end.
    const std::size_t n = prepared.items.size();
    std::vector<std::size_t> order(n);
    std::vector<std::size_t> room(n);
    for (std::size_t i = 0; i < n; ++i) {
        order[i] = i;
        room[i] = static_cast<std::size_t>((i + 1 < n ? prepared.items[i + 1].at : end) - prepared.items[i].at);
    }
    std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) { return room[a] > room[b]; });
    parallel_for(n, [&](std::size_t k) {
        Prepared& x = prepared.items[order[k]];
        x.end = x.expected ? canonical_from_text(x.at, end, x.text) : formats_detail::take_candles(x.at, end, x.candles);
    });
    ParsedRequest out;
    formats_detail::RequestHook hook(out, &prepared);
    auto tree = json::parse(text, hook);
    if (!tree) return tree.error();
    out.tree = std::move(*tree);
    return out;
}

Fault read_run_case_req(ParsedRequest& request, RunCaseReq& out) {
    out = RunCaseReq{};
    auto rd = [&](std::size_t i, Value& x) -> Fault {
        if (i == 0) return read_case(x, out.case_);
        if (request.data_taken && x.is_null()) {
            out.data = std::move(request.data);
            request.data_taken = false;
            return {};
        }
        return read_candles(x, out.data);
    };
    Fault f = formats_detail::read_request(request.tree, formats_detail::kRunCaseShape, rd);
    if (!f) formats_detail::take_expected_text(request, out.case_);
    return f;
}

Fault read_run_suite_req(ParsedRequest& request, RunSuiteReq& out) {
    out = RunSuiteReq{};
    auto read_sets = [&](Value& v) -> Fault {
        out.datasets.clear();
        return json::read_map(v, [&](const std::string& key, Value& x) -> Fault {
            std::vector<Candle> candles;
            auto it = x.is_null() ? request.datasets_taken.find(key) : request.datasets_taken.end();
            if (it != request.datasets_taken.end()) {
                candles = std::move(it->second);
                request.datasets_taken.erase(it);
            } else if (Fault f = read_candles(x, candles)) {
                return f;
            }
            out.datasets.emplace_hint(out.datasets.end(), key, std::move(candles));
            return {};
        });
    };
    auto rd = [&](std::size_t i, Value& x) -> Fault {
        if (i == 0) return read_suite(x, out.suite);
        return read_sets(x);
    };
    Fault f = formats_detail::read_request(request.tree, formats_detail::kRunSuiteShape, rd);
    if (!f) {
        for (BenchmarkCase& c : out.suite.cases) formats_detail::take_expected_text(request, c);
    }
    return f;
}

}  // namespace ostrel
