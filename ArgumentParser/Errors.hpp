#pragma once
// The error vocabulary: every failure or request that ends a run is one of
// these values, carried up to the exit routine.

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <variant>
#include <vector>

#include "ArgumentParser/ArgumentVisibility.hpp"
#include "ArgumentParser/InputKey.hpp"
#include "ArgumentParser/InputOrigin.hpp"
#include "ArgumentParser/Name.hpp"
#include "platform/Error.hpp"
#include "platform/Expected.hpp"

namespace ap {

class CommandType;
struct Error;

struct ParserError {
    struct HelpRequested {
        ArgumentVisibility visibility = ArgumentVisibility::default_;
    };
    struct CompletionScriptRequested {
        std::optional<std::string> shell;
    };
    struct CompletionScriptCustomResponse {
        std::string text;
    };
    struct UnsupportedShell {
        std::optional<std::string> shell;
    };
    struct UnknownOption {
        InputOrigin::Element origin;
        Name name;
    };
    struct InvalidOption {
        std::string text;
    };
    struct MissingValueForOption {
        InputOrigin origin;
        Name name;
    };
    struct UnexpectedValueForOption {
        InputOrigin::Element origin;
        Name name;
        std::string value;
    };
    struct UnexpectedExtraValues {
        std::vector<std::pair<InputOrigin, std::string>> values;
    };
    struct DuplicateExclusiveValues {
        InputOrigin previous;
        InputOrigin duplicate;
        std::vector<std::string> originalInput;
    };
    struct NoValue {
        InputKey forKey;
    };
    struct UnableToParseValue {
        InputOrigin origin;
        std::optional<Name> name;
        std::string value;
        InputKey forKey;
        /// The description of the conversion's own error, if it raised one.
        std::optional<std::string> originalError;
    };
    struct UserValidationError {
        std::shared_ptr<const Error> error;
    };
    struct NoArguments {
        std::shared_ptr<const Error> error;
    };
    struct VersionRequested {};
    struct DumpHelpRequested {};
    struct InvalidState {};

    using Value = std::variant<HelpRequested, CompletionScriptRequested, CompletionScriptCustomResponse,
                               UnsupportedShell, UnknownOption, InvalidOption, MissingValueForOption,
                               UnexpectedValueForOption, UnexpectedExtraValues, DuplicateExclusiveValues, NoValue,
                               UnableToParseValue, UserValidationError, NoArguments, VersionRequested,
                               DumpHelpRequested, InvalidState>;
    Value value;

    template <class T>
    requires std::constructible_from<Value, T&&> ParserError(T&& v) : value(std::forward<T>(v)) {}

    template <class T>
    const T* as() const {
        return std::get_if<T>(&value);
    }
};

/// A parser error together with the command stack at the point of failure.
struct CommandError {
    std::vector<const CommandType*> commandStack;
    ParserError parserError;
};

/// A command's `validate` or `run` returns it: printed with the usage,
/// exit status 64.
struct ValidationError {
    std::string message;
};

/// Ends the run successfully, with help, a message or the dump.
struct CleanExit {
    struct HelpRequest {
        const CommandType* command = nullptr;
    };
    struct Message {
        std::string text;
    };
    struct DumpRequest {
        const CommandType* command = nullptr;
    };
    std::variant<HelpRequest, Message, DumpRequest> base;

    static CleanExit helpRequest(const CommandType* command = nullptr) { return {HelpRequest{command}}; }
    static CleanExit message(std::string text) { return {Message{std::move(text)}}; }
    static CleanExit dumpRequest(const CommandType* command = nullptr) { return {DumpRequest{command}}; }

    std::string description() const;
};

/// Ends the run silently with its own status.
struct ExitCode {
    std::int32_t rawValue = 0;

    static constexpr std::int32_t success = 0;
    static constexpr std::int32_t failure = 1;
    static constexpr std::int32_t validationFailure = 64;

    bool isSuccess() const { return rawValue == 0; }
};

/// Any other error a command reports: its description is what the user sees.
struct LocalizedError {
    std::string domain;
    int code = 0;
    std::string description;
    std::string path;

    LocalizedError(std::string domain, int code, std::string description, std::string path = {})
        : domain(std::move(domain)), code(code), description(std::move(description)), path(std::move(path)) {}
    LocalizedError(const platform::Error& e) : LocalizedError(e.domain, e.code, e.description, e.path) {}
};

struct Error {
    using Value = std::variant<CommandError, ParserError, ValidationError, CleanExit, ExitCode, LocalizedError>;
    Value value;

    template <class T>
    requires std::constructible_from<Value, T&&> Error(T&& v) : value(std::forward<T>(v)) {}
    Error(const platform::Error& e) : value(LocalizedError(e)) {}

    template <class T>
    const T* as() const {
        return std::get_if<T>(&value);
    }
};

template <class T>
using Result = platform::Expected<T, Error>;

}  // namespace ap
