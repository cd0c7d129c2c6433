#pragma once
// Declaring a command's arguments, once, as data bound to its members:
//
//   static void arguments(ap::Arguments<Diff>& a) {
//       a.option("repo", &Diff::repo, {.name = ap::NameSpecification::shortAndLong(),
//                                      .help = "The path to the repository.",
//                                      .completion = ap::CompletionKind::directory()});
//       a.argument("revspecA", &Diff::revspecA, {.help = "First commit to compare."});
//   }
//
// The member's type decides the shape: `T` is required (or defaulted, when
// the declaration says the member's initial value is its default),
// `std::optional<T>` is optional, `std::vector<T>` repeats.

#include <algorithm>
#include <any>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <typeindex>
#include <vector>

#include "ArgumentParser/ArgumentDecoder.hpp"
#include "ArgumentParser/ArgumentDefinition.hpp"
#include "ArgumentParser/ExpressibleByArgument.hpp"
#include "ArgumentParser/NameSpecification.hpp"
#include "ArgumentParser/ParsableCommand.hpp"

namespace ap {

struct ArgumentHelp {
    std::string abstract;
    std::string discussion;
    std::optional<std::string> valueName;
    ArgumentVisibility visibility = ArgumentVisibility::default_;

    ArgumentHelp() = default;
    ArgumentHelp(const char* abstract) : abstract(abstract) {}
    ArgumentHelp(std::string abstract, std::string discussion = {}, std::optional<std::string> valueName = {},
                 ArgumentVisibility visibility = ArgumentVisibility::default_)
        : abstract(std::move(abstract)),
          discussion(std::move(discussion)),
          valueName(std::move(valueName)),
          visibility(visibility) {}
};

/// A positional argument.
struct ArgumentDeclaration {
    ArgumentHelp help;
    std::optional<CompletionKind> completion;
    std::optional<ArgumentArrayParsingStrategy> parsing;  ///< arrays only
    /// The member's value in a new command is the argument's default.
    bool defaulted = false;
};

/// A named argument that takes a value.
struct OptionDeclaration {
    NameSpecification name = NameSpecification::long_();
    std::optional<SingleValueParsingStrategy> parsing;  ///< single values
    std::optional<ArrayParsingStrategy> arrayParsing;   ///< arrays
    ArgumentHelp help;
    std::optional<CompletionKind> completion;
    bool defaulted = false;
};

/// A named argument without a value: on/off (with an optional inverted
/// spelling) or counted.
struct FlagDeclaration {
    NameSpecification name = NameSpecification::long_();
    std::optional<FlagInversion> inversion;
    FlagExclusivity exclusivity = FlagExclusivity::chooseLast;
    ArgumentHelp help;
    /// An inverted flag without a default must be given.
    bool required = false;
};

/// One case of a flag enumeration: its value and the name its spellings
/// derive from.
template <class E>
struct FlagCase {
    E value;
    std::string name;
    ArgumentHelp help = {};
    std::optional<NameSpecification> names = {};
};

struct FlagEnumDeclaration {
    FlagExclusivity exclusivity = FlagExclusivity::exclusive;
    bool defaulted = false;
};

/// Another `ParsableArguments` type embedded in a command.
struct GroupDeclaration {
    std::string title;
    ArgumentVisibility visibility = ArgumentVisibility::default_;
};

namespace detail {

template <class T>
struct MemberShape {
    using Value = T;
    static constexpr bool optional = false, array = false;
};
template <class T>
struct MemberShape<std::optional<T>> {
    using Value = T;
    static constexpr bool optional = true, array = false;
};
template <class T, class A>
struct MemberShape<std::vector<T, A>> {
    using Value = T;
    static constexpr bool optional = false, array = true;
};

inline ArgumentVisibility moreRestricted(ArgumentVisibility a, ArgumentVisibility b) {
    return static_cast<int>(a) > static_cast<int>(b) ? a : b;
}

template <class V>
std::optional<ParserError> setExclusively(const InputKey& key, V value, const InputOrigin& origin,
                                          FlagExclusivity exclusivity, ParsedValues& values) {
    auto existing = values.element(key);
    if (existing && !existing->inputOrigin.isDefaultValue()) {
        auto previous = std::any_cast<V>(&existing->value);
        switch (exclusivity) {
            case FlagExclusivity::exclusive:
                if (previous && *previous == value) break;
                return ParserError{ParserError::DuplicateExclusiveValues{existing->inputOrigin, origin,
                                                                         values.originalInput}};
            case FlagExclusivity::chooseFirst:
                existing->inputOrigin.formUnion(origin);
                return std::nullopt;
            case FlagExclusivity::chooseLast:
                break;
        }
    }
    values.set(key, std::move(value), origin);
    return std::nullopt;
}

std::vector<NameSpecification::Element> invertedElements(const NameSpecification& names, FlagInversion inversion,
                                                         bool enabling, const InputKey& key);

}  // namespace detail

template <class C>
class Arguments {
public:
    using Property = std::function<std::optional<ParserError>(ArgumentDecoder&, C&)>;

