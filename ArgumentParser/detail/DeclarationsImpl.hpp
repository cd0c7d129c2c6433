#pragma once
// The bodies of Declarations.hpp. Each declaration makes definitions, whose
// updates store what parsing finds under the property's key, and a property,
// which reads that value back into the member: one path for every kind of
// member, from the stored value's type down.

#include <any>
#include <memory>
#include <type_traits>
#include <typeinfo>
#include <utility>

#include "ArgumentParser/ArgumentDecoder.hpp"

namespace ap {
namespace detail {

/// What the parsed values hold for a member: the whole array, or one value.
template <class M>
using Stored = std::conditional_t<MemberShape<M>::array, M, typename MemberShape<M>::Value>;

template <class T>
std::vector<std::string> allValueStrings() {
    if constexpr (ExpressibleByArgument<T>)
        return ArgumentValue<T>::allValueStrings();
    else
        return {};
}

/// How help shows a member's default: its value's description, an array's
/// joined with ", " (none when empty); none for a type only a transform reads.
template <class M>
std::optional<std::string> describedDefault(const M& value) {
    using T = typename MemberShape<M>::Value;
    if constexpr (!ExpressibleByArgument<T>) {
        return std::nullopt;
    } else if constexpr (MemberShape<M>::array) {
        std::string description;
        for (const auto& v : value)
            description += (description.empty() ? "" : ", ") + ArgumentValue<T>::defaultValueDescription(v);
        if (description.empty()) return std::nullopt;
        return description;
    } else {
        return ArgumentValue<T>::defaultValueDescription(value);
    }
}

/// Stores `value` at the start of every parse; an array default gives way
/// to the first value given.
template <class V>
ArgumentDefinition::Initial storesDefault(InputKey key, V value) {
    return [key = std::move(key), value = std::move(value)](const InputOrigin& origin, ParsedValues& values) {
        values.set(key, value, origin);
        if constexpr (MemberShape<V>::array) values.element(key)->shouldClearArrayIfParsed = true;
    };
}

/// Stores a flag's `value`, or refuses it when another value of the same
/// property was given and `exclusivity` says so.
template <class V>
std::optional<ParserError> setExclusively(const InputKey& key, const V& value, const InputOrigin& origin,
                                          FlagExclusivity exclusivity, ParsedValues& values) {
    auto existing = values.element(key);
    if (existing && !existing->inputOrigin.isDefaultValue()) {
        auto previous = std::any_cast<V>(&existing->value);
        switch (exclusivity) {
            case FlagExclusivity::exclusive:
                if (previous && *previous == value) break;
                return ParserError{
                    ParserError::DuplicateExclusiveValues{existing->inputOrigin, origin, values.originalInput}};
            case FlagExclusivity::chooseFirst: existing->inputOrigin.formUnion(origin); return std::nullopt;
            case FlagExclusivity::chooseLast: break;
        }
    }
    values.set(key, value, origin);
    return std::nullopt;
}

template <class V>
ArgumentDefinition::Nullary storesFlag(InputKey key, V value, FlagExclusivity exclusivity) {
    return [key = std::move(key), value = std::move(value),
            exclusivity](const InputOrigin& origin, const std::optional<Name>&, ParsedValues& values) {
        return setExclusively(key, value, origin, exclusivity, values);
    };
}

/// The refusal of `text`, with the transform's reason when it gave one.
ParserError unparsable(const InputKey& key, const InputOrigin& origin, const std::optional<Name>& name,
                       const std::string& text, std::optional<std::string> reason);

/// Converts each text given for member type `M` (by `transform`, when there
/// is one) and stores it, or appends it to the array, whose default is
/// dropped first.
template <class M>
ArgumentDefinition::Unary convertsAndStores(InputKey key, Transform<typename MemberShape<M>::Value> transform) {
    using T = typename MemberShape<M>::Value;
    return [key = std::move(key),
            transform = std::move(transform)](const InputOrigin& origin, const std::optional<Name>& name,
                                              const std::string& text,
                                              ParsedValues& values) -> std::optional<ParserError> {
        std::optional<T> value;
        std::optional<std::string> reason;
        if (transform) {
            auto converted = transform(text);
            if (converted)
                value = std::move(*converted);
            else
                reason = std::move(converted.error().description);
        } else if constexpr (ExpressibleByArgument<T>) {
            value = ArgumentValue<T>::parse(text);
        }
        if (!value) return unparsable(key, origin, name, text, std::move(reason));
        if constexpr (MemberShape<M>::array) {
            auto e = values.element(key);
            if (e && !e->shouldClearArrayIfParsed) {
                std::any_cast<M&>(e->value).push_back(std::move(*value));
                e->inputOrigin.formUnion(origin);
                return std::nullopt;
            }
            values.set(key, M{std::move(*value)}, origin);
        } else {
            values.set(key, std::move(*value), origin);
        }
        return std::nullopt;
    };
}

/// Reads the value parsed for `key` into the member. Without one, a
/// required member fails with `noValue`, an optional one is emptied and any
/// other keeps the value it has in a new command.
template <class C, class M>
typename Arguments<C>::Property readsInto(InputKey key, M C::*member, bool required) {
    return
        [key = std::move(key), member, required](ArgumentDecoder& decoder, C& command) -> std::optional<ParserError> {
            auto e = decoder.element(key);
            if (!e) {
                if (required) return ParserError{ParserError::NoValue{key}};
                if constexpr (MemberShape<M>::optional) command.*member = std::nullopt;
                return std::nullopt;
            }
            auto v = std::any_cast<Stored<M>>(&e->value);
            if (!v) return ParserError{ParserError::InvalidState{}};
            command.*member = *v;
            return std::nullopt;
        };
}

}  // namespace detail

template <class C>
template <class M>
void Arguments<C>::argument(std::string_view property, M C::*member, ArgumentDeclaration d) {
    static_assert(ExpressibleByArgument<ValueOf<M>>, "declare ap::ArgumentValue<T> for this member's type");
    argument(property, member, std::move(d), {});
}

template <class C>
template <class M>
void Arguments<C>::argument(std::string_view property, M C::*member, ArgumentDeclaration d,
                            Transform<ValueOf<M>> transform) {
    auto strategy = d.parsing ? d.parsing->base : ParsingStrategy::default_;
    addValued(valued(ArgumentDefinition::Kind::positional, keyOf(property), {}, strategy, d.help, d.completion,
                     detail::allValueStrings<ValueOf<M>>()),
              member, d.defaulted, std::move(transform));
}

template <class C>
template <class M>
void Arguments<C>::option(std::string_view property, M C::*member, OptionDeclaration d) {
    static_assert(ExpressibleByArgument<ValueOf<M>>, "declare ap::ArgumentValue<T> for this member's type");
    option(property, member, std::move(d), {});
}

template <class C>
template <class M>
void Arguments<C>::option(std::string_view property, M C::*member, OptionDeclaration d,
                          Transform<ValueOf<M>> transform) {
    auto strategy = ParsingStrategy::default_;
    if constexpr (detail::MemberShape<M>::array) {
        if (d.arrayParsing) strategy = d.arrayParsing->base;
    } else if (d.parsing) {
        strategy = d.parsing->base;
    }
    auto key = keyOf(property);
    auto names = d.name.makeNames(key);
    addValued(valued(ArgumentDefinition::Kind::named, key, std::move(names), strategy, d.help, d.completion,
                     detail::allValueStrings<ValueOf<M>>()),
              member, d.defaulted, std::move(transform));
}

template <class C>
template <class M>
void Arguments<C>::addValued(ArgumentDefinition def, M C::*member, bool defaulted, Transform<ValueOf<M>> transform) {
    using Shape = detail::MemberShape<M>;
    const InputKey& key = def.help.keys.front();
    def.help.isOptional = Shape::optional || defaulted;
    def.help.isRepeating = Shape::array;
    def.update = detail::convertsAndStores<M>(key, std::move(transform));
    if constexpr (!Shape::optional) {
        if (defaulted) {
            const M& initial = prototype().*member;
            def.help.defaultValue = detail::describedDefault(initial);
            def.initial = detail::storesDefault(key, initial);
        }
    }
    properties.push_back(detail::readsInto(key, member, !Shape::optional && !defaulted));
    definitions.push_back(std::move(def));
}

template <class C>
void Arguments<C>::flag(std::string_view property, bool C::*member, FlagDeclaration d) {
    auto key = keyOf(property);
    const bool required = d.inversion && d.required;
    declareOnOff(key, d, prototype().*member, required);
    properties.push_back(detail::readsInto(std::move(key), member, required));
}

template <class C>
void Arguments<C>::flag(std::string_view property, int C::*member, FlagDeclaration d) {
    auto key = keyOf(property);
    declareCounted(key, d);
    properties.push_back(detail::readsInto(std::move(key), member, false));
}

template <class C>
template <class M, class E>
void Arguments<C>::flags(std::string_view property, M C::*member, std::vector<FlagCase<E>> cases,
                         FlagEnumDeclaration d) {
    constexpr bool optional = detail::MemberShape<M>::optional;
    auto key = keyOf(property);
    std::optional<E> initial;
    if constexpr (!optional) {
        if (d.defaulted) initial = prototype().*member;
    }
    for (std::size_t i = 0; i < cases.size(); ++i) {
        const auto& c = cases[i];
        auto def = definition(ArgumentDefinition::Kind::named, key, c.help);
        def.names = c.names.value_or(NameSpecification::long_()).makeNames(keyOf(c.name));
        def.help.isComposite = true;
        def.help.isOptional = optional || initial.has_value();
        def.update = detail::storesFlag(key, c.value, d.exclusivity);
        if (i == 0 && initial) def.initial = detail::storesDefault(key, *initial);
        definitions.push_back(std::move(def));
    }
    properties.push_back(detail::readsInto(std::move(key), member, !optional && !initial));
}

template <class C>
template <class G>
void Arguments<C>::group(std::string_view property, G C::*member, GroupDeclaration d) {
    auto key = keyOf(property);
    Arguments<G> inner(key.childPath(), d.title.empty() ? title_ : d.title,
                       detail::moreRestricted(visibility_, d.visibility));
    G::arguments(inner);
    for (auto& def : inner.definitions) definitions.push_back(std::move(def));
    // A group decoded for a command above is the same group here.
    properties.push_back([member, inner = std::move(inner.properties)](ArgumentDecoder& decoder,
                                                                       C& command) -> std::optional<ParserError> {
        if (auto previous = decoder.previouslyDecoded(typeid(G))) {
            if (auto value = std::any_cast<G>(previous)) {
                command.*member = *value;
                return std::nullopt;
            }
        }
        for (const auto& p : inner)
            if (auto failure = p(decoder, command.*member)) return failure;
        decoder.recordGroup(typeid(G), command.*member);
        return std::nullopt;
    });
}

template <class C>
const C& Arguments<C>::prototype() {
    if (!prototype_) prototype_ = std::make_shared<const C>();
    return *prototype_;
}

namespace detail {

template <class C>
concept DeclaresArguments = requires(Arguments<C>& a) {
    C::arguments(a);
};

template <class C>
CommandDeclarations declarationsOf() {
    Arguments<C> declared;
    if constexpr (DeclaresArguments<C>) C::arguments(declared);
    return {std::move(declared.definitions),
            [properties = std::move(declared.properties)](ArgumentDecoder& decoder,
                                                          ParsableCommand& command) -> std::optional<ParserError> {
                for (const auto& p : properties)
                    if (auto failure = p(decoder, static_cast<C&>(command))) return failure;
                return std::nullopt;
            }};
}

template <class C>
CommandType makeCommandType(CommandRef self) {
    return CommandType(std::string(C::typeName), self, C::configuration(), &declarationsOf<C>,
                       []() -> std::unique_ptr<ParsableCommand> { return std::make_unique<C>(); });
}

}  // namespace detail

template <class C>
const CommandType& typeOf() {
    static const CommandType& type = *new CommandType(detail::makeCommandType<C>(&typeOf<C>));
    return type;
}

}  // namespace ap
