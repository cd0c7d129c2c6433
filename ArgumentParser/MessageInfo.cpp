#include "ArgumentParser/MessageInfo.hpp"

#include "ArgumentParser/ArgumentSet.hpp"
#include "ArgumentParser/CommandTree.hpp"
#include "ArgumentParser/CompletionsGenerator.hpp"
#include "ArgumentParser/ErrorMessages.hpp"
#include "ArgumentParser/HelpGenerator.hpp"
#include "ArgumentParser/ToolInfo.hpp"

namespace ap {
namespace {

class Classifier {
public:
    Classifier(const CommandType& root, std::optional<int> screenWidth) : root_(root), screenWidth_(screenWidth) {}

    MessageInfo classify(const Error& error) const {
        if (auto e = error.as<CommandError>()) return commandError(e->commandStack, e->parserError);
        if (auto e = error.as<ParserError>()) return commandError(rootStack(), *e);
        return userError(rootStack(), error);
    }

private:
    CommandStack rootStack() const { return {&root_}; }

    std::string help(const CommandStack& stack, ArgumentVisibility visibility) const {
        return helpText(stack, visibility, screenWidth_);
    }

    /// The stack from the root to `command`, or `current` when no command is named.
    CommandStack stackOf(const CommandType* command, const CommandStack& current) const {
        if (!command) return current;
        CommandTree tree(root_);
        if (auto node = tree.find(*command)) return node->stack();
        return {command};
    }

    MessageInfo commandError(CommandStack stack, const ParserError& error) const {
        if (stack.empty()) stack = rootStack();
        if (auto e = error.as<ParserError::HelpRequested>()) return {MessageInfo::Help{help(stack, e->visibility)}};
        if (error.as<ParserError::DumpHelpRequested>()) return {MessageInfo::Help{dumpHelp(stack)}};
        if (error.as<ParserError::VersionRequested>()) return {MessageInfo::Help{versionText(stack)}};
        if (auto e = error.as<ParserError::CompletionScriptRequested>()) {
            auto shell = resolveCompletionShell(e->shell);
            if (!shell) return commandError(stack, shell.error());
            return {MessageInfo::Help{generateCompletionScript(*shell, root_)}};
        }
        if (auto e = error.as<ParserError::CompletionScriptCustomResponse>()) return {MessageInfo::Help{e->text}};
        if (auto e = error.as<ParserError::UserValidationError>())
            return e->error ? userError(stack, *e->error) : MessageInfo{MessageInfo::Other{}};

        ArgumentSet arguments(*stack.back(), ArgumentVisibility::default_);
        auto usage = error.as<ParserError::NoArguments>() ? "\n" + help(rootStack(), ArgumentVisibility::default_)
                                                          : usageWithHelpHint(stack);
        return {MessageInfo::Validation{errorDescription(error, arguments), std::move(usage),
                                        helpDescription(error, arguments)}};
    }

    MessageInfo userError(const CommandStack& stack, const Error& error) const {
        if (auto e = error.as<ValidationError>())
            return {MessageInfo::Validation{e->message, usageWithHelpHint(stack), {}}};
        if (auto e = error.as<CleanExit>()) {
            if (auto r = std::get_if<CleanExit::HelpRequest>(&e->base))
                return {MessageInfo::Help{help(stackOf(r->command, stack), ArgumentVisibility::default_)}};
            if (auto r = std::get_if<CleanExit::DumpRequest>(&e->base))
                return {MessageInfo::Help{dumpHelp(stackOf(r->command, stack))}};
            return {MessageInfo::Help{std::get<CleanExit::Message>(e->base).text}};
        }
        if (auto e = error.as<ExitCode>()) return {MessageInfo::Other{{}, e->rawValue}};
        if (auto e = error.as<LocalizedError>()) return {MessageInfo::Other{e->description, ExitCode::failure}};
        // A parse failure handed back by a command's own validation is
        // reported as the parser would have reported it.
        if (auto e = error.as<CommandError>()) return commandError(e->commandStack, e->parserError);
        if (auto e = error.as<ParserError>()) return commandError(stack, *e);
        return {MessageInfo::Other{errorDescription(error, ArgumentSet()), ExitCode::failure}};
    }

    const CommandType& root_;
    std::optional<int> screenWidth_;
};

}  // namespace

MessageInfo MessageInfo::make(const Error& error, const CommandType& root, std::optional<int> screenWidth) {
    return Classifier(root, screenWidth).classify(error);
}

std::string MessageInfo::fullText(std::string_view errorLabel) const {
    if (auto h = std::get_if<Help>(&value)) return h->text;
    if (auto v = std::get_if<Validation>(&value)) {
        std::string text;
        if (!v->message.empty()) text += std::string(errorLabel) + ": " + v->message + "\n";
        if (!v->help.empty()) text += "Help:  " + v->help + "\n";
        return text + v->usage;
    }
    const auto& o = std::get<Other>(value);
    return o.message.empty() ? std::string() : std::string(errorLabel) + ": " + o.message;
}

std::int32_t MessageInfo::exitCode() const {
    if (isHelp()) return ExitCode::success;
    if (std::holds_alternative<Validation>(value)) return ExitCode::validationFailure;
    return std::get<Other>(value).exitCode;
}

std::string usageWithHelpHint(const CommandStack& stack) {
    auto usage = usageMessage(stack);
    if (auto name = preferredHelpName(stack)) {
        if (!usage.empty()) usage += "\n";
        std::string names;
        for (auto c : stack) names += c->commandName() + " ";
        usage += "  See '" + names + name->synopsis() + "' for more information.";
    }
    return usage;
}

}  // namespace ap
