#pragma once
// Builds a command value from the parsed values of its arguments, recording
// which input positions the command used.

#include <any>
#include <typeindex>
#include <vector>

#include "ArgumentParser/ParsedValues.hpp"

namespace ap {

/// An option group value decoded for some command, offered to the commands
/// below it that declare the same group.
struct DecodedGroup {
    std::type_index type;
    std::any value;
};

class ArgumentDecoder {
public:
    ArgumentDecoder(const ParsedValues& values, const std::vector<DecodedGroup>& previouslyDecoded)
        : values_(values), previouslyDecoded_(previouslyDecoded) {}

    /// The parsed element of a property, if any; its origins count as used.
    const ParsedValues::Element* element(const InputKey& key) {
        auto e = values_.element(key);
        if (e) usedOrigins_.formUnion(e->inputOrigin);
        return e;
    }

    const InputOrigin& usedOrigins() const { return usedOrigins_; }

    const std::any* previouslyDecoded(std::type_index type) const {
        for (const auto& g : previouslyDecoded_)
            if (g.type == type) return &g.value;
        return nullptr;
    }
    void recordGroup(std::type_index type, std::any value) { groups_.push_back({type, std::move(value)}); }
    const std::vector<DecodedGroup>& decodedGroups() const { return groups_; }

private:
    const ParsedValues& values_;
    const std::vector<DecodedGroup>& previouslyDecoded_;
    InputOrigin usedOrigins_;
    std::vector<DecodedGroup> groups_;
};

}  // namespace ap
