#pragma once
// The machine-readable description of a command tree (--experimental-dump-help):
// a versioned document holding the description of one command.

#include <string>
#include <string_view>

#include <nlohmann/json.hpp>

#include "ArgumentParser/BuiltinFlags.hpp"
#include "ArgumentParser/CommandInfoV0.hpp"
#include "ArgumentParser/ToolInfoDecoding.hpp"

namespace ap {

/// What a reader decodes first, to learn which format follows.
struct ToolInfoHeader {
    long long serializationVersion = 0;

    static Decoded<ToolInfoHeader> decode(const nlohmann::json& value);
};

/// The document of format version 0.
struct ToolInfoV0 {
    static constexpr long long version = 0;

    long long serializationVersion = version;
    CommandInfoV0 command;

    static Decoded<ToolInfoV0> decode(const nlohmann::json& value);

    friend bool operator==(const ToolInfoV0&, const ToolInfoV0&) = default;
};

/// The pretty-printed document, keys sorted at every level, without a final
/// newline; texts are written as they are.
std::string encodeToolInfo(const ToolInfoV0& info);

/// The pretty-printed, key-sorted JSON document describing the last command
/// of `stack` and everything below it, without a final newline. Empty when
/// a declared text is not valid UTF-8.
std::string dumpHelp(const CommandStack& stack);

/// Reads a document as `dumpHelp` writes it; a document of another format
/// version is refused.
Decoded<ToolInfoV0> parseToolInfo(std::string_view text);

}  // namespace ap
