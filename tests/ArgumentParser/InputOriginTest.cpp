// Unions of input origins stay sorted and free of repeats however they
// meet: appended in order, inserted one by one, or merged as long lists.

#include <gtest/gtest.h>

#include <vector>

#include "ArgumentParser/InputOrigin.hpp"

namespace {

using ap::InputOrigin;
using ap::SplitIndex;
using Element = InputOrigin::Element;

InputOrigin positions(const std::vector<int>& indices) {
    InputOrigin origin;
    for (int i : indices) origin.insert(Element::argumentIndex(SplitIndex{i, std::nullopt}));
    return origin;
}

std::vector<int> indices(const InputOrigin& origin) {
    std::vector<int> result;
    for (const auto& e : origin.elements()) result.push_back(e.index ? e.index->inputIndex : -1);
    return result;
}

TEST(InputOrigin, UnionKeepsOrderWithoutRepeats) {
    struct Case {
        std::vector<int> a, b, united;
    } cases[] = {
        {{}, {3, 1}, {1, 3}},
        {{1, 2}, {3, 4}, {1, 2, 3, 4}},
        {{5, 9}, {1, 5, 7}, {1, 5, 7, 9}},
        {{0, 2, 4, 6, 8, 10}, {1, 2, 3, 5, 7, 9, 11}, {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11}},
        {{1, 2, 3, 4, 5, 6}, {1, 2, 3, 4, 5, 6}, {1, 2, 3, 4, 5, 6}},
    };
    for (const auto& c : cases) {
        auto origin = positions(c.a);
        origin.formUnion(positions(c.b));
        EXPECT_EQ(indices(origin), c.united);
        EXPECT_EQ(indices(positions(c.b).united(positions(c.a))), c.united);
    }
}

TEST(InputOrigin, MergedLongListsEqualInsertionOneByOne) {
    // The default, whole arguments and letters of groups, interleaved.
    std::vector<Element> first{Element::defaultValue()}, second;
    for (int i = 0; i < 40; ++i) {
        auto& list = i % 3 ? first : second;
        list.push_back(Element::argumentIndex(SplitIndex{i / 2, std::nullopt}));
        list.push_back(Element::argumentIndex(SplitIndex{i / 2, i % 4}));
    }
    InputOrigin a, b, reference;
    for (const auto& e : first) a.insert(e), reference.insert(e);
    for (const auto& e : second) b.insert(e), reference.insert(e);
    ASSERT_GT(b.size(), 4u);
    a.formUnion(b);
    EXPECT_EQ(a, reference);
}

}  // namespace
