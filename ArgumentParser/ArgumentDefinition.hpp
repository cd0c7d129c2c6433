#pragma once
// One parseable thing of a command: its kind and names, its help, its
// completion, how it takes values and how it stores them.

#include <functional>
#include <optional>
#include <string>
#include <variant>
#include <vector>

#include "ArgumentParser/ArgumentVisibility.hpp"
#include "ArgumentParser/CompletionKind.hpp"
#include "ArgumentParser/Errors.hpp"
#include "ArgumentParser/InputKey.hpp"
#include "ArgumentParser/Name.hpp"
#include "ArgumentParser/ParsedValues.hpp"
#include "ArgumentParser/ParsingStrategy.hpp"

namespace ap {

struct ArgumentDefinition {
    enum class Kind {
        named,  ///< options and flags
        positional,
        default_,  ///< only supplies a property's default value
    };

    struct Help {
        bool isOptional = false;
        bool isRepeating = false;
        std::optional<std::string> defaultValue;
        std::vector<InputKey> keys;
        std::vector<std::string> allValueStrings;
        /// One definition standing for several values (a flag enumeration,
        /// an on/off pair): its siblings follow it with the same keys.
        bool isComposite = false;
        std::string abstract;
        std::string discussion;
        /// The declared value name; empty when none was declared.
        std::string valueName;
        ArgumentVisibility visibility = ArgumentVisibility::default_;
        std::string parentTitle;
    };

    /// A flag: takes no value.
    using Nullary = std::function<std::optional<ParserError>(const InputOrigin&, const std::optional<Name>&,
                                                             ParsedValues&)>;
    /// Takes one text per occurrence.
    using Unary = std::function<std::optional<ParserError>(const InputOrigin&, const std::optional<Name>&,
                                                           const std::string&, ParsedValues&)>;
    using Initial = std::function<void(const InputOrigin&, ParsedValues&)>;

    Kind kind = Kind::positional;
    std::vector<Name> names;  ///< named definitions only
    Help help;
    CompletionKind completion;
    ParsingStrategy parsingStrategy = ParsingStrategy::default_;
    std::variant<Nullary, Unary> update;
    Initial initial;  ///< empty when there is no default

    bool isNamed() const { return kind == Kind::named; }
    bool isPositional() const { return kind == Kind::positional; }
    bool takesValue() const { return std::holds_alternative<Unary>(update); }
    bool isRepeatingPositional() const { return isPositional() && help.isRepeating; }

    /// The name used in synopses: the first name that is not short, else the first.
    const Name* preferredName() const { return ap::preferredName(names); }

    /// The declared value name; else the bare text of the preferred name
    /// (named) or the snake-cased key (positional); else "value".
    std::string valueName() const;
};

}  // namespace ap
