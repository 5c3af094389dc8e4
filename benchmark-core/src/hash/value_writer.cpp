// The canonical text of a value tree.
#include "hash/canonical.hpp"

#include <cstddef>

#include "hash/scalar_writers.hpp"

namespace ostrel {

void write_canonical(std::string& out, const json::Value& v) {
    using K = json::Value::Kind;
    switch (v.kind()) {
        case K::Null: out += "null"; return;
        case K::Bool: out += v.as_bool() ? "true" : "false"; return;
        case K::UInt: {
            char buf[24];
            out.append(buf, canonical_detail::write_uint(buf, v.as_uint()));
            return;
        }
        case K::Int: {
            char buf[24];
            out.append(buf, canonical_detail::write_int(buf, v.as_int()));
            return;
        }
        case K::Float: write_canonical_float(out, v.as_float()); return;
        case K::String: write_json_string(out, v.as_string()); return;
        case K::Array: {
            out.push_back('[');
            bool first = true;
            for (const json::Value& e : v.as_array()) {
                if (!first) out.push_back(',');
                first = false;
                write_canonical(out, e);
            }
            out.push_back(']');
            return;
        }
        case K::Object: {
            // The tree keeps its members sorted by key bytes, each key once: that
            // is the canonical order.
            out.push_back('{');
            bool first = true;
            for (const json::Member& m : v.as_object()) {
                if (!first) out.push_back(',');
                first = false;
                write_json_string(out, m.key);
                out.push_back(':');
                write_canonical(out, m.value);
            }
            out.push_back('}');
            return;
        }
    }
}

Expected<std::string, BenchmarkError> canonical_json(const json::Value& v) {
    std::string out;
    write_canonical(out, v);
    return out;
}

}  // namespace ostrel
