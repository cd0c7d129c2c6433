#pragma once
// Reading the records of the command description back from JSON values, for
// tools that consume the description. Every mismatch is a value naming where
// in the document it was found.

#include <optional>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "platform/Expected.hpp"

namespace ap {

struct DecodingError {
    /// Where the mismatch is, as member names and list positions joined
    /// with "." (for example "command.arguments.0.kind"); empty for the
    /// document itself.
    std::string codingPath;
    std::string message;

    /// The path, ": " and the message; the message alone at the top.
    std::string description() const;
};

template <class T>
using Decoded = platform::Expected<T, DecodingError>;

/// The coding path of a member or list element below `path`.
std::string codingPath(const std::string& path, const std::string& member);
std::string codingPath(const std::string& path, std::size_t index);

/// Reads the members of one JSON object; missing optional members are
/// absent, a member of the wrong type is an error.
class ObjectReader {
public:
    static Decoded<ObjectReader> open(const nlohmann::json& value, std::string path);

    Decoded<std::string> text(const std::string& key) const;
    Decoded<std::optional<std::string>> optionalText(const std::string& key) const;
    Decoded<bool> boolean(const std::string& key) const;
    Decoded<long long> integer(const std::string& key) const;
    Decoded<std::optional<std::vector<std::string>>> optionalTexts(const std::string& key) const;
    /// The member's value when present (of any type), else nothing.
    const nlohmann::json* member(const std::string& key) const;
    /// The member's value, which must be present.
    Decoded<const nlohmann::json*> required(const std::string& key) const;
    /// The member's value when present, which must be a list.
    Decoded<const nlohmann::json*> optionalList(const std::string& key) const;

    const std::string& path() const { return path_; }
    std::string pathOf(const std::string& key) const { return codingPath(path_, key); }

private:
    ObjectReader(const nlohmann::json& object, std::string path) : object_(&object), path_(std::move(path)) {}

    const nlohmann::json* object_;
    std::string path_;
};

/// Decodes every element of a JSON list with `decode(element, path)`,
/// stopping at the first failure.
template <class T, class F>
Decoded<std::vector<T>> decodeList(const nlohmann::json& list, const std::string& path, F decode) {
    std::vector<T> result;
    for (std::size_t i = 0; i < list.size(); ++i) {
        auto element = decode(list[i], codingPath(path, i));
        if (!element) return std::move(element).error();
        result.push_back(std::move(*element));
    }
    return result;
}

}  // namespace ap
