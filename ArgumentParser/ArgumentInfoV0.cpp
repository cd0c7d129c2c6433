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

namespace {

/// One argument's entry, borrowed from a declaration or from a decoded
/// description: its members in key order, absent ones left out.
template <class Name>
struct Entry {
    std::optional<std::string_view> abstract;
    const std::vector<std::string>* allValues = nullptr;
    std::optional<std::string_view> defaultValue;
    std::optional<std::string_view> discussion;
    bool isOptional = false;
    bool isRepeating = false;
    ArgumentInfoV0::KindV0 kind = ArgumentInfoV0::KindV0::positional;
    const std::vector<Name>* names = nullptr;
    const Name* preferredName = nullptr;
    std::optional<std::string_view> sectionTitle;
    bool shouldDisplay = true;
    std::optional<std::string_view> valueName;
};

void member(platform::PrettyJsonWriter& out, std::string_view key, std::optional<std::string_view> text) {
    if (!text) return;
    out.key(key);
    out.value(*text);
}

template <class Name>
void writeEntry(platform::PrettyJsonWriter& out, const Entry<Name>& a) {
    out.beginObject();
    member(out, "abstract", a.abstract);
    if (a.allValues) {
        out.key("allValues");
        out.beginArray();
        for (const auto& value : *a.allValues) out.value(value);
        out.endArray();
    }
    member(out, "defaultValue", a.defaultValue);
    member(out, "discussion", a.discussion);
    out.key("isOptional");
    out.value(a.isOptional);
    out.key("isRepeating");
    out.value(a.isRepeating);
    out.key("kind");
    out.value(caseName(a.kind));
    if (a.names) {
        out.key("names");
        out.beginArray();
        for (const auto& name : *a.names) writeJson(out, name);
        out.endArray();
    }
    if (a.preferredName) {
        out.key("preferredName");
        writeJson(out, *a.preferredName);
    }
    member(out, "sectionTitle", a.sectionTitle);
    out.key("shouldDisplay");
    out.value(a.shouldDisplay);
    member(out, "valueName", a.valueName);
    out.endObject();
}

std::optional<std::string_view> given(const std::optional<std::string>& text) {
    if (!text) return std::nullopt;
    return *text;
}

std::optional<std::string_view> nonEmpty(std::string_view text) {
    if (text.empty()) return std::nullopt;
    return text;
}

}  // namespace

void writeJson(platform::PrettyJsonWriter& out, const ArgumentInfoV0& a) {
    writeEntry<NameInfoV0>(out, {.abstract = given(a.abstract),
                                 .allValues = a.allValues ? &*a.allValues : nullptr,
                                 .defaultValue = given(a.defaultValue),
                                 .discussion = given(a.discussion),
                                 .isOptional = a.isOptional,
                                 .isRepeating = a.isRepeating,
                                 .kind = a.kind,
                                 .names = a.names ? &*a.names : nullptr,
                                 .preferredName = a.preferredName ? &*a.preferredName : nullptr,
                                 .sectionTitle = given(a.sectionTitle),
                                 .shouldDisplay = a.shouldDisplay,
                                 .valueName = given(a.valueName)});
}

void writeJson(platform::PrettyJsonWriter& out, const ArgumentDefinition& definition) {
    const auto& help = definition.help;
    const bool named = definition.isNamed() && !definition.names.empty();
    const auto valueName = definition.valueName();
    writeEntry<Name>(out, {.abstract = nonEmpty(help.abstract),
                           .allValues = help.allValueStrings.empty() ? nullptr : &help.allValueStrings,
                           .defaultValue = help.defaultValue ? nonEmpty(*help.defaultValue) : std::nullopt,
                           .discussion = nonEmpty(help.discussion),
                           .isOptional = help.isOptional,
                           .isRepeating = help.isRepeating,
                           .kind = definition.isPositional() ? ArgumentInfoV0::KindV0::positional
                                   : definition.takesValue() ? ArgumentInfoV0::KindV0::option
                                                             : ArgumentInfoV0::KindV0::flag,
                           .names = named ? &definition.names : nullptr,
                           .preferredName = named ? definition.preferredName() : nullptr,
                           .sectionTitle = nonEmpty(help.parentTitle),
                           .shouldDisplay = help.visibility == ArgumentVisibility::default_,
                           .valueName = nonEmpty(valueName)});
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
    for (auto [key, field] :
         {std::pair{"sectionTitle", &ArgumentInfoV0::sectionTitle}, std::pair{"valueName", &ArgumentInfoV0::valueName},
          std::pair{"defaultValue", &ArgumentInfoV0::defaultValue}, std::pair{"abstract", &ArgumentInfoV0::abstract},
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
