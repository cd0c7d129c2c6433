#pragma once
// One accepted spelling of a named argument: --name, -n or -name.

#include <compare>
#include <functional>
#include <string>
#include <vector>

namespace ap {

class Name {
public:
    enum class Kind { long_, short_, longWithSingleDash };

    static Name long_(std::string text) { return Name(Kind::long_, std::move(text), false); }
    /// `character` is one user-perceived character.
    static Name short_(std::string character, bool allowingJoined = false) {
        return Name(Kind::short_, std::move(character), allowingJoined);
    }
    static Name longWithSingleDash(std::string text) { return Name(Kind::longWithSingleDash, std::move(text), false); }

    Kind kind() const { return kind_; }
    bool isShort() const { return kind_ == Kind::short_; }
    bool allowingJoined() const { return allowingJoined_; }
    /// The name without its dashes (for a short name its character).
    const std::string& valueString() const { return text_; }
    /// The name as typed: "--" + text, or "-" + text.
    std::string synopsis() const { return (kind_ == Kind::long_ ? "--" : "-") + text_; }

    // Whether a short name accepts a joined value is a property of the
    // declaration, not of the spelling: -Dx and a declared -D match.
    friend bool operator==(const Name& a, const Name& b) { return a.kind_ == b.kind_ && a.text_ == b.text_; }
    friend std::strong_ordering operator<=>(const Name& a, const Name& b) {
        if (auto c = a.kind_ <=> b.kind_; c != 0) return c;
        return a.text_.compare(b.text_) <=> 0;
    }

private:
    Name(Kind kind, std::string text, bool allowingJoined)
        : kind_(kind), allowingJoined_(allowingJoined), text_(std::move(text)) {}

    Kind kind_;
    bool allowingJoined_;
    std::string text_;
};

/// The name used in synopses: the first that is not short, else the first.
const Name* preferredName(const std::vector<Name>& names);

}  // namespace ap

template <>
struct std::hash<ap::Name> {
    std::size_t operator()(const ap::Name& name) const noexcept {
        return std::hash<std::string>{}(name.valueString()) * 3 + static_cast<std::size_t>(name.kind());
    }
};
