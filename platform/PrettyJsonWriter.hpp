#pragma once
// The pretty JSON form of the command description, written as it is
// produced: two-space indentation, `"key" : value`, "/" escaped as "\/", no
// final newline. Nothing is built first: a description is a few hundred
// small members, and a document tree of them would cost a run of
// `--experimental-dump-help` more in allocations than the writing itself.
// Each member is a handful of bytes stored straight into the text, not a
// handful of appends to it.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

class PrettyJsonWriter {
public:
    PrettyJsonWriter();

    /// The caller names an object's members in key order (byte order), each
    /// a plain identifier, written without escapes.
    void key(std::string_view name);

    void beginObject();
    void endObject();
    void beginArray();
    void endArray();
    void value(std::string_view text);
    void value(const char* text) { value(std::string_view(text)); }
    void value(bool flag);
    void value(long long number);

    /// The member `name` with `text`, unless the text is empty.
    void nonEmptyMember(std::string_view name, std::string_view text) {
        if (text.empty()) return;
        key(name);
        value(text);
    }
    /// The member `name` with `text`, when there is one.
    void optionalMember(std::string_view name, const std::optional<std::string>& text) {
        if (!text) return;
        key(name);
        value(*text);
    }
    /// The member `name`, when there is a list: an array of its elements,
    /// each written by `writeElement`.
    template <class List, class WriteElement>
    void optionalList(std::string_view name, const std::optional<List>& list, WriteElement writeElement) {
        if (!list) return;
        key(name);
        beginArray();
        for (const auto& element : *list) writeElement(element);
        endArray();
    }

    /// The text written; the writer is left empty.
    std::string take();

private:
    void beginValue();
    void beginContainer(char opening);
    void endContainer(char closing);
    /// A comma when asked for, then a new line indented for the contents of
    /// the innermost open container; with room for `following` more bytes
    /// after it, where the returned pointer points.
    char* lineBreak(bool comma, std::size_t following = 0);

    /// Room for `n` more bytes after the text, which end the text when
    /// `used_` is advanced over them.
    char* room(std::size_t n);
    void put(std::string_view text);
    void putString(std::string_view text);

    /// The text, then room already allocated and zeroed.
    std::string out_;
    std::size_t used_ = 0;
    /// For each open container, whether anything is in it yet.
    std::vector<char> filled_;
    bool afterKey_ = false;
};

}  // namespace platform
