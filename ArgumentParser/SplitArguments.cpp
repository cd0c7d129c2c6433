#include "ArgumentParser/SplitArguments.hpp"

#include <algorithm>

#include "ArgumentParser/Unicode.hpp"

namespace ap {
namespace {

using Element = SplitArguments::Element;

Element option(Name name, std::optional<std::string> value, SplitIndex index) {
    return {Element::Kind::option, std::move(name), std::move(value), index};
}

Element value(std::string text, int position) {
    return {Element::Kind::value, std::nullopt, std::move(text), SplitIndex{position, std::nullopt}};
}

// Appends the elements of one argument text; fails for texts that can never
// name an option.
std::optional<ParserError> classify(const std::string& text, int position, std::vector<Element>& out) {
    SplitIndex whole{position, std::nullopt};
    if (text.empty() || text == "-") {
        out.push_back(value(text, position));
        return std::nullopt;
    }
    if (text == "--") {
        out.push_back({Element::Kind::terminator, std::nullopt, std::nullopt, whole});
        return std::nullopt;
    }
    auto dashes = text.find_first_not_of('-');
    if (dashes == std::string::npos || dashes >= 3) return ParserError{ParserError::InvalidOption{text}};
    if (dashes == 0) {
        out.push_back(value(text, position));
        return std::nullopt;
    }
    std::string_view rest = std::string_view(text).substr(dashes);
    if (dashes == 2) {
        auto eq = rest.find('=');
        std::optional<std::string> attached;
        if (eq != std::string_view::npos && eq + 1 < rest.size()) attached = std::string(rest.substr(eq + 1));
        out.push_back(option(Name::long_(std::string(rest.substr(0, eq))), std::move(attached), whole));
        return std::nullopt;
    }
    // A single dash: one short name, a long name with a single dash, or a
    // group of short names; which one is decided by the declared names.
    if (auto eq = rest.find('='); eq != std::string_view::npos) {
        auto name = rest.substr(0, eq);
        if (name.empty()) return ParserError{ParserError::InvalidOption{text}};
        auto n = unicode::count(name) == 1 ? Name::short_(std::string(name))
                                           : Name::longWithSingleDash(std::string(name));
        out.push_back(option(std::move(n), std::string(rest.substr(eq + 1)), whole));
        return std::nullopt;
    }
    auto letters = unicode::characters(rest);
    if (letters.size() == 1) {
        out.push_back(option(Name::short_(std::string(rest)), std::nullopt, whole));
        return std::nullopt;
    }
    out.push_back(option(Name::longWithSingleDash(std::string(rest)), std::nullopt, whole));
    for (std::size_t n = 0; n < letters.size(); ++n)
        out.push_back(option(Name::short_(std::string(letters[n])), std::nullopt,
                             SplitIndex{position, static_cast<int>(n)}));
    return std::nullopt;
}

}  // namespace

platform::Expected<SplitArguments, ParserError> SplitArguments::split(std::vector<std::string> arguments) {
    auto data = std::make_shared<Data>();
    auto& elements = data->elements;
    elements.reserve(arguments.size());
    data->positionStart.reserve(arguments.size() + 1);
    bool afterTerminator = false;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        int position = static_cast<int>(i);
        data->positionStart.push_back(elements.size());
        if (afterTerminator) {
            elements.push_back(value(arguments[i], position));
            continue;
        }
        if (auto failure = classify(arguments[i], position, elements)) return std::move(*failure);
        afterTerminator = elements.back().isTerminator();
    }
    data->positionStart.push_back(elements.size());
    data->originalInput = std::move(arguments);

    SplitArguments split;
    split.used_.assign(elements.size(), 0);
    split.unusedCount_ = elements.size();
    split.data_ = std::move(data);
    return split;
}

bool SplitArguments::empty() const { return unusedCount_ == 0; }

void SplitArguments::markUsed(std::size_t element) {
    if (used_[element]) return;
    used_[element] = 1;
    --unusedCount_;
}

void SplitArguments::markPositionUsed(int inputIndex) {
    for (auto i = firstOfPosition(inputIndex); i < endOfPosition(inputIndex); ++i) markUsed(i);
}

void SplitArguments::remove(std::size_t element) { markUsed(element); }

std::optional<std::size_t> SplitArguments::popNext() {
    auto next = peekNext();
    if (!next) return std::nullopt;
    markUsed(front_);
    return front_;
}

const SplitArguments::Element* SplitArguments::peekNext() const {
    while (front_ < used_.size() && used_[front_]) ++front_;
    return front_ < used_.size() ? &elements()[front_] : nullptr;
}

