#include "shared/RecordJson.hpp"

#include <cmath>
#include <limits>

#include "platform/Json.hpp"
#include "platform/Utf8.hpp"

namespace VarnShared {
namespace {

// The codes the application's decoder reports: a value not found, and data
// that is corrupt or of the wrong type.
constexpr int valueNotFound = 4865;
constexpr int dataCorrupted = 4864;

platform::Error decodingError(int code, const std::string& source, const std::string& reason) {
    return platform::Error{"NSCocoaErrorDomain", code, "Cannot decode " + source + ": " + reason, source};
}

bool allTextValid(const nlohmann::json& value) {
    switch (value.type()) {
        case nlohmann::json::value_t::string: return platform::isValidUtf8(value.get_ref<const std::string&>());
        case nlohmann::json::value_t::object:
            for (auto it = value.begin(); it != value.end(); ++it) {
                if (!platform::isValidUtf8(it.key()) || !allTextValid(it.value())) return false;
            }
            return true;
        case nlohmann::json::value_t::array:
            for (const auto& element : value) {
                if (!allTextValid(element)) return false;
            }
            return true;
        default: return true;
    }
}

}  // namespace

platform::Error missingMember(const std::string& source, const std::string& member) {
    return decodingError(valueNotFound, source, "the member \"" + member + "\" is missing");
}

platform::Error wrongMemberType(const std::string& source, const std::string& member, std::string_view expected) {
    return decodingError(dataCorrupted, source, "the member \"" + member + "\" is not " + std::string(expected));
}

platform::Error notValidJson(const std::string& source) {
    return decodingError(dataCorrupted, source, "it is not valid JSON");
}

platform::Error notJsonObject(const std::string& source) {
    return decodingError(dataCorrupted, source, "it is not a JSON object");
}

platform::Error unencodableText() {
    return platform::Error{"NSCocoaErrorDomain", 4866, "Cannot encode the record: a text is not valid UTF-8", {}};
}

RecordObjectReader::RecordObjectReader(const nlohmann::json& object, std::string source, std::string place)
    : members_(object, std::move(place)), source_(std::move(source)) {}

template <class T>
platform::Result<T> RecordObjectReader::textRead(platform::JsonDecoded<T> read) const {
    if (read) return std::move(*read);
    const auto& error = read.error();
    if (error.fault == platform::JsonDecodingError::Fault::missing) return missingMember(source_, error.codingPath);
    return wrongMemberType(source_, error.codingPath, "a string");
}

platform::Error RecordObjectReader::wrongType(const std::string& member, std::string_view expected) const {
    return wrongMemberType(source_, members_.pathOf(member), expected);
}

platform::Result<std::string> RecordObjectReader::text(const std::string& member) const {
    return textRead(members_.text(member));
}

platform::Result<std::optional<std::string>> RecordObjectReader::optionalText(const std::string& member) const {
    return textRead(members_.optionalText(member));
}

platform::Result<std::optional<std::int32_t>> RecordObjectReader::optionalInt32(const std::string& member) const {
    constexpr auto low = std::numeric_limits<std::int32_t>::min();
    constexpr auto high = std::numeric_limits<std::int32_t>::max();
    auto value = members_.member(member);
    if (!value) return std::optional<std::int32_t>();
    auto outOfRange = [&] { return wrongType(member, "a 32-bit integer"); };
    if (value->is_number_unsigned()) {
        auto number = value->get<std::uint64_t>();
        if (number > static_cast<std::uint64_t>(high)) return outOfRange();
        return std::optional<std::int32_t>(static_cast<std::int32_t>(number));
    }
    if (value->is_number_integer()) {
        auto number = value->get<std::int64_t>();
        if (number < low || number > high) return outOfRange();
        return std::optional<std::int32_t>(static_cast<std::int32_t>(number));
    }
    if (value->is_number_float()) {
        // A number such as 42.0 or 4.2e1 still names an integer.
        auto number = value->get<double>();
        if (!std::isfinite(number) || std::trunc(number) != number || number < low || number > high)
            return outOfRange();
        return std::optional<std::int32_t>(static_cast<std::int32_t>(number));
    }
    return wrongType(member, "a number");
}

platform::Result<std::vector<RecordObjectReader>> RecordObjectReader::objects(const std::string& member) const {
    auto value = members_.member(member);
    if (!value) return missingMember(source_, members_.pathOf(member));
    if (!value->is_array()) return wrongType(member, "an array");
    std::vector<RecordObjectReader> elements;
    for (std::size_t i = 0; i < value->size(); ++i) {
        std::string place = members_.pathOf(member) + "[" + std::to_string(i) + "]";
        if (!(*value)[i].is_object()) return wrongMemberType(source_, place, "an object");
        elements.emplace_back((*value)[i], source_, place);
    }
    return elements;
}

platform::Result<nlohmann::json> parseJsonObject(std::string_view bytes, const std::string& source) {
    auto value = nlohmann::json::parse(bytes, nullptr, false);
    if (value.is_discarded()) return notValidJson(source);
    if (!value.is_object()) return notJsonObject(source);
    return value;
}

platform::Result<void> decodeTextMembers(std::string_view bytes, const std::string& source,
                                         std::initializer_list<std::pair<const char*, std::string*>> fields) {
    auto json = parseJsonObject(bytes, source);
    if (!json) return std::move(json).error();
    RecordObjectReader reader(*json, source);
    for (auto [member, field] : fields) {
        auto text = reader.text(member);
        if (!text) return std::move(text).error();
        *field = std::move(*text);
    }
    return {};
}

platform::Result<std::string> encodeRecord(const nlohmann::json& value) {
    if (!allTextValid(value)) return unencodableText();
    return platform::serializeJson(value);
}

}  // namespace VarnShared