    explicit Arguments(std::vector<std::string> path = {}, std::string title = {},
                       ArgumentVisibility visibility = ArgumentVisibility::default_)
        : path_(std::move(path)), title_(std::move(title)), visibility_(visibility) {}

    template <class M>
    void argument(std::string_view property, M C::*member, ArgumentDeclaration d = {}) {
        auto strategy = d.parsing ? d.parsing->base : ParsingStrategy::default_;
        addValued(ArgumentDefinition::Kind::positional, property, member, {}, strategy, d.help, d.completion,
                  d.defaulted);
    }

    template <class M>
    void option(std::string_view property, M C::*member, OptionDeclaration d = {}) {
        ParsingStrategy strategy = ParsingStrategy::default_;
        if constexpr (detail::MemberShape<M>::array) {
            if (d.arrayParsing) strategy = d.arrayParsing->base;
        } else if (d.parsing) {
            strategy = d.parsing->base;
        }
        InputKey key(property, path_);
        addValued(ArgumentDefinition::Kind::named, property, member, d.name.makeNames(key), strategy, d.help,
                  d.completion, d.defaulted);
    }

    /// An on/off flag; its default is the member's value in a new command.
    void flag(std::string_view property, bool C::*member, FlagDeclaration d = {}) {
        InputKey key(property, path_);
        bool initial = prototype().*member;
        bool required = d.inversion && d.required;
        auto base = namedDefinition(key, d.help);
        base.help.isOptional = !required;
        auto setter = [key, exclusivity = d.exclusivity](bool value) {
            return ArgumentDefinition::Nullary{
                [key, exclusivity, value](const InputOrigin& origin, const std::optional<Name>&, ParsedValues& values) {
                    return detail::setExclusively(key, value, origin, exclusivity, values);
                }};
        };
        if (!required)
            base.initial = [key, initial](const InputOrigin& origin, ParsedValues& values) {
                values.set(key, initial, origin);
            };
        if (!d.inversion) {
            base.names = d.name.makeNames(key);
            base.update = setter(true);
            definitions.push_back(std::move(base));
        } else {
            auto disabling = base;
            base.help.isComposite = disabling.help.isComposite = true;
            base.names = NameSpecification(detail::invertedElements(d.name, *d.inversion, true, key)).makeNames(key);
            disabling.names = NameSpecification(detail::invertedElements(d.name, *d.inversion, false, key)).makeNames(key);
            disabling.initial = nullptr;
            base.update = setter(true);
            disabling.update = setter(false);
            definitions.push_back(std::move(base));
            definitions.push_back(std::move(disabling));
        }
        properties.push_back([key, member, required, initial](ArgumentDecoder& decoder, C& command) -> std::optional<ParserError> {
            auto e = decoder.element(key);
            if (!e) {
                if (required) return ParserError{ParserError::NoValue{key}};
                command.*member = initial;
                return std::nullopt;
            }
            auto v = std::any_cast<bool>(&e->value);
            if (!v) return ParserError{ParserError::InvalidState{}};
            command.*member = *v;
            return std::nullopt;
        });
    }

    /// A counted flag: the member holds the number of occurrences.
    void flag(std::string_view property, int C::*member, FlagDeclaration d = {}) {
        InputKey key(property, path_);
        auto def = namedDefinition(key, d.help);
        def.names = d.name.makeNames(key);
        def.help.isOptional = def.help.isRepeating = true;
        def.update = ArgumentDefinition::Nullary{
            [key](const InputOrigin& origin, const std::optional<Name>&, ParsedValues& values) -> std::optional<ParserError> {
                auto e = values.element(key);
                int count = e && !e->inputOrigin.isDefaultValue() ? std::any_cast<int>(e->value) : 0;
                values.set(key, count + 1, origin);
                return std::nullopt;
            }};
        definitions.push_back(std::move(def));
        properties.push_back([key, member](ArgumentDecoder& decoder, C& command) -> std::optional<ParserError> {
            auto e = decoder.element(key);
            command.*member = e ? std::any_cast<int>(e->value) : 0;
            return std::nullopt;
        });
    }