std::optional<SplitArguments::TakenValue> SplitArguments::popNextValue(SplitIndex after) {
    const auto& all = elements();
    for (std::size_t i = firstOfPosition(after.inputIndex); i < all.size(); ++i) {
        if (used_[i] || !(all[i].index > after) || !all[i].isValue()) continue;
        markUsed(i);
        return TakenValue{InputOrigin::at(all[i].index), *all[i].value};
    }
    return std::nullopt;
}

std::optional<std::size_t> SplitArguments::firstWholeElementAfter(int inputIndex) const {
    auto positions = static_cast<int>(originalInput().size());
    for (int p = inputIndex + 1; p < positions; ++p) {
        auto first = firstOfPosition(p);
        if (!used_[first] && elements()[first].index.isComplete()) return first;
    }
    return std::nullopt;
}

std::optional<SplitArguments::TakenValue> SplitArguments::popNextElementIfValue(SplitIndex after) {
    auto i = firstWholeElementAfter(after.inputIndex);
    if (!i || !elements()[*i].isValue()) return std::nullopt;
    markUsed(*i);
    return TakenValue{InputOrigin::at(elements()[*i].index), *elements()[*i].value};
}

std::optional<SplitArguments::TakenValue> SplitArguments::popNextElementAsValue(SplitIndex after) {
    auto i = firstWholeElementAfter(after.inputIndex);
    if (!i) return std::nullopt;
    auto position = elements()[*i].index.inputIndex;
    markPositionUsed(position);
    return TakenValue{InputOrigin::at(SplitIndex{position, std::nullopt}),
                      originalInput()[static_cast<std::size_t>(position)]};
}

std::optional<SplitArguments::TakenValue> SplitArguments::extractJoinedElement(SplitIndex at) {
    if (at.subIndex != 0) return std::nullopt;
    const auto& text = originalInput()[static_cast<std::size_t>(at.inputIndex)];
    markPositionUsed(at.inputIndex);
    return TakenValue{InputOrigin::at(SplitIndex{at.inputIndex, std::nullopt}),
                      std::string(unicode::dropFirst(text, 2))};
}

void SplitArguments::removeAll(const InputOrigin& origin) {
    for (const auto& e : origin.elements()) {
        if (!e.index) continue;
        const auto& index = *e.index;
        if (index.inputIndex < 0 || static_cast<std::size_t>(index.inputIndex) >= originalInput().size()) continue;
        if (index.isComplete()) {
            markPositionUsed(index.inputIndex);
            continue;
        }
        for (auto i = firstOfPosition(index.inputIndex); i < endOfPosition(index.inputIndex); ++i)
            if (elements()[i].index == index || elements()[i].index.isComplete()) markUsed(i);
    }
}

bool SplitArguments::contains(const Name& name) const {
    const auto& all = elements();
    for (std::size_t i = front_; i < all.size(); ++i)
        if (!used_[i] && all[i].isOption() && *all[i].name == name) return true;
    return false;
}

bool SplitArguments::containsNonTerminatorArguments() const {
    const auto& all = elements();
    for (std::size_t i = front_; i < all.size(); ++i)
        if (!used_[i] && !all[i].isTerminator()) return true;
    return false;
}

std::optional<std::string> SplitArguments::originalInput(const InputOrigin::Element& at) const {
    if (!at.index || at.index->inputIndex < 0 ||
        static_cast<std::size_t>(at.index->inputIndex) >= originalInput().size())
        return std::nullopt;
    return originalInput()[static_cast<std::size_t>(at.index->inputIndex)];
}

std::vector<std::pair<InputOrigin, std::string>> SplitArguments::coalescedExtraElements() const {
    std::vector<std::pair<InputOrigin, std::string>> extras;
    const auto& all = elements();
    for (std::size_t i = 0; i < all.size(); ++i) {
        if (used_[i] || all[i].isTerminator()) continue;
        const auto& index = all[i].index;
        if (index.isComplete()) {
            extras.emplace_back(InputOrigin::at(index), originalInput()[static_cast<std::size_t>(index.inputIndex)]);
            continue;
        }
        auto whole = firstOfPosition(index.inputIndex);
        if (all[whole].index.isComplete() && !used_[whole]) continue;
        extras.emplace_back(InputOrigin::at(index), "-" + all[i].name->valueString());
    }
    return extras;
}

std::vector<std::size_t> SplitArguments::unusedElements() const {
    std::vector<std::size_t> unused;
    unused.reserve(unusedCount_);
    for (std::size_t i = 0; i < used_.size(); ++i)
        if (!used_[i]) unused.push_back(i);
    return unused;
}

}  // namespace ap
