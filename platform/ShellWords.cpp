#include "platform/ShellWords.hpp"

namespace platform {

std::optional<std::vector<std::string>> splitShellWords(std::string_view line) {
    std::vector<std::string> words;
    std::string word;
    bool inWord = false;  // a word has begun, even if it is still empty ("")
    for (std::size_t i = 0; i < line.size(); ++i) {
        char c = line[i];
        switch (c) {
            case ' ':
            case '\t':
            case '\n':
                if (inWord) words.push_back(std::move(word));
                word.clear();
                inWord = false;
                break;
            case '\\':
                if (++i == line.size()) return std::nullopt;
                if (line[i] != '\n') {
                    word += line[i];
                    inWord = true;
                }
                break;
            case '\'': {
                auto end = line.find('\'', i + 1);
                if (end == std::string_view::npos) return std::nullopt;
                word.append(line.substr(i + 1, end - i - 1));
                inWord = true;
                i = end;
                break;
            }
            case '"': {
                inWord = true;
                for (++i;; ++i) {
                    if (i == line.size()) return std::nullopt;
                    char d = line[i];
                    if (d == '"') break;
                    if (d == '\\' && i + 1 < line.size()) {
                        char next = line[i + 1];
                        if (next == '$' || next == '`' || next == '"' || next == '\\' || next == '\n') {
                            if (next != '\n') word += next;
                            ++i;
                            continue;
                        }
                    }
                    word += d;
                }
                break;
            }
            default:
                word += c;
                inWord = true;
        }
    }
    if (inWord) words.push_back(std::move(word));
    return words;
}

}  // namespace platform
