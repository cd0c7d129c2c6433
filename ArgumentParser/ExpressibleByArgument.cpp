#include "ArgumentParser/ExpressibleByArgument.hpp"

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>

namespace ap::detail {
namespace {

// Optional sign, then at least one decimal digit and nothing else.
std::optional<std::uintmax_t> magnitude(std::string_view digits) {
    if (digits.empty()) return std::nullopt;
    std::uintmax_t value = 0;
    for (char c : digits) {
        if (c < '0' || c > '9') return std::nullopt;
        auto d = static_cast<std::uintmax_t>(c - '0');
        if (value > (std::numeric_limits<std::uintmax_t>::max() - d) / 10) return std::nullopt;
        value = value * 10 + d;
    }
    return value;
}

}  // namespace

std::optional<std::intmax_t> parseSigned(std::string_view text, std::intmax_t min, std::intmax_t max) {
    bool negative = !text.empty() && text[0] == '-';
    if (!text.empty() && (text[0] == '-' || text[0] == '+')) text.remove_prefix(1);
    auto m = magnitude(text);
    if (!m) return std::nullopt;
    if (negative) {
        auto limit = static_cast<std::uintmax_t>(-(min + 1)) + 1;
        if (*m > limit) return std::nullopt;
        return *m == limit ? min : -static_cast<std::intmax_t>(*m);
    }
    if (*m > static_cast<std::uintmax_t>(max)) return std::nullopt;
    return static_cast<std::intmax_t>(*m);
}

std::optional<std::uintmax_t> parseUnsigned(std::string_view text, std::uintmax_t max) {
    bool negative = !text.empty() && text[0] == '-';
    if (!text.empty() && (text[0] == '-' || text[0] == '+')) text.remove_prefix(1);
    auto m = magnitude(text);
    if (!m) return std::nullopt;
    if (negative) return *m == 0 ? std::optional<std::uintmax_t>(0) : std::nullopt;
    if (*m > max) return std::nullopt;
    return m;
}

std::optional<double> parseDouble(std::string_view text) {
    // The decimal floating-point form: an optional sign, digits with an
    // optional fraction and exponent, or inf/infinity/nan, nothing else.
    if (text.empty() || std::isspace(static_cast<unsigned char>(text[0]))) return std::nullopt;
    std::string copy(text);
    if (copy.find_first_of("xXpP") != std::string::npos) return std::nullopt;
    errno = 0;
    char* end = nullptr;
    double value = std::strtod(copy.c_str(), &end);
    if (end != copy.c_str() + copy.size()) return std::nullopt;
    return value;
}

std::string describeDouble(double value) {
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.17g", value);
    // The shortest text that reads back as the same value.
    for (int precision = 1; precision < 17; ++precision) {
        char shorter[64];
        std::snprintf(shorter, sizeof shorter, "%.*g", precision, value);
        if (std::strtod(shorter, nullptr) == value)
            return std::string(shorter).find_first_of(".einf") == std::string::npos ? std::string(shorter) + ".0"
                                                                                    : shorter;
    }
    return buffer;
}

}  // namespace ap::detail
