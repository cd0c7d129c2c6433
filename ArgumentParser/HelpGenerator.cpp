#include "ArgumentParser/HelpGenerator.hpp"

#include <algorithm>

#include "ArgumentParser/ArgumentSet.hpp"
#include "ArgumentParser/Fatal.hpp"
#include "ArgumentParser/TerminalSize.hpp"
#include "ArgumentParser/TextWrapping.hpp"
#include "ArgumentParser/Unicode.hpp"
#include "ArgumentParser/UsageGenerator.hpp"
#include "platform/Strings.hpp"

namespace ap {
namespace {

using Section = HelpGenerator::Section;
using Header = HelpGenerator::Header;
using platform::joined;

/// Help lists what a person may type: hidden arguments only when asked for,
/// private ones never.
ArgumentVisibility listedLevel(ArgumentVisibility visibility) {
    return visibility == ArgumentVisibility::private_ ? ArgumentVisibility::hidden : visibility;
}

std::vector<Section> makeSections(const CommandStack& stack, ArgumentVisibility visibility) {
    const auto& command = *stack.back();
    std::vector<ArgumentDefinition> definitions;
    for (auto& d : ArgumentSet(command, visibility).content)
        if (d.kind != ArgumentDefinition::Kind::default_) definitions.push_back(std::move(d));
    for (auto& d : builtinFlagDefinitions(stack)) definitions.push_back(std::move(d));

    std::vector<HelpGenerator::Element> positionals, options;
    std::vector<Section> titled;
    for (std::size_t i = 0; i < definitions.size();) {
        const auto& definition = definitions[i];
        std::string label;
        std::string abstract;
        if (definition.help.isComposite) {
            // An on/off pair or a flag enumeration: one line for all spellings.
            std::size_t end = i;
            std::vector<std::string> labels;
            while (end < definitions.size() && definitions[end].help.keys == definition.help.keys) {
                labels.push_back(helpLabel(definitions[end]));
                if (abstract.empty()) abstract = definitions[end].help.abstract;
                ++end;
            }
            label = joined(labels, "/");
            i = end;
        } else {
            label = helpLabel(definition);
            abstract = definition.help.abstract;
            ++i;
        }
        auto values = valuesText(definition);
        if (!values.empty()) abstract += (abstract.empty() ? "" : " ") + values;
        HelpGenerator::Element element{std::move(label), std::move(abstract), definition.help.discussion};

        if (const auto& title = definition.help.parentTitle; !title.empty()) {
            Header header{Header::Kind::title, title};
            auto section = std::find_if(titled.begin(), titled.end(), [&](const Section& s) { return s.header == header; });
            if (section == titled.end()) {
                titled.push_back(Section{header, {}});
                section = titled.end() - 1;
            }
            section->elements.push_back(std::move(element));
        } else if (definition.isPositional()) {
            positionals.push_back(std::move(element));
        } else {
            options.push_back(std::move(element));
        }
    }

    std::vector<HelpGenerator::Element> subcommands;
    const auto& configuration = command.configuration();
    for (auto ref : configuration.subcommands) {
        const auto& subcommand = ref();
        if (!subcommand.configuration().shouldDisplay) continue;
        auto label = subcommand.commandName();
        if (configuration.defaultSubcommand && &configuration.defaultSubcommand() == &subcommand) label += " (default)";
        subcommands.push_back({std::move(label), subcommand.configuration().abstract, {}});
    }

    std::vector<Section> sections;
    sections.push_back(Section{{Header::Kind::positionalArguments, {}}, std::move(positionals)});
    for (auto& s : titled) sections.push_back(std::move(s));
    sections.push_back(Section{{Header::Kind::options, {}}, std::move(options)});
    sections.push_back(Section{{Header::Kind::subcommands, {}}, std::move(subcommands)});
    return sections;
}

}  // namespace

std::string helpLabel(const ArgumentDefinition& definition) {
    switch (definition.kind) {
        case ArgumentDefinition::Kind::positional:
            return "<" + definition.valueName() + ">";
        case ArgumentDefinition::Kind::named: {
            std::vector<std::string> names;
            for (const auto& n : definition.names)
                if (n.isShort()) names.push_back(n.synopsis());
            for (const auto& n : definition.names)
                if (!n.isShort()) names.push_back(n.synopsis());
            auto label = joined(names, ", ");
            if (definition.takesValue()) label += " <" + definition.valueName() + ">";
            return label;
        }
        case ArgumentDefinition::Kind::default_:
            break;
    }
    return {};
}

std::string valuesText(const ArgumentDefinition& definition) {
    std::vector<std::string> values;
    for (const auto& v : definition.help.allValueStrings)
        if (!v.empty()) values.push_back(v);
    const std::string defaultValue = definition.help.defaultValue.value_or("");
    if (values.empty()) return defaultValue.empty() ? "" : "(default: " + defaultValue + ")";
    auto text = "(values: " + joined(values, ", ");
    if (!defaultValue.empty()) text += "; default: " + defaultValue;
    return text + ")";
}

std::string toolName(const CommandStack& stack) {
    std::vector<std::string> names;
    if (!stack.empty())
        if (const auto& super = stack.front()->configuration().superCommandName) names.push_back(*super);
    for (auto c : stack) names.push_back(c->commandName());
    return joined(names, " ");
}

std::string HelpGenerator::Header::displayName() const {
    switch (kind) {
        case Kind::positionalArguments: return "Arguments";
        case Kind::subcommands: return "Subcommands";
        case Kind::options: return "Options";
        case Kind::title: return title;
    }
    return {};
}

std::string HelpGenerator::Element::rendered(int screenWidth) const {
    const std::string paddedLabel = std::string(labelIndent, ' ') + label;
    const auto labelLength = unicode::count(paddedLabel);
    std::string abstractPart;
    if (!abstract.empty()) {
        auto wrappedAbstract = wrapped(abstract, screenWidth, labelColumnWidth);
        if (labelLength > static_cast<std::size_t>(longestLabelOnSameLine))
            abstractPart = "\n" + wrappedAbstract;
        else
            abstractPart = std::string(unicode::dropFirst(wrappedAbstract, labelLength));
    }
    std::string discussionPart;
    if (!discussion.empty()) discussionPart = wrapped(discussion, screenWidth, discussionIndent) + "\n";
    return paddedLabel + abstractPart + "\n" + discussionPart;
}

std::string HelpGenerator::Section::rendered(int screenWidth) const {
    if (elements.empty()) return {};
    auto text = unicode::uppercased(header.displayName()) + ":\n";
    for (const auto& e : elements) text += e.rendered(screenWidth);
    return text;
}

HelpGenerator::HelpGenerator(CommandStack commandStack, ArgumentVisibility visibility)
    : commandStack_(std::move(commandStack)) {
    if (commandStack_.empty()) fatalError("ArgumentParser/HelpGenerator: the command stack must not be empty");
    visibility = listedLevel(visibility);
    const auto& command = *commandStack_.back();
    const auto& configuration = command.configuration();

    if (configuration.usage) {
        usage_ = *configuration.usage;
    } else {
        usage_ = UsageGenerator(toolName(commandStack_), ArgumentSet(command, visibility).content).synopsis();
        if (!configuration.subcommands.empty()) {
            if (!usage_.ends_with(' ')) usage_ += ' ';
            usage_ += "<subcommand>";
        }
    }

    abstract_ = configuration.abstract;
    if (!configuration.discussion.empty()) {
        if (!abstract_.empty()) abstract_ += "\n";
        abstract_ += "\n" + configuration.discussion;
    }

    sections_ = makeSections(commandStack_, visibility);
}

std::string HelpGenerator::rendered(std::optional<int> screenWidth) const {
    const int width = screenWidth ? *screenWidth : terminalWidth();

    std::string overview;
    if (!abstract_.empty()) overview = wrapped("OVERVIEW: " + abstract_, width) + "\n\n";

    std::string usage;
    if (!usage_.empty()) usage = "USAGE: " + indentingContinuationLines(usage_, usageContinuationIndent) + "\n\n";

    std::vector<std::string> rendered;
    for (const auto& s : sections_)
        if (auto text = s.rendered(width); !text.empty()) rendered.push_back(std::move(text));

    std::string hint;
    auto subcommands = std::find_if(sections_.begin(), sections_.end(),
                                    [](const Section& s) { return s.header.kind == Header::Kind::subcommands; });
    if (subcommands != sections_.end() && !subcommands->elements.empty()) {
        std::vector<std::string> names;
        for (auto c : commandStack_) names.push_back(c->commandName());
        if (const auto& super = commandStack_.front()->configuration().superCommandName)
            names.insert(names.begin(), *super);
        names.insert(names.begin() + 1, "help");
        hint = "\n  See '" + joined(names, " ") + " <subcommand>' for detailed help.";
    }

    return overview + usage + joined(rendered, "\n") + hint;
}

std::string HelpGenerator::usageMessage() const {
    if (usage_.empty()) return {};
    return "Usage: " + indentingContinuationLines(usage_, usageContinuationIndent);
}

std::string helpText(const CommandStack& stack, ArgumentVisibility visibility, std::optional<int> screenWidth) {
    return HelpGenerator(stack, visibility).rendered(screenWidth);
}

}  // namespace ap
