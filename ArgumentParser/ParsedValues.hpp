#pragma once
// The values one command's arguments took during parsing, keyed by
// property, each with the positions it came from.

#include <any>
#include <string>
#include <unordered_map>
#include <vector>

#include "ArgumentParser/InputKey.hpp"
#include "ArgumentParser/InputOrigin.hpp"

namespace ap {

struct ParsedValues {
    struct Element {
        InputKey key;
        std::any value;
        InputOrigin inputOrigin;
        /// True while an array holds only its declared default.
        bool shouldClearArrayIfParsed = false;
    };

    std::unordered_map<InputKey, Element> elements;
    std::vector<std::string> originalInput;

    const Element* element(const InputKey& key) const {
        auto it = elements.find(key);
        return it == elements.end() ? nullptr : &it->second;
    }
    Element* element(const InputKey& key) {
        auto it = elements.find(key);
        return it == elements.end() ? nullptr : &it->second;
    }

    /// Stores `value`, replacing an earlier one; the origins accumulate.
    void set(const InputKey& key, std::any value, const InputOrigin& origin) {
        auto [it, inserted] = elements.try_emplace(key, Element{key, {}, origin, false});
        if (!inserted) {
            if (it->second.inputOrigin.isDefaultValue())
                it->second.inputOrigin = origin;
            else
                it->second.inputOrigin.formUnion(origin);
        }
        it->second.value = std::move(value);
        it->second.shouldClearArrayIfParsed = false;
    }
};

}  // namespace ap
