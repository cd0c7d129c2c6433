#include "platform/PrettyJsonWriter.hpp"

#include <algorithm>
#include <cstring>

#include "platform/Json.hpp"

namespace platform {

// A command description runs to a few kilobytes. Pages of the reserve that
// are never written are never faulted in, while growing by doubling would
// copy the text and fault in every larger block.
PrettyJsonWriter::PrettyJsonWriter() {
    out_.reserve(16 * 1024);
    filled_.reserve(16);
}

std::string PrettyJsonWriter::take() {
    out_.resize(used_);
    used_ = 0;
    return std::move(out_);
}

char* PrettyJsonWriter::room(std::size_t n) {
    // The room is zeroed a page at a time, as the text reaches it.
    if (used_ + n > out_.size()) out_.resize(used_ + std::max<std::size_t>(n, 4096));
    return out_.data() + used_;
}

void PrettyJsonWriter::put(std::string_view text) {
    std::memcpy(room(text.size()), text.data(), text.size());
    used_ += text.size();
}

void PrettyJsonWriter::putString(std::string_view text) {
    const auto plain = unescapedLength(text);
    if (plain == text.size()) {
        // Nearly every text: quotes and the bytes, stored at once.
        auto p = room(text.size() + 2);
        *p = '"';
        std::memcpy(p + 1, text.data(), text.size());
        p[text.size() + 1] = '"';
        used_ += text.size() + 2;
        return;
    }
    std::string escaped;
    appendJsonString(text, escaped);
    put(escaped);
}

char* PrettyJsonWriter::lineBreak(bool comma, std::size_t following) {
    const std::size_t indent = 2 * filled_.size();
    auto start = room((comma ? 2 : 1) + indent + following);
    auto p = start;
    if (comma) *p++ = ',';
    *p++ = '\n';
    p = static_cast<char*>(std::memset(p, ' ', indent)) + indent;
    used_ += static_cast<std::size_t>(p - start);
    return p;
}

/// The separator and line an array element starts with; a member's value
/// follows its key on the same line instead.
void PrettyJsonWriter::beginValue() {
    if (afterKey_) {
        afterKey_ = false;
        return;
    }
    if (filled_.empty()) return;
    lineBreak(filled_.back());
    filled_.back() = true;
}

void PrettyJsonWriter::key(std::string_view name) {
    // The quoted name and the separator stored with the line break.
    const bool comma = filled_.back();
    filled_.back() = true;
    auto p = lineBreak(comma, name.size() + 5);
    *p++ = '"';
    p = static_cast<char*>(std::memcpy(p, name.data(), name.size())) + name.size();
    std::memcpy(p, "\" : ", 4);
    used_ += name.size() + 5;
    afterKey_ = true;
}

void PrettyJsonWriter::beginContainer(char opening) {
    beginValue();
    put(std::string_view(&opening, 1));
    filled_.push_back(false);
}

void PrettyJsonWriter::endContainer(char closing) {
    bool filled = filled_.back();
    filled_.pop_back();
    if (filled) lineBreak(false);
    put(std::string_view(&closing, 1));
}

void PrettyJsonWriter::beginObject() { beginContainer('{'); }
void PrettyJsonWriter::endObject() { endContainer('}'); }
void PrettyJsonWriter::beginArray() { beginContainer('['); }
void PrettyJsonWriter::endArray() { endContainer(']'); }

void PrettyJsonWriter::value(std::string_view text) {
    beginValue();
    putString(text);
}

void PrettyJsonWriter::value(bool flag) {
    beginValue();
    put(flag ? "true" : "false");
}

void PrettyJsonWriter::value(long long number) {
    beginValue();
    put(std::to_string(number));
}

}  // namespace platform
