#pragma once
// What declaring arguments needs apart from the command's own type: the
// shape of a member, the key of a property, a definition's help as the
// enclosing option group shows it, and the flags, whose definitions do not
// depend on the command. Part of Declarations.hpp; not included on its own.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "ArgumentParser/ArgumentDefinition.hpp"
#include "ArgumentParser/ArgumentVisibility.hpp"
#include "ArgumentParser/CompletionKind.hpp"
#include "ArgumentParser/InputKey.hpp"
#include "ArgumentParser/Name.hpp"
#include "ArgumentParser/ParsingStrategy.hpp"

namespace ap {

struct ArgumentHelp;
struct FlagDeclaration;

namespace detail {

/// A member `T` is required or defaulted, `std::optional<T>` optional,
/// `std::vector<T>` repeats; each converts its texts to `T`.
template <class T>
struct MemberShape {
    using Value = T;
    static constexpr bool optional = false, array = false;
};
template <class T>
struct MemberShape<std::optional<T>> {
    using Value = T;
    static constexpr bool optional = true, array = false;
};
template <class T, class A>
struct MemberShape<std::vector<T, A>> {
    using Value = T;
    static constexpr bool optional = false, array = true;
};

inline ArgumentVisibility moreRestricted(ArgumentVisibility a, ArgumentVisibility b) {
    return static_cast<int>(a) > static_cast<int>(b) ? a : b;
}

class DeclaredArguments {
public:
    /// Every definition declared so far, in declaration order.
    std::vector<ArgumentDefinition> definitions;

protected:
    DeclaredArguments(std::vector<std::string> path, std::string title, ArgumentVisibility visibility)
        : path_(std::move(path)), title_(std::move(title)), visibility_(visibility) {}

    InputKey keyOf(std::string_view property) const { return InputKey(property, path_); }

    /// A definition of `kind` for `key` with the declared help, under the
    /// enclosing group's title and no more visible than the group.
    ArgumentDefinition definition(ArgumentDefinition::Kind kind, const InputKey& key, const ArgumentHelp& help) const;

    /// A definition that takes a value. Its completion is the declared one,
    /// else the list of accepted values when there are any.
    ArgumentDefinition valued(ArgumentDefinition::Kind kind, const InputKey& key, std::vector<Name> names,
                              ParsingStrategy strategy, const ArgumentHelp& help,
                              const std::optional<CompletionKind>& completion,
                              std::vector<std::string> allValueStrings) const;

    /// The definitions of an on/off flag: one, or the enabling and the
    /// disabling spellings of an inverted flag. `initial` is the value when
    /// it is not given, unless it is `required`.
    void declareOnOff(const InputKey& key, const FlagDeclaration& d, bool initial, bool required);
    /// The definition of a counted flag, whose value is 0 until it is given.
    void declareCounted(const InputKey& key, const FlagDeclaration& d);

    std::vector<std::string> path_;
    std::string title_;
    ArgumentVisibility visibility_;
};

}  // namespace detail
}  // namespace ap
