#include "shared/SessionRecordJson.hpp"

#include <array>
#include <cstdint>
#include <optional>
#include <tuple>
#include <type_traits>
#include <utility>
#include <vector>

#include <nlohmann/json.hpp>

#include "platform/Json.hpp"
#include "platform/Utf8.hpp"
#include "shared/DiffToolFiles.hpp"
#include "shared/RecordJson.hpp"

namespace VarnShared {
namespace {

using Json = nlohmann::json;
using Entry = DiffToolMetaData::Entry;

// The format. The reader, the writer and the recogniser of the writer's own
// text below all follow these two tables.

/// A member of the record: its name and the field holding it. The field's
/// type says what the member holds: a required text, an optional text or
/// 32-bit number, or the entries.
template <class Field>
struct Member {
    using Type = Field;
    std::string_view name;
    Field DiffToolMetaData::*field;
};

/// The record's members, in the order the application's decoder reads them,
/// which decides the fault it reports first.
constexpr std::tuple members{
    Member<std::string>{"repo", &DiffToolMetaData::repo},
    Member<std::optional<std::int32_t>>{"pid", &DiffToolMetaData::pid},
    Member<std::optional<std::string>>{"revspecA", &DiffToolMetaData::revspecA},
    Member<std::optional<std::string>>{"revspecB", &DiffToolMetaData::revspecB},
    Member<std::vector<Entry>>{"entries", &DiffToolMetaData::entries},
};

/// An entry's members: its files, every one a required text, read in the
/// order of `diffToolFiles`.
constexpr const auto& entryFiles = diffToolFiles<Entry>;

// Both are written in the order of their names, as every record is.

/// The positions of `names` in the order of their bytes.
template <std::size_t N>
constexpr std::array<std::size_t, N> orderOfNames(const std::array<std::string_view, N>& names) {
    std::array<std::size_t, N> order{};
    for (std::size_t i = 0; i < N; ++i) order[i] = i;
    for (std::size_t i = 1; i < N; ++i)
        for (std::size_t j = i; j > 0 && names[order[j]] < names[order[j - 1]]; --j) std::swap(order[j], order[j - 1]);
    return order;
}

constexpr auto membersInWritingOrder = orderOfNames(
    std::apply([](const auto&... member) { return std::array{member.name...}; }, members));

constexpr auto entryFilesInWritingOrder = orderOfNames([] {
    std::array<std::string_view, entryFiles.size()> names{};
    for (std::size_t i = 0; i < names.size(); ++i) names[i] = entryFiles[i].name;
    return names;
}());

/// Calls `visit` with each member in the order written, until it returns false.
template <class Visit>
bool eachMemberInWritingOrder(Visit visit) {
    return [&]<std::size_t... I>(std::index_sequence<I...>) {
        return (visit(std::get<membersInWritingOrder[I]>(members)) && ...);
    }
    (std::make_index_sequence<membersInWritingOrder.size()>());
}

/// Whether a member of type `Field` may be absent, and what it holds when
/// present.
template <class Field>
struct Presence : std::false_type {
    using Held = Field;
};
template <class T>
struct Presence<std::optional<T>> : std::true_type {
    using Held = T;
};

/// What comes before an entry's file in the written text, in the order
/// written: `{"base":`, then `,"local":` and so on.
struct EntryKey {
    char text[32] = {};
    std::size_t size = 0;
    constexpr std::string_view view() const { return {text, size}; }
};

constexpr auto entryKeys = [] {
    std::array<EntryKey, entryFiles.size()> keys{};
    for (std::size_t i = 0; i < keys.size(); ++i) {
        auto& key = keys[i];
        key.text[key.size++] = i == 0 ? '{' : ',';
        key.text[key.size++] = '"';
        for (char c : entryFiles[entryFilesInWritingOrder[i]].name) key.text[key.size++] = c;
        key.text[key.size++] = '"';
        key.text[key.size++] = ':';
    }
    return keys;
}();

// The reader.

/// What a member holds, as far as a reader of texts cares.
enum class Found : unsigned char { nothing, text, other };

struct PendingEntry {
    Entry entry;
    std::array<Found, entryFiles.size()> found{};
};

std::optional<std::size_t> entryFileIndex(const std::string& key) {
    for (std::size_t i = 0; i < entryFiles.size(); ++i)
        if (key == entryFiles[i].name) return i;
    return std::nullopt;
}

/// Whether `key` names the entries, another member of the record, or none.
enum class TopMember : unsigned char { unknown, scalar, entries };

template <class M>
constexpr TopMember kindOf(const M&) {
    return std::is_same_v<typename M::Type, std::vector<Entry>> ? TopMember::entries : TopMember::scalar;
}

TopMember topMember(const std::string& key) {
    auto found = TopMember::unknown;
    std::apply([&](const auto&... member) { (void)((key == member.name && (found = kindOf(member), true)) || ...); },
               members);
    return found;
}

/// A SAX handler (nlohmann's interface) that keeps what a session record
/// needs and skips the rest. The top-level scalars are kept as a small JSON
/// object, so that their types and ranges are judged by the same reader as
/// every other record's; the entries go straight into their strings.
class SessionSax {
public:
    /// The top-level object's members other than the entries.
    Json scalars = Json::object();
    bool topIsObject = false;
    enum class Shape : unsigned char { missingOrNull, array, other };
    Shape entries = Shape::missingOrNull;
    std::vector<PendingEntry> pending;
    /// The index of the first element of the entries that is not an object.
    std::optional<std::size_t> firstNonObject;

