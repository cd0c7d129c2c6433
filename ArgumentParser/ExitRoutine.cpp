// Placeholder until messages land: prints descriptions plainly.
#include "ArgumentParser/ExitRoutine.hpp"

#include <cstdio>
#include <cstdlib>

#include "ArgumentParser/CommandParser.hpp"

namespace ap {

void exitWith(const CommandType&, const std::optional<Error>& error) {
    std::fflush(stdout);
    if (!error) std::exit(0);
    if (auto code = error->as<ExitCode>()) std::exit(code->rawValue);
    if (auto e = error->as<LocalizedError>()) {
        std::fprintf(stderr, "Error: %s\n", e->description.c_str());
        std::exit(1);
    }
    std::fprintf(stderr, "Error: the command line could not be parsed\n");
    std::exit(64);
}

void main(const CommandType& root, int argc, char** argv) {
    std::vector<std::string> arguments(argv + (argc > 0 ? 1 : 0), argv + argc);
    auto command = parseAsRoot(root, std::move(arguments));
    if (!command) exitWith(root, command.error());
    auto ran = (*command)->run();
    if (!ran) exitWith(root, ran.error());
    exitWith(root, std::nullopt);
}

}  // namespace ap
