#include "ArgumentParser/SnakeCase.hpp"

#include "ArgumentParser/Unicode.hpp"

namespace ap {

std::string convertedToSnakeCase(std::string_view text, std::string_view separator) {
    std::string out;
    auto chars = unicode::characters(text);
    bool separateOnUppercase = true;
    for (std::size_t i = 0; i < chars.size(); ++i) {
        auto c = chars[i];
        if (unicode::isUppercase(c)) {
            if (separateOnUppercase && !out.empty()) out += separator;
            // Keep runs of capitals together, splitting before the last one
            // when a lowercase letter follows it (URLSession -> url-session).
            separateOnUppercase = i + 2 < chars.size() && unicode::isUppercase(chars[i + 1]) &&
                                  unicode::isLowercase(chars[i + 2]);
        } else {
            separateOnUppercase = c != separator;
        }
        out += unicode::lowercased(c);
    }
    return out;
}

}  // namespace ap
