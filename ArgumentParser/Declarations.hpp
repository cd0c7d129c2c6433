#pragma once
// Declaring a command's arguments, once, as data bound to its members:
//
//   struct Diff : ap::ParsableCommand {
//       static constexpr std::string_view typeName = "Diff";
//       static ap::CommandConfiguration configuration() { return {.abstract = "Compare two revisions."}; }
//       static void arguments(ap::Arguments<Diff>& a) {
//           a.option("repo", &Diff::repo, {.name = ap::NameSpecification::shortAndLong(),
//                                          .help = "The path to the repository.",
//                                          .completion = ap::CompletionKind::directory()});
//           a.argument("revspecA", &Diff::revspecA, {.help = "First commit to compare."});
//       }
//       std::optional<std::string> repo;
//       std::string revspecA;
//       ap::Result<void> run() override;
//   };
//
// `ap::typeOf<Diff>()` is then the command's description, which the parser,
// the help, the completion scripts and the JSON description work from.
//
// The member's type decides the shape: `T` is required (or defaulted, when
// the declaration says the member's initial value is its default),
// `std::optional<T>` is optional, `std::vector<T>` repeats. A text becomes a
// `T` through `ap::ArgumentValue<T>` (ExpressibleByArgument.hpp), or through
// a transform given with the declaration, which may refuse a text with its
// own reason.

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "ArgumentParser/ArgumentVisibility.hpp"
#include "ArgumentParser/CompletionKind.hpp"
#include "ArgumentParser/ExpressibleByArgument.hpp"
#include "ArgumentParser/NameSpecification.hpp"
#include "ArgumentParser/ParsableCommand.hpp"
#include "ArgumentParser/ParsingStrategy.hpp"
#include "ArgumentParser/detail/DeclaredArguments.hpp"

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

/// The type one text converts to for a member: `T` for `T`,
/// `std::optional<T>` and `std::vector<T>`.
template <class M>
using ValueOf = typename detail::MemberShape<M>::Value;

/// What a command (or an option group) `C` declares, in declaration order.
template <class C>
class Arguments : public detail::DeclaredArguments {
public:
    explicit Arguments(std::vector<std::string> path = {}, std::string title = {},
                       ArgumentVisibility visibility = ArgumentVisibility::default_)
        : DeclaredArguments(std::move(path), std::move(title), visibility) {}

    /// A positional argument, converted by `ArgumentValue`.
    template <class M>
    void argument(std::string_view property, M C::*member, ArgumentDeclaration d = {});
    /// A positional argument, converted by `transform`.
    template <class M>
    void argument(std::string_view property, M C::*member, ArgumentDeclaration d, Transform<ValueOf<M>> transform);

    /// A named argument with a value, converted by `ArgumentValue`.
    template <class M>
    void option(std::string_view property, M C::*member, OptionDeclaration d = {});
    /// A named argument with a value, converted by `transform`.
    template <class M>
    void option(std::string_view property, M C::*member, OptionDeclaration d, Transform<ValueOf<M>> transform);

    /// An on/off flag; its default is the member's value in a new command.
    void flag(std::string_view property, bool C::*member, FlagDeclaration d = {});
    /// A counted flag: the member holds the number of occurrences.
    void flag(std::string_view property, int C::*member, FlagDeclaration d = {});
    /// A flag enumeration: each case is spelled by its own names.
    template <class M, class E>
    void flags(std::string_view property, M C::*member, std::vector<FlagCase<E>> cases, FlagEnumDeclaration d = {});

    /// Embeds the arguments of `G` (which declares `static void
    /// arguments(Arguments<G>&)`).
    template <class G>
    void group(std::string_view property, G C::*member, GroupDeclaration d = {});

    /// Reads one declared property into a command.
    using Property = std::function<std::optional<ParserError>(ArgumentDecoder&, C&)>;
    std::vector<Property> properties;

private:
    template <class M>
    void addValued(ArgumentDefinition definition, M C::*member, bool defaulted, Transform<ValueOf<M>> transform);

    /// A new command, whose members hold the defaults; made only for the
    /// declarations that read one.
    const C& prototype();
    std::shared_ptr<const C> prototype_;
};

/// The description of command type `C`, built once and kept until the
/// process ends, so that ending it does not first take the tree apart.
template <class C>
const CommandType& typeOf();

}  // namespace ap

#include "ArgumentParser/detail/DeclarationsImpl.hpp"
