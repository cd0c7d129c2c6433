#include "tools/varnel-stub/DeliveryLog.hpp"

#include <fcntl.h>
#include <unistd.h>

#include <cstdio>

#include "platform/ProcessInfo.hpp"
#include "tools/varnel-stub/RegularFile.hpp"

namespace varnelstub {
namespace {

void appendEscaped(std::string& line, std::string_view field) {
    for (char c : field) {
        switch (c) {
            case '\\': line += "\\\\"; break;
            case '\t': line += "\\t"; break;
            case '\n': line += "\\n"; break;
            default: line += c;
        }
    }
}

}  // namespace

std::string logLine(std::string_view kind, std::string_view target, std::string_view detail) {
    std::string line;
    appendEscaped(line, kind);
    line += '\t';
    appendEscaped(line, target);
    line += '\t';
    appendEscaped(line, detail);
    line += '\n';
    return line;
}

void appendToLog(std::string_view kind, std::string_view target, std::string_view detail) {
    auto path = platform::environmentValue("VARNEL_STUB_LOG");
    if (!path || path->empty()) return;
    auto log = openRegularFile(*path, O_WRONLY | O_APPEND | O_CREAT, "cannot log to " + *path);
    if (!log) {
        std::fprintf(stderr, "varnel-stub: %s\n", log.error().description.c_str());
        return;
    }
    auto line = logLine(kind, target, detail);
    (void)!::write(log->get(), line.data(), line.size());
}

}  // namespace varnelstub
