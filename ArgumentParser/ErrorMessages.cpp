#include "ArgumentParser/ErrorMessages.hpp"

#include "ArgumentParser/CompletionsGenerator.hpp"
#include "ArgumentParser/EditDistance.hpp"
#include "ArgumentParser/UsageGenerator.hpp"
#include "platform/Strings.hpp"

namespace ap {
namespace {

using platform::joined;

template <class... F>
struct Overloaded : F... {
    using F::operator()...;
};
// Spelled out for compilers without deduction for aggregates (clang 14).
template <class... F>
Overloaded(F...) -> Overloaded<F...>;

const ArgumentDefinition* definitionFor(const InputKey& key, const ArgumentSet& arguments) {
    for (auto d : arguments.content)
        for (const auto& k : d->help.keys)
            if (k == key) return d;
    return nullptr;
}

std::string describeOrigin(const InputOrigin& origin, const std::vector<std::string>& input) {
    for (const auto& e : origin.elements()) {
        if (e.isDefaultValue()) continue;
        auto i = static_cast<std::size_t>(e.index->inputIndex);
        std::string text = "'" + (i < input.size() ? input[i] : std::string()) + "'";
        return origin.size() == 1 ? "flag " + text : text;
    }
    return "position defaultValue";
}

std::string unknownOption(const Name& name, const ArgumentSet& arguments) {
    auto message = "Unknown option '" + name.synopsis() + "'";
    if (!name.isShort())
        if (auto suggestion = suggestedName(name, arguments))
            message += ". Did you mean '" + suggestion->synopsis() + "'?";
    return message;
}

std::string missingValue(const Name& name, const ArgumentSet& arguments) {
    if (auto owner = arguments.owner(name))
        return "Missing value for '" + name.synopsis() + " <" + owner->valueName() + ">'";
    return "Missing value for '" + name.synopsis() + "'";
}

std::string unexpectedValues(const std::vector<std::pair<InputOrigin, std::string>>& values) {
    std::vector<std::string> texts;
    for (const auto& v : values) texts.push_back(v.second);
    if (texts.size() == 1) return "Unexpected argument '" + texts.front() + "'";
    return std::to_string(texts.size()) + " unexpected arguments: '" + joined(texts, "', '") + "'";
}

std::string noValue(const InputKey& key, const ArgumentSet& arguments) {
    std::vector<std::string> synopses;
    for (auto d : arguments.content) {
        if (d->help.visibility != ArgumentVisibility::default_) continue;
        for (const auto& k : d->help.keys)
            if (k == key) {
                synopses.push_back(synopsis(*d, false));
                break;
            }
    }
    if (synopses.empty())
        return "No value set for non-argument var " + key.fullName() +
               ". Replace with a static variable, or let constant.";
    if (synopses.size() == 1) return "Missing expected argument '" + synopses.front() + "'";
    return "Missing one of: '" + joined(synopses, "', '") + "'";
}

std::string unableToParse(const ParserError::UnableToParseValue& e, const ArgumentSet& arguments) {
    auto definition = definitionFor(e.forKey, arguments);
    std::string message = "The value '" + e.value;
    if (e.name && definition)
        message += "' is invalid for '" + e.name->synopsis() + " <" + definition->valueName() + ">'";
    else if (definition)
        message += "' is invalid for '<" + definition->valueName() + ">'";
    else if (e.name)
        message += "' is invalid for '" + e.name->synopsis() + "'";
    else
        message += "' is invalid.";
    if (e.originalError) return message + ": " + *e.originalError;
    if (definition) message += acceptedValuesDetail(definition->help.allValueStrings);
    return message;
}

std::string unsupportedShell(const std::optional<std::string>& shell) {
    std::string first = shell ? "Can't generate completion scripts for '" + *shell + "'."
                              : "Can't autodetect a supported shell.";
    return first + "\nPlease use --generate-completion-script=<shell> with one of:\n    " + supportedShellList();
}

}  // namespace

std::string acceptedValuesDetail(const std::vector<std::string>& values) {
    if (values.empty()) return {};
    if (values.size() > 5) {
        std::string text = ". Please provide one of the following:";
        for (const auto& v : values) text += "\n  - " + v;
        return text;
    }
    std::vector<std::string> quoted;
    for (const auto& v : values) quoted.push_back("'" + v + "'");
    std::string list;
    if (quoted.size() <= 2) {
        list = joined(quoted, " and ");
    } else {
        auto last = quoted.back();
        quoted.pop_back();
        list = joined(quoted, ", ") + " or " + last;
    }
    return ". Please provide one of " + list + ".";
}

std::optional<Name> suggestedName(const Name& typed, const ArgumentSet& arguments) {
    const auto written = typed.synopsis();
    std::optional<Name> best;
    std::size_t bestDistance = 0;
    for (auto d : arguments.content) {
        if (!d->isNamed()) continue;
        for (const auto& n : d->names) {
            if (n.isShort()) continue;
            auto distance = editDistance(n.synopsis(), written);
            if (distance >= 4) continue;
            if (!best || distance < bestDistance) {
                best = n;
                bestDistance = distance;
            }
        }
    }
    return best;
}

std::string errorDescription(const ParserError& error, const ArgumentSet& arguments) {
    return std::visit(Overloaded{
                          [](const ParserError::HelpRequested&) { return std::string(); },
                          [](const ParserError::CompletionScriptRequested&) { return std::string(); },
                          [](const ParserError::CompletionScriptCustomResponse&) { return std::string(); },
                          [](const ParserError::VersionRequested&) { return std::string(); },
                          [](const ParserError::DumpHelpRequested&) { return std::string(); },
                          [](const ParserError::UnsupportedShell& e) { return unsupportedShell(e.shell); },
                          [&](const ParserError::UnknownOption& e) { return unknownOption(e.name, arguments); },
                          [](const ParserError::InvalidOption& e) { return "Invalid option: " + e.text; },
                          [&](const ParserError::MissingValueForOption& e) { return missingValue(e.name, arguments); },
                          [](const ParserError::UnexpectedValueForOption& e) {
                              return "The option '" + e.name.synopsis() + "' does not take any value, but '" + e.value +
                                     "' was specified.";
                          },
                          [](const ParserError::UnexpectedExtraValues& e) { return unexpectedValues(e.values); },
                          [](const ParserError::DuplicateExclusiveValues& e) {
                              return "Value to be set with " + describeOrigin(e.duplicate, e.originalInput) +
                                     " had already been set with " + describeOrigin(e.previous, e.originalInput);
                          },
                          [&](const ParserError::NoValue& e) { return noValue(e.forKey, arguments); },
                          [&](const ParserError::UnableToParseValue& e) { return unableToParse(e, arguments); },
                          [&](const ParserError::UserValidationError& e) {
                              return e.error ? errorDescription(*e.error, arguments) : std::string();
                          },
                          [&](const ParserError::NoArguments& e) {
                              return e.error ? errorDescription(*e.error, arguments) : std::string();
                          },
                          [](const ParserError::InvalidState&) {
                              return std::string("Internal error. Invalid state while parsing command-line arguments.");
                          },
                      },
                      error.value);
}

std::string errorDescription(const Error& error, const ArgumentSet& arguments) {
    return std::visit(Overloaded{
                          [&](const CommandError& e) { return errorDescription(e.parserError, arguments); },
                          [&](const ParserError& e) { return errorDescription(e, arguments); },
                          [](const ValidationError& e) { return e.message; },
                          [](const CleanExit& e) { return e.description(); },
                          [](const ExitCode& e) { return "ExitCode(" + std::to_string(e.rawValue) + ")"; },
                          [](const LocalizedError& e) { return e.description; },
                      },
                      error.value);
}

std::string helpDescription(const ParserError& error, const ArgumentSet& arguments) {
    if (auto e = error.as<ParserError::MissingValueForOption>()) {
        auto owner = arguments.owner(e->name);
        if (!owner) return {};
        return e->name.synopsis() + " <" + owner->valueName() + ">  " + owner->help.abstract;
    }
    if (auto e = error.as<ParserError::UnableToParseValue>()) {
        auto definition = definitionFor(e->forKey, arguments);
        if (!definition) return {};
        std::string value = e->name ? e->name->synopsis() + " <" : "<";
        return value + definition->valueName() + ">  " + definition->help.abstract;
    }
    if (auto e = error.as<ParserError::NoValue>()) {
        auto definition = definitionFor(e->forKey, arguments);
        if (!definition) return {};
        if (definition->isNamed()) return synopsis(*definition) + "  " + definition->help.abstract;
        std::string line = "<";
        return line + definition->valueName() + ">  " + definition->help.abstract;
    }
    return {};
}

}  // namespace ap
