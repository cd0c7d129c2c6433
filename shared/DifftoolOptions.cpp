#include "shared/DifftoolOptions.hpp"

#include "platform/Paths.hpp"
#include "platform/Url.hpp"

namespace VarnShared {

platform::Result<std::string> normalizeFileArgument(std::string_view text) {
    if (text.starts_with("file:/")) {
        if (auto url = platform::Url::parse(text))
            if (auto path = url->path()) return *path;
        return normalizeFileArgument(text.substr(5));
    }
    if (text.empty() || text.front() == '/') return std::string(text);
    return platform::absolutePath(std::string(text));
}

platform::Result<DifftoolOptions> DifftoolOptions::make(const DifftoolArguments& arguments) {
    DifftoolOptions options;
    auto repo = platform::absolutePath(platform::standardizingPath(arguments.repo.value_or(".")));
    if (!repo) return std::move(repo).error();
    options.repo = platform::resolvingSymlinksInPath(*repo);
    options.pid = arguments.pid;
    options.revspecA = arguments.revspecA;
    options.revspecB = arguments.revspecB;
    for (auto [from, to] :
         {std::pair{&arguments.base, &options.base}, std::pair{&arguments.local, &options.local},
          std::pair{&arguments.remote, &options.remote}, std::pair{&arguments.merged, &options.merged}}) {
        auto normalized = normalizeFileArgument(*from);
        if (!normalized) return std::move(normalized).error();
        *to = std::move(*normalized);
    }
    return options;
}

}  // namespace VarnShared
