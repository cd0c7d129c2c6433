#include "ArgumentParser/ToolInfo.hpp"

#include "platform/Utf8.hpp"

namespace ap {
namespace {

template <class Command>
std::string document(long long version, const Command& command) {
    platform::PrettyJsonWriter out;
    out.beginObject();
    out.key("command");
    writeJson(out, command);
    out.key("serializationVersion");
    out.value(version);
    out.endObject();
    return out.take();
}

}  // namespace

Decoded<ToolInfoHeader> ToolInfoHeader::decode(const nlohmann::json& value) {
    auto object = ObjectReader::open(value, "");
    if (!object) return std::move(object).error();
    auto version = object->integer("serializationVersion");
    if (!version) return std::move(version).error();
    return ToolInfoHeader{*version};
}

Decoded<ToolInfoV0> ToolInfoV0::decode(const nlohmann::json& value) {
    auto header = ToolInfoHeader::decode(value);
    if (!header) return std::move(header).error();
    if (header->serializationVersion != version)
        return DecodingError{"serializationVersion",
                             "unsupported format version " + std::to_string(header->serializationVersion)};
    auto object = ObjectReader::open(value, "");
    if (!object) return std::move(object).error();
    auto command = object->required("command");
    if (!command) return std::move(command).error();
    auto decoded = CommandInfoV0::decode(**command, "command");
    if (!decoded) return std::move(decoded).error();
    return ToolInfoV0{version, std::move(*decoded)};
}

std::string encodeToolInfo(const ToolInfoV0& info) { return document(info.serializationVersion, info.command); }

std::string dumpHelp(const CommandStack& stack) {
    // Written straight from the declarations: a description built first
    // would cost a run more in copies and allocations than the writing.
    auto text = document(ToolInfoV0::version, stack);
    // The writer copies text bytes as they are; a declaration that is not
    // UTF-8 would make the document unreadable, so it is not written at all.
    if (!platform::isValidUtf8(text)) return {};
    return text;
}

Decoded<ToolInfoV0> parseToolInfo(std::string_view text) {
    auto json = nlohmann::json::parse(text, nullptr, /*allow_exceptions=*/false);
    if (json.is_discarded()) return DecodingError{"", "not a JSON document"};
    return ToolInfoV0::decode(json);
}

}  // namespace ap
