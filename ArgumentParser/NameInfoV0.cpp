#include "ArgumentParser/NameInfoV0.hpp"

namespace ap {

namespace {

void writeName(platform::PrettyJsonWriter& out, NameInfoV0::KindV0 kind, std::string_view name) {
    out.beginObject();
    out.key("kind");
    out.value(caseName(kind));
    out.key("name");
    out.value(name);
    out.endObject();
}

}  // namespace

std::string NameInfoV0::synopsis() const { return (kind == KindV0::long_ ? "--" : "-") + name; }

std::string_view caseName(NameInfoV0::KindV0 kind) {
    switch (kind) {
        case NameInfoV0::KindV0::long_: return "long";
        case NameInfoV0::KindV0::short_: return "short";
        case NameInfoV0::KindV0::longWithSingleDash: return "longWithSingleDash";
    }
    return {};
}

std::optional<NameInfoV0::KindV0> nameKindV0(std::string_view name) {
    for (auto kind : {NameInfoV0::KindV0::long_, NameInfoV0::KindV0::short_, NameInfoV0::KindV0::longWithSingleDash})
        if (caseName(kind) == name) return kind;
    return std::nullopt;
}

void writeJson(platform::PrettyJsonWriter& out, const NameInfoV0& name) { writeName(out, name.kind, name.name); }

void writeJson(platform::PrettyJsonWriter& out, const Name& name) {
    auto kind = NameInfoV0::KindV0::long_;
    switch (name.kind()) {
        case Name::Kind::long_: kind = NameInfoV0::KindV0::long_; break;
        case Name::Kind::short_: kind = NameInfoV0::KindV0::short_; break;
        case Name::Kind::longWithSingleDash: kind = NameInfoV0::KindV0::longWithSingleDash; break;
    }
    writeName(out, kind, name.valueString());
}

Decoded<NameInfoV0> NameInfoV0::decode(const nlohmann::json& value, const std::string& path) {
    auto object = ObjectReader::open(value, path);
    if (!object) return std::move(object).error();
    auto kindText = object->text("kind");
    if (!kindText) return std::move(kindText).error();
    auto kind = nameKindV0(*kindText);
    if (!kind) return DecodingError{object->pathOf("kind"), "unknown name kind \"" + *kindText + "\""};
    auto name = object->text("name");
    if (!name) return std::move(name).error();
    return NameInfoV0{*kind, std::move(*name)};
}

}  // namespace ap
