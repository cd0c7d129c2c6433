#include "ArgumentParser/ParsableCommand.hpp"

#include "ArgumentParser/SnakeCase.hpp"

namespace ap {

CommandType::CommandType(std::string typeName, CommandRef self, CommandConfiguration configuration,
                         CommandDeclarations (*declare)(), std::unique_ptr<ParsableCommand> (*make)())
    : typeName_(std::move(typeName)),
      self_(self),
      configuration_(std::move(configuration)),
      commandName_(configuration_.commandName ? *configuration_.commandName : convertedToSnakeCase(typeName_, "-")),
      declare_(declare),
      make_(make) {}

const CommandDeclarations& CommandType::declared() const {
    if (!declared_) declared_ = declare_();
    return *declared_;
}

platform::Expected<std::unique_ptr<ParsableCommand>, ParserError> CommandType::decode(ArgumentDecoder& decoder) const {
    auto command = make_();
    if (auto failure = declared().decode(decoder, *command)) return std::move(*failure);
    return command;
}

bool CommandType::hasRepeatingPositional(ParsingStrategy strategy) const {
    for (const auto& d : definitions())
        if (d.isRepeatingPositional() && d.parsingStrategy == strategy) return true;
    return false;
}

std::vector<const CommandType*> subcommandsOf(const CommandType& command) {
    std::vector<const CommandType*> result;
    for (auto ref : command.configuration().subcommands) result.push_back(&ref());
    return result;
}

}  // namespace ap
