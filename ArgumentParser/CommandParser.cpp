#include "ArgumentParser/CommandParser.hpp"

#include "ArgumentParser/ArgumentSet.hpp"
#include "ArgumentParser/HelpCommand.hpp"

namespace ap {
namespace {

// The pseudo-commands that recognise --generate-completion-script anywhere
// on the line, with a shell name or without one.
struct GenerateCompletions : ParsableCommand {
    static constexpr std::string_view typeName = "GenerateCompletions";
    static CommandConfiguration configuration() { return {.commandName = "generate-completions"}; }
    static void arguments(Arguments<GenerateCompletions>& a) {
        a.option("generateCompletionScript", &GenerateCompletions::shell);
    }
    std::string shell;
};

struct AutodetectedGenerateCompletions : ParsableCommand {
    static constexpr std::string_view typeName = "AutodetectedGenerateCompletions";
    static CommandConfiguration configuration() { return {.commandName = "autodetected-generate-completions"}; }
    static void arguments(Arguments<AutodetectedGenerateCompletions>& a) {
        a.flag("generateCompletionScript", &AutodetectedGenerateCompletions::requested);
    }
    bool requested = false;
};

std::unique_ptr<ParsableCommand> leniently(const CommandType& type, const SplitArguments& split) {
    auto values = ArgumentSet(type, ArgumentVisibility::private_).lenientParse(split, {}, nullptr);
    if (!values) return nullptr;
    std::vector<DecodedGroup> none;
    ArgumentDecoder decoder(*values, none);
    auto command = type.decode(decoder);
    return command ? std::move(*command) : nullptr;
}

}  // namespace

CommandParser::CommandParser(const CommandType& root) : tree_(root), current_(&tree_.root()) {}

Result<std::unique_ptr<ParsableCommand>> CommandParser::parse(std::vector<std::string> arguments) {
    const auto& root = *tree_.root().element;
    if (!arguments.empty() && arguments.front() == "---completion")
        return customCompletion(std::vector<std::string>(arguments.begin() + 1, arguments.end()));

    bool noArguments = arguments.empty();
    auto split = SplitArguments::split(std::move(arguments));
    if (!split) return CommandError{{&root}, std::move(split).error()};

    if (!root.configuration().superCommandName)
        if (auto request = completionScriptRequest(*split)) return std::move(*request);

    auto result = descend(*split);
    if (result) {
        if (auto help = dynamic_cast<HelpCommand*>(result->get())) help->buildCommandStack(tree_);
        return std::move(*result);
    }
    auto failure = std::move(result).error();
    if (auto e = std::get_if<CommandError>(&failure)) return std::move(*e);
    if (auto h = std::get_if<HelpRequested>(&failure))
        return std::unique_ptr<ParsableCommand>(std::make_unique<HelpCommand>(HelpCommand::forStack(currentStack(),
                                                                                                    h->visibility)));
    auto error = std::move(std::get<ParserError>(failure));
    if (noArguments) error = ParserError::NoArguments{std::make_shared<const Error>(std::move(error))};
    return CommandError{currentStack(), std::move(error)};
}

CommandParser::Step<std::unique_ptr<ParsableCommand>> CommandParser::descend(SplitArguments& split) {
    std::unique_ptr<ParsableCommand> last;
    while (true) {
        auto command = parseCurrent(split);
        if (!command) return std::move(command).error();
        if (auto valid = (*command)->validate(); !valid) {
            if (auto flag = checkBuiltinFlags(split)) return std::move(*flag);
            return CommandError{currentStack(), ParserError::UserValidationError{
                                                    std::make_shared<const Error>(std::move(valid).error())}};
        }
        last = std::move(*command);

        if (auto next = split.peekNext(); next && next->isValue()) {
            if (auto child = current_->child(*next->value)) {
                split.popNext();
                current_ = child;
                continue;
            }
        }
        if (split.unusedCount() == 1)
            if (auto flag = checkBuiltinFlags(split)) return std::move(*flag);
        if (auto ref = current_->element->configuration().defaultSubcommand) {
            auto child = current_->child(ref());
            if (!child) return ParserError{ParserError::InvalidState{}};
            current_ = child;
            continue;
        }
        break;
    }

    if (auto flag = checkBuiltinFlags(split)) return std::move(*flag);
    if (split.containsNonTerminatorArguments()) {
        for (auto i : split.unusedElements()) {
            const auto& e = split.elements()[i];
            if (e.isOption())
                return ParserError{ParserError::UnknownOption{InputOrigin::Element::argumentIndex(e.index), *e.name}};
        }
        return ParserError{ParserError::UnexpectedExtraValues{split.coalescedExtraElements()}};
    }
    if (!last) return ParserError{ParserError::InvalidState{}};
    return last;
}

CommandParser::Step<std::unique_ptr<ParsableCommand>> CommandParser::parseCurrent(SplitArguments& split) {
    const auto& type = *current_->element;
    ArgumentSet arguments(type, ArgumentVisibility::private_);
    const auto defaultSubcommand = type.configuration().defaultSubcommand;
    auto values = arguments.lenientParse(split, subcommandsOf(type),
                                         defaultSubcommand ? &defaultSubcommand() : nullptr);
    if (!values) return std::move(values).error();

    if (type.hasRepeatingPositional(ParsingStrategy::allUnrecognized))
        if (auto flag = checkBuiltinFlags(split)) return std::move(*flag);

    ArgumentDecoder decoder(*values, decodedGroups_);
    auto command = type.decode(decoder);
    if (!command) {
        // A word taken as a value (by an option that takes the next word
        // whatever it looks like) is that value, never a request for help.
        auto unread = split;
        for (const auto& [key, element] : values->elements) unread.removeAll(element.inputOrigin);
        if (auto flag = checkBuiltinFlags(unread)) return std::move(*flag);
        return std::move(command).error();
    }
    split.removeAll(decoder.usedOrigins());
    for (const auto& group : decoder.decodedGroups()) {
        bool known = false;
        for (const auto& g : decodedGroups_) known = known || g.type == group.type;
        if (!known) decodedGroups_.push_back(group);
    }
    return std::move(*command);
}

std::optional<CommandParser::Failure> CommandParser::checkBuiltinFlags(const SplitArguments& split) const {
    auto stack = currentStack();
    for (const auto& name : helpNames(stack))
        if (split.contains(name)) return HelpRequested{ArgumentVisibility::default_};
    for (const auto& name : hiddenHelpNames(stack))
        if (split.contains(name)) return HelpRequested{ArgumentVisibility::hidden};
    if (split.contains(dumpHelpName())) return CommandError{stack, ParserError::DumpHelpRequested{}};
    if (hasVersion(stack) && split.contains(Name::long_("version")))
        return CommandError{stack, ParserError::VersionRequested{}};
    return std::nullopt;
}

std::optional<CommandError> CommandParser::completionScriptRequest(const SplitArguments& split) const {
    // Both pseudo-commands know this one name and nothing else: a line
    // without it, as nearly every line is, cannot ask for a script.
    if (!split.contains(Name::long_("generate-completion-script"))) return std::nullopt;
    const auto& root = *tree_.root().element;
    if (auto named = leniently(typeOf<GenerateCompletions>(), split))
        return CommandError{{&root},
                            ParserError::CompletionScriptRequested{static_cast<GenerateCompletions&>(*named).shell}};
    if (auto bare = leniently(typeOf<AutodetectedGenerateCompletions>(), split))
        if (static_cast<AutodetectedGenerateCompletions&>(*bare).requested)
            return CommandError{{&root}, ParserError::CompletionScriptRequested{std::nullopt}};
    return std::nullopt;
}

CommandError CommandParser::customCompletion(const std::vector<std::string>& arguments) const {
    const auto* node = &tree_.root();
    auto invalid = [&] { return CommandError{node->stack(), ParserError::InvalidState{}}; };
    std::size_t i = 0;
    for (; i < arguments.size() && arguments[i] != "--"; ++i) {
        node = node->child(arguments[i]);
        if (!node) {
            node = &tree_.root();
            return invalid();
        }
    }
    if (i + 1 >= arguments.size()) return invalid();
    const auto& argumentName = arguments[i + 1];
    std::vector<std::string> words(arguments.begin() + static_cast<std::ptrdiff_t>(i + 2), arguments.end());

    ArgumentSet set(*node->element, ArgumentVisibility::private_);
    auto split = SplitArguments::split({argumentName});
    if (!split || split->elements().empty()) return invalid();
    const auto& element = split->elements().front();
    const ArgumentDefinition* definition = nullptr;
    if (element.isOption()) {
        definition = set.owner(*element.name);
    } else if (element.isValue()) {
        InputKey key(*element.value);
        for (auto d : set.content)
            for (const auto& k : d->help.keys)
                if (!definition && k == key) definition = d;
    }
    if (!definition) return invalid();
    auto custom = definition->completion.as<CompletionKind::Custom>();
    if (!custom || !custom->complete) return invalid();

    std::string text;
    auto candidates = custom->complete(words);
    for (std::size_t c = 0; c < candidates.size(); ++c) text += (c ? "\n" : "") + candidates[c];
    return CommandError{node->stack(), ParserError::CompletionScriptCustomResponse{text}};
}

Result<std::unique_ptr<ParsableCommand>> parseAsRoot(const CommandType& root, std::vector<std::string> arguments) {
    return CommandParser(root).parse(std::move(arguments));
}

}  // namespace ap
