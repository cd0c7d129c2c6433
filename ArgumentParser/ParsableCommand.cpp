#include "ArgumentParser/ParsableCommand.hpp"

#include "ArgumentParser/SnakeCase.hpp"

namespace ap {

CommandType::CommandType(std::string typeName, CommandRef self, CommandConfiguration configuration,
                         std::vector<ArgumentDefinition> definitions, std::vector<PropertyDecoder> properties,
                         std::function<std::unique_ptr<ParsableCommand>()> make)
    : typeName_(std::move(typeName)),
      self_(self),
      configuration_(std::move(configuration)),
      commandName_(configuration_.commandName ? *configuration_.commandName : convertedToSnakeCase(typeName_, "-")),
      definitions_(std::move(definitions)),
      properties_(std::move(properties)),
      make_(std::move(make)) {}

platform::Expected<std::unique_ptr<ParsableCommand>, ParserError> CommandType::decode(ArgumentDecoder& decoder) const {
    auto command = make_();
    for (const auto& property : properties_)
        if (auto failure = property(decoder, *command)) return std::move(*failure);
    return command;
}

bool CommandType::hasRepeatingPositional(ParsingStrategy strategy) const {
    for (const auto& d : definitions_)
        if (d.isRepeatingPositional() && d.parsingStrategy == strategy) return true;
    return false;
}

std::vector<const CommandType*> subcommandsOf(const CommandType& command) {
    std::vector<const CommandType*> result;
    for (auto ref : command.configuration().subcommands) result.push_back(&ref());
    return result;
}

}  // namespace ap
