#include "ArgumentParser/ExitRoutine.hpp"

#include <cstdio>
#include <cstdlib>

#include "ArgumentParser/CommandParser.hpp"
#include "ArgumentParser/MessageInfo.hpp"

namespace ap {
namespace {

void writeLine(std::FILE* stream, const std::string& text) {
    std::fwrite(text.data(), 1, text.size(), stream);
    std::fputc('\n', stream);
    std::fflush(stream);
}

}  // namespace

void exitWith(const CommandType& root, const std::optional<Error>& error) {
    // Whatever the command wrote comes first, also when both streams share a pipe.
    std::fflush(stdout);
    if (!error) std::exit(ExitCode::success);
    auto info = MessageInfo::make(*error, root);
    auto text = info.fullText();
    if (!text.empty()) writeLine(info.isHelp() ? stdout : stderr, text);
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
