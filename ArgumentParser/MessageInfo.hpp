#pragma once
// What an error or request that ends a run turns into: a text for standard
// output, a failure with the usage, or another failure with its own status.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <variant>

#include "ArgumentParser/BuiltinFlags.hpp"
#include "ArgumentParser/Errors.hpp"

namespace ap {

/// The word before ": " in every failure message.
inline constexpr std::string_view defaultErrorLabel = "Error";

struct MessageInfo {
    /// A request answered on standard output with status 0.
    struct Help {
        std::string text;
    };
    /// A parse or validation failure: standard error, status 64.
    struct Validation {
        std::string message;
        std::string usage;
        std::string help;
    };
    /// Any other failure: standard error, with the carried status.
    struct Other {
        std::string message;
        std::int32_t exitCode = ExitCode::failure;
    };
    std::variant<Help, Validation, Other> value;

    /// Classifies `error` for a tree rooted at `root`. Help screens are laid
    /// out for `screenWidth`, else for the terminal.
    static MessageInfo make(const Error& error, const CommandType& root, std::optional<int> screenWidth = std::nullopt);

    /// The whole text to print (without its final newline); may be empty.
    std::string fullText(std::string_view errorLabel = defaultErrorLabel) const;
    bool isHelp() const { return std::holds_alternative<Help>(value); }
    std::int32_t exitCode() const;
};

/// The usage message of the last command of `stack` followed by
/// "  See 'tool sub --help' for more information.".
std::string usageWithHelpHint(const CommandStack& stack);

}  // namespace ap
