#pragma once
// How far apart two texts are, for suggesting the option a person meant.

#include <cstddef>
#include <string_view>

namespace ap {

/// The Levenshtein distance over user-perceived characters: insertions,
/// deletions and substitutions each cost 1.
std::size_t editDistance(std::string_view a, std::string_view b);

}  // namespace ap
