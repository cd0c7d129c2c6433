#include "ArgumentParser/TextWrapping.hpp"

#include <algorithm>
#include <optional>
#include <vector>

#include "ArgumentParser/Unicode.hpp"

namespace ap {
namespace {

std::vector<std::string_view> splitLines(std::string_view text) {
    std::vector<std::string_view> lines;
    std::size_t start = 0;
    for (std::size_t i = 0; i <= text.size(); ++i) {
        if (i == text.size() || text[i] == '\n') {
            lines.push_back(text.substr(start, i - start));
            start = i + 1;
        }
    }
    return lines;
}

std::string joinedIndented(const std::vector<std::string_view>& lines, std::size_t indent) {
    std::string out;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (i > 0) out += '\n';
        if (!lines[i].empty()) out.append(indent, ' ');
        out += lines[i];
    }
    return out;
}

/// Where each character of a text starts. Plain ASCII, nearly every help
/// text, needs no list: character i is byte i.
class CharacterOffsets {
public:
    explicit CharacterOffsets(std::string_view text) : text_(text) {
        if (unicode::isPlainAscii(text)) return;
        for (auto c : unicode::characters(text)) starts_.push_back(static_cast<std::size_t>(c.data() - text.data()));
    }
    std::size_t size() const { return starts_.empty() ? text_.size() : starts_.size(); }
    /// The byte offset of character i; the end of the text for i == size().
    std::size_t operator[](std::size_t i) const {
        if (starts_.empty()) return i;
        return i < starts_.size() ? starts_[i] : text_.size();
    }
    /// Whether character i is the single byte `c`.
    bool is(std::size_t i, char c) const {
        auto at = (*this)[i];
        return text_[at] == c && (starts_.empty() || (*this)[i + 1] == at + 1);
    }

private:
    std::string_view text_;
    std::vector<std::size_t> starts_;
};

}  // namespace

std::string wrapped(std::string_view text, int width, int indent) {
    std::string out;
    appendWrapped(out, text, width, indent);
    return out;
}

void appendWrapped(std::string& out, std::string_view text, int width, int indent) {
    // Widths come from the environment: any int, so the difference may not fit one.
    const long long columns = static_cast<long long>(width) - indent;
    if (columns < 1) return;
    const auto window = static_cast<std::size_t>(columns);
    const CharacterOffsets chars(text);
    const auto count = chars.size();
    auto slice = [&](std::size_t from, std::size_t to) { return text.substr(chars[from], chars[to] - chars[from]); };
    bool firstLine = true;
    auto line = [&](std::string_view piece) {
        if (!firstLine) out += '\n';
        firstLine = false;
        if (!piece.empty()) out.append(static_cast<std::size_t>(indent), ' ');
        out += piece;
    };

    std::size_t current = 0;
    while (true) {
        const std::size_t end = std::min(count, current + window);
        std::optional<std::size_t> lastNewline, lastSpace;
        for (std::size_t i = current; i < end; ++i) {
            if (chars.is(i, '\n'))
                lastNewline = i;
            else if (chars.is(i, ' '))
                lastSpace = i;
        }
        if (lastNewline) {
            for (auto piece : splitLines(slice(current, *lastNewline))) line(piece);
            current = *lastNewline + 1;
        } else if (end == count) {
            line(slice(current, count));
            break;
        } else if (lastSpace) {
            line(slice(current, *lastSpace));
            current = *lastSpace + 1;
        } else {
            std::size_t nextSpace = end;
            while (nextSpace < count && !chars.is(nextSpace, ' ')) ++nextSpace;
            if (nextSpace == count) {
                line(slice(current, count));
                break;
            }
            line(slice(current, nextSpace));
            current = nextSpace + 1;
        }
    }
}

std::string indented(std::string_view text, std::size_t count) { return joinedIndented(splitLines(text), count); }

std::string indentingContinuationLines(std::string_view text, std::size_t count) {
    auto newline = text.find('\n');
    if (newline == std::string_view::npos) return std::string(text);
    return std::string(text.substr(0, newline + 1)) + indented(text.substr(newline + 1), count);
}

}  // namespace ap
