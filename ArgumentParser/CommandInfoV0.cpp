#include "ArgumentParser/CommandInfoV0.hpp"

namespace ap {
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

void writeJson(platform::PrettyJsonWriter& out, const CommandStack& stack) {
    const CommandType& command = *stack.back();
    const CommandConfiguration& configuration = command.configuration();
    out.beginObject();
    out.nonEmptyMember("abstract", configuration.abstract);

    // Every declared argument, at every visibility, then the built-in flags.
    bool listed = false;
    auto list = [&](const ArgumentDefinition& definition) {
        if (!definition.isNamed() && !definition.isPositional()) return;
        if (!listed) {
            out.key("arguments");
            out.beginArray();
            listed = true;
        }
        writeJson(out, definition);
    };
    for (const auto& definition : command.definitions()) list(definition);
    for (const auto& flag : builtinFlagDefinitions(stack)) list(flag);
    if (listed) out.endArray();

    out.key("commandName");
    out.value(command.commandName());
    if (configuration.defaultSubcommand)
        out.nonEmptyMember("defaultSubcommand", configuration.defaultSubcommand().commandName());
    out.nonEmptyMember("discussion", configuration.discussion);

    if (!configuration.subcommands.empty()) {
        out.key("subcommands");
        out.beginArray();
        auto extended = stack;
        for (auto subcommand : configuration.subcommands) {
            extended.push_back(&subcommand());
            writeJson(out, extended);
            extended.pop_back();
        }
        out.endArray();
    }

    // A command described on its own has no enclosing commands, not even
    // the root's super-command.
    if (stack.size() > 1) {
        out.key("superCommands");
        out.beginArray();
        if (const auto& super = stack.front()->configuration().superCommandName) out.value(*super);
        for (std::size_t i = 0; i + 1 < stack.size(); ++i) out.value(stack[i]->commandName());
        out.endArray();
    }
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
    for (auto [key, field] :
         {std::pair{"abstract", &CommandInfoV0::abstract}, std::pair{"discussion", &CommandInfoV0::discussion},
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