    bool null() { return scalar(nullptr, Found::nothing); }
    bool boolean(bool value) { return scalar(value, Found::other); }
    bool number_integer(Json::number_integer_t value) { return scalar(value, Found::other); }
    bool number_unsigned(Json::number_unsigned_t value) { return scalar(value, Found::other); }
    bool number_float(Json::number_float_t value, const std::string&) { return scalar(value, Found::other); }
    bool binary(Json::binary_t&) { return false; }  // JSON text has none
    bool string(std::string& value) {
        if (!open_.empty() && open_.back() == Container::entry) {
            if (auto index = entryFileIndex(key_)) {
                auto& target = pending.back();
                target.entry.*entryFiles[*index].path = std::move(value);
                target.found[*index] = Found::text;
            }
            return true;
        }
        return scalar(std::move(value), Found::text);
    }
    bool key(std::string& name) {
        key_ = std::move(name);
        return true;
    }
    bool start_object(std::size_t) { return begin(true); }
    bool start_array(std::size_t) { return begin(false); }
    bool end_object() { return end(); }
    bool end_array() { return end(); }
    bool parse_error(std::size_t, const std::string&, const nlohmann::detail::exception&) { return false; }

private:
    enum class Container : unsigned char { top, entries, entry, skipped };

    /// A value that is not a container, placed where it belongs.
    bool scalar(Json value, Found found) {
        if (open_.empty()) return true;  // a document that is not an object
        switch (open_.back()) {
            case Container::top:
                switch (topMember(key_)) {
                    case TopMember::entries:
                        startEntries(found == Found::nothing ? Shape::missingOrNull : Shape::other);
                        break;
                    case TopMember::scalar: scalars[key_] = std::move(value); break;
                    case TopMember::unknown: break;
                }
                break;
            case Container::entries:
                elementIsNotAnObject();
                ++elements_;
                break;
            case Container::entry:
                if (auto index = entryFileIndex(key_)) pending.back().found[*index] = found;
                break;
            case Container::skipped: break;
        }
        return true;
    }

    bool begin(bool object) {
        auto opened = Container::skipped;
        if (open_.empty()) {
            topIsObject = object;
            if (object) opened = Container::top;
        } else {
            switch (open_.back()) {
                case Container::top:
                    switch (topMember(key_)) {
                        case TopMember::entries:
                            startEntries(object ? Shape::other : Shape::array);
                            if (!object) opened = Container::entries;
                            break;
                        // Any container is of the wrong type for these.
                        case TopMember::scalar: scalars[key_] = Json::array(); break;
                        case TopMember::unknown: break;
                    }
                    break;
                case Container::entries:
                    if (object) {
                        pending.emplace_back();
                        opened = Container::entry;
                    } else {
                        elementIsNotAnObject();
                    }
                    ++elements_;
                    break;
                case Container::entry:
                    if (auto index = entryFileIndex(key_)) pending.back().found[*index] = Found::other;
                    break;
                case Container::skipped: break;
            }
        }
        open_.push_back(opened);
        return true;
    }

    bool end() {
        open_.pop_back();
        return true;
    }

    /// A repeated entries member replaces what an earlier one held.
    void startEntries(Shape shape) {
        entries = shape;
        pending.clear();
        firstNonObject.reset();
        elements_ = 0;
    }

    void elementIsNotAnObject() {
        if (!firstNonObject) firstNonObject = elements_;
    }

