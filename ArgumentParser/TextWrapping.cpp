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

}  // namespace

std::string wrapped(std::string_view text, int width, int indent) {
    // Widths come from the environment: any int, so the difference may not fit one.
    const long long columns = static_cast<long long>(width) - indent;
    if (columns < 1) return {};
    const auto window = static_cast<std::size_t>(columns);
    const auto chars = unicode::characters(text);
    // Byte offset of character i (the end of the text for i == size).
    auto offset = [&](std::size_t i) {
        return i < chars.size() ? static_cast<std::size_t>(chars[i].data() - text.data()) : text.size();
    };
    auto slice = [&](std::size_t from, std::size_t to) { return text.substr(offset(from), offset(to) - offset(from)); };

    std::vector<std::string_view> lines;
    std::size_t current = 0;
    while (true) {
        const std::size_t end = std::min(chars.size(), current + window);
        std::optional<std::size_t> lastNewline, lastSpace;
        for (std::size_t i = current; i < end; ++i) {
            if (chars[i] == "\n") lastNewline = i;
            else if (chars[i] == " ") lastSpace = i;
        }
        if (lastNewline) {
            for (auto piece : splitLines(slice(current, *lastNewline))) lines.push_back(piece);
            current = *lastNewline + 1;
        } else if (end == chars.size()) {
            lines.push_back(slice(current, chars.size()));
            break;
        } else if (lastSpace) {
            lines.push_back(slice(current, *lastSpace));
            current = *lastSpace + 1;
        } else {
            std::size_t nextSpace = end;
            while (nextSpace < chars.size() && chars[nextSpace] != " ") ++nextSpace;
            if (nextSpace == chars.size()) {
                lines.push_back(slice(current, chars.size()));
                break;
            }
            lines.push_back(slice(current, nextSpace));
            current = nextSpace + 1;
        }
    }
    return joinedIndented(lines, static_cast<std::size_t>(indent));
}

std::string indented(std::string_view text, std::size_t count) { return joinedIndented(splitLines(text), count); }

std::string indentingContinuationLines(std::string_view text, std::size_t count) {
    auto newline = text.find('\n');
    if (newline == std::string_view::npos) return std::string(text);
    return std::string(text.substr(0, newline + 1)) + indented(text.substr(newline + 1), count);
}

}  // namespace ap
