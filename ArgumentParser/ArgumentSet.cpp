#include "ArgumentParser/ArgumentSet.hpp"

namespace ap {
namespace {

const ArgumentDefinition::Unary& unary(const ArgumentDefinition& d) {
    return std::get<ArgumentDefinition::Unary>(d.update);
}

/// The command-line argument an element of `input` was split from, as typed.
const std::string& originalText(const SplitArguments& input, std::size_t element) {
    return input.originalInput()[static_cast<std::size_t>(input.elements()[element].index.inputIndex)];
}

}  // namespace

ArgumentSet::ArgumentSet(const CommandType& command, ArgumentVisibility visibility) {
    const auto& all = command.definitions();
    content.reserve(all.size());
    for (const auto& d : all)
        if (isVisible(d.help.visibility, visibility)) content.push_back(&d);
}

const ArgumentDefinition* ArgumentSet::owner(const Name& name) const {
    for (auto d : content)
        for (const auto& n : d->names)
            if (n == name) return d;
    return nullptr;
}

platform::Expected<ParsedValues, ParserError> ArgumentSet::lenientParse(
    const SplitArguments& all, const std::vector<const CommandType*>& subcommands,
    const CommandType* defaultSubcommand) const {
    // Asked only where it decides something: a word this command does not
    // know, with more after it. Its answer may need the default
    // subcommand's declarations, which a run rarely needs otherwise.
    std::optional<bool> capturing;
    auto captureForPassthrough = [&] {
        if (!capturing) {
            capturing = defaultSubcommand &&
                        defaultSubcommand->hasRepeatingPositional(ParsingStrategy::allRemainingInput);
            for (auto d : content)
                if (d->isRepeatingPositional() && d->parsingStrategy == ParsingStrategy::allRemainingInput)
                    capturing = true;
        }
        return *capturing;
    };

    ParsedValues values;
    values.originalInput = all.originalInput();
    for (auto d : content)
        if (d->initial) d->initial(InputOrigin::defaultValue(), values);

    auto input = all;
    InputOrigin used;
    while (auto position = input.popNext()) {
        const auto& element = input.elements()[*position];
        auto origin = InputOrigin::at(element.index);
        if (element.isTerminator()) continue;
        if (element.isValue()) {
            const CommandType* subcommand = nullptr;
            for (auto s : subcommands)
                if (s->commandName() == *element.value) {
                    subcommand = s;
                    break;
                }
            // A subcommand's name ends the line for this command only when the
            // subcommand takes all remaining input.
            if (subcommand) {
                if (subcommand->hasRepeatingPositional(ParsingStrategy::allRemainingInput)) break;
                continue;
            }
            if (input.peekNext() && captureForPassthrough()) break;
            continue;
        }
        auto definition = owner(*element.name);
        if (!definition) {
            bool isGroup = element.index.isComplete() && element.name->kind() == Name::Kind::longWithSingleDash &&
                           *position + 1 < input.elements().size() &&
                           input.elements()[*position + 1].index.inputIndex == element.index.inputIndex;
            if (!isGroup && input.peekNext() && captureForPassthrough()) break;
            continue;
        }
        if (auto nullary = std::get_if<ArgumentDefinition::Nullary>(&definition->update)) {
            if (element.value)
                return ParserError{
                    ParserError::UnexpectedValueForOption{origin.elements()[0], *element.name, *element.value}};
            if (auto failure = (*nullary)(origin, element.name, values)) return std::move(*failure);
            used.formUnion(origin);
            input.removeAll(origin);
            continue;
        }
        if (auto failure = parseValue(*definition, element, input, values, used)) return std::move(*failure);
    }

    auto unused = all;
    unused.removeAll(used);
    if (auto failure = parsePositionals(std::move(unused), values)) return std::move(*failure);
    return values;
}

std::optional<ParserError> ArgumentSet::parseValue(const ArgumentDefinition& definition,
                                                   const SplitArguments::Element& option, SplitArguments& input,
                                                   ParsedValues& values, InputOrigin& used) const {
    auto origin = InputOrigin::at(option.index);
    const auto& name = *option.name;
    const auto& update = unary(definition);
    auto apply = [&](const InputOrigin& valueOrigin, const std::string& value) {
        auto both = origin.united(valueOrigin);
        used.formUnion(both);
        input.removeAll(both);
        return update(both, name, value, values);
    };
    auto attachedOrJoined = [&]() -> std::optional<SplitArguments::TakenValue> {
        if (option.value) return SplitArguments::TakenValue{origin, *option.value};
        bool joins = false;
        if (name.isShort())
            for (const auto& n : definition.names)
                if (n.isShort() && n.allowingJoined() && n == name) joins = true;
        if (joins) return input.extractJoinedElement(option.index);
        return std::nullopt;
    };
    auto missing = [&] { return ParserError{ParserError::MissingValueForOption{origin, name}}; };

    switch (definition.parsingStrategy) {
        case ParsingStrategy::default_:
        case ParsingStrategy::scanningForValue:
        case ParsingStrategy::unconditional: {
            auto value = attachedOrJoined();
            if (!value) {
                if (definition.parsingStrategy == ParsingStrategy::default_)
                    value = input.popNextElementIfValue(option.index);
                else if (definition.parsingStrategy == ParsingStrategy::scanningForValue)
                    value = input.popNextValue(option.index);
                else
                    value = input.popNextElementAsValue(option.index);
            }
            if (!value) return missing();
            return apply(value->origin, value->value);
        }
        case ParsingStrategy::allRemainingInput: {
            for (const auto& key : definition.help.keys) values.elements.erase(key);
            if (definition.initial) definition.initial(InputOrigin::defaultValue(), values);
            if (auto value = attachedOrJoined())
                if (auto failure = apply(value->origin, value->value)) return failure;
            used.formUnion(origin);
            input.removeAll(origin);
            while (auto value = input.popNextElementAsValue(option.index))
                if (auto failure = apply(value->origin, value->value)) return failure;
            return std::nullopt;
        }
        case ParsingStrategy::upToNextOption: {
            auto first = attachedOrJoined();
            used.formUnion(origin);
            input.removeAll(origin);
            if (!first) first = input.popNextElementIfValue(option.index);
            if (!first) return missing();
            if (auto failure = apply(first->origin, first->value)) return failure;
            while (auto value = input.popNextElementIfValue(option.index))
                if (auto failure = apply(value->origin, value->value)) return failure;
            return std::nullopt;
        }
        case ParsingStrategy::postTerminator:
        case ParsingStrategy::allUnrecognized: return ParserError{ParserError::InvalidState{}};
    }
    return ParserError{ParserError::InvalidState{}};
}

std::optional<ParserError> ArgumentSet::parsePositionals(SplitArguments unused, ParsedValues& values) const {
    if (auto failure = parseValuesAfterTerminator(unused, values)) return failure;
    if (auto failure = parsePositionalsInOrder(unused, values)) return failure;
    return parseUnrecognized(unused, values);
}

std::optional<ParserError> ArgumentSet::parseValuesAfterTerminator(SplitArguments& unused, ParsedValues& values) const {
    const auto& elements = unused.elements();
    for (auto d : content) {
        if (!d->isRepeatingPositional() || d->parsingStrategy != ParsingStrategy::postTerminator) continue;
        bool afterTerminator = false;
        for (auto i : unused.unusedElements()) {
            if (elements[i].isTerminator()) {
                afterTerminator = true;
                continue;
            }
            if (!afterTerminator || !elements[i].isValue()) continue;
            unused.remove(i);
            if (auto failure = unary(*d)(InputOrigin::at(elements[i].index), std::nullopt, *elements[i].value, values))
                return failure;
        }
    }
    return std::nullopt;
}

std::optional<ParserError> ArgumentSet::parsePositionalsInOrder(SplitArguments& unused, ParsedValues& values) const {
    const auto& elements = unused.elements();
    std::vector<std::size_t> whole;
    for (auto i : unused.unusedElements())
        if (elements[i].index.isComplete()) whole.push_back(i);
    std::size_t next = 0;
    for (auto d : content) {
        if (!d->isPositional()) continue;
        if (d->parsingStrategy != ParsingStrategy::default_ && d->parsingStrategy != ParsingStrategy::allRemainingInput)
            continue;
        bool takesAnything = d->parsingStrategy == ParsingStrategy::allRemainingInput;
        do {
            while (next < whole.size() && !takesAnything && !elements[whole[next]].isValue()) ++next;
            if (next == whole.size()) break;
            auto i = whole[next++];
            auto origin = InputOrigin::at(elements[i].index);
            unused.removeAll(origin);
            if (auto failure = unary(*d)(origin, std::nullopt, originalText(unused, i), values)) return failure;
        } while (d->help.isRepeating);
        if (next == whole.size()) break;
    }
    return std::nullopt;
}

std::optional<ParserError> ArgumentSet::parseUnrecognized(SplitArguments& unused, ParsedValues& values) const {
    const auto& elements = unused.elements();
    for (auto d : content) {
        if (!d->isRepeatingPositional() || d->parsingStrategy != ParsingStrategy::allUnrecognized) continue;
        for (auto i : unused.unusedElements()) {
            if (unused.isUsed(i)) continue;
            const auto& e = elements[i];
            std::string value = e.index.isComplete() ? originalText(unused, i) : "-" + e.name->valueString();
            auto origin = InputOrigin::at(e.index);
            unused.removeAll(origin);
            if (auto failure = unary(*d)(origin, std::nullopt, value, values)) return failure;
        }
    }
    return std::nullopt;
}

}  // namespace ap
