// Command lines run through the main entry, as a shell runs a tool, case
// after case from the transcripts beside this file:
//
//   # a note
//   $ [NAME=value ...] <tree> <argument ...> [>file] => <status> [stdout|stderr|both] [| <first line>]
//   <what it prints, line by line (the first may end the command's line); a
//    last line "…", or " …" ending the last line, stands for whatever
//    follows; a "\" before a line's "#" or "$" keeps it from being read as a
//    note or a command>
//
// Words are split at spaces; single quotes keep spaces and make empty words.
// The output is what the named stream received, the other one staying
// empty; "both" is the two streams written to one file; no stream means
// nothing printed. A status of 128 + n is the end by signal n. COLUMNS is 80
// and SHELL unset unless a case sets them; ">file" sends standard output
// there.
#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>

#include <gtest/gtest.h>

#include "ArgumentParser/ExitRoutine.hpp"
#include "Trees.hpp"

namespace {

struct Case {
    int line = 0;
    std::string commandLine, redirect, stream, expected;
    std::vector<std::pair<std::string, std::string>> environment;
    std::vector<std::string> arguments;  // the tree's name first
    int status = 0;
    bool prefixOnly = false;
};

std::vector<std::string> words(const std::string& text) {
    std::vector<std::string> result;
    std::string word;
    bool inWord = false, quoted = false;
    for (char c : text) {
        if (c == ' ' && !quoted) {
            if (inWord) result.push_back(word);
            word.clear();
        } else if (c == '\'') {
            quoted = !quoted;
        } else {
            word += c;
        }
        inWord = c != ' ' || quoted;
    }
    if (inWord) result.push_back(word);
    return result;
}

void finish(Case& c, std::vector<std::string>& output) {
    const std::string ellipsis = "\u2026";
    if (!output.empty() && output.back() == ellipsis) {
        output.pop_back();
        c.prefixOnly = true;
    } else if (!output.empty() && output.back().ends_with(" " + ellipsis)) {
        output.back().resize(output.back().size() - ellipsis.size() - 1);
        c.prefixOnly = true;
    }
    for (const auto& line : output) c.expected += line + "\n";
    output.clear();
}

std::vector<Case> readTranscript(const std::string& name) {
    std::ifstream in(std::string(VARN_SOURCE_DIR) + "/tests/ArgumentParser/transcripts/" + name);
    std::vector<Case> cases;
    std::vector<std::string> output;
    int number = 0;
    for (std::string line; std::getline(in, line);) {
        ++number;
        bool note = line.starts_with("# "), command = line.starts_with("$ ");
        if ((note || command) && !cases.empty()) finish(cases.back(), output);
        if (note || (!command && cases.empty())) continue;
        if (!command) {
            output.push_back(line.starts_with("\\") ? line.substr(1) : line);
            continue;
        }
        auto arrow = line.find(" => "), bar = line.find(" | ", arrow);
        Case c{number, line.substr(2, arrow - 2)};
        auto outcome = words(line.substr(arrow + 4, bar - arrow - 4));
        c.status = std::stoi(outcome.at(0));
        if (outcome.size() > 1) c.stream = outcome[1];
        for (auto& word : words(c.commandLine)) {
            if (c.arguments.empty() && word.find('=') != std::string::npos)
                c.environment.emplace_back(word.substr(0, word.find('=')), word.substr(word.find('=') + 1));
            else if (word.starts_with(">"))
                c.redirect = word.substr(1);
            else
                c.arguments.push_back(word);
        }
        cases.push_back(std::move(c));
        if (bar != std::string::npos) output.push_back(line.substr(bar + 3));
    }
    if (!cases.empty()) finish(cases.back(), output);
    EXPECT_FALSE(cases.empty()) << name;
    return cases;
}

std::string contents(std::FILE* file) {
    std::rewind(file);
    std::string text;
    char buffer[4096];
    while (auto n = std::fread(buffer, 1, sizeof buffer, file)) text.append(buffer, n);
    std::fclose(file);
    return text;
}

void check(const std::string& transcript) {
    for (const auto& c : readTranscript(transcript)) {
        SCOPED_TRACE(transcript + ":" + std::to_string(c.line) + ": $ " + c.commandLine);
        std::FILE* out = std::tmpfile();
        std::FILE* err = c.stream == "both" ? out : std::tmpfile();
        std::fflush(nullptr);
        if (fork() == 0) {
            setenv("COLUMNS", "80", 1);
            unsetenv("SHELL");
            for (const auto& [name, value] : c.environment) setenv(name.c_str(), value.c_str(), 1);
            dup2(c.redirect.empty() ? fileno(out) : open(c.redirect.c_str(), O_WRONLY), STDOUT_FILENO);
            dup2(fileno(err), STDERR_FILENO);
            auto arguments = c.arguments;
            std::vector<char*> argv;
            for (auto& a : arguments) argv.push_back(a.data());
            argv.push_back(nullptr);
            if (auto root = trees::named(arguments.front()))
                ap::main(*root, static_cast<int>(arguments.size()), argv.data());
            _exit(127);
        }
        int status = 0;
        wait(&status);
        EXPECT_EQ(WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status), c.status);
        auto other = err == out ? std::string() : contents(c.stream == "stderr" ? out : err);
        auto printed = contents(c.stream == "stderr" ? err : out);
        EXPECT_EQ(other, "");
        EXPECT_EQ(c.prefixOnly ? printed.substr(0, c.expected.size()) : printed, c.expected);
    }
}

}  // namespace

TEST(Transcripts, Parsing) { check("parsing.txt"); }
TEST(Transcripts, Messages) { check("messages.txt"); }
TEST(Transcripts, Help) { check("help.txt"); }
TEST(Transcripts, Requests) { check("requests.txt"); }
