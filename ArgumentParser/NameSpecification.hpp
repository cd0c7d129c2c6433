#pragma once
// Which names a named argument accepts, derived from its key.

#include <initializer_list>
#include <string>
#include <vector>

#include "ArgumentParser/InputKey.hpp"
#include "ArgumentParser/Name.hpp"

namespace ap {

class NameSpecification {
public:
    struct Element {
        enum class Kind { long_, short_, customLong, customShort };
        Kind kind;
        std::string text;  ///< customLong: the name; customShort: the character
        bool withSingleDash = false;
        bool allowingJoined = false;

        /// The name this element gives for `key`.
        Name name(const InputKey& key) const;
        /// The element with `prefix` joined to its long name (flag
        /// inversions: verbose -> noVerbose -> --no-verbose).
        Element prefixed(const std::string& prefix, const InputKey& key) const;
    };

    NameSpecification() = default;
    NameSpecification(std::initializer_list<Element> elements) : elements(elements) {}
    explicit NameSpecification(std::vector<Element> elements) : elements(std::move(elements)) {}

    std::vector<Element> elements;

    /// The names for `key`, one per element, in order (duplicates kept).
    std::vector<Name> makeNames(const InputKey& key) const;

    static NameSpecification long_() { return {longName()}; }
    static NameSpecification short_() { return {shortName()}; }
    static NameSpecification shortAndLong() { return {shortName(), longName()}; }

    static Element longName() { return {Element::Kind::long_, {}}; }
    static Element shortName() { return {Element::Kind::short_, {}}; }
    static Element customLong(std::string name, bool withSingleDash = false) {
        return {Element::Kind::customLong, std::move(name), withSingleDash};
    }
    static Element customShort(std::string character, bool allowingJoined = false) {
        return {Element::Kind::customShort, std::move(character), false, allowingJoined};
    }
};

/// The two spellings of an on/off flag.
enum class FlagInversion {
    prefixedNo,             ///< --verbose / --no-verbose
    prefixedEnableDisable,  ///< --enable-verbose / --disable-verbose
};

/// What happens when several alternative flags of one property are given.
enum class FlagExclusivity { exclusive, chooseFirst, chooseLast };

}  // namespace ap
