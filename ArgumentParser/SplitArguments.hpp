#pragma once
// The command line classified once into options, values and the terminator,
// each tagged with its position. The parser consumes elements from it;
// what is left at the end is reported as unknown or unexpected.

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "ArgumentParser/Errors.hpp"
#include "ArgumentParser/InputOrigin.hpp"
#include "ArgumentParser/Name.hpp"

namespace ap {

class SplitArguments {
public:
    struct Element {
        enum class Kind { option, value, terminator };
        Kind kind;
        /// option: its name.
        std::optional<Name> name;
        /// option: the value attached with "=" (nameWithValue); value: its text.
        std::optional<std::string> value;
        SplitIndex index;

        bool isOption() const { return kind == Kind::option; }
        bool isValue() const { return kind == Kind::value; }
        bool isTerminator() const { return kind == Kind::terminator; }
    };

    struct TakenValue {
        InputOrigin origin;
        std::string value;
    };

    /// Classifies `arguments` (the process arguments without the program
    /// name). Fails only with `invalidOption`.
    static platform::Expected<SplitArguments, ParserError> split(std::vector<std::string> arguments);

    const std::vector<std::string>& originalInput() const { return data_->originalInput; }
    /// Every element, used or not, in input order.
    const std::vector<Element>& elements() const { return data_->elements; }
    bool isUsed(std::size_t element) const { return used_[element]; }
    bool empty() const;  ///< no unused element
    std::size_t unusedCount() const { return unusedCount_; }

    /// Takes the next unused element; returns its position in `elements()`.
    std::optional<std::size_t> popNext();
    /// The next unused element, not consumed.
    const Element* peekNext() const;
    /// The first unused value after `after`, skipping options.
    std::optional<TakenValue> popNextValue(SplitIndex after);
    /// The whole argument of the first later position with an unused whole
    /// element, only when it is a value.
    std::optional<TakenValue> popNextElementIfValue(SplitIndex after);
    /// The original text of the first later position with an unused whole
    /// element, whatever it is; the whole position is consumed.
    std::optional<TakenValue> popNextElementAsValue(SplitIndex after);
    /// For the first letter of a group (-Dvalue): the rest of the argument.
    std::optional<TakenValue> extractJoinedElement(SplitIndex at);

    /// Marks as used every element an origin names. A whole-argument origin
    /// removes the whole position; a letter of a group removes that letter
    /// and the group read as one name.
    void removeAll(const InputOrigin& origin);
    void remove(std::size_t element);

    bool contains(const Name& name) const;
    bool containsNonTerminatorArguments() const;
    std::optional<std::string> originalInput(const InputOrigin::Element& at) const;
    /// The unused elements as (origin, text), without terminators and
    /// without letters whose group is still unused as a whole.
    std::vector<std::pair<InputOrigin, std::string>> coalescedExtraElements() const;

    /// Positions in `elements()` of the unused elements, in order.
    std::vector<std::size_t> unusedElements() const;

private:
    struct Data {
        std::vector<std::string> originalInput;
        std::vector<Element> elements;
        std::vector<std::size_t> positionStart;  // input index -> first element
    };

    void markUsed(std::size_t element);
    void markPositionUsed(int inputIndex);
    std::size_t firstOfPosition(int inputIndex) const {
        return data_->positionStart[static_cast<std::size_t>(inputIndex)];
    }
    std::size_t endOfPosition(int inputIndex) const {
        return data_->positionStart[static_cast<std::size_t>(inputIndex) + 1];
    }
    std::optional<std::size_t> firstWholeElementAfter(int inputIndex) const;

    std::shared_ptr<const Data> data_;
    std::vector<std::uint8_t> used_;  // bytes, not bits: read and written once per element in a parse
    std::size_t unusedCount_ = 0;
    mutable std::size_t front_ = 0;  // no unused element before it
};

}  // namespace ap
