#include "catalogue/params.hpp"

#include <charconv>
#include <cmath>

namespace ostrel {

namespace params_detail {

constexpr double kIntegralTolerance = 2.220446049250313e-16;

bool is_integral(double v) { return std::fabs(v - std::trunc(v)) <= kIntegralTolerance; }

std::string index_text(std::size_t index) { return std::to_string(index); }

BacktestError reader_error(std::string_view kind, std::size_t index, const char* what, double v) {
    return BacktestError::invalid_params(
        std::string(kind), "parameter #" + index_text(index) + what + format_param_value(v));
}

}  // namespace params_detail

std::string format_param_value(double v) {
    // Subnormals written positionally need up to ~330 characters.
    char buf[400];
    auto res = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::fixed);
    return std::string(buf, res.ptr);
}

Expected<double, BacktestError> param_f64(std::span<const double> params, std::size_t index,
                                          std::string_view kind) {
    if (index >= params.size())
        return BacktestError::invalid_params(std::string(kind), "missing parameter #" + params_detail::index_text(index));
    double v = params[index];
    if (!std::isfinite(v))
        return BacktestError::invalid_params(std::string(kind),
                                             "parameter #" + params_detail::index_text(index) + " must be finite");
    return v;
}

Expected<std::uint64_t, BacktestError> param_usize(std::span<const double> params, std::size_t index,
                                                   std::string_view kind) {
    OSTREL_TRY(v, param_f64(params, index, kind));
    if (!(v > 0.0) || !params_detail::is_integral(v)) return params_detail::reader_error(kind, index, " must be a positive integer, got ", v);
    double t = std::trunc(v);
    // 2^64 and above saturate; a raw conversion would be undefined.
    if (t >= 18446744073709551616.0) return std::uint64_t{18446744073709551615ULL};
    return static_cast<std::uint64_t>(t);
}

Expected<std::int32_t, BacktestError> param_i32(std::span<const double> params, std::size_t index,
                                                std::string_view kind) {
    OSTREL_TRY(v, param_f64(params, index, kind));
    if (!params_detail::is_integral(v) || v < -2147483648.0 || v > 2147483647.0)
        return params_detail::reader_error(kind, index, " must be an i32, got ", v);
    return static_cast<std::int32_t>(std::trunc(v));
}

Expected<std::uint32_t, BacktestError> param_u32(std::span<const double> params, std::size_t index,
                                                 std::string_view kind) {
    OSTREL_TRY(v, param_f64(params, index, kind));
    if (v < 0.0 || v > 4294967295.0 || !params_detail::is_integral(v))
        return params_detail::reader_error(kind, index, " must be a u32, got ", v);
    return static_cast<std::uint32_t>(std::trunc(v));
}

}  // namespace ostrel
