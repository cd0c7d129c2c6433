#pragma once
// "_difftool": the diff tool git runs for each changed file.

#include "ArgumentParser/Declarations.hpp"
#include "cli/GitToolFiles.hpp"

namespace varn {

struct Difftool : ap::ParsableCommand, GitToolFiles {
    static constexpr std::string_view typeName = "Difftool";
    static ap::CommandConfiguration configuration() {
        return {.commandName = "_difftool",
                .abstract = "Used by 'git difftool'. You probably want 'varn diff \u2026' instead.",
                .shouldDisplay = false};
    }
    static void arguments(ap::Arguments<Difftool>& a) { declareGitToolFiles(a); }

    ap::Result<void> run() override;
};

}  // namespace varn
