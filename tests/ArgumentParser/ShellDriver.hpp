#pragma once
// Drives the real shells through a completion: bash by calling the script's
// function with COMP_WORDS set, fish with `complete -C`, zsh interactively
// through zpty with the completion system loaded. Used with generated
// scripts here and with the scripts the built tool prints.

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

/// Runs `command` with /bin/sh, standard error joined to standard output.
inline Run run(const std::string& command) {
    std::fflush(stdout);
    Run result;
    FILE* pipe = popen((command + " 2>&1").c_str(), "r");
    if (!pipe) return result;
    char buffer[4096];
    while (auto n = std::fread(buffer, 1, sizeof buffer, pipe)) result.output.append(buffer, n);
    int status = pclose(pipe);
    result.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return result;
}

inline std::string shellQuoted(const std::string& text) {
    std::string q = "'";
    for (char c : text) q += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return q + "'";
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

/// COMPREPLY after sourcing `script` and calling `function` in `where` for
/// the words, the last one being completed.
inline std::vector<std::string> bashCompletions(const fs::path& script, const std::string& function,
                                                const std::vector<std::string>& words, const fs::path& where,
                                                bool withBashCompletion = false) {
    std::string array;
    for (const auto& w : words) array += " " + shellQuoted(w);
    std::string commands = (withBashCompletion ? "source /usr/share/bash-completion/bash_completion; " : "") +
                           std::string("source ") + shellQuoted(script) + "; cd " + shellQuoted(where) +
                           "; COMP_WORDS=(" + array + "); COMP_CWORD=" + std::to_string(words.size() - 1) + "; " +
                           function + "; printf '%s\\n' \"${COMPREPLY[@]}\"";
    auto r = run("bash --norc --noprofile -c " + shellQuoted(commands));
    if (r.status != 0) return {"<bash failed: " + r.output + ">"};
    auto result = lines(r.output);
    if (result.size() == 1 && result.front().empty()) result.clear();
    return result;
}

/// The candidates (with their descriptions after a tab) fish offers for
/// `line` after sourcing `script`, in `where`, with `binDirectory` first on
/// PATH.
inline std::vector<std::string> fishCompletions(const fs::path& script, const std::string& line, const fs::path& where,
                                                const fs::path& binDirectory) {
    std::string commands = "source " + shellQuoted(script) + "; cd " + shellQuoted(where) + "; complete -C " +
                           shellQuoted(line);
    const char* path = std::getenv("PATH");
    auto r = run("PATH=" + shellQuoted(binDirectory.string() + ":" + (path ? path : "")) + " fish --no-config -c " +
                 shellQuoted(commands));
    if (r.status != 0) return {"<fish failed: " + r.output + ">"};
    return lines(r.output);
}

/// What interactive zsh shows after typing `line` and a tab in `where`, with
/// compinit loading the completion functions of `functionDirectory` from a
/// ZDOTDIR inside `scratch`; reading stops once `expected` appears or after
/// twenty seconds.
inline std::string zshListing(const fs::path& functionDirectory, const fs::path& scratch, const fs::path& where,
                              const std::string& line, const std::string& expected) {
    auto zdot = scratch / "zdot";
    fs::create_directories(zdot);
    write(zdot / ".zshrc", "fpath=(" + shellQuoted(functionDirectory) + " $fpath)\nautoload -Uz compinit\n"
                           "compinit -u -d " + shellQuoted(zdot / "compdump") + "\nPS1='> '\nLISTMAX=1000\n");
    write(scratch / "drive.zsh",
          "zmodload zsh/zpty\n"
          "zpty z " + shellQuoted("TERM=xterm ZDOTDIR=" + shellQuoted(zdot) + " zsh -i") + "\n"
          "zpty -w z " + shellQuoted("cd " + shellQuoted(where)) + "\n"
          "zpty -w -n z " + shellQuoted(line + "\t") + "\n"
          "out=''\n"
          "for i in {1..200}; do\n"
          "  while zpty -r -t z chunk; do out+=$chunk; done\n"
          "  [[ $out == *" + shellQuoted(expected) + "* ]] && break\n"
          "  sleep 0.1\n"
          "done\n"
          "print -r -- $out\n"
          "zpty -d z\n");
    return run("zsh -f " + shellQuoted(scratch / "drive.zsh")).output;
}

}  // namespace shelldriver
