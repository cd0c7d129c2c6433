#pragma once
// The definitions of one command at a visibility level, and the matching of
// the command line against them.

#include <vector>

#include "ArgumentParser/ArgumentDefinition.hpp"
#include "ArgumentParser/ParsableCommand.hpp"
#include "ArgumentParser/SplitArguments.hpp"

namespace ap {

class ArgumentSet {
public:
    ArgumentSet() = default;
    /// The command's definitions at least as visible as `visibility`.
    ArgumentSet(const CommandType& command, ArgumentVisibility visibility);

    /// The command's own definitions, which live as long as the program:
    /// a set costs a list of addresses, not a copy of every declaration.
    std::vector<const ArgumentDefinition*> content;

    /// The first definition that owns `name`. A command declares a handful
    /// of names: looking through them beats hashing the name.
    const ArgumentDefinition* owner(const Name& name) const;

    /// Takes what belongs to this command from `input` (which is not
    /// changed): options by name anywhere on the line, then positionals in
    /// order. Unknown options and surplus values are left for the caller.
    /// When this command or its default subcommand (if any) takes all
    /// remaining input, the line is theirs from the first word this command
    /// does not know.
    platform::Expected<ParsedValues, ParserError> lenientParse(const SplitArguments& input,
                                                               const std::vector<const CommandType*>& subcommands,
                                                               const CommandType* defaultSubcommand) const;

private:
    std::optional<ParserError> parseValue(const ArgumentDefinition& definition, const SplitArguments::Element& option,
                                          SplitArguments& input, ParsedValues& values, InputOrigin& used) const;
    /// Gives what the options left to the positionals, in three passes.
    std::optional<ParserError> parsePositionals(SplitArguments unused, ParsedValues& values) const;
    /// A repeating positional that takes what follows "--" takes every value
    /// there.
    std::optional<ParserError> parseValuesAfterTerminator(SplitArguments& unused, ParsedValues& values) const;
    /// Positionals in declared order take the whole arguments left in input
    /// order: a plain one values only, one taking all remaining input
    /// anything; a repeating one as many as there are.
    std::optional<ParserError> parsePositionalsInOrder(SplitArguments& unused, ParsedValues& values) const;
    /// A repeating positional that takes what no one recognised takes every
    /// element still unused, a letter of a group as "-" and the letter.
    std::optional<ParserError> parseUnrecognized(SplitArguments& unused, ParsedValues& values) const;
};

}  // namespace ap
