#include "ArgumentParser/NameSpecification.hpp"

#include "ArgumentParser/Fatal.hpp"
#include "ArgumentParser/SnakeCase.hpp"
#include "ArgumentParser/Unicode.hpp"

namespace ap {
namespace {

// prefix + capitalised name: no + verbose -> noVerbose
std::string capitalisingJoin(const std::string& prefix, const std::string& name) {
    auto first = unicode::prefix(name, 1);
    return prefix + unicode::uppercased(first) + std::string(name.substr(first.size()));
}

bool containsUppercase(const std::string& text) {
    for (auto c : unicode::characters(text))
        if (unicode::isUppercase(c)) return true;
    return false;
}

}  // namespace

Name NameSpecification::Element::name(const InputKey& key) const {
    switch (kind) {
        case Kind::long_: return Name::long_(convertedToSnakeCase(key.name, "-"));
        case Kind::short_: {
            auto first = unicode::prefix(key.name, 1);
            if (first.empty()) fatalError("Key '" + key.name + "' has not characters to form short option name.");
            return Name::short_(std::string(first));
        }
        case Kind::customLong: return withSingleDash ? Name::longWithSingleDash(text) : Name::long_(text);
        case Kind::customShort: return Name::short_(text, allowingJoined);
    }
    return Name::long_(key.name);
}

NameSpecification::Element NameSpecification::Element::prefixed(const std::string& prefix, const InputKey& key) const {
    switch (kind) {
        case Kind::long_: return customLong(convertedToSnakeCase(capitalisingJoin(prefix, key.name), "-"));
        case Kind::customLong: {
            std::string joined;
            if (text.find('-') != std::string::npos)
                joined = prefix + "-" + text;
            else if (text.find('_') != std::string::npos)
                joined = prefix + "_" + text;
            else if (unicode::isLowercase(unicode::prefix(text, 1)) && containsUppercase(text))
                joined = capitalisingJoin(prefix, text);
            else
                joined = prefix + text;
            return customLong(joined, withSingleDash);
        }
        case Kind::short_:
        case Kind::customShort: return *this;
    }
    return *this;
}

std::vector<Name> NameSpecification::makeNames(const InputKey& key) const {
    std::vector<Name> names;
    names.reserve(elements.size());
    for (const auto& element : elements) names.push_back(element.name(key));
    return names;
}

}  // namespace ap
