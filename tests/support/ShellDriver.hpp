#pragma once
// Drives the real shells through a completion: bash by calling the script's
// function with COMP_WORDS set, fish with `complete -C`, zsh interactively
// through zpty with the completion system loaded. Every shell run is ended
// after a time limit, so a script that hangs fails its test instead of
// stalling the suite.

#include <sys/wait.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace shelldriver {

namespace fs = std::filesystem;

struct Run {
    int status = -1;
    std::string output;
};

inline std::string shellQuoted(const std::string& text) {
    std::string quoted = "'";
    for (char c : text) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return quoted + "'";
}

/// Runs `command` with /bin/sh, standard error joined to standard output,
/// for at most `seconds` (then it is terminated, and killed soon after).
inline Run run(const std::string& command, int seconds = 60) {
    std::fflush(stdout);
    Run result;
    auto bounded = "timeout -k 5 " + std::to_string(seconds) + " /bin/sh -c " + shellQuoted(command) + " 2>&1";
    FILE* pipe = popen(bounded.c_str(), "r");
    if (!pipe) return result;
    char buffer[4096];
    while (auto n = std::fread(buffer, 1, sizeof buffer, pipe)) result.output.append(buffer, n);
    int status = pclose(pipe);
    result.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    if (result.status == 124) result.output += "<timed out after " + std::to_string(seconds) + " s>";
    return result;
}

inline void write(const fs::path& path, const std::string& text, bool executable = false) {
    std::ofstream(path) << text;
    if (executable) fs::permissions(path, fs::perms::owner_all);
}

inline std::vector<std::string> lines(const std::string& text) {
    std::vector<std::string> result;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) result.push_back(line);
    return result;
}

/// "PATH=<binDirectory>:$PATH " for a command line, or nothing without a
/// directory.
inline std::string pathPrefix(const fs::path& binDirectory) {
    if (binDirectory.empty()) return "";
    const char* path = std::getenv("PATH");
    return "PATH=" + shellQuoted(binDirectory.string() + ":" + (path ? path : "")) + " ";
}

/// COMPREPLY after sourcing `script` and calling `function` in `where` for
/// the words, the last one being completed.
inline std::vector<std::string> bashCompletions(const fs::path& script, const std::string& function,
                                                const std::vector<std::string>& words, const fs::path& where,
                                                bool withBashCompletion = false, const fs::path& binDirectory = {}) {
    std::string array;
    for (const auto& w : words) array += " " + shellQuoted(w);
    std::string commands = (withBashCompletion ? "source /usr/share/bash-completion/bash_completion; " : "") +
                           std::string("source ") + shellQuoted(script) + "; cd " + shellQuoted(where) +
                           "; COMP_WORDS=(" + array + "); COMP_CWORD=" + std::to_string(words.size() - 1) + "; " +
                           function + "; printf '%s\\n' \"${COMPREPLY[@]}\"";
    auto r = run(pathPrefix(binDirectory) + "bash --norc --noprofile -c " + shellQuoted(commands));
    if (r.status != 0) return {"<bash failed: " + r.output + ">"};
    auto result = lines(r.output);
    if (result.size() == 1 && result.front().empty()) result.clear();
    return result;
}

/// The candidates (with their descriptions after a tab) fish offers for
/// `line` after sourcing `script`, in `where`.
inline std::vector<std::string> fishCompletions(const fs::path& script, const std::string& line, const fs::path& where,
                                                const fs::path& binDirectory) {
    auto commands = "source " + shellQuoted(script) + "; cd " + shellQuoted(where) + "; complete -C " +
                    shellQuoted(line);
    auto r = run(pathPrefix(binDirectory) + "fish --no-config -c " + shellQuoted(commands));
    if (r.status != 0) return {"<fish failed: " + r.output + ">"};
    return lines(r.output);
}

/// What interactive zsh shows after typing `line` and a tab in `where`, with
/// compinit loading the completion functions of `functionDirectory` from a
/// ZDOTDIR inside `scratch`. Reading stops once `expected` appears or the
/// shell has shown what the tab completes (a listing without `expected`
/// fails at once), and after twenty seconds at the most. `binDirectory`,
/// like the directory of the others, comes first on PATH.
inline std::string zshListing(const fs::path& functionDirectory, const fs::path& scratch, const fs::path& where,
                              const std::string& line, const std::string& expected, const fs::path& binDirectory = {}) {
    const std::string tabDone = "<tab completed>";
    auto zdot = scratch / "zdot";
    fs::create_directories(zdot);
    // PATH is set in .zshrc: the system's zshenv may reset it on the way in.
    write(zdot / ".zshrc", (binDirectory.empty() ? "" : "path=(" + shellQuoted(binDirectory) + " $path)\n") +
                               "fpath=(" + shellQuoted(functionDirectory) +
                               " $fpath)\nautoload -Uz compinit\n"
                               "compinit -u -d " +
                               shellQuoted(zdot / "compdump") + "\nPS1='> '\nLISTMAX=1000\n" +
                               // The tab completes as usual, shows the result
                               // and then says it is done.
                               "_complete_and_mark() { zle expand-or-complete; zle -R; print -rn -- '" + tabDone +
                               "' }\nzle -N _complete_and_mark\nbindkey '^I' _complete_and_mark\n");
    // The words come to the script as its arguments: the shell to start,
    // then what is typed.
    write(scratch / "drive.zsh", R"(zmodload zsh/zpty zsh/datetime
zpty z "$1"
zpty -w z "$2"
zpty -w -n z "$3"
out=''
deadline=$((EPOCHREALTIME + 20))
while ((EPOCHREALTIME < deadline)); do
  while zpty -r -t z chunk; do out+=$chunk; done
  [[ $out == *"$4"* || $out == *"$5"* ]] && break
  sleep 0.05
done
print -r -- ${out%%"$5"*}
zpty -d z
)");
    return run("zsh -f " + shellQuoted(scratch / "drive.zsh") + " " +
               shellQuoted("TERM=xterm ZDOTDIR=" + shellQuoted(zdot) + " zsh -i") + " " +
               shellQuoted("cd " + shellQuoted(where)) + " " + shellQuoted(line + "\t") + " " + shellQuoted(expected) +
               " " + shellQuoted(tabDone))
        .output;
}

}  // namespace shelldriver
