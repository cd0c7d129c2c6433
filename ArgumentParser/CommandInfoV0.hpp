#pragma once
// One command in the command description, with its subcommands and
// arguments. Empty texts and lists are absent, and absent members are left
// out of the JSON.

#include <optional>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "ArgumentParser/ArgumentInfoV0.hpp"
#include "ArgumentParser/BuiltinFlags.hpp"
#include "ArgumentParser/ToolInfoDecoding.hpp"

namespace ap {

struct CommandInfoV0 {
    /// The names of the enclosing commands, outermost first.
    std::optional<std::vector<std::string>> superCommands;
    std::string commandName;
    std::optional<std::string> abstract;
    std::optional<std::string> discussion;
    /// The command name of the default subcommand.
    std::optional<std::string> defaultSubcommand;
    /// Every configured subcommand, hidden ones included.
    std::optional<std::vector<CommandInfoV0>> subcommands;
    /// The command's own arguments at every visibility, then the built-in
    /// version and help flags.
    std::optional<std::vector<ArgumentInfoV0>> arguments;

    static Decoded<CommandInfoV0> decode(const nlohmann::json& value, const std::string& path);

    friend bool operator==(const CommandInfoV0&, const CommandInfoV0&) = default;
};

void writeJson(platform::PrettyJsonWriter& out, const CommandInfoV0& command);
/// The description of the last command of `stack` (never empty) and of
/// everything below it, written straight from the declarations as
/// `writeJson` writes its decoded form.
void writeJson(platform::PrettyJsonWriter& out, const CommandStack& stack);

}  // namespace ap
