#pragma once
// The pretty JSON form of the command description, written as it is
// produced: two-space indentation, `"key" : value`, "/" escaped as "\/", no
// final newline. Nothing is built first: a description is a few hundred
// small members, and a document tree of them would cost a run of
// `--experimental-dump-help` more in allocations than the writing itself.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

class PrettyJsonWriter {
public:
    /// Written as the whole text grows, never copied to a larger block.
    PrettyJsonWriter();

    /// The caller names an object's members in key order (byte order), by
    /// names that need no escape.
    void key(std::string_view name);

    void beginObject();
    void endObject();
    void beginArray();
    void endArray();
    void value(std::string_view text);
    void value(const char* text) { value(std::string_view(text)); }
    void value(bool flag);
    void value(long long number);

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
    std::string take() { return std::move(out_); }

private:
    void beginValue();
    void beginContainer(char opening);
    void endContainer(char closing);
    void newline();

    std::string out_;
    /// For each open container, whether anything is in it yet.
    std::vector<char> filled_;
    bool afterKey_ = false;
};

}  // namespace platform