    /// A flag enumeration: each case is spelled by its own names.
    template <class M, class E>
    void flags(std::string_view property, M C::*member, std::vector<FlagCase<E>> cases, FlagEnumDeclaration d = {}) {
        constexpr bool optional = detail::MemberShape<M>::optional;
        InputKey key(property, path_);
        std::optional<E> initial;
        if constexpr (!optional) {
            if (d.defaulted) initial = prototype().*member;
        }
        for (std::size_t i = 0; i < cases.size(); ++i) {
            auto& c = cases[i];
            auto def = namedDefinition(key, c.help);
            def.names = c.names.value_or(NameSpecification::long_()).makeNames(InputKey(c.name, path_));
            def.help.isComposite = true;
            def.help.isOptional = optional || initial.has_value();
            def.update = ArgumentDefinition::Nullary{
                [key, value = c.value, exclusivity = d.exclusivity](const InputOrigin& origin, const std::optional<Name>&,
                                                                     ParsedValues& values) {
                    return detail::setExclusively(key, value, origin, exclusivity, values);
                }};
            if (i == 0 && initial)
                def.initial = [key, v = *initial](const InputOrigin& origin, ParsedValues& values) {
                    values.set(key, v, origin);
                };
            definitions.push_back(std::move(def));
        }
        bool required = !optional && !initial;
        properties.push_back([key, member, required](ArgumentDecoder& decoder, C& command) -> std::optional<ParserError> {
            auto e = decoder.element(key);
            if (!e) {
                if (required) return ParserError{ParserError::NoValue{key}};
                return std::nullopt;
            }
            auto v = std::any_cast<E>(&e->value);
            if (!v) return ParserError{ParserError::InvalidState{}};
            command.*member = *v;
            return std::nullopt;
        });
    }

