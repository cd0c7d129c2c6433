#pragma once
// Conversion of one command-line text into a value of a declared type.
// Specialise `ArgumentValue<T>` to make a type usable in declarations:
//   static std::optional<T> parse(std::string_view);
//   static std::vector<std::string> allValueStrings();
//   static std::string defaultValueDescription(const T&);
// or declare the argument with a `Transform<T>`, which can say why it
// refuses a text.

#include <concepts>
#include <cstdint>
#include <functional>
#include <limits>
#include <optional>
#include <string>
#include <string_view>
#include <type_traits>
#include <vector>

#include "platform/Expected.hpp"

namespace ap {

/// Why a text is not a value of the declared type. The user reads it after
/// the message that names the argument:
/// "The value '5x' is invalid for '--count <count>': " and the description.
struct ConversionError {
    std::string description;
};

template <class T>
using Conversion = platform::Expected<T, ConversionError>;

/// Converts one text of a declared argument in place of `ArgumentValue<T>`.
template <class T>
using Transform = std::function<Conversion<T>(std::string_view)>;

template <class T>
struct ArgumentValue;

namespace detail {
std::optional<std::intmax_t> parseSigned(std::string_view text, std::intmax_t min, std::intmax_t max);
std::optional<std::uintmax_t> parseUnsigned(std::string_view text, std::uintmax_t max);
std::optional<double> parseDouble(std::string_view text);
std::string describeDouble(double value);
}  // namespace detail

template <>
struct ArgumentValue<std::string> {
    static std::optional<std::string> parse(std::string_view text) { return std::string(text); }
    static std::vector<std::string> allValueStrings() { return {}; }
    static std::string defaultValueDescription(const std::string& value) { return value; }
};

template <>
struct ArgumentValue<bool> {
    static std::optional<bool> parse(std::string_view text) {
        if (text == "true") return true;
        if (text == "false") return false;
        return std::nullopt;
    }
    static std::vector<std::string> allValueStrings() { return {}; }
    static std::string defaultValueDescription(bool value) { return value ? "true" : "false"; }
};

template <std::integral T>
requires(!std::same_as<T, bool>) struct ArgumentValue<T> {
    static std::optional<T> parse(std::string_view text) {
        if constexpr (std::is_signed_v<T>) {
            auto v = detail::parseSigned(text, std::numeric_limits<T>::min(), std::numeric_limits<T>::max());
            return v ? std::optional<T>(static_cast<T>(*v)) : std::nullopt;
        } else {
            auto v = detail::parseUnsigned(text, std::numeric_limits<T>::max());
            return v ? std::optional<T>(static_cast<T>(*v)) : std::nullopt;
        }
    }
    static std::vector<std::string> allValueStrings() { return {}; }
    static std::string defaultValueDescription(T value) { return std::to_string(value); }
};

template <std::floating_point T>
struct ArgumentValue<T> {
    static std::optional<T> parse(std::string_view text) {
        auto v = detail::parseDouble(text);
        return v ? std::optional<T>(static_cast<T>(*v)) : std::nullopt;
    }
    static std::vector<std::string> allValueStrings() { return {}; }
    static std::string defaultValueDescription(T value) { return detail::describeDouble(value); }
};

template <class T>
concept ExpressibleByArgument = requires(std::string_view text, const T& value) {
    { ArgumentValue<T>::parse(text) } -> std::same_as<std::optional<T>>;
    { ArgumentValue<T>::allValueStrings() } -> std::same_as<std::vector<std::string>>;
    { ArgumentValue<T>::defaultValueDescription(value) } -> std::same_as<std::string>;
};

}  // namespace ap
