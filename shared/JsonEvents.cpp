#include "shared/JsonEvents.hpp"

#include <cstdint>
#include <vector>

#include "shared/CanonicalText.hpp"

namespace VarnShared {

namespace {

class Reader {
public:
    Reader(std::string_view text, JsonEvents& events) : text_(text), events_(events) {}

    bool run() {
        // nlohmann::json takes a NUL outside a text for the end of the
        // input; inside a text, both refuse it.
        text_ = text_.substr(0, text_.find('\0'));
        if (text_.starts_with("\xEF\xBB\xBF")) at_ = 3;
        std::vector<char> open;  // '{' or '[' for each container not yet closed
        while (true) {
            auto read = value(open);
            if (read == Read::failed) return false;
            if (read == Read::opened) continue;
            // After a value: close what ends here, then the next member or element.
            while (true) {
                skipBlanks();
                if (open.empty()) return at_ == text_.size();
                if (at_ == text_.size()) return false;
                char c = text_[at_++];
                if (c == ',') {
                    if (open.back() == '{' && !key()) return false;
                    break;
                }
                if (c != (open.back() == '{' ? '}' : ']')) return false;
                end(open.back());
                open.pop_back();
            }
        }
    }

private:
    enum class Read { failed, value, opened };

    /// One value, or the start of a container (and its first member's
    /// name), whose first value comes next. An empty container is a value.
    Read value(std::vector<char>& open) {
        skipBlanks();
        if (at_ == text_.size()) return Read::failed;
        auto result = [](bool read) { return read ? Read::value : Read::failed; };
        switch (text_[at_]) {
            case '{':
            case '[': {
                char container = text_[at_++];
                bool object = container == '{';
                if (object) {
                    events_.startObject();
                } else {
                    events_.startArray();
                }
                skipBlanks();
                if (at_ < text_.size() && text_[at_] == (object ? '}' : ']')) {
                    ++at_;
                    end(container);
                    return Read::value;
                }
                open.push_back(container);
                return !object || key() ? Read::opened : Read::failed;
            }
            case '"': {
                std::string text;
                if (!string(text)) return Read::failed;
                events_.string(text);
                return Read::value;
            }
            case 't': return result(literal("true") && (events_.boolean(true), true));
            case 'f': return result(literal("false") && (events_.boolean(false), true));
            case 'n': return result(literal("null") && (events_.null(), true));
            default: return result(number());
        }
    }

    /// The end of the object or array `container` ('{' or '[') opened.
    void end(char container) {
        if (container == '{') {
            events_.endObject();
        } else {
            events_.endArray();
        }
    }

    /// A member's name and the colon after it.
    bool key() {
        skipBlanks();
        std::string name;
        if (at_ == text_.size() || text_[at_] != '"' || !string(name)) return false;
        skipBlanks();
        if (at_ == text_.size() || text_[at_] != ':') return false;
        ++at_;
        events_.key(name);
        return true;
    }

    void skipBlanks() {
        while (at_ < text_.size() &&
               (text_[at_] == ' ' || text_[at_] == '\t' || text_[at_] == '\n' || text_[at_] == '\r'))
            ++at_;
    }

    bool literal(std::string_view word) {
        if (text_.substr(at_, word.size()) != word) return false;
        at_ += word.size();
        return true;
    }

    /// The longest run of number characters, read by nlohmann::json, so that
    /// its kind and range come out as the value-based readers see them.
    bool number() {
        auto start = at_;
        while (at_ < text_.size() && std::string_view("+-.0123456789eE").find(text_[at_]) != std::string_view::npos)
            ++at_;
        if (at_ == start) return false;
        auto parsed = nlohmann::json::parse(text_.substr(start, at_ - start), nullptr, false);
        if (!parsed.is_number()) return false;
        events_.number(std::move(parsed));
        return true;
    }

