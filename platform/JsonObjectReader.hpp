#pragma once
// Reading the members of JSON objects. Every mismatch is a value naming
// where in the document it was found.

#include <optional>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "platform/Expected.hpp"

namespace platform {

struct JsonDecodingError {
    /// What a reader found wrong, for a caller that words it its own way.
    enum class Fault { other, missing, wrongType };

    /// Where the mismatch is, as member names and list positions joined
    /// with "." (for example "command.arguments.0.kind"); empty for the
    /// document itself.
    std::string codingPath;
    std::string message;
    Fault fault = Fault::other;

    /// The path, ": " and the message; the message alone at the top.
    std::string description() const;
};

template <class T>
using JsonDecoded = Expected<T, JsonDecodingError>;

/// The coding path of a member or list element below `path`.
std::string codingPath(const std::string& path, const std::string& member);
std::string codingPath(const std::string& path, std::size_t index);

/// Reads the members of one JSON object; a missing or null member is
/// absent, a member of the wrong type is an error.
class JsonObjectReader {
public:
    /// The reader of `value`, which must be an object; `path` is its place.
    static JsonDecoded<JsonObjectReader> open(const nlohmann::json& value, std::string path = {});
    /// The reader of `object` as it is: a value that is no object has no
    /// members.
    JsonObjectReader(const nlohmann::json& object, std::string path) : object_(&object), path_(std::move(path)) {}

    JsonDecoded<std::string> text(const std::string& key) const;
    JsonDecoded<std::optional<std::string>> optionalText(const std::string& key) const;
    JsonDecoded<bool> boolean(const std::string& key) const;
    JsonDecoded<long long> integer(const std::string& key) const;
    JsonDecoded<std::optional<std::vector<std::string>>> optionalTexts(const std::string& key) const;
    /// The member's value when present (of any type), else nothing.
    const nlohmann::json* member(const std::string& key) const;
    /// The member's value, which must be present.
    JsonDecoded<const nlohmann::json*> required(const std::string& key) const;
    /// The member's value when present, which must be a list.
    JsonDecoded<const nlohmann::json*> optionalList(const std::string& key) const;

    const std::string& path() const { return path_; }
    std::string pathOf(const std::string& key) const { return codingPath(path_, key); }

private:
    const nlohmann::json* object_;
    std::string path_;
};

/// Decodes every element of a JSON list with `decode(element, path)`,
/// stopping at the first failure.
template <class T, class F>
JsonDecoded<std::vector<T>> decodeList(const nlohmann::json& list, const std::string& path, F decode) {
    std::vector<T> result;
    for (std::size_t i = 0; i < list.size(); ++i) {
        auto element = decode(list[i], codingPath(path, i));
        if (!element) return std::move(element).error();
        result.push_back(std::move(*element));
    }
    return result;
}

}  // namespace platform
