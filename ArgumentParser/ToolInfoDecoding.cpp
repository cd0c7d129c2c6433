#include "ArgumentParser/ToolInfoDecoding.hpp"

namespace ap {

std::string DecodingError::description() const {
    return codingPath.empty() ? message : codingPath + ": " + message;
}

std::string codingPath(const std::string& path, const std::string& member) {
    return path.empty() ? member : path + "." + member;
}

std::string codingPath(const std::string& path, std::size_t index) { return codingPath(path, std::to_string(index)); }

Decoded<ObjectReader> ObjectReader::open(const nlohmann::json& value, std::string path) {
    if (!value.is_object()) return DecodingError{std::move(path), "expected an object"};
    return ObjectReader(value, std::move(path));
}

const nlohmann::json* ObjectReader::member(const std::string& key) const {
    auto it = object_->find(key);
    // An explicit null counts as absent, as optional members are read.
    if (it == object_->end() || it->is_null()) return nullptr;
    return &*it;
}

Decoded<const nlohmann::json*> ObjectReader::required(const std::string& key) const {
    if (auto value = member(key)) return value;
    return DecodingError{pathOf(key), "missing"};
}

Decoded<const nlohmann::json*> ObjectReader::optionalList(const std::string& key) const {
    auto value = member(key);
    if (value && !value->is_array()) return DecodingError{pathOf(key), "expected a list"};
    return value;
}

Decoded<std::string> ObjectReader::text(const std::string& key) const {
    auto value = required(key);
    if (!value) return std::move(value).error();
    if (!(*value)->is_string()) return DecodingError{pathOf(key), "expected a text"};
    return (*value)->get<std::string>();
}

Decoded<std::optional<std::string>> ObjectReader::optionalText(const std::string& key) const {
    if (!member(key)) return std::optional<std::string>{};
    auto value = text(key);
    if (!value) return std::move(value).error();
    return std::optional<std::string>{std::move(*value)};
}

Decoded<bool> ObjectReader::boolean(const std::string& key) const {
    auto value = required(key);
    if (!value) return std::move(value).error();
    if (!(*value)->is_boolean()) return DecodingError{pathOf(key), "expected a boolean"};
    return (*value)->get<bool>();
}

Decoded<long long> ObjectReader::integer(const std::string& key) const {
    auto value = required(key);
    if (!value) return std::move(value).error();
    if (!(*value)->is_number_integer()) return DecodingError{pathOf(key), "expected an integer"};
    if ((*value)->is_number_unsigned() && (*value)->get<unsigned long long>() > 0x7fffffffffffffffULL)
        return DecodingError{pathOf(key), "integer out of range"};
    return (*value)->get<long long>();
}

Decoded<std::optional<std::vector<std::string>>> ObjectReader::optionalTexts(const std::string& key) const {
    auto list = optionalList(key);
    if (!list) return std::move(list).error();
    if (!*list) return std::optional<std::vector<std::string>>{};
    auto texts = decodeList<std::string>(**list, pathOf(key), [](const nlohmann::json& e, const std::string& path)
                                                                  -> Decoded<std::string> {
        if (!e.is_string()) return DecodingError{path, "expected a text"};
        return e.get<std::string>();
    });
    if (!texts) return std::move(texts).error();
    return std::optional<std::vector<std::string>>{std::move(*texts)};
}

}  // namespace ap