    /// A quoted text, decoded into `out`; the position is at its opening
    /// quote. The text is decoded into a buffer kept for the next one and
    /// then copied once at its final size: growing each text as it is
    /// decoded would allocate it several times over.
    bool string(std::string& out) {
        ++at_;
        buffer_.clear();
        while (true) {
            const char* start = text_.data() + at_;
            const char* end = text_.data() + text_.size();
            const char* plain = start;
            while (plain < end) {
                auto c = static_cast<unsigned char>(*plain);
                if (c == '"' || c == '\\' || c < 0x20 || c >= 0x80) break;
                ++plain;
            }
            buffer_.append(start, plain);
            at_ += static_cast<std::size_t>(plain - start);
            if (at_ == text_.size()) return false;
            auto c = static_cast<unsigned char>(text_[at_]);
            if (c == '"') {
                ++at_;
                out.assign(buffer_);
                return true;
            }
            if (c < 0x20) return false;
            if (c >= 0x80) {
                std::size_t length = c >= 0xF0 ? 4 : c >= 0xE0 ? 3 : 2;
                auto sequence = text_.substr(at_, length);
                if (sequence.size() < length || !isValidUtf8(sequence)) return false;
                buffer_ += sequence;
                at_ += length;
                continue;
            }
            if (!escape(buffer_)) return false;
        }
    }

    /// The escape at the position (a backslash), appended to `out`.
    bool escape(std::string& out) {
        if (++at_ == text_.size()) return false;
        char c = text_[at_++];
        switch (c) {
            case '"':
            case '\\':
            case '/': out += c; return true;
            case 'b': out += '\b'; return true;
            case 'f': out += '\f'; return true;
            case 'n': out += '\n'; return true;
            case 'r': out += '\r'; return true;
            case 't': out += '\t'; return true;
            case 'u': break;
            default: return false;
        }
        auto unit = hex4();
        if (unit < 0 || (unit >= 0xDC00 && unit <= 0xDFFF)) return false;
        std::uint32_t codePoint = static_cast<std::uint32_t>(unit);
        if (unit >= 0xD800 && unit <= 0xDBFF) {
            // A high surrogate is only half a character.
            if (!literal("\\u")) return false;
            auto low = hex4();
            if (low < 0xDC00 || low > 0xDFFF) return false;
            codePoint = 0x10000 + ((codePoint - 0xD800) << 10) + (static_cast<std::uint32_t>(low) - 0xDC00);
        }
        appendUtf8(codePoint, out);
        return true;
    }

    /// Four hexadecimal digits as a number; -1 when they are not.
    int hex4() {
        if (text_.size() - at_ < 4) return -1;
        int value = 0;
        for (int i = 0; i < 4; ++i) {
            char c = text_[at_++];
            int digit = c >= '0' && c <= '9'   ? c - '0'
                        : c >= 'a' && c <= 'f' ? c - 'a' + 10
                        : c >= 'A' && c <= 'F' ? c - 'A' + 10
                                               : -1;
            if (digit < 0) return -1;
            value = value * 16 + digit;
        }
        return value;
    }

    static void appendUtf8(std::uint32_t codePoint, std::string& out) {
        auto byte = [&](std::uint32_t value) { out += static_cast<char>(value); };
        if (codePoint < 0x80) {
            byte(codePoint);
        } else if (codePoint < 0x800) {
            byte(0xC0 | (codePoint >> 6));
            byte(0x80 | (codePoint & 0x3F));
        } else if (codePoint < 0x10000) {
            byte(0xE0 | (codePoint >> 12));
            byte(0x80 | ((codePoint >> 6) & 0x3F));
            byte(0x80 | (codePoint & 0x3F));
        } else {
            byte(0xF0 | (codePoint >> 18));
            byte(0x80 | ((codePoint >> 12) & 0x3F));
            byte(0x80 | ((codePoint >> 6) & 0x3F));
            byte(0x80 | (codePoint & 0x3F));
        }
    }

    std::string_view text_;
    JsonEvents& events_;
    std::size_t at_ = 0;
    std::string buffer_;
};

}  // namespace

bool readJsonEvents(std::string_view text, JsonEvents& events) { return Reader(text, events).run(); }

}  // namespace VarnShared
