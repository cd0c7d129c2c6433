#include "ArgumentParser/ToolInfo.hpp"

#include "platform/Utf8.hpp"

namespace ap {

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

std::string encodeToolInfo(const ToolInfoV0& info) {
    platform::PrettyJsonWriter out;
    out.beginObject();
    out.key("command");
    writeJson(out, info.command);
    out.key("serializationVersion");
    out.value(info.serializationVersion);
    out.endObject();
    return out.take();
}

std::string dumpHelp(const CommandStack& stack) {
    auto text = encodeToolInfo(ToolInfoV0::describing(stack));
    // The writer copies text bytes as they are; a declaration that is not
    // UTF-8 would make the document unreadable, so it is not written at all.
    return platform::isValidUtf8(text) ? text : std::string();
}

Decoded<ToolInfoV0> parseToolInfo(std::string_view text) {
    auto json = nlohmann::json::parse(text, nullptr, /*allow_exceptions=*/false);
    if (json.is_discarded()) return DecodingError{"", "not a JSON document"};
    return ToolInfoV0::decode(json);
}

}  // namespace ap
