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
    std::vector<const ArgumentDefinition*> definitions;
    for (auto d : ArgumentSet(command, visibility).content)
        if (d->kind != ArgumentDefinition::Kind::default_) definitions.push_back(d);
    for (const auto& d : builtinFlagDefinitions(stack)) definitions.push_back(&d);

    std::vector<HelpGenerator::Element> positionals, options;
    std::vector<Section> titled;
    for (std::size_t i = 0; i < definitions.size();) {
        const auto& definition = *definitions[i];
        std::string label;
        std::string abstract;
        if (definition.help.isComposite) {
            // An on/off pair or a flag enumeration: one line for all spellings.
            std::size_t end = i;
            std::vector<std::string> labels;
            while (end < definitions.size() && definitions[end]->help.keys == definition.help.keys) {
                labels.push_back(helpLabel(*definitions[end]));
                if (abstract.empty()) abstract = definitions[end]->help.abstract;
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
            auto section = std::find_if(titled.begin(), titled.end(),
                                        [&](const Section& s) { return s.header == header; });
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

/// The configured usage, else the synopsis of the arguments listed at
/// `visibility` and of the subcommands.
std::string usageOf(const CommandStack& stack, ArgumentVisibility visibility) {
    const auto& command = *stack.back();
    const auto& configuration = command.configuration();
    if (configuration.usage) return *configuration.usage;
    auto usage = usageSynopsis(toolName(stack), ArgumentSet(command, visibility).content);
    if (!configuration.subcommands.empty()) {
        if (!usage.ends_with(' ')) usage += ' ';
        usage += "<subcommand>";
    }
    return usage;
}

std::string usageMessageOf(const std::string& usage) {
    if (usage.empty()) return {};
    return "Usage: " + indentingContinuationLines(usage, HelpGenerator::usageContinuationIndent);
}

}  // namespace

std::string helpLabel(const ArgumentDefinition& definition) {
    switch (definition.kind) {
        case ArgumentDefinition::Kind::positional: return "<" + definition.valueName() + ">";
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
        case ArgumentDefinition::Kind::default_: break;
    }
    return {};
}

std::string valuesText(const std::vector<std::string>& values, std::string_view defaultValue) {
    std::string text;
    for (const auto& v : values) {
        if (v.empty()) continue;
        text += text.empty() ? "(values: " : ", ";
        text += v;
    }
    if (!defaultValue.empty()) {
        text += text.empty() ? "(default: " : "; default: ";
        text += defaultValue;
    }
    if (!text.empty()) text += ')';
    return text;
}

std::string valuesText(const ArgumentDefinition& definition) {
    const auto& defaultValue = definition.help.defaultValue;
    return valuesText(definition.help.allValueStrings,
                      defaultValue ? std::string_view(*defaultValue) : std::string_view());
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

void HelpGenerator::Element::appendTo(std::string& out, int screenWidth) const {
    const auto lineStart = out.size();
    out.append(labelIndent, ' ');
    out += label;
    if (!abstract.empty()) {
        const auto labelLength = unicode::count(std::string_view(out).substr(lineStart));
        if (labelLength > static_cast<std::size_t>(longestLabelOnSameLine)) {
            out += '\n';
            appendWrapped(out, abstract, screenWidth, labelColumnWidth);
        } else {
            // The label stands in for as many characters of the abstract's
            // first line, which starts in the abstract's column: nearly
            // always as many spaces of its indentation.
            const auto abstractStart = out.size();
            appendWrapped(out, abstract, screenWidth, labelColumnWidth);
            const auto wrapped = std::string_view(out).substr(abstractStart);
            const bool indented = wrapped.size() > labelLength && wrapped.find_first_not_of(' ') > labelLength;
            out.erase(abstractStart, indented ? labelLength : unicode::prefix(wrapped, labelLength).size());
        }
    }
    out += '\n';
    if (!discussion.empty()) {
        appendWrapped(out, discussion, screenWidth, discussionIndent);
        out += '\n';
    }
}

void HelpGenerator::Section::appendTo(std::string& out, int screenWidth) const {
    if (elements.empty()) return;
    out += unicode::uppercased(header.displayName());
    out += ":\n";
    for (const auto& e : elements) e.appendTo(out, screenWidth);
}

HelpGenerator::HelpGenerator(CommandStack commandStack, ArgumentVisibility visibility)
    : commandStack_(std::move(commandStack)) {
    if (commandStack_.empty()) fatalError("ArgumentParser/HelpGenerator: the command stack must not be empty");
    visibility = listedLevel(visibility);
    const auto& configuration = commandStack_.back()->configuration();
    usage_ = usageOf(commandStack_, visibility);
    abstract_ = configuration.abstract;
    if (!configuration.discussion.empty()) {
        if (!abstract_.empty()) abstract_ += "\n";
        abstract_ += "\n" + configuration.discussion;
    }

    sections_ = makeSections(commandStack_, visibility);
}

std::string HelpGenerator::rendered(std::optional<int> screenWidth) const {
    const int width = screenWidth ? *screenWidth : terminalWidth();

    // One string, reserved for a screen or two, holds the whole text.
    std::string text;
    text.reserve(2 * 1024);
    if (!abstract_.empty()) {
        appendWrapped(text, "OVERVIEW: " + abstract_, width);
        text += "\n\n";
    }
    if (!usage_.empty()) {
        text += "USAGE: ";
        text += indentingContinuationLines(usage_, usageContinuationIndent);
        text += "\n\n";
    }
    bool first = true;
    for (const auto& s : sections_) {
        if (s.elements.empty()) continue;
        if (!first) text += '\n';
        first = false;
        s.appendTo(text, width);
    }

    auto subcommands = std::find_if(sections_.begin(), sections_.end(),
                                    [](const Section& s) { return s.header.kind == Header::Kind::subcommands; });
    if (subcommands != sections_.end() && !subcommands->elements.empty()) {
        std::vector<std::string> names;
        for (auto c : commandStack_) names.push_back(c->commandName());
        if (const auto& super = commandStack_.front()->configuration().superCommandName)
            names.insert(names.begin(), *super);
        names.insert(names.begin() + 1, "help");
        text += "\n  See '" + joined(names, " ") + " <subcommand>' for detailed help.";
    }
    return text;
}

std::string HelpGenerator::usageMessage() const { return usageMessageOf(usage_); }

std::string usageMessage(const CommandStack& stack) {
    return usageMessageOf(usageOf(stack, ArgumentVisibility::default_));
}

std::string helpText(const CommandStack& stack, ArgumentVisibility visibility, std::optional<int> screenWidth) {
    return HelpGenerator(stack, visibility).rendered(screenWidth);
}

}  // namespace ap
