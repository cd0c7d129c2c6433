#include "ArgumentParser/ExitRoutine.hpp"

#include <cstdlib>

#include "ArgumentParser/CommandParser.hpp"
#include "ArgumentParser/MessageInfo.hpp"
#include "platform/StandardOutput.hpp"

namespace ap {

void exitWith(const CommandType& root, const std::optional<Error>& error) {
    auto info = error ? MessageInfo::make(*error, root) : MessageInfo{MessageInfo::Other{{}, ExitCode::success}};
    if (auto help = std::get_if<MessageInfo::Help>(&info.value); help && !help->text.empty())
        platform::writeStandardOutput(help->text, "\n");
    // Whatever went to standard output comes first, also when both streams
    // share a pipe. Output that did not arrive is no success: the run ends
    // as a failure naming why (a failure already reported keeps its own).
    if (auto flushed = platform::flushStandardOutput(); !flushed && info.exitCode() == ExitCode::success)
        info = MessageInfo::make(flushed.error(), root);
    if (auto text = info.isHelp() ? std::string() : info.fullText(); !text.empty())
        platform::writeStandardError(text, "\n");
    std::exit(info.exitCode());
}

void main(const CommandType& root, int argc, char** argv) {
    std::vector<std::string> arguments(argv + (argc > 0 ? 1 : 0), argv + argc);
    CommandParser parser(root);
    auto command = parser.parse(std::move(arguments));
    if (!command) exitWith(root, command.error());
    auto ran = (*command)->run();
    if (!ran) {
        auto error = std::move(ran).error();
        // A command cannot name its own type; a request for help without one
        // (the default run) is for the command that was chosen.
        if (auto clean = std::get_if<CleanExit>(&error.value)) {
            auto stack = parser.commandStack();
            if (auto help = std::get_if<CleanExit::HelpRequest>(&clean->base); help && !help->command)
                help->command = stack.back();
            if (auto dump = std::get_if<CleanExit::DumpRequest>(&clean->base); dump && !dump->command)
                dump->command = stack.back();
        }
        exitWith(root, error);
    }
    exitWith(root, std::nullopt);
}

}  // namespace ap
