#include "tools/varnel-stub/ConflictResolution.hpp"

#include <optional>

namespace varnelstub {
namespace {

/// The content of a line without its line ending ("\n" or "\r\n").
std::string_view content(std::string_view line) {
    if (!line.empty() && line.back() == '\n') line.remove_suffix(1);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    return line;
}

/// How many `marker` characters the line begins with, when they form a
/// marker: followed by the end of the line or, where a label may follow,
/// by a space.
std::optional<std::size_t> markerLength(std::string_view line, char marker, bool labelled) {
    std::size_t length = 0;
    while (length < line.size() && line[length] == marker) ++length;
    if (length < 7) return std::nullopt;
    if (length == line.size() || (labelled && line[length] == ' ')) return length;
    return std::nullopt;
}

bool isMarker(std::string_view line, char marker, bool labelled, std::size_t length) {
    return markerLength(line, marker, labelled) == length;
}

enum class Section { outside, ours, base, theirs };

platform::Error malformed(std::size_t lineNumber, const std::string& what) {
    return platform::Error{"VarnelStubErrorDomain", 1, what + " at line " + std::to_string(lineNumber), {}};
}

}  // namespace

platform::Result<Resolution> resolveConflicts(std::string_view text, Side side) {
    Resolution resolution;
    Section section = Section::outside;
    std::size_t markerSize = 0;
    std::size_t lineNumber = 0;
    std::size_t openedAt = 0;
    while (!text.empty()) {
        auto end = text.find('\n');
        auto line = text.substr(0, end == std::string_view::npos ? text.size() : end + 1);
        text.remove_prefix(line.size());
        ++lineNumber;
        auto bare = content(line);

        if (section == Section::outside) {
            if (auto length = markerLength(bare, '<', true)) {
                section = Section::ours;
                markerSize = *length;
                openedAt = lineNumber;
            } else {
                resolution.text += line;
            }
            continue;
        }
        if (isMarker(bare, '<', true, markerSize)) return malformed(lineNumber, "a conflict block inside another");
        if (section != Section::theirs && isMarker(bare, '=', false, markerSize)) {
            section = Section::theirs;
        } else if (section == Section::ours && isMarker(bare, '|', true, markerSize)) {
            section = Section::base;
        } else if (section == Section::theirs && isMarker(bare, '>', true, markerSize)) {
            section = Section::outside;
            ++resolution.conflicts;
        } else if (isMarker(bare, '|', true, markerSize) || isMarker(bare, '=', false, markerSize) ||
                   isMarker(bare, '>', true, markerSize)) {
            return malformed(lineNumber, "a conflict marker out of place");
        } else if ((section == Section::ours && side == Side::ours) ||
                   (section == Section::theirs && side == Side::theirs)) {
            resolution.text += line;
        }
    }
    if (section != Section::outside) return malformed(openedAt, "a conflict block that is not closed");
    return resolution;
}

}  // namespace varnelstub
