#include "tools/varn-man/Synopsis.hpp"

#include <algorithm>

namespace varnman {
namespace {

using ap::ArgumentInfoV0;

// The synopsis lists every argument until there are more than this many;
// then only the required ones and the positionals are named.
constexpr std::size_t compactionThreshold = 12;

bool isBuiltinFlag(const ArgumentInfoV0& a, const char* name, const char* abstract) {
    return a.kind == ArgumentInfoV0::KindV0::flag && a.abstract == abstract && a.preferredName &&
           a.preferredName->name == name;
}

std::string valueNameOf(const ArgumentInfoV0& a) { return a.valueName.value_or("value"); }

void appendArgument(const ArgumentInfoV0& a, std::vector<SynopsisPart>& parts) {
    if (a.isOptional) parts.push_back({"["});
    if (a.kind == ArgumentInfoV0::KindV0::positional) {
        parts.push_back({"<" + valueNameOf(a) + ">", Font::italic});
    } else {
        parts.push_back({a.preferredName ? a.preferredName->synopsis() : "", Font::bold});
        if (a.kind == ArgumentInfoV0::KindV0::option) {
            parts.push_back({" "});
            parts.push_back({"<" + valueNameOf(a) + ">", Font::italic});
        }
    }
    if (a.isRepeating) parts.push_back({" ..."});
    if (a.isOptional) parts.push_back({"]"});
}

}  // namespace

std::string Synopsis::text() const {
    std::string out = commandName;
    for (const auto& word : words) {
        out += ' ';
        for (const auto& part : word) out += part.text;
    }
    return out;
}

std::string invocation(const ap::CommandInfoV0& command) {
    std::string name;
    for (const auto& super : command.superCommands.value_or(std::vector<std::string>{})) name += super + " ";
    return name + command.commandName;
}

std::vector<ArgumentInfoV0> declaredArguments(const ap::CommandInfoV0& command) {
    auto arguments = command.arguments.value_or(std::vector<ArgumentInfoV0>{});
    // The framework appends the version flag and then the help flag; either
    // may be missing.
    if (!arguments.empty() && isBuiltinFlag(arguments.back(), "help", "Show help information.")) arguments.pop_back();
    if (!arguments.empty() && isBuiltinFlag(arguments.back(), "version", "Show the version.")) arguments.pop_back();
    return arguments;
}

Synopsis synopsis(const ap::CommandInfoV0& command) {
    Synopsis result{invocation(command), {}};
    std::vector<ArgumentInfoV0> shown;
    for (auto& a : declaredArguments(command))
        if (a.shouldDisplay) shown.push_back(std::move(a));

    std::vector<ArgumentInfoV0> listed = shown;
    bool prefixOptions = false, onlyOptions = false;
    if (shown.size() > compactionThreshold) {
        listed.clear();
        std::copy_if(shown.begin(), shown.end(), std::back_inserter(listed), [](const ArgumentInfoV0& a) {
            return a.kind == ArgumentInfoV0::KindV0::positional || !a.isOptional;
        });
        if (listed.empty() || listed.size() > compactionThreshold) {
            listed.clear();
            onlyOptions = true;
        } else {
            prefixOptions = true;
        }
    }
    auto& words = result.words;
    if (onlyOptions) words.push_back({{"<options>", Font::italic}});
    if (prefixOptions) words.push_back({{"["}, {"<options>", Font::italic}, {"]"}});
    for (const auto& a : listed) appendArgument(a, words.emplace_back());
    if (command.subcommands) words.push_back({{"<subcommand>", Font::italic}});
    return result;
}

}  // namespace varnman
