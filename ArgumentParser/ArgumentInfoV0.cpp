#include "ArgumentParser/ArgumentInfoV0.hpp"

namespace ap {

std::string_view caseName(ArgumentInfoV0::KindV0 kind) {
    switch (kind) {
        case ArgumentInfoV0::KindV0::positional: return "positional";
        case ArgumentInfoV0::KindV0::option: return "option";
        case ArgumentInfoV0::KindV0::flag: return "flag";
    }
    return {};
}

std::optional<ArgumentInfoV0::KindV0> argumentKindV0(std::string_view name) {
    for (auto kind : {ArgumentInfoV0::KindV0::positional, ArgumentInfoV0::KindV0::option, ArgumentInfoV0::KindV0::flag})
        if (caseName(kind) == name) return kind;
    return std::nullopt;
}

void writeJson(platform::PrettyJsonWriter& out, const ArgumentInfoV0& a) {
    out.beginObject();
    out.optionalMember("abstract", a.abstract);
    out.optionalList("allValues", a.allValues, [&](const std::string& value) { out.value(value); });
    out.optionalMember("defaultValue", a.defaultValue);
    out.optionalMember("discussion", a.discussion);
    out.key("isOptional");
    out.value(a.isOptional);
    out.key("isRepeating");
    out.value(a.isRepeating);
    out.key("kind");
    out.value(caseName(a.kind));
    out.optionalList("names", a.names, [&](const NameInfoV0& name) { writeJson(out, name); });
    if (a.preferredName) {
        out.key("preferredName");
        writeJson(out, *a.preferredName);
    }
    out.optionalMember("sectionTitle", a.sectionTitle);
    out.key("shouldDisplay");
    out.value(a.shouldDisplay);
    out.optionalMember("valueName", a.valueName);
    out.endObject();
}

void writeJson(platform::PrettyJsonWriter& out, const ArgumentDefinition& definition) {
    const auto& help = definition.help;
    const auto kind = definition.isPositional() ? ArgumentInfoV0::KindV0::positional
                      : definition.takesValue() ? ArgumentInfoV0::KindV0::option
                                                : ArgumentInfoV0::KindV0::flag;
    const bool named = definition.isNamed() && !definition.names.empty();
    out.beginObject();
    out.nonEmptyMember("abstract", help.abstract);
    if (!help.allValueStrings.empty()) {
        out.key("allValues");
        out.beginArray();
        for (const auto& value : help.allValueStrings) out.value(value);
        out.endArray();
    }
    if (help.defaultValue) out.nonEmptyMember("defaultValue", *help.defaultValue);
    out.nonEmptyMember("discussion", help.discussion);
    out.key("isOptional");
    out.value(help.isOptional);
    out.key("isRepeating");
    out.value(help.isRepeating);
    out.key("kind");
    out.value(caseName(kind));
    if (named) {
        out.key("names");
        out.beginArray();
        for (const auto& name : definition.names) writeJson(out, name);
        out.endArray();
        out.key("preferredName");
        writeJson(out, *definition.preferredName());
    }
    out.nonEmptyMember("sectionTitle", help.parentTitle);
    out.key("shouldDisplay");
    out.value(help.visibility == ArgumentVisibility::default_);
    out.nonEmptyMember("valueName", definition.valueName());
    out.endObject();
}

Decoded<ArgumentInfoV0> ArgumentInfoV0::decode(const nlohmann::json& value, const std::string& path) {
    auto object = ObjectReader::open(value, path);
    if (!object) return std::move(object).error();
    const auto& o = *object;
    ArgumentInfoV0 info;

    auto kindText = o.text("kind");
    if (!kindText) return std::move(kindText).error();
    auto kind = argumentKindV0(*kindText);
    if (!kind) return DecodingError{o.pathOf("kind"), "unknown argument kind \"" + *kindText + "\""};
    info.kind = *kind;

    for (auto [key, field] : {std::pair{"shouldDisplay", &ArgumentInfoV0::shouldDisplay},
                              std::pair{"isOptional", &ArgumentInfoV0::isOptional},
                              std::pair{"isRepeating", &ArgumentInfoV0::isRepeating}}) {
        auto flag = o.boolean(key);
        if (!flag) return std::move(flag).error();
        info.*field = *flag;
    }
    for (auto [key, field] : {std::pair{"sectionTitle", &ArgumentInfoV0::sectionTitle},
                              std::pair{"valueName", &ArgumentInfoV0::valueName},
                              std::pair{"defaultValue", &ArgumentInfoV0::defaultValue},
                              std::pair{"abstract", &ArgumentInfoV0::abstract},
                              std::pair{"discussion", &ArgumentInfoV0::discussion}}) {
        auto text = o.optionalText(key);
        if (!text) return std::move(text).error();
        info.*field = std::move(*text);
    }

    auto names = o.optionalList("names");
    if (!names) return std::move(names).error();
    if (*names) {
        auto decoded = decodeList<NameInfoV0>(**names, o.pathOf("names"), NameInfoV0::decode);
        if (!decoded) return std::move(decoded).error();
        info.names = std::move(*decoded);
    }
    if (auto preferred = o.member("preferredName")) {
        auto decoded = NameInfoV0::decode(*preferred, o.pathOf("preferredName"));
        if (!decoded) return std::move(decoded).error();
        info.preferredName = std::move(*decoded);
    }
    auto allValues = o.optionalTexts("allValues");
    if (!allValues) return std::move(allValues).error();
    info.allValues = std::move(*allValues);
    return info;
}

}  // namespace ap
