#include "ArgumentParser/InputOrigin.hpp"

#include <algorithm>
#include <iterator>

namespace ap {

InputOrigin::InputOrigin(std::initializer_list<Element> elements) {
    for (const auto& e : elements) insert(e);
}

void InputOrigin::insert(const Element& element) {
    auto it = std::lower_bound(elements_.begin(), elements_.end(), element);
    if (it == elements_.end() || *it != element) elements_.insert(it, element);
}

void InputOrigin::formUnion(const InputOrigin& other) {
    // A value's origin grows one position at a time, in order; the origins
    // of a whole command line meet as two long sorted lists, merged once.
    if (other.elements_.empty()) return;
    if (elements_.empty() || elements_.back() < other.elements_.front()) {
        elements_.insert(elements_.end(), other.elements_.begin(), other.elements_.end());
        return;
    }
    if (other.elements_.size() <= 4) {
        for (const auto& e : other.elements_) insert(e);
        return;
    }
    std::vector<Element> merged;
    merged.reserve(elements_.size() + other.elements_.size());
    std::set_union(elements_.begin(), elements_.end(), other.elements_.begin(), other.elements_.end(),
                   std::back_inserter(merged));
    elements_ = std::move(merged);
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
