#pragma once
// Text written as roff input for the man macros: escaped so that no
// character of a declared text is read as a request or an escape, and
// plain ASCII so the page reads the same under any input encoding.

#include <string>
#include <string_view>

namespace varnman {

enum class Font { roman, bold, italic };

/// `text` for use inside a text line: backslashes escaped, characters
/// beyond ASCII as Unicode escapes, other control characters as spaces.
/// With `literalDashes`, "-" is the minus sign that command-line names need
/// (so they can be copied), otherwise a hyphen.
std::string escaped(std::string_view text, bool literalDashes = false);

/// `text` in `font`, escaped, returning to roman afterwards.
std::string inFont(Font font, std::string_view text, bool literalDashes = false);

/// A possibly multi-line text as roff input lines, each ending in a
/// newline: line breaks are kept, empty lines become vertical space, and a
/// line that would start with a control character or a space is guarded.
std::string textLines(std::string_view text);

/// One text line as roff input that may already hold escapes: guarded
/// against a leading control character, ending in a newline.
std::string line(std::string_view roffText);

/// A macro argument in double quotes (its own quotes doubled).
std::string quotedArgument(std::string_view roffText);

}  // namespace varnman
