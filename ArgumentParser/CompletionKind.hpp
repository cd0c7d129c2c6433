#pragma once
// What a shell completion offers for a value.

#include <functional>
#include <string>
#include <variant>
#include <vector>

namespace ap {

struct CompletionKind {
    struct List {
        std::vector<std::string> words;
    };
    struct File {
        std::vector<std::string> extensions;
    };
    struct Directory {};
    struct ShellCommand {
        std::string command;
    };
    /// Candidates computed by the tool itself from the words typed so far.
    struct Custom {
        std::function<std::vector<std::string>(const std::vector<std::string>&)> complete;
    };
    struct Default {};
    using Kind = std::variant<Default, List, File, Directory, ShellCommand, Custom>;

    Kind kind;

    static CompletionKind list(std::vector<std::string> words) { return {List{std::move(words)}}; }
    static CompletionKind file(std::vector<std::string> extensions = {}) { return {File{std::move(extensions)}}; }
    static CompletionKind directory() { return {Directory{}}; }
    static CompletionKind shellCommand(std::string command) { return {ShellCommand{std::move(command)}}; }
    static CompletionKind custom(decltype(Custom::complete) complete) { return {Custom{std::move(complete)}}; }
    static CompletionKind default_() { return {Default{}}; }

    template <class K>
    const K* as() const {
        return std::get_if<K>(&kind);
    }
};

}  // namespace ap
