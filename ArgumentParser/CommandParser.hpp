#pragma once
// Turns a command line into one decoded command, walking down the command
// tree from the root and answering the built-in requests.

#include <memory>
#include <string>
#include <vector>

#include "ArgumentParser/ArgumentDecoder.hpp"
#include "ArgumentParser/BuiltinFlags.hpp"
#include "ArgumentParser/CommandTree.hpp"
#include "ArgumentParser/SplitArguments.hpp"

namespace ap {

class CommandParser {
public:
    explicit CommandParser(const CommandType& root);

    /// Parses `arguments` (without the program name). Every failure and
    /// every built-in request is a `CommandError`; a help request yields the
    /// help command for the stack it names.
    Result<std::unique_ptr<ParsableCommand>> parse(std::vector<std::string> arguments);

    const CommandTree& tree() const { return tree_; }
    /// The path from the root to the command the last parse reached.
    CommandStack commandStack() const { return currentStack(); }

private:
    struct HelpRequested {
        ArgumentVisibility visibility;
    };
    using Failure = std::variant<CommandError, ParserError, HelpRequested>;
    template <class T>
    using Step = platform::Expected<T, Failure>;

    CommandStack currentStack() const { return current_->stack(); }
    Step<std::unique_ptr<ParsableCommand>> descend(SplitArguments& split);
    Step<std::unique_ptr<ParsableCommand>> parseCurrent(SplitArguments& split);
    std::optional<Failure> checkBuiltinFlags(const SplitArguments& split) const;
    std::optional<CommandError> completionScriptRequest(const SplitArguments& split) const;
    CommandError customCompletion(const std::vector<std::string>& arguments) const;

    CommandTree tree_;
    const CommandTree::Node* current_;
    std::vector<DecodedGroup> decodedGroups_;
};

/// Parses for `root`; the convenience the main entry uses.
Result<std::unique_ptr<ParsableCommand>> parseAsRoot(const CommandType& root, std::vector<std::string> arguments);

}  // namespace ap
