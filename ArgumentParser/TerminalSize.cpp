#include "ArgumentParser/TerminalSize.hpp"

#include <sys/ioctl.h>
#include <unistd.h>

#include <charconv>
#include <cstdlib>
#include <cstring>

namespace ap {

std::optional<int> parseTerminalDimension(const char* text) {
    if (!text) return std::nullopt;
    std::string_view s(text);
    // from_chars takes a leading "-" but not a "+".
    if (s.starts_with('+')) {
        s.remove_prefix(1);
        if (s.starts_with('-')) return std::nullopt;
    }
    int value = 0;
    auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), value);
    if (s.empty() || ec != std::errc{} || end != s.data() + s.size()) return std::nullopt;
    return value;
}

TerminalSize queryTerminalSize(int fd) {
    struct winsize w;
    std::memset(&w, 0, sizeof w);
    if (ioctl(fd, TIOCGWINSZ, &w) != 0) return {};
    TerminalSize size;
    if (w.ws_col > 0) size.columns = w.ws_col;
    if (w.ws_row > 0) size.rows = w.ws_row;
    return size;
}

TerminalSize terminalSize() {
    TerminalSize size{parseTerminalDimension(std::getenv("COLUMNS")), parseTerminalDimension(std::getenv("LINES"))};
    if (!size.columns || !size.rows) {
        auto terminal = queryTerminalSize(STDOUT_FILENO);
        if (!size.columns) size.columns = terminal.columns;
        if (!size.rows) size.rows = terminal.rows;
    }
    return size;
}

int terminalWidth() { return terminalSize().columns.value_or(80); }

}  // namespace ap
