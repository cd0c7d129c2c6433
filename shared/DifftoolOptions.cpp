#include "shared/DifftoolOptions.hpp"

#include "platform/Paths.hpp"
#include "platform/Url.hpp"
#include "shared/DiffToolFiles.hpp"

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
    if (auto files = convertDiffToolFiles(options, arguments, normalizeFileArgument); !files)
        return std::move(files).error();
    return options;
}

}  // namespace VarnShared