    std::vector<Container> open_;
    std::string key_;
    std::size_t elements_ = 0;
};

/// Where a member is read from: the scalars through the reader every record
/// uses, the entries from what the SAX handler gathered.
struct Reading {
    const RecordObjectReader& scalars;
    SessionSax& sax;
    const std::string& source;
};

/// Reads `member` into `record`.
template <class M>
platform::Result<void> readMember(const M& member, DiffToolMetaData& record, const Reading& reading) {
    using Field = typename M::Type;
    auto& field = record.*member.field;
    const std::string name(member.name);
    if constexpr (std::is_same_v<Field, std::vector<Entry>>) {
        auto& sax = reading.sax;
        if (sax.entries == SessionSax::Shape::missingOrNull) return missingMember(reading.source, name);
        if (sax.entries == SessionSax::Shape::other) return wrongMemberType(reading.source, name, "an array");
        if (sax.firstNonObject)
            return wrongMemberType(reading.source, name + "[" + std::to_string(*sax.firstNonObject) + "]", "an object");
        field.reserve(sax.pending.size());
        for (std::size_t n = 0; n < sax.pending.size(); ++n) {
            auto& pending = sax.pending[n];
            for (std::size_t i = 0; i < entryFiles.size(); ++i) {
                if (pending.found[i] == Found::text) continue;
                auto file = name + "[" + std::to_string(n) + "]." + std::string(entryFiles[i].name);
                if (pending.found[i] == Found::nothing) return missingMember(reading.source, file);
                return wrongMemberType(reading.source, file, "a string");
            }
            field.push_back(std::move(pending.entry));
        }
        return {};
    } else {
        auto read = [&] {
            if constexpr (std::is_same_v<Field, std::string>) {
                return reading.scalars.text(name);
            } else if constexpr (std::is_same_v<Field, std::optional<std::string>>) {
                return reading.scalars.optionalText(name);
            } else {
                static_assert(std::is_same_v<Field, std::optional<std::int32_t>>);
                return reading.scalars.optionalInt32(name);
            }
        }();
        if (!read) return std::move(read).error();
        field = std::move(*read);
        return {};
    }
}

// The writer.

/// Writes `text`; false when it is not UTF-8, which no record may hold.
bool appendValue(const std::string& text, std::string& out) {
    if (!platform::isValidUtf8(text)) return false;
    platform::appendJsonString(text, out);
    return true;
}

bool appendValue(std::int32_t number, std::string& out) {
    out += std::to_string(number);
    return true;
}

/// Writes an entry whose texts are known to be UTF-8.
void appendEntry(const Entry& entry, std::string& out) {
    for (std::size_t i = 0; i < entryKeys.size(); ++i) {
        out += entryKeys[i].view();
        platform::appendJsonString(entry.*entryFiles[entryFilesInWritingOrder[i]].path, out);
    }
    out += '}';
}

/// Writes `entries`, which `encodedSizeBound` has checked.
bool appendValue(const std::vector<Entry>& entries, std::string& out) {
    out += '[';
    for (std::size_t n = 0; n < entries.size(); ++n) {
        if (n > 0) out += ',';
        appendEntry(entries[n], out);
    }
    out += ']';
    return true;
}

/// Room for an entry's texts twice over (each "/" is written as "\/"):
/// pages reserved and never written cost nothing, a reallocation copies.
/// Nothing when a text is not UTF-8, which no record may hold.
std::optional<std::size_t> encodedSizeBound(const Entry& entry) {
    std::size_t size = 0;
    for (const auto& file : entryFiles) {
        const auto& text = entry.*file.path;
        if (!platform::isValidUtf8(text)) return std::nullopt;
        size += 2 * text.size() + 12;
    }
    return size;
}

// The recogniser.

/// Goes through a text exactly as the writer writes it, part by part.
class WrittenText {
public:
    explicit WrittenText(std::string_view text) : text_(text) {}

    bool atEnd() const { return at_ == text_.size(); }

    /// Moves past `word` when the text goes on with it.
    bool literal(std::string_view word) {
        if (!text_.substr(at_).starts_with(word)) return false;
        at_ += word.size();
        return true;
    }

    /// Moves past `separator`, then `name` as a member's key.
    bool key(char separator, std::string_view name) {
        auto rest = text_.substr(at_);
        if (rest.size() < name.size() + 4 || rest[0] != separator || rest[1] != '"' ||
            rest.substr(2, name.size()) != name || rest.substr(2 + name.size(), 2) != "\":")
            return false;
        at_ += name.size() + 4;
        return true;
    }

    /// Moves past a value of type `T`, as the writer writes it.
    template <class T>
    bool value();

