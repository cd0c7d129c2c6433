#include "ArgumentParser/CommandInfoV0.hpp"

#include "ArgumentParser/ArgumentSet.hpp"

namespace ap {
namespace {

template <class T>
std::optional<std::vector<T>> nonEmpty(std::vector<T> list) {
    if (list.empty()) return std::nullopt;
    return list;
}

}  // namespace

CommandInfoV0 CommandInfoV0::describing(const CommandStack& stack) {
    const CommandType& command = *stack.back();
    const CommandConfiguration& configuration = command.configuration();
    CommandInfoV0 info;

    // A command described on its own has no enclosing commands, not even
    // the root's super-command.
    if (stack.size() > 1) {
        std::vector<std::string> names;
        if (const auto& super = stack.front()->configuration().superCommandName) names.push_back(*super);
        for (std::size_t i = 0; i + 1 < stack.size(); ++i) names.push_back(stack[i]->commandName());
        info.superCommands = std::move(names);
    }
    info.commandName = command.commandName();
    info.abstract = ap::nonEmpty(configuration.abstract);
    info.discussion = ap::nonEmpty(configuration.discussion);
    if (configuration.defaultSubcommand)
        info.defaultSubcommand = ap::nonEmpty(configuration.defaultSubcommand().commandName());

    std::vector<CommandInfoV0> subcommands;
    for (const CommandType* subcommand : subcommandsOf(command)) {
        auto extended = stack;
        extended.push_back(subcommand);
        subcommands.push_back(describing(extended));
    }
    info.subcommands = nonEmpty(std::move(subcommands));

    std::vector<ArgumentInfoV0> arguments;
    for (auto definition : ArgumentSet(command, ArgumentVisibility::private_).content)
        if (definition->isNamed() || definition->isPositional())
            arguments.push_back(ArgumentInfoV0::describing(*definition));
    for (const auto& flag : builtinFlagDefinitions(stack)) arguments.push_back(ArgumentInfoV0::describing(flag));
    info.arguments = nonEmpty(std::move(arguments));
    return info;
}

void writeJson(platform::PrettyJsonWriter& out, const CommandInfoV0& c) {
    out.beginObject();
    out.optionalMember("abstract", c.abstract);
    out.optionalList("arguments", c.arguments, [&](const ArgumentInfoV0& argument) { writeJson(out, argument); });
    out.key("commandName");
    out.value(c.commandName);
    out.optionalMember("defaultSubcommand", c.defaultSubcommand);
    out.optionalMember("discussion", c.discussion);
    out.optionalList("subcommands", c.subcommands, [&](const CommandInfoV0& command) { writeJson(out, command); });
    out.optionalList("superCommands", c.superCommands, [&](const std::string& name) { out.value(name); });
    out.endObject();
}

Decoded<CommandInfoV0> CommandInfoV0::decode(const nlohmann::json& value, const std::string& path) {
    auto object = ObjectReader::open(value, path);
    if (!object) return std::move(object).error();
    const auto& o = *object;
    CommandInfoV0 info;

    auto superCommands = o.optionalTexts("superCommands");
    if (!superCommands) return std::move(superCommands).error();
    info.superCommands = std::move(*superCommands);
    auto name = o.text("commandName");
    if (!name) return std::move(name).error();
    info.commandName = std::move(*name);
    for (auto [key, field] : {std::pair{"abstract", &CommandInfoV0::abstract},
                              std::pair{"discussion", &CommandInfoV0::discussion},
                              std::pair{"defaultSubcommand", &CommandInfoV0::defaultSubcommand}}) {
        auto text = o.optionalText(key);
        if (!text) return std::move(text).error();
        info.*field = std::move(*text);
    }

    auto subcommands = o.optionalList("subcommands");
    if (!subcommands) return std::move(subcommands).error();
    if (*subcommands) {
        auto decoded = decodeList<CommandInfoV0>(**subcommands, o.pathOf("subcommands"), CommandInfoV0::decode);
        if (!decoded) return std::move(decoded).error();
        info.subcommands = std::move(*decoded);
    }
    auto arguments = o.optionalList("arguments");
    if (!arguments) return std::move(arguments).error();
    if (*arguments) {
        auto decoded = decodeList<ArgumentInfoV0>(**arguments, o.pathOf("arguments"), ArgumentInfoV0::decode);
        if (!decoded) return std::move(decoded).error();
        info.arguments = std::move(*decoded);
    }
    return info;
}

}  // namespace ap
