#pragma once
// Identifies a declared property: its name and the names of the option
// groups around it, outermost first.

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace ap {

struct InputKey {
    std::string name;
    std::vector<std::string> path;

    InputKey() = default;
    /// The property name with one leading "_" removed.
    explicit InputKey(std::string_view propertyName, std::vector<std::string> path = {})
        : name(propertyName.starts_with('_') ? propertyName.substr(1) : propertyName), path(std::move(path)) {}

    /// The key of a property declared inside this one (an option group).
    std::vector<std::string> childPath() const {
        auto p = path;
        p.push_back(name);
        return p;
    }

    /// The key as the framework writes it in messages: the path and the
    /// name joined with ".".
    std::string fullName() const {
        std::string s;
        for (const auto& p : path) s += p + ".";
        return s + name;
    }

    friend bool operator==(const InputKey&, const InputKey&) = default;
};

}  // namespace ap

template <>
struct std::hash<ap::InputKey> {
    std::size_t operator()(const ap::InputKey& key) const noexcept {
        std::size_t h = std::hash<std::string>{}(key.name);
        for (const auto& p : key.path) h = h * 31 + std::hash<std::string>{}(p);
        return h;
    }
};