    /// Embeds the arguments of `G` (which declares `static void
    /// arguments(Arguments<G>&)`).
    template <class G>
    void group(std::string_view property, G C::*member, GroupDeclaration d = {}) {
        InputKey key(property, path_);
        Arguments<G> inner(key.childPath(), d.title.empty() ? title_ : d.title,
                           detail::moreRestricted(visibility_, d.visibility));
        G::arguments(inner);
        for (auto& def : inner.definitions) definitions.push_back(std::move(def));
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

    std::vector<ArgumentDefinition> definitions;
    std::vector<Property> properties;

private:
    ArgumentDefinition namedDefinition(const InputKey& key, const ArgumentHelp& help) const {
        ArgumentDefinition def;
        def.kind = ArgumentDefinition::Kind::named;
        def.help = makeHelp(key, help);
        def.update = ArgumentDefinition::Nullary{};
        return def;
    }

    ArgumentDefinition::Help makeHelp(const InputKey& key, const ArgumentHelp& help) const {
        ArgumentDefinition::Help h;
        h.keys = {key};
        h.abstract = help.abstract;
        h.discussion = help.discussion;
        h.valueName = help.valueName.value_or("");
        h.visibility = detail::moreRestricted(help.visibility, visibility_);
        h.parentTitle = title_;
        return h;
    }

    template <class M>
    void addValued(ArgumentDefinition::Kind kind, std::string_view property, M C::*member, std::vector<Name> names,
                   ParsingStrategy strategy, const ArgumentHelp& help, const std::optional<CompletionKind>& completion,
                   bool defaulted) {
        using Shape = detail::MemberShape<M>;
        using T = typename Shape::Value;
        static_assert(ExpressibleByArgument<T>, "declare ap::ArgumentValue<T> for this member's type");
        InputKey key(property, path_);
        ArgumentDefinition def;
        def.kind = kind;
        def.names = std::move(names);
        def.parsingStrategy = strategy;
        def.help = makeHelp(key, help);
        def.help.allValueStrings = ArgumentValue<T>::allValueStrings();
        def.completion = completion ? *completion
                         : def.help.allValueStrings.empty() ? CompletionKind::default_()
                                                            : CompletionKind::list(def.help.allValueStrings);
        def.help.isOptional = Shape::optional || defaulted;
        def.help.isRepeating = Shape::array;

        auto convert = [](const InputKey& key, const InputOrigin& origin, const std::optional<Name>& name,
                          const std::string& text) -> platform::Expected<T, ParserError> {
            auto value = ArgumentValue<T>::parse(text);
            if (!value) return ParserError{ParserError::UnableToParseValue{origin, name, text, key, std::nullopt}};
            return std::move(*value);
        };

        if constexpr (Shape::array) {
            def.update = ArgumentDefinition::Unary{
                [key, convert](const InputOrigin& origin, const std::optional<Name>& name, const std::string& text,
                               ParsedValues& values) -> std::optional<ParserError> {
                    auto value = convert(key, origin, name, text);
                    if (!value) return std::move(value).error();
                    auto e = values.element(key);
                    if (!e || e->shouldClearArrayIfParsed) {
                        values.set(key, std::vector<T>{std::move(*value)}, origin);
                    } else {
                        std::any_cast<std::vector<T>&>(e->value).push_back(std::move(*value));
                        e->inputOrigin.formUnion(origin);
                    }
                    return std::nullopt;
                }};
            if (defaulted) {
                auto initial = prototype().*member;
                std::string description;
                for (const auto& v : initial)
                    description += (description.empty() ? "" : ", ") + ArgumentValue<T>::defaultValueDescription(v);
                if (!description.empty()) def.help.defaultValue = description;
                def.initial = [key, initial](const InputOrigin& origin, ParsedValues& values) {
                    values.set(key, initial, origin);
                    values.element(key)->shouldClearArrayIfParsed = true;
                };
            }
            properties.push_back([key, member, defaulted](ArgumentDecoder& decoder, C& command) -> std::optional<ParserError> {
                auto e = decoder.element(key);
                if (!e) {
                    if (!defaulted) return ParserError{ParserError::NoValue{key}};
                    return std::nullopt;
                }
                auto v = std::any_cast<std::vector<T>>(&e->value);
                if (!v) return ParserError{ParserError::InvalidState{}};
                command.*member = *v;
                return std::nullopt;
            });
        } else {
            def.update = ArgumentDefinition::Unary{
                [key, convert](const InputOrigin& origin, const std::optional<Name>& name, const std::string& text,
                               ParsedValues& values) -> std::optional<ParserError> {
                    auto value = convert(key, origin, name, text);
                    if (!value) return std::move(value).error();
                    values.set(key, std::move(*value), origin);
                    return std::nullopt;
                }};
            std::optional<T> initial;
            if constexpr (!Shape::optional) {
                if (defaulted) {
                    initial = prototype().*member;
                    def.help.defaultValue = ArgumentValue<T>::defaultValueDescription(*initial);
                    def.initial = [key, v = *initial](const InputOrigin& origin, ParsedValues& values) {
                        values.set(key, v, origin);
                    };
                }
            }
            bool required = !Shape::optional && !defaulted;
            properties.push_back([key, member, required](ArgumentDecoder& decoder, C& command) -> std::optional<ParserError> {
                auto e = decoder.element(key);
                if (!e) {
                    if (required) return ParserError{ParserError::NoValue{key}};
                    if constexpr (Shape::optional) command.*member = std::nullopt;
                    return std::nullopt;
                }
                auto v = std::any_cast<T>(&e->value);
                if (!v) return ParserError{ParserError::InvalidState{}};
                command.*member = *v;
                return std::nullopt;
            });
        }
        definitions.push_back(std::move(def));
    }

    std::vector<std::string> path_;
    std::string title_;
    ArgumentVisibility visibility_;
    /// A new command, whose members hold the defaults; made only for the
    /// declarations that read one.
    const C& prototype() {
        if (!prototype_) prototype_ = std::make_shared<const C>();
        return *prototype_;
    }

    std::shared_ptr<const C> prototype_;
};

namespace detail {

template <class C>
concept DeclaresArguments = requires(Arguments<C>& a) { C::arguments(a); };

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

/// The description of command type `C`, built once and kept until the
/// process ends, so that ending it does not first take the tree apart.
template <class C>
const CommandType& typeOf() {
    static const CommandType& type = *new CommandType(detail::makeCommandType<C>(&typeOf<C>));
    return type;
}

}  // namespace ap
