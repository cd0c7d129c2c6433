// One autoloadable file: a function per command built on `_arguments`, a
// state handler that describes the subcommands and descends into the one
// named, and a helper that turns the tool's custom candidates into matches.
#include "ArgumentParser/ZshCompletionsGenerator.hpp"

#include "ArgumentParser/CompletionsGenerator.hpp"

namespace ap {
namespace {

using completions::joined;

/// Text made safe inside a single-quoted `_arguments` entry: quotes close
/// and reopen around a double-quoted one, and backslashes and brackets lose
/// their meaning to `_arguments`.
struct Escaped {
    std::string_view text;
};

/// Appends to the script, `indent` spaces before every line that is not
/// empty, however deep the block it is in and whatever declared text it
/// comes from. The whole script is written into one string this way.
class ScriptWriter {
public:
    explicit ScriptWriter(std::string& out) : out_(out) {}

    std::size_t indent = 0;

    ScriptWriter& operator<<(std::string_view text) {
        static constexpr std::string_view spaces = "                ";
        while (!text.empty()) {
            if (atLineStart_ && text.front() != '\n') {
                if (indent <= spaces.size())
                    out_.append(spaces.data(), indent);
                else
                    out_.append(indent, ' ');
                atLineStart_ = false;
            }
            auto newline = text.find('\n');
            if (newline == std::string_view::npos) {
                out_ += text;
                break;
            }
            out_.append(text.data(), newline + 1);
            atLineStart_ = true;
            text.remove_prefix(newline + 1);
        }
        return *this;
    }

    /// Copied in runs between the characters that change.
    ScriptWriter& operator<<(Escaped escaped) {
        auto text = escaped.text;
        while (!text.empty()) {
            auto special = text.find_first_of("'\\[]");
            *this << text.substr(0, special);
            if (special == std::string_view::npos) break;
            if (text[special] == '\'') {
                *this << "'\"'\"'";
            } else {
                char pair[] = {'\\', text[special]};
                *this << std::string_view(pair, 2);
            }
            text.remove_prefix(special + 1);
        }
        return *this;
    }

private:
    std::string& out_;
    bool atLineStart_ = true;
};

std::string dashReplacedRootName(const CommandType& root) {
    auto name = root.commandName();
    for (auto& c : name)
        if (c == '-') c = '_';
    return name;
}

std::string commandNameVariable(const CommandType& root) { return "_" + dashReplacedRootName(root) + "_commandname"; }

void writeCompletionAction(ScriptWriter& out, const CommandStack& stack, const ArgumentDefinition& definition) {
    const auto& kind = definition.completion;
    if (auto list = kind.as<CompletionKind::List>()) {
        out << "(" << joined(list->words, " ") << ")";
    } else if (auto file = kind.as<CompletionKind::File>()) {
        out << "_files";
        if (file->extensions.empty()) return;
        std::vector<std::string> patterns;
        for (const auto& e : file->extensions) patterns.push_back("*." + e);
        out << Escaped{" -g '" + joined(patterns, " ") + "'"};
    } else if (kind.as<CompletionKind::Directory>()) {
        out << "_files -/";
    } else if (auto command = kind.as<CompletionKind::ShellCommand>()) {
        // The empty description must survive the quote removal of the
        // surrounding entry, so it is written as a double-quoted ''.
        out << "{local -a list; list=(${(f)\"$(" << command->command << ")\"}); _describe '\"''\"' list}";
    } else if (kind.as<CompletionKind::Custom>()) {
        out << "{_custom_completion $" << commandNameVariable(*stack.front()) << " "
            << customCompletionCall(stack, definition) << " $words}";
    }
}

void writeArgumentEntry(ScriptWriter& out, const CommandStack& stack, const ArgumentDefinition& definition) {
    out << "'";
    const auto& names = definition.names;
    if (names.size() > 1) {
        out << "(";
        for (std::size_t i = 0; i < names.size(); ++i) out << (i ? " " : "") << names[i].synopsis();
        out << ")'{";
        for (std::size_t i = 0; i < names.size(); ++i) out << (i ? "," : "") << names[i].synopsis();
        out << "}'";
    } else if (names.size() == 1) {
        out << names.front().synopsis();
    }
    if (!names.empty() && !definition.help.abstract.empty()) out << "[" << Escaped{definition.help.abstract} << "]";
    if (definition.takesValue()) {
        out << ":" << definition.valueName() << ":";
        writeCompletionAction(out, stack, definition);
    }
    out << "'\n";
}

void writeStateHandler(ScriptWriter& out, const CommandStack& stack,
                       const std::vector<const CommandType*>& subcommands) {
    out.indent = 4;
    out << "case $state in\n"
           "    (command)\n"
           "        local subcommands\n"
           "        subcommands=(\n";
    out.indent = 16;
    for (auto sub : subcommands)
        out << "'" << sub->commandName() << ":" << Escaped{sub->configuration().abstract} << "'\n";
    out.indent = 4;
    out << "        )\n"
           "        _describe \"subcommand\" subcommands\n"
           "        ;;\n"
           "    (arg)\n"
           "        case ${words[1]} in\n";
    out.indent = 16;
    for (auto sub : subcommands) {
        auto subStack = stack;
        subStack.push_back(sub);
        out << "(" << sub->commandName() << ")\n    " << completionFunctionName(subStack, false) << "\n    ;;\n";
    }
    out.indent = 4;
    out << "        esac\n"
           "        ;;\n"
           "esac\n";
    out.indent = 0;
}

void writeCommandFunction(ScriptWriter& out, const CommandStack& stack) {
    out << completionFunctionName(stack, false)
        << "() {\n"
           "    integer ret=1\n"
           "    local -a args\n"
           "    args+=(\n";
    auto subcommands = listedSubcommands(stack);
    auto definitions = completionDefinitions(stack);
    out.indent = 8;
    for (auto d : definitions) writeArgumentEntry(out, stack, *d);
    if (!subcommands.empty())
        out << "'(-): :->command'\n"
               "'(-)*:: :->arg'\n";
    if (definitions.empty() && subcommands.empty()) out << "\n";
    out.indent = 0;
    out << "    )\n"
           "    _arguments -w -s -S $args[@] && ret=0\n";
    if (!subcommands.empty()) writeStateHandler(out, stack, subcommands);
    out << "\n"
           "    return ret\n"
           "}\n\n";
    for (auto sub : subcommands) {
        auto subStack = stack;
        subStack.push_back(sub);
        writeCommandFunction(out, subStack);
    }
}

}  // namespace

std::string zshCompletionScript(const CommandType& root) {
    std::string script;
    // A few kilobytes; pages of the reserve never written are never touched.
    script.reserve(4 * 1024);
    ScriptWriter out(script);
    out << "#compdef " << root.commandName() << "\nlocal context state state_descr line\n"
        << commandNameVariable(root) << "=$words[1]\ntypeset -A opt_args\n\n";
    writeCommandFunction(out, {&root});
    out << "\n"
           "_custom_completion() {\n"
           "    local completions=(\"${(@f)$($*)}\")\n"
           "    _describe '' completions\n"
           "}\n\n"
        << completionFunctionName({&root}, false);
    return script;
}

}  // namespace ap
