#include "cli/Diff.hpp"

#include "cli/LocateApplication.hpp"
#include "cli/RepositoryResolution.hpp"
#include "cli/RunOpen.hpp"
#include "cli/ToolErrors.hpp"
#include "shared/DiffLink.hpp"

namespace varn {

ap::Result<void> Diff::run() {
    // The directory is only made absolute and link-free: the application
    // finds the work tree itself, so a subdirectory is sent as it is.
    auto path = absoluteFileURL(repo.value_or("."));
    if (!path) return std::move(path).error();
    auto link = VarnShared::diffLink(*path, revspecA, revspecB, paths);
    if (!link) return repositoryNotFoundError(*path);

    std::vector<std::string> arguments{"-u", link->string()};
    for (auto& a : applicationArguments()) arguments.push_back(std::move(a));
    return runOpenAndWait(arguments);
}

}  // namespace varn
