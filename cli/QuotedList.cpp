#include "cli/QuotedList.hpp"

#include "shared/SessionKey.hpp"

namespace varn {

std::string quotedList(const std::vector<std::string>& texts) {
    std::string list = "[";
    for (std::size_t i = 0; i < texts.size(); ++i) {
        if (i > 0) list += ", ";
        list += VarnShared::quotedText(texts[i]);
    }
    return list + "]";
}

}  // namespace varn
