#pragma once
// Where on the command line a parsed value came from.

#include <compare>
#include <optional>
#include <string>
#include <vector>

namespace ap {

/// A position in the split command line: the argument's index and, for one
/// letter of a group of short options (-abc), the letter's offset.
struct SplitIndex {
    int inputIndex = 0;
    std::optional<int> subIndex;  ///< none: the whole argument ("complete")

    bool isComplete() const { return !subIndex; }

    friend bool operator==(const SplitIndex&, const SplitIndex&) = default;
    friend std::strong_ordering operator<=>(const SplitIndex& a, const SplitIndex& b) {
        if (auto c = a.inputIndex <=> b.inputIndex; c != 0) return c;
        if (a.subIndex == b.subIndex) return std::strong_ordering::equal;
        if (!a.subIndex) return std::strong_ordering::less;  // the whole argument first
        if (!b.subIndex) return std::strong_ordering::greater;
        return *a.subIndex <=> *b.subIndex;
    }
};

class InputOrigin {
public:
    /// An argument position, or the declared default.
    struct Element {
        std::optional<SplitIndex> index;  ///< none: defaultValue

        static Element argumentIndex(SplitIndex i) { return {i}; }
        static Element defaultValue() { return {}; }
        bool isDefaultValue() const { return !index; }

        friend bool operator==(const Element&, const Element&) = default;
        friend std::strong_ordering operator<=>(const Element& a, const Element& b) {
            if (!a.index || !b.index) return !a.index <=> !b.index;
            return *a.index <=> *b.index;
        }
    };

    InputOrigin() = default;
    InputOrigin(std::initializer_list<Element> elements);
    static InputOrigin at(SplitIndex i) { return InputOrigin(Element::argumentIndex(i)); }
    static InputOrigin defaultValue() { return InputOrigin(Element::defaultValue()); }

    void insert(const Element& element);
    void formUnion(const InputOrigin& other);
    InputOrigin united(const InputOrigin& other) const;

    bool empty() const { return elements_.empty(); }
    std::size_t size() const { return elements_.size(); }
    bool isDefaultValue() const { return elements_.size() == 1 && elements_[0].isDefaultValue(); }
    /// Elements in position order (the default first).
    const std::vector<Element>& elements() const { return elements_; }
    /// The first argument position, if any.
    std::optional<SplitIndex> firstIndex() const;

    friend bool operator==(const InputOrigin&, const InputOrigin&) = default;

private:
    explicit InputOrigin(const Element& only) : elements_(1, only) {}

    std::vector<Element> elements_;  // sorted, unique
};

}  // namespace ap
