#include "tools/varn-man/ManPage.hpp"

#include <algorithm>

#include "ArgumentParser/HelpGenerator.hpp"
#include "tools/varn-man/Roff.hpp"
#include "tools/varn-man/Synopsis.hpp"

namespace varnman {
namespace {

using ap::ArgumentInfoV0;
using ap::CommandInfoV0;

// The list, or an empty one; a reference, so pointers into it stay valid.
template <class T>
const std::vector<T>& listOf(const std::optional<std::vector<T>>& list) {
    static const std::vector<T> empty;
    return list ? *list : empty;
}

std::string upper(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; });
    return text;
}

std::string synopsisBlock(const CommandInfoV0& command) {
    auto s = synopsis(command);
    std::string out = ".SY " + quotedArgument(escaped(s.commandName, true)) + "\n";
    std::string words;
    for (const auto& word : s.words) {
        if (!words.empty()) words += ' ';
        for (const auto& part : word) {
            auto text = inFont(part.font, part.text, true);
            // Spaces inside one argument must not break the line.
            for (std::size_t i = 0; (i = text.find(' ', i)) != std::string::npos; i += 2) text.replace(i, 1, "\\ ");
            words += text;
        }
    }
    if (!words.empty()) out += line(words);
    return out + ".YS\n";
}

// The label of an argument as the help lists it: short names first.
std::string label(const ArgumentInfoV0& a) {
    auto valueName = "<" + a.valueName.value_or("value") + ">";
    if (a.kind == ArgumentInfoV0::KindV0::positional) return inFont(Font::italic, valueName, true);
    std::vector<ap::NameInfoV0> names = a.names.value_or(std::vector<ap::NameInfoV0>{});
    std::stable_partition(names.begin(), names.end(),
                          [](const ap::NameInfoV0& n) { return n.kind == ap::NameInfoV0::KindV0::short_; });
    std::string out;
    for (const auto& name : names) out += (out.empty() ? "" : ", ") + inFont(Font::bold, name.synopsis(), true);
    if (a.kind == ArgumentInfoV0::KindV0::option) out += " " + inFont(Font::italic, valueName, true);
    return out;
}

// The abstract followed by the accepted values and the default, as help shows them.
std::string abstractWithValues(const ArgumentInfoV0& a) {
    auto valuesText = ap::valuesText(listOf(a.allValues), a.defaultValue.value_or(""));
    std::string abstract = a.abstract.value_or("");
    if (abstract.empty()) return valuesText;
    return valuesText.empty() ? abstract : abstract + " " + valuesText;
}

std::string argumentEntry(const ArgumentInfoV0& a) {
    std::string out = ".TP\n" + line(label(a)) + textLines(abstractWithValues(a));
    if (a.discussion) out += ".sp\n" + textLines(*a.discussion);
    return out;
}

struct ArgumentGroup {
    std::string title;
    std::vector<const ArgumentInfoV0*> arguments;
};

// Positionals, then the titled groups in order of appearance, then options.
std::vector<ArgumentGroup> argumentGroups(const CommandInfoV0& command) {
    ArgumentGroup positionals{"Arguments", {}}, options{"Options", {}};
    std::vector<ArgumentGroup> titled;
    for (const auto& a : listOf(command.arguments)) {
        if (!a.shouldDisplay) continue;
        if (a.sectionTitle) {
            auto it = std::find_if(titled.begin(), titled.end(), [&](auto& g) { return g.title == *a.sectionTitle; });
            if (it == titled.end()) it = titled.insert(titled.end(), ArgumentGroup{*a.sectionTitle, {}});
            it->arguments.push_back(&a);
        } else {
            (a.kind == ArgumentInfoV0::KindV0::positional ? positionals : options).arguments.push_back(&a);
        }
    }
    std::vector<ArgumentGroup> groups;
    if (!positionals.arguments.empty()) groups.push_back(std::move(positionals));
    for (auto& g : titled) groups.push_back(std::move(g));
    if (!options.arguments.empty()) groups.push_back(std::move(options));
    return groups;
}

// The abstract and the discussion as paragraphs right after a heading,
// which starts the first paragraph itself.
std::string describedText(const CommandInfoV0& command) {
    std::string out;
    if (command.abstract) out += textLines(*command.abstract);
    if (command.discussion) out += (out.empty() ? "" : ".PP\n") + textLines(*command.discussion);
    return out;
}

struct VisibleCommand {
    const CommandInfoV0* command;
    /// The words typed after the root's name, and " (default)" for a
    /// default subcommand.
    std::string heading;
};

// The visible subcommands below `command`, depth first. The description
// lists hidden subcommands too; they are the ones whose names begin with
// "_", and a hidden command hides everything below it.
void collectVisible(const CommandInfoV0& command, const std::string& prefix, std::vector<VisibleCommand>& out) {
    for (const auto& sub : listOf(command.subcommands)) {
        if (sub.commandName.starts_with('_')) continue;
        auto path = prefix + sub.commandName;
        out.push_back({&sub, path + (command.defaultSubcommand == sub.commandName ? " (default)" : "")});
        collectVisible(sub, path + " ", out);
    }
}

}  // namespace

std::string manPage(const ap::ToolInfoV0& description, const ManPageSettings& settings) {
    const CommandInfoV0& root = description.command;
    const std::string name = invocation(root);
    std::vector<VisibleCommand> visible;
    collectVisible(root, "", visible);

    std::string page;
    page += ".\\\" The manual page of " + escaped(name) + ", written by varn-man from its command description.\n";
    // A subcommand described on its own is titled like git's pages: VARN-DIFF.
    std::string title = name;
    std::replace(title.begin(), title.end(), ' ', '-');
    page += ".TH " + quotedArgument(escaped(upper(title), true)) + " 1 " + quotedArgument(escaped(settings.date)) +
            " " + quotedArgument(escaped(settings.source.empty() ? name : settings.source, true)) +
            " \"User Commands\"\n";

    page += ".SH NAME\n";
    page += line(escaped(name, true) + (root.abstract ? " \\- " + escaped(*root.abstract) : std::string()));

    page += ".SH SYNOPSIS\n" + synopsisBlock(root);
    for (const auto& v : visible) page += synopsisBlock(*v.command);

    if (root.abstract || root.discussion) page += ".SH DESCRIPTION\n" + describedText(root);
    for (const auto& group : argumentGroups(root)) {
        page += ".SH " + quotedArgument(escaped(upper(group.title))) + "\n";
        for (auto a : group.arguments) page += argumentEntry(*a);
    }

    if (!visible.empty()) page += ".SH COMMANDS\n";
    for (const auto& [command, heading] : visible) {
        page += ".SS " + quotedArgument(escaped(heading, true)) + "\n" + describedText(*command);
        for (const auto& group : argumentGroups(*command)) {
            page += ".PP\n" + line(inFont(Font::bold, group.title + ":"));
            for (auto a : group.arguments) page += argumentEntry(*a);
        }
    }

    for (const auto& section : settings.sections)
        page += ".SH " + quotedArgument(escaped(upper(section.title))) + "\n" + section.roff;
    return page;
}

}  // namespace varnman
