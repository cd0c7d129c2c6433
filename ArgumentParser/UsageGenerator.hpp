#pragma once
// The one-line usage synopsis of a command: its tool name and the synopsis
// of each of its arguments, compacted when there are many.

#include <string>
#include <vector>

#include "ArgumentParser/ArgumentDefinition.hpp"

namespace ap {

/// How one argument reads in a synopsis: <value> or --name <value>, then
/// " ..." when it repeats, in brackets when optional, after "-- " when it
/// takes only values after the terminator. With `includingBrackets` false
/// an optional argument reads as a required one (for error messages).
std::string synopsis(const ArgumentDefinition& definition, bool includingBrackets = true);

/// The synopsis of a tool with these definitions, as `UsageGenerator` makes
/// it, from the definitions where they are.
std::string usageSynopsis(const std::string& toolName, const std::vector<const ArgumentDefinition*>& definitions);

class UsageGenerator {
public:
    /// More definitions than this keep only the positional and required ones.
    static constexpr std::size_t compactionThreshold = 12;

    UsageGenerator(std::string toolName, std::vector<ArgumentDefinition> definitions);

    const std::string& toolName() const { return toolName_; }

    std::string synopsis() const;

private:
    std::string toolName_;
    std::vector<ArgumentDefinition> definitions_;
};

}  // namespace ap
