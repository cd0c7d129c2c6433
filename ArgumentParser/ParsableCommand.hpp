#pragma once
// Commands and their run-time descriptions.
//
// A command is a default-constructible struct deriving from
// `ParsableCommand` with
//   static constexpr std::string_view typeName = "Merge";
//   static CommandConfiguration configuration();
//   static void arguments(Arguments<Merge>&);   // optional
// and overrides of `run` (and `validate`) as needed. `typeOf<Merge>()` is
// its description, built once from those declarations.

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "ArgumentParser/ArgumentDefinition.hpp"
#include "ArgumentParser/CommandConfiguration.hpp"
#include "ArgumentParser/Errors.hpp"

namespace ap {

class ArgumentDecoder;

class ParsableCommand {
public:
    virtual ~ParsableCommand() = default;
    /// Runs after decoding; a failure is reported with the usage.
    virtual Result<void> validate() { return {}; }
    /// The command's work. By default a command shows its help.
    virtual Result<void> run() { return CleanExit::helpRequest(); }
};

/// Reads declared properties from the decoder into a command.
using PropertyDecoder = std::function<std::optional<ParserError>(ArgumentDecoder&, ParsableCommand&)>;

/// What a command type's `arguments` declares.
struct CommandDeclarations {
    std::vector<ArgumentDefinition> definitions;
    /// Reads every declared property, in declaration order, up to the
    /// first that fails.
    PropertyDecoder decode;
};

class CommandType {
public:
    /// `declare` runs when the declarations are first asked for: a run
    /// builds only those of the commands its command line reaches. Like the
    /// parse itself, that happens on one thread.
    CommandType(std::string typeName, CommandRef self, CommandConfiguration configuration,
                CommandDeclarations (*declare)(), std::unique_ptr<ParsableCommand> (*make)());

    const std::string& typeName() const { return typeName_; }
    const CommandConfiguration& configuration() const { return configuration_; }
    /// The configured name, or the type name in snake case with "-".
    const std::string& commandName() const { return commandName_; }
    /// Every declared definition, at every visibility, in declaration order.
    const std::vector<ArgumentDefinition>& definitions() const { return declared().definitions; }
    CommandRef ref() const { return self_; }

    /// Builds a command value from parsed values, property by property.
    platform::Expected<std::unique_ptr<ParsableCommand>, ParserError> decode(ArgumentDecoder& decoder) const;

    /// A repeating positional with the given strategy, if one is declared.
    bool hasRepeatingPositional(ParsingStrategy strategy) const;

private:
    const CommandDeclarations& declared() const;

    std::string typeName_;
    CommandRef self_;
    CommandConfiguration configuration_;
    std::string commandName_;
    CommandDeclarations (*declare_)();
    mutable std::optional<CommandDeclarations> declared_;
    std::unique_ptr<ParsableCommand> (*make_)();
};

/// The configuration's subcommands, resolved.
std::vector<const CommandType*> subcommandsOf(const CommandType& command);

}  // namespace ap
