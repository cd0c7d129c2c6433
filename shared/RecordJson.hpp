#pragma once
// Reading and writing the JSON form of the hand-off records.
//
// Readers look members up by name, so order and escaping do not matter and
// unknown members are ignored. A missing or null optional member is absent;
// a missing or null required member, or a member of the wrong type, fails.
// Writers use the compact form, leave absent optionals out and refuse texts
// that are not valid UTF-8, since no reader could decode them.

#include <cstdint>
#include <initializer_list>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include <nlohmann/json.hpp>

#include "platform/Error.hpp"
#include "platform/JsonObjectReader.hpp"

namespace VarnShared {

/// The members of one JSON object of a record, read as the platform's
/// reader reads them, with its errors worded as the application's decoder
/// words them. `source` names the file (or other origin) in errors; `place`
/// the object's place inside the record ("entries[2]").
class RecordObjectReader {
public:
    RecordObjectReader(const nlohmann::json& object, std::string source, std::string place = {});

    platform::Result<std::string> text(const std::string& member) const;
    platform::Result<std::optional<std::string>> optionalText(const std::string& member) const;
    /// A number within the 32-bit signed range.
    platform::Result<std::optional<std::int32_t>> optionalInt32(const std::string& member) const;
    /// A required array whose elements are all objects.
    platform::Result<std::vector<RecordObjectReader>> objects(const std::string& member) const;

private:
    /// A text member as read, its error worded for the record.
    template <class T>
    platform::Result<T> textRead(platform::JsonDecoded<T> read) const;
    platform::Error wrongType(const std::string& member, std::string_view expected) const;

    platform::JsonObjectReader members_;
    std::string source_;
};

/// The errors of reading a record, worded as the application's decoder
/// words them; `member` is the member's place in the record ("entries[2].base").
platform::Error missingMember(const std::string& source, const std::string& member);
platform::Error wrongMemberType(const std::string& source, const std::string& member, std::string_view expected);
platform::Error notValidJson(const std::string& source);
platform::Error notJsonObject(const std::string& source);
/// A record holds a text that is not valid UTF-8.
platform::Error unencodableText();

/// Parses `bytes` as one JSON object.
platform::Result<nlohmann::json> parseJsonObject(std::string_view bytes, const std::string& source);

/// Reads `bytes` as a record whose members are all required texts: each of
/// `fields` names a member and where its text goes.
platform::Result<void> decodeTextMembers(std::string_view bytes, const std::string& source,
                                         std::initializer_list<std::pair<const char*, std::string*>> fields);

/// The compact text of a record's JSON value.
platform::Result<std::string> encodeRecord(const nlohmann::json& value);

}  // namespace VarnShared
