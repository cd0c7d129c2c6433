#pragma once
// JSON text read as a stream of events (a value, a member's name, the start
// or end of an object or array) without building a document. A record read
// this way fills its own fields straight from the text; a difftool session
// of thousands of entries would otherwise be built twice over. What is
// accepted is exactly what nlohmann::json's strict parser accepts (RFC 8259
// in UTF-8, a byte order mark at the start skipped, a NUL ending the text),
// so readers built on either judge a text alike.

#include <string>
#include <string_view>

#include <nlohmann/json.hpp>

namespace VarnShared {

/// What a reader is told, in the order the text holds it. A member's name
/// comes before its value; texts are decoded and may be taken (moved from).
class JsonEvents {
public:
    virtual void null() = 0;
    virtual void boolean(bool value) = 0;
    /// A number, as nlohmann::json reads it (integer, unsigned or floating).
    virtual void number(nlohmann::json value) = 0;
    virtual void string(std::string& value) = 0;
    virtual void key(std::string& name) = 0;
    virtual void startObject() = 0;
    virtual void endObject() = 0;
    virtual void startArray() = 0;
    virtual void endArray() = 0;

protected:
    ~JsonEvents() = default;
};

/// Reads the one JSON value `text` holds (blanks around it allowed),
/// telling `events` its parts; false as soon as the text proves not to be
/// valid JSON. Nesting depth costs no stack.
bool readJsonEvents(std::string_view text, JsonEvents& events);

}  // namespace VarnShared
