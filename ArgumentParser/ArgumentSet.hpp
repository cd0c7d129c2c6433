#pragma once
// The definitions of one command at a visibility level, and the matching of
// the command line against them.

#include <unordered_map>
#include <vector>

#include "ArgumentParser/ArgumentDefinition.hpp"
#include "ArgumentParser/ParsableCommand.hpp"
#include "ArgumentParser/SplitArguments.hpp"

namespace ap {

class ArgumentSet {
public:
    ArgumentSet() = default;
    explicit ArgumentSet(std::vector<ArgumentDefinition> content);
    /// The command's definitions at least as visible as `visibility`.
    ArgumentSet(const CommandType& command, ArgumentVisibility visibility);

    std::vector<ArgumentDefinition> content;
    /// Each name to the first definition that owns it.
    std::unordered_map<Name, std::size_t> namePositions;

    const ArgumentDefinition* owner(const Name& name) const;

    /// Takes what belongs to this command from `input` (which is not
    /// changed): options by name anywhere on the line, then positionals in
    /// order. Unknown options and surplus values are left for the caller.
    platform::Expected<ParsedValues, ParserError> lenientParse(const SplitArguments& input,
                                                               const std::vector<const CommandType*>& subcommands,
                                                               bool defaultCapturesAll) const;

private:
    std::optional<ParserError> parseValue(const ArgumentDefinition& definition, const SplitArguments::Element& option,
                                          SplitArguments& input, ParsedValues& values, InputOrigin& used) const;
    std::optional<ParserError> parsePositionals(SplitArguments unused, ParsedValues& values) const;
};

}  // namespace ap
