#include "platform/JsonObjectReader.hpp"

namespace platform {
namespace {

JsonDecodingError missing(std::string path) { return {std::move(path), "missing", JsonDecodingError::Fault::missing}; }

JsonDecodingError wrongType(std::string path, std::string message) {
    return {std::move(path), std::move(message), JsonDecodingError::Fault::wrongType};
}

}  // namespace

std::string JsonDecodingError::description() const {
    return codingPath.empty() ? message : codingPath + ": " + message;
}

std::string codingPath(const std::string& path, const std::string& member) {
    return path.empty() ? member : path + "." + member;
}

std::string codingPath(const std::string& path, std::size_t index) { return codingPath(path, std::to_string(index)); }

JsonDecoded<JsonObjectReader> JsonObjectReader::open(const nlohmann::json& value, std::string path) {
    if (!value.is_object()) return wrongType(std::move(path), "expected an object");
    return JsonObjectReader(value, std::move(path));
}

const nlohmann::json* JsonObjectReader::member(const std::string& key) const {
    auto it = object_->find(key);
    // An explicit null counts as absent, as optional members are read.
    if (it == object_->end() || it->is_null()) return nullptr;
    return &*it;
}

JsonDecoded<const nlohmann::json*> JsonObjectReader::required(const std::string& key) const {
    if (auto value = member(key)) return value;
    return missing(pathOf(key));
}

JsonDecoded<const nlohmann::json*> JsonObjectReader::optionalList(const std::string& key) const {
    auto value = member(key);
    if (value && !value->is_array()) return wrongType(pathOf(key), "expected a list");
    return value;
}

JsonDecoded<std::string> JsonObjectReader::text(const std::string& key) const {
    auto value = required(key);
    if (!value) return std::move(value).error();
    if (!(*value)->is_string()) return wrongType(pathOf(key), "expected a text");
    return (*value)->get<std::string>();
}

JsonDecoded<std::optional<std::string>> JsonObjectReader::optionalText(const std::string& key) const {
    if (!member(key)) return std::optional<std::string>{};
    auto value = text(key);
    if (!value) return std::move(value).error();
    return std::optional<std::string>{std::move(*value)};
}

JsonDecoded<bool> JsonObjectReader::boolean(const std::string& key) const {
    auto value = required(key);
    if (!value) return std::move(value).error();
    if (!(*value)->is_boolean()) return wrongType(pathOf(key), "expected a boolean");
    return (*value)->get<bool>();
}

JsonDecoded<long long> JsonObjectReader::integer(const std::string& key) const {
    auto value = required(key);
    if (!value) return std::move(value).error();
    if (!(*value)->is_number_integer()) return wrongType(pathOf(key), "expected an integer");
    if ((*value)->is_number_unsigned() && (*value)->get<unsigned long long>() > 0x7fffffffffffffffULL)
        return wrongType(pathOf(key), "integer out of range");
    return (*value)->get<long long>();
}

JsonDecoded<std::optional<std::vector<std::string>>> JsonObjectReader::optionalTexts(const std::string& key) const {
    auto list = optionalList(key);
    if (!list) return std::move(list).error();
    if (!*list) return std::optional<std::vector<std::string>>{};
    auto texts = decodeList<std::string>(**list, pathOf(key),
                                         [](const nlohmann::json& e,
                                            const std::string& path) -> JsonDecoded<std::string> {
                                             if (!e.is_string()) return wrongType(path, "expected a text");
                                             return e.get<std::string>();
                                         });
    if (!texts) return std::move(texts).error();
    return std::optional<std::vector<std::string>>{std::move(*texts)};
}

}  // namespace platform
