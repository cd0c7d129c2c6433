#pragma once
// The size of the terminal that help is written for.

#include <optional>
#include <string_view>

namespace ap {

struct TerminalSize {
    std::optional<int> columns;
    std::optional<int> rows;
};

/// A decimal integer with an optional leading "+" or "-"; nothing for an
/// absent, empty or unparsable text.
std::optional<int> parseTerminalDimension(const char* text);

/// The window size of the terminal on `fd`; a failed query or a zero count
/// leaves that dimension absent.
TerminalSize queryTerminalSize(int fd);

/// `COLUMNS` and `LINES` where they parse; when either is missing, the
/// terminal on standard output fills in what it can.
TerminalSize terminalSize();

/// The width help is rendered at: `COLUMNS`, else the terminal's, else 80.
int terminalWidth();

}  // namespace ap
