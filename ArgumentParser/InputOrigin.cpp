#include "ArgumentParser/InputOrigin.hpp"

#include <algorithm>

namespace ap {

InputOrigin::InputOrigin(std::initializer_list<Element> elements) {
    for (const auto& e : elements) insert(e);
}

void InputOrigin::insert(const Element& element) {
    auto it = std::lower_bound(elements_.begin(), elements_.end(), element);
    if (it == elements_.end() || *it != element) elements_.insert(it, element);
}

void InputOrigin::formUnion(const InputOrigin& other) {
    for (const auto& e : other.elements_) insert(e);
}

InputOrigin InputOrigin::united(const InputOrigin& other) const {
    auto copy = *this;
    copy.formUnion(other);
    return copy;
}

std::optional<SplitIndex> InputOrigin::firstIndex() const {
    for (const auto& e : elements_)
        if (e.index) return e.index;
    return std::nullopt;
}

}  // namespace ap
