#include "ArgumentParser/HelpCommand.hpp"

#include "ArgumentParser/CommandTree.hpp"

namespace ap {

CommandConfiguration HelpCommand::configuration() {
    return {.commandName = "help", .abstract = "Show subcommand help information.", .helpNames = NameSpecification{}};
}

void HelpCommand::arguments(Arguments<HelpCommand>& a) {
    a.argument("subcommands", &HelpCommand::subcommands, {.defaulted = true});
    a.flag("help", &HelpCommand::help,
           {.name = {NameSpecification::customShort("h"), NameSpecification::customLong("help"),
                     NameSpecification::customLong("help", true)},
            .help = ArgumentHelp("", "", std::nullopt, ArgumentVisibility::private_)});
}

HelpCommand HelpCommand::forStack(CommandStack stack, ArgumentVisibility visibility) {
    HelpCommand command;
    for (auto c : stack) command.subcommands.push_back(c->commandName());
    command.commandStack = std::move(stack);
    command.visibility = visibility;
    return command;
}

void HelpCommand::buildCommandStack(const CommandTree& tree) {
    const auto* node = &tree.root();
    for (const auto& name : subcommands) {
        auto child = node->child(name);
        if (!child) break;
        node = child;
    }
    commandStack = node->stack();
}

Result<void> HelpCommand::run() { return CommandError{commandStack, ParserError::HelpRequested{visibility}}; }

}  // namespace ap
