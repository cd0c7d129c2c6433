#include "cli/Difftool.hpp"

#include "cli/DifftoolHandOff.hpp"
#include "cli/GitRevisions.hpp"
#include "cli/ParentCommandLine.hpp"
#include "cli/RemoveQuarantine.hpp"
#include "cli/RepositoryResolution.hpp"
#include "cli/VerboseLog.hpp"
#include "platform/Paths.hpp"
#include "platform/ProcessInfo.hpp"

namespace varn {

ap::Result<void> Difftool::run() {
    auto root = findRepositoryRoot(platform::absolutePath(merged));

    // git runs the tool inside its own process group, so the group names
    // the git invocation: its leader's command line holds the revisions,
    // and every run of one invocation shares the identifier.
    auto group = platform::processGroupIdentifier();
    if (!group) return std::move(group).error();
    logVerbose("Group ID: " + std::to_string(*group));

    GitRevisions revisions;
    if (auto line = parentCommandLine(*group)) {
        logVerbose("Command line: " + *line);
        revisions = parseGitRevisions(*line);
    }

    if (root) removeQuarantine(*root);
    VarnShared::DifftoolOptions options(root, static_cast<std::int32_t>(*group), revisions.revspecA,
                                        revisions.revspecB, base, local, remote, merged);
    return difftoolHandOff(options);
}

}  // namespace varn
