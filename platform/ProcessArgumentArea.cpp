#include "platform/ProcessArgumentArea.hpp"

#include <cstring>

namespace platform {

std::optional<std::vector<std::string>> argumentsInProcessArgumentArea(std::string_view area) {
    int count = 0;
    if (area.size() < sizeof count) return std::nullopt;
    std::memcpy(&count, area.data(), sizeof count);
    auto start = area.find('\0', sizeof count);
    if (start == std::string_view::npos) return std::nullopt;
    start = area.find_first_not_of('\0', start);

    std::vector<std::string> arguments;
    while (static_cast<int>(arguments.size()) < count && start < area.size()) {
        auto end = area.find('\0', start);
        if (end == std::string_view::npos) end = area.size();
        arguments.emplace_back(area.substr(start, end - start));
        start = end + 1;
    }
    if (arguments.empty()) return std::nullopt;
    return arguments;
}

}  // namespace platform
