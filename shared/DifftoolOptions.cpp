#include "shared/DifftoolOptions.hpp"

#include "platform/Paths.hpp"
#include "platform/Url.hpp"

namespace VarnShared {

std::string normalizeFileArgument(std::string_view text) {
    if (text.starts_with("file:/")) {
        if (auto url = platform::Url::parse(text))
            if (auto path = url->path()) return *path;
        return normalizeFileArgument(text.substr(5));
    }
    if (text.empty() || text.front() == '/') return std::string(text);
    return platform::absolutePath(std::string(text));
}

DifftoolOptions::DifftoolOptions(const std::optional<std::string>& repo, std::optional<std::int32_t> pid,
                                 std::optional<std::string> revspecA, std::optional<std::string> revspecB,
                                 std::string_view base, std::string_view local, std::string_view remote,
                                 std::string_view merged)
    : DiffToolSession{platform::resolvingSymlinksInPath(
                          platform::absolutePath(platform::standardizingPath(repo.value_or(".")))),
                      pid, std::move(revspecA), std::move(revspecB)},
      base(normalizeFileArgument(base)),
      local(normalizeFileArgument(local)),
      remote(normalizeFileArgument(remote)),
      merged(normalizeFileArgument(merged)) {}

}  // namespace VarnShared
