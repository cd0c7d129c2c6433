#include "shared/SessionRecordJson.hpp"

#include <array>
#include <optional>
#include <vector>

#include <nlohmann/json.hpp>

#include "platform/Json.hpp"
#include "shared/CanonicalText.hpp"
#include "shared/RecordJson.hpp"

namespace VarnShared {
namespace {

using Json = nlohmann::json;

/// The members of an entry, in the order a reader checks them.
constexpr std::array<const char*, 4> entryMembers = {"base", "local", "remote", "merged"};

std::string DiffToolMetaData::Entry::*entryField(std::size_t index) {
    static constexpr std::array fields = {&DiffToolMetaData::Entry::base, &DiffToolMetaData::Entry::local,
                                          &DiffToolMetaData::Entry::remote, &DiffToolMetaData::Entry::merged};
    return fields[index];
}

std::optional<std::size_t> entryMemberIndex(const std::string& key) {
    for (std::size_t i = 0; i < entryMembers.size(); ++i)
        if (key == entryMembers[i]) return i;
    return std::nullopt;
}

/// What a member holds, as far as a reader of texts cares.
enum class Held : unsigned char { nothing, text, other };

struct PendingEntry {
    DiffToolMetaData::Entry entry;
    std::array<Held, 4> held{};
};

/// A SAX handler (nlohmann's interface) that keeps what a session record
/// needs and skips the rest. The top-level scalars are kept as a small JSON
/// object, so that their types and ranges are judged by the same reader as
/// every other record's; the entries go straight into their strings.
class SessionSax {
public:
    /// The top-level object's members other than "entries".
    Json scalars = Json::object();
    bool topIsObject = false;
    enum class Shape : unsigned char { missingOrNull, array, other };
    Shape entries = Shape::missingOrNull;
    std::vector<PendingEntry> pending;
    /// The index of the first element of "entries" that is not an object.
    std::optional<std::size_t> firstNonObject;

    bool null() { return scalar(nullptr, Held::nothing); }
    bool boolean(bool value) { return scalar(value, Held::other); }
    bool number_integer(Json::number_integer_t value) { return scalar(value, Held::other); }
    bool number_unsigned(Json::number_unsigned_t value) { return scalar(value, Held::other); }
    bool number_float(Json::number_float_t value, const std::string&) { return scalar(value, Held::other); }
    bool binary(Json::binary_t&) { return false; }  // JSON text has none
    bool string(std::string& value) {
        if (!open_.empty() && open_.back() == Container::entry) {
            if (auto index = entryMemberIndex(key_)) {
                auto& target = pending.back();
                target.entry.*entryField(*index) = std::move(value);
                target.held[*index] = Held::text;
            }
            return true;
        }
        return scalar(std::move(value), Held::text);
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
    bool scalar(Json value, Held held) {
        if (open_.empty()) return true;  // a document that is not an object
        switch (open_.back()) {
            case Container::top:
                if (key_ == "entries") {
                    startEntries(held == Held::nothing ? Shape::missingOrNull : Shape::other);
                } else if (isScalarMember()) {
                    scalars[key_] = std::move(value);
                }
                break;
            case Container::entries:
                elementIsNotAnObject();
                ++elements_;
                break;
            case Container::entry:
                if (auto index = entryMemberIndex(key_)) pending.back().held[*index] = held;
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
                    if (key_ == "entries") {
                        startEntries(object ? Shape::other : Shape::array);
                        if (!object) opened = Container::entries;
                    } else if (isScalarMember()) {
                        // Any container is of the wrong type for these.
                        scalars[key_] = Json::array();
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
                    if (auto index = entryMemberIndex(key_)) pending.back().held[*index] = Held::other;
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

    bool isScalarMember() const {
        return key_ == "repo" || key_ == "pid" || key_ == "revspecA" || key_ == "revspecB";
    }

    /// A repeated "entries" member replaces what an earlier one held.
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

}  // namespace

platform::Result<std::string> encodeSessionRecord(const DiffToolMetaData& record) {
    auto valid = [](const std::optional<std::string>& text) { return !text || isValidUtf8(*text); };
    if (!isValidUtf8(record.repo) || !valid(record.revspecA) || !valid(record.revspecB)) return unencodableText();
    // Room for every text twice over (each "/" is written as "\/"): pages
    // reserved and never written cost nothing, a reallocation copies.
    std::size_t size = 96 + 2 * record.repo.size();
    for (const auto& entry : record.entries) {
        for (std::size_t i = 0; i < entryMembers.size(); ++i) {
            const auto& text = entry.*entryField(i);
            if (!isValidUtf8(text)) return unencodableText();
            size += 2 * text.size() + 12;
        }
    }

    std::string out;
    out.reserve(size);
    out += "{\"entries\":[";
    for (std::size_t n = 0; n < record.entries.size(); ++n) {
        const auto& entry = record.entries[n];
        out += n == 0 ? "{\"base\":" : ",{\"base\":";
        platform::appendJsonString(entry.base, out);
        out += ",\"local\":";
        platform::appendJsonString(entry.local, out);
        out += ",\"merged\":";
        platform::appendJsonString(entry.merged, out);
        out += ",\"remote\":";
        platform::appendJsonString(entry.remote, out);
        out += '}';
    }
    out += ']';
    if (record.pid) out += ",\"pid\":" + std::to_string(*record.pid);
    out += ",\"repo\":";
    platform::appendJsonString(record.repo, out);
    for (auto [name, text] : {std::pair{",\"revspecA\":", &record.revspecA}, {",\"revspecB\":", &record.revspecB}}) {
        if (!*text) continue;
        out += name;
        platform::appendJsonString(**text, out);
    }
    out += '}';
    return out;
}

platform::Result<DiffToolMetaData> decodeSessionRecord(std::string_view bytes, const std::string& source) {
    SessionSax sax;
    if (!Json::sax_parse(bytes, &sax)) return notValidJson(source);
    if (!sax.topIsObject) return notJsonObject(source);

    DiffToolMetaData record;
    JsonObjectReader reader(sax.scalars, source);
    auto repo = reader.text("repo");
    if (!repo) return std::move(repo).error();
    record.repo = std::move(*repo);
    auto pid = reader.optionalInt32("pid");
    if (!pid) return std::move(pid).error();
    record.pid = *pid;
    for (auto [member, field] : {std::pair{"revspecA", &record.revspecA}, std::pair{"revspecB", &record.revspecB}}) {
        auto text = reader.optionalText(member);
        if (!text) return std::move(text).error();
        *field = std::move(*text);
    }

    if (sax.entries == SessionSax::Shape::missingOrNull) return missingMember(source, "entries");
    if (sax.entries == SessionSax::Shape::other) return wrongMemberType(source, "entries", "an array");
    if (sax.firstNonObject)
        return wrongMemberType(source, "entries[" + std::to_string(*sax.firstNonObject) + "]", "an object");
    record.entries.reserve(sax.pending.size());
    for (std::size_t n = 0; n < sax.pending.size(); ++n) {
        auto& pending = sax.pending[n];
        for (std::size_t i = 0; i < entryMembers.size(); ++i) {
            if (pending.held[i] == Held::text) continue;
            auto member = "entries[" + std::to_string(n) + "]." + entryMembers[i];
            if (pending.held[i] == Held::nothing) return missingMember(source, member);
            return wrongMemberType(source, member, "a string");
        }
        record.entries.push_back(std::move(pending.entry));
    }
    return record;
}

}  // namespace VarnShared
