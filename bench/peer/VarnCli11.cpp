// The peer of the whole-process benchmarks: varn's command tree declared
// with CLI11, a widely used C++ command-line library. It parses, prints its
// help and reports errors in its own words; it runs no command. What it
// restates of varn (commands, arguments, texts) is checked against varn's
// own description by check-texts beside this file.

#include <string>
#include <vector>

#include <CLI/CLI.hpp>

namespace {

struct GitToolFiles {
    std::string base, local, remote, merged;
};

void declareGitToolFiles(CLI::App& command, GitToolFiles& files) {
    command.add_option("--base", files.base)->required();
    command.add_option("--local", files.local)->required();
    command.add_option("--remote", files.remote)->required();
    command.add_option("--merged", files.merged)->required();
}

}  // namespace

int main(int argc, char** argv) {
    CLI::App varn{"Open a repository or conflicted files in Varnel.", "varn"};
    varn.require_subcommand(0, 1);

    std::string openRepo;
    auto* open = varn.add_subcommand("open", "Open a repository in Varnel");
    open->add_option("repo", openRepo, "The path of the repository to open.")->check(CLI::ExistingDirectory);

    std::string file;
    auto* merge = varn.add_subcommand("merge", "Open conflicted file in Varnel's merge tool.");
    merge->add_option("file", file, "The conflicted files to open.")->required();

    std::string diffRepo, revspecA, revspecB;
    std::vector<std::string> paths;
    auto* diff = varn.add_subcommand("diff", "Compare files between 2 revisions.");
    diff->add_option("-r,--repo", diffRepo, "The path to the repository.");
    diff->add_option("revspec-a", revspecA, "First commit to compare. (Branch name, tag, SHA, etc\u2026)")->required();
    diff->add_option("revspec-b", revspecB,
                     "Second commit to compare. If omitted, commit-a will be compared to the working directory.");
    diff->add_option("paths", paths, "Files to compare. Relative to the root of the repository's work tree.");

    GitToolFiles mergetoolFiles, difftoolFiles;
    auto* mergetool = varn.add_subcommand("_mergetool",
                                          "Used by 'git mergetool'. You probably want 'varn merge \u2026' instead.");
    mergetool->group("");
    declareGitToolFiles(*mergetool, mergetoolFiles);
    auto* difftool = varn.add_subcommand("_difftool",
                                         "Used by 'git difftool'. You probably want 'varn diff \u2026' instead.");
    difftool->group("");
    declareGitToolFiles(*difftool, difftoolFiles);

    CLI11_PARSE(varn, argc, argv);
    return 0;
}
