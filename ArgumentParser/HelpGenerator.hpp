#pragma once
// The help screen of a command: overview, usage, its arguments in sections
// and its visible subcommands, laid out for a screen width.

#include <optional>
#include <string>
#include <vector>

#include "ArgumentParser/ArgumentDefinition.hpp"
#include "ArgumentParser/BuiltinFlags.hpp"

namespace ap {

/// The label of one argument in the left column: <value> for a positional;
/// every name, short ones first, then " <value>" when it takes one.
std::string helpLabel(const ArgumentDefinition& definition);

/// "(default: …)", "(values: …)" or both in one pair of parentheses; empty
/// when there is neither.
std::string valuesText(const ArgumentDefinition& definition);

/// The command names of the stack joined with spaces, after the root's
/// super-command name when it has one.
std::string toolName(const CommandStack& stack);

class HelpGenerator {
public:
    static constexpr int labelIndent = 2;
    static constexpr int labelColumnWidth = 26;
    static constexpr int longestLabelOnSameLine = 25;
    static constexpr int discussionIndent = 8;
    static constexpr int usageContinuationIndent = 7;
    static constexpr int defaultScreenWidth = 80;

    struct Header {
        enum class Kind { positionalArguments, subcommands, options, title };
        Kind kind;
        std::string title;  ///< for `title` only

        /// "Arguments", "Subcommands", "Options" or the title.
        std::string displayName() const;
        friend bool operator==(const Header&, const Header&) = default;
    };

    struct Element {
        std::string label;
        std::string abstract;
        std::string discussion;

        /// Appends the label line with the abstract from column 27 (or on
        /// the next line when the label is too long), then the discussion below.
        void appendTo(std::string& out, int screenWidth) const;
    };

    struct Section {
        Header header;
        std::vector<Element> elements;
        std::string discussion;
        bool isSubcommands = false;

        /// Appends nothing without elements; else the upper-cased header
        /// and the elements.
        void appendTo(std::string& out, int screenWidth) const;
    };

    struct DiscussionSection {
        std::string title;
        std::string content;
    };

    /// `commandStack` runs from the root to the command described; it must
    /// not be empty. Hidden arguments show at the hidden level; private ones never.
    HelpGenerator(CommandStack commandStack, ArgumentVisibility visibility);

    const CommandStack& commandStack() const { return commandStack_; }
    const std::string& abstract() const { return abstract_; }
    const std::string& usage() const { return usage_; }
    const std::vector<Section>& sections() const { return sections_; }
    const std::vector<DiscussionSection>& discussionSections() const { return discussionSections_; }

    /// The whole screen; without a width, the terminal's.
    std::string rendered(std::optional<int> screenWidth = std::nullopt) const;

    /// "Usage: " and the usage with continuation lines aligned under it;
    /// empty when the usage is empty.
    std::string usageMessage() const;

private:
    CommandStack commandStack_;
    std::string abstract_;
    std::string usage_;
    std::vector<Section> sections_;
    std::vector<DiscussionSection> discussionSections_;
};

/// `HelpGenerator::usageMessage` at the default visibility, without laying
/// out the rest of the screen.
std::string usageMessage(const CommandStack& stack);

/// The help screen of `stack` at `visibility`.
std::string helpText(const CommandStack& stack, ArgumentVisibility visibility,
                     std::optional<int> screenWidth = std::nullopt);

}  // namespace ap
