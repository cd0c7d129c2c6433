// The varn command line, split and parsed against the real command tree,
// then whatever message the run would end with rendered as the exit routine
// renders it. The input is the argument list, split at NUL bytes. Nothing is
// run except the built-in help command, whose run only raises its request.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "ArgumentParser/CommandParser.hpp"
#include "ArgumentParser/HelpCommand.hpp"
#include "ArgumentParser/MessageInfo.hpp"
#include "cli/RootCommand.hpp"
#include "platform/Strings.hpp"

namespace {

std::vector<std::string> argumentsOf(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return {};
    auto parts = platform::split(std::string_view(reinterpret_cast<const char*>(data), size), '\0');
    return {parts.begin(), parts.end()};
}

/// The error the run ends with, as the entry would meet it; nothing when
/// the run would go on into a command of the tool.
std::optional<ap::Error> endingError(ap::CommandParser& parser, std::vector<std::string> arguments) {
    auto command = parser.parse(std::move(arguments));
    if (!command) return std::move(command).error();
    auto* help = dynamic_cast<ap::HelpCommand*>(command->get());
    if (!help) return std::nullopt;
    auto ran = help->run();
    if (ran) return std::nullopt;
    auto error = std::move(ran).error();
    if (auto clean = std::get_if<ap::CleanExit>(&error.value))
        if (auto request = std::get_if<ap::CleanExit::HelpRequest>(&clean->base); request && !request->command)
            request->command = parser.commandStack().back();
    return error;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const auto& root = ap::typeOf<varn::TarqCLI>();
    ap::CommandParser parser(root);
    auto error = endingError(parser, argumentsOf(data, size));
    if (!error) return 0;
    auto info = ap::MessageInfo::make(*error, root, 80);
    std::string text = info.fullText();
    auto status = info.exitCode();
    // Requests end with 0, usage errors with 64, other failures with their own status.
    if (info.isHelp() && status != 0) __builtin_trap();
    if (!info.isHelp() && text.empty() && status == 0) __builtin_trap();
    return 0;
}
