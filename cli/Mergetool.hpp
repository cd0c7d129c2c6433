#pragma once
// "_mergetool": the merge tool git runs for each conflicted file.

#include "ArgumentParser/Declarations.hpp"
#include "cli/GitToolFiles.hpp"

namespace varn {

struct Mergetool : ap::ParsableCommand, GitToolFiles {
    static constexpr std::string_view typeName = "Mergetool";
    static ap::CommandConfiguration configuration() {
        return {.commandName = "_mergetool",
                .abstract = "Used by 'git mergetool'. You probably want 'varn merge \u2026' instead.",
                .shouldDisplay = false};
    }
    static void arguments(ap::Arguments<Mergetool>& a) { declareGitToolFiles(a); }

    ap::Result<void> run() override;
};

}  // namespace varn
