#include "ArgumentParser/Declarations.hpp"

namespace ap::detail {

std::vector<NameSpecification::Element> invertedElements(const NameSpecification& names, FlagInversion inversion,
                                                         bool enabling, const InputKey& key) {
    using Kind = NameSpecification::Element::Kind;
    std::vector<NameSpecification::Element> result;
    for (const auto& e : names.elements) {
        bool isLong = e.kind == Kind::long_ || e.kind == Kind::customLong;
        if (inversion == FlagInversion::prefixedNo) {
            if (enabling)
                result.push_back(e);
            else if (isLong)
                result.push_back(e.prefixed("no", key));
        } else if (isLong) {
            result.push_back(e.prefixed(enabling ? "enable" : "disable", key));
        } else if (enabling) {
            result.push_back(e);
        }
    }
    return result;
}

}  // namespace ap::detail
