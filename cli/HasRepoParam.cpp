#include "cli/HasRepoParam.hpp"

#include "cli/RepositoryResolution.hpp"
#include "cli/ToolErrors.hpp"
#include "platform/Paths.hpp"

namespace varn {

platform::Result<std::string> resolveRepository(const std::optional<std::string>& repo) {
    auto start = repo ? absoluteFileURL(*repo) : platform::resolvingSymlinksInPath(platform::absolutePath("."));
    if (auto root = findRepositoryRoot(start)) return *root;
    return repositoryNotFoundError(start);
}

}  // namespace varn
