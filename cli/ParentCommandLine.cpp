#include "cli/ParentCommandLine.hpp"

#include "cli/QuotedList.hpp"
#include "cli/VerboseLog.hpp"
#include "platform/Process.hpp"
#include "shared/CanonicalText.hpp"

extern char** environ;

namespace varn {

namespace {

/// The process's environment less COLUMNS: ps cuts its lines to that
/// width, and a cut command line would yield wrong revisions.
std::vector<std::string> environmentForPs() {
    std::vector<std::string> entries;
    for (char** entry = environ; *entry; ++entry) {
        std::string_view text = *entry;
        if (!text.starts_with("COLUMNS=")) entries.emplace_back(text);
    }
    return entries;
}

}  // namespace

std::string commandLineQuery(pid_t pid) {
    // The unquoted substitution makes echo join whatever ps prints into one
    // line with single spaces. Pattern expansion is off, or a revision like
    // "v1.*" would come back as the names of files that match it.
    return "set -f; echo `ps -p " + std::to_string(pid) + " -o command=`";
}

std::vector<std::string> splitLines(std::string_view text) {
    std::vector<std::string> lines;
    std::string line;
    for (std::size_t i = 0; i < text.size(); ++i) {
        auto c = static_cast<unsigned char>(text[i]);
        std::size_t length = 0;
        if (c >= '\n' && c <= '\r') {
            length = 1;
        } else if (text.substr(i, 2) == "\xC2\x85") {
            length = 2;
        } else if (text.substr(i, 3) == "\xE2\x80\xA8" || text.substr(i, 3) == "\xE2\x80\xA9") {
            length = 3;
        }
        if (length == 0) {
            line += text[i];
            continue;
        }
        lines.push_back(std::move(line));
        line.clear();
        i += length - 1;
    }
    lines.push_back(std::move(line));
    return lines;
}

std::optional<std::string> parentCommandLine(pid_t pid) {
    auto shell = platform::Process::launch("/bin/sh", {"-c", commandLineQuery(pid)},
                                          {.captureOutput = true, .environment = environmentForPs()});
    if (!shell) return std::nullopt;
    auto output = shell->readToEnd();
    (void)shell->waitUntilExit();
    std::string text = output && VarnShared::isValidUtf8(output->standardOutput) ? output->standardOutput : "";

    auto lines = splitLines(text);
    logVerbose("Lines: " + quotedList(lines));
    if (lines.empty() || lines.front().empty()) return std::nullopt;
    return lines.front();
}

}  // namespace varn
