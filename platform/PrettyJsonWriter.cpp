#include "platform/PrettyJsonWriter.hpp"

#include "platform/Json.hpp"

namespace platform {

// A command description runs to a few kilobytes. Pages of the reserve that
// are never written are never faulted in, while growing by doubling would
// copy the text and fault in every larger block.
PrettyJsonWriter::PrettyJsonWriter() {
    out_.reserve(64 * 1024);
    filled_.reserve(16);
}

void PrettyJsonWriter::newline() {
    out_ += '\n';
    out_.append(2 * filled_.size(), ' ');
}

/// The separator and line an array element starts with; a member's value
/// follows its key on the same line instead.
void PrettyJsonWriter::beginValue() {
    if (afterKey_) {
        afterKey_ = false;
        return;
    }
    if (filled_.empty()) return;
    if (filled_.back()) out_ += ',';
    filled_.back() = true;
    newline();
}

void PrettyJsonWriter::key(std::string_view name) {
    if (filled_.back()) out_ += ',';
    filled_.back() = true;
    newline();
    out_ += '"';
    out_ += name;
    out_ += "\" : ";
    afterKey_ = true;
}

void PrettyJsonWriter::beginContainer(char opening) {
    beginValue();
    out_ += opening;
    filled_.push_back(false);
}

void PrettyJsonWriter::endContainer(char closing) {
    bool filled = filled_.back();
    filled_.pop_back();
    if (filled) newline();
    out_ += closing;
}

void PrettyJsonWriter::beginObject() { beginContainer('{'); }
void PrettyJsonWriter::endObject() { endContainer('}'); }
void PrettyJsonWriter::beginArray() { beginContainer('['); }
void PrettyJsonWriter::endArray() { endContainer(']'); }

void PrettyJsonWriter::value(std::string_view text) {
    beginValue();
    appendJsonString(text, out_);
}

void PrettyJsonWriter::value(bool flag) {
    beginValue();
    out_ += flag ? "true" : "false";
}

void PrettyJsonWriter::value(long long number) {
    beginValue();
    out_ += std::to_string(number);
}

}  // namespace platform
