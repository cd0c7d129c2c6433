#include "cli/HasRepoParam.hpp"

#include "cli/RepositoryResolution.hpp"
#include "cli/ToolErrors.hpp"

namespace varn {

platform::Result<std::string> resolveRepository(const std::optional<std::string>& repo) {
    auto start = absoluteFileURL(repo.value_or("."));
    if (!start) return std::move(start).error();
    if (auto root = findRepositoryRoot(*start)) return *root;
    return repositoryNotFoundError(*start);
}

}  // namespace varn
