#pragma once
// Word wrapping and indenting for help and usage texts. Every count is in
// user-perceived characters, so a multi-byte character takes one column.

#include <cstddef>
#include <string>
#include <string_view>

namespace ap {

/// Breaks `text` into lines of at most `width - indent` characters where it
/// can: at the last newline in each window, else at the window's last
/// space, else at the first space beyond it (a word longer than the window
/// keeps its own line). Every non-empty line gets `indent` spaces in front;
/// there is no trailing newline. Empty when `width - indent` is below 1.
std::string wrapped(std::string_view text, int width, int indent = 0);
/// `wrapped`, appended to `out`.
void appendWrapped(std::string& out, std::string_view text, int width, int indent = 0);

/// `count` spaces before every non-empty line; empty lines stay empty.
std::string indented(std::string_view text, std::size_t count);

/// The first line unchanged, every following one indented by `count`.
std::string indentingContinuationLines(std::string_view text, std::size_t count);

}  // namespace ap
