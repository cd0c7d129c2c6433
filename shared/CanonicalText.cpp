#include "shared/CanonicalText.hpp"

#include <algorithm>
#include <cstdlib>
#include <functional>

#include <utf8proc.h>

namespace VarnShared {
namespace {

bool isAscii(std::string_view text) {
    return std::all_of(text.begin(), text.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

}  // namespace

std::string canonicalForm(std::string_view text) {
    // ASCII is its own normal form; paths nearly always are.
    if (isAscii(text)) return std::string(text);
    utf8proc_uint8_t* composed = nullptr;
    auto length = utf8proc_map(reinterpret_cast<const utf8proc_uint8_t*>(text.data()),
                               static_cast<utf8proc_ssize_t>(text.size()), &composed,
                               static_cast<utf8proc_option_t>(UTF8PROC_STABLE | UTF8PROC_COMPOSE));
    if (length < 0) return std::string(text);
    std::string result(reinterpret_cast<const char*>(composed), static_cast<std::size_t>(length));
    std::free(composed);
    return result;
}

bool canonicallyEqual(std::string_view a, std::string_view b) {
    if (a == b) return true;
    if (isAscii(a) && isAscii(b)) return false;
    return canonicalForm(a) == canonicalForm(b);
}

std::size_t canonicalHash(std::string_view text) { return std::hash<std::string>{}(canonicalForm(text)); }

}  // namespace VarnShared