    /// Where the entries end, once they have been gone through.
    std::size_t endOfEntries = 0;

private:
    /// A text, which the whole's check has shown to be UTF-8.
    bool text() {
        auto size = platform::writtenJsonStringSize(text_.substr(at_));
        if (size) at_ += *size;
        return size.has_value();
    }

    /// A 32-bit integer as std::to_string writes it.
    bool int32() {
        auto start = at_;
        if (at_ < text_.size() && text_[at_] == '-') ++at_;
        auto digits = at_;
        while (at_ < text_.size() && text_[at_] >= '0' && text_[at_] <= '9' && at_ - digits < 11) ++at_;
        if (at_ == digits || (text_[digits] == '0' && (at_ - digits > 1 || digits > start))) return false;
        auto value = std::stoll(std::string(text_.substr(start, at_ - start)));
        return value >= INT32_MIN && value <= INT32_MAX;
    }

    bool entries() {
        if (!literal("[")) return false;
        if (!text_.substr(at_).starts_with("]")) {
            do {
                for (const auto& key : entryKeys)
                    if (!literal(key.view()) || !text()) return false;
                if (!literal("}")) return false;
            } while (literal(","));
        }
        endOfEntries = at_;
        return literal("]");
    }

    std::string_view text_;
    std::size_t at_ = 0;
};

template <class T>
bool WrittenText::value() {
    if constexpr (std::is_same_v<T, std::string>) {
        return text();
    } else if constexpr (std::is_same_v<T, std::int32_t>) {
        return int32();
    } else {
        static_assert(std::is_same_v<T, std::vector<Entry>>);
        return entries();
    }
}

}  // namespace

platform::Result<std::string> encodeSessionRecord(const DiffToolMetaData& record) {
    std::size_t size = 96 + 2 * record.repo.size();
    for (const auto& entry : record.entries) {
        auto bound = encodedSizeBound(entry);
        if (!bound) return unencodableText();
        size += *bound;
    }

    std::string out;
    out.reserve(size);
    char separator = '{';
    bool written = eachMemberInWritingOrder([&](const auto& member) {
        const auto& field = record.*member.field;
        constexpr bool optional = Presence<typename std::remove_cvref_t<decltype(member)>::Type>::value;
        if constexpr (optional)
            if (!field) return true;
        out += separator;
        separator = ',';
        out += '"';
        out += member.name;
        out += "\":";
        if constexpr (optional) {
            return appendValue(*field, out);
        } else {
            return appendValue(field, out);
        }
    });
    if (!written) return unencodableText();
    out += '}';
    return out;
}

std::optional<std::size_t> endOfEntriesInWrittenRecord(std::string_view text) {
    // Checked as a whole once: every text in it is then UTF-8 too, as each
    // begins and ends at a quote.
    if (!platform::isValidUtf8(text)) return std::nullopt;
    WrittenText written(text);
    char separator = '{';
    bool recognised = eachMemberInWritingOrder([&](const auto& member) {
        using Field = Presence<typename std::remove_cvref_t<decltype(member)>::Type>;
        if (!written.key(separator, member.name)) return Field::value;
        separator = ',';
        return written.template value<typename Field::Held>();
    });
    if (!recognised || !written.literal("}") || !written.atEnd()) return std::nullopt;
    return written.endOfEntries;
}

platform::Result<std::string> insertingEntries(std::string text, std::size_t end, const std::vector<Entry>& entries) {
    std::size_t size = 0;
    for (const auto& entry : entries) {
        auto bound = encodedSizeBound(entry);
        if (!bound) return unencodableText();
        size += *bound + 1;
    }
    std::string added;
    added.reserve(size);
    for (const auto& entry : entries) {
        if (!added.empty() || text[end - 1] != '[') added += ',';
        appendEntry(entry, added);
    }
    text.insert(end, added);
    return text;
}

platform::Result<DiffToolMetaData> decodeSessionRecord(std::string_view bytes, const std::string& source) {
    SessionSax sax;
    if (!Json::sax_parse(bytes, &sax)) return notValidJson(source);
    if (!sax.topIsObject) return notJsonObject(source);

    DiffToolMetaData record;
    RecordObjectReader scalars(sax.scalars, source);
    const Reading reading{scalars, sax, source};
    platform::Result<void> read;
    std::apply(
        [&](const auto&... member) { (void)(static_cast<bool>(read = readMember(member, record, reading)) && ...); },
        members);
    if (!read) return std::move(read).error();
    return record;
}

}  // namespace VarnShared
