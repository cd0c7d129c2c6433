#include "tools/varn-man/VarnManCommand.hpp"

#include <cerrno>
#include <fstream>
#include <iostream>
#include <iterator>
#include <sstream>

#include "ArgumentParser/ToolInfo.hpp"
#include "platform/Error.hpp"
#include "platform/FileSystem.hpp"
#include "tools/varn-man/ManPage.hpp"
#include "tools/varn-man/VarnSections.hpp"

namespace varnman {
namespace {

platform::Result<std::string> readAll(const std::optional<std::string>& path) {
    if (!path || *path == "-") {
        std::ostringstream text;
        text << std::cin.rdbuf();
        if (std::cin.bad()) return platform::Error::posix(errno, "Cannot read standard input");
        return text.str();
    }
    std::ifstream in(*path, std::ios::binary);
    if (!in) return platform::Error::posix(errno, "Cannot open " + *path, *path);
    std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (in.bad()) return platform::Error::posix(errno, "Cannot read " + *path, *path);
    return text;
}

platform::Result<void> writeAll(const std::optional<std::string>& path, const std::string& text) {
    if (!path || *path == "-") {
        std::cout << text << std::flush;
        if (!std::cout) return platform::Error::posix(EIO, "Cannot write standard output");
        return {};
    }
    // The page appears under its name only once it is complete, so a failed
    // run never leaves a truncated page for the build to pick up.
    return platform::writeFileAtomically(*path, text);
}

}  // namespace

ap::CommandConfiguration VarnManCommand::configuration() {
    return {.commandName = "varn-man", .abstract = "Write the manual page of varn from its command description."};
}

void VarnManCommand::arguments(ap::Arguments<VarnManCommand>& a) {
    a.argument("input", &VarnManCommand::input,
               {.help = "The description, as 'varn --experimental-dump-help' prints it; standard input when absent or "
                        "'-'.",
                .completion = ap::CompletionKind::file({"json"})});
    a.option("output", &VarnManCommand::output,
             {.name = ap::NameSpecification::shortAndLong(),
              .help = "The page to write; standard output when absent or '-'.",
              .completion = ap::CompletionKind::file()});
    a.option("date", &VarnManCommand::date, {.help = "The date in the page's footer.", .defaulted = true});
    a.option("source", &VarnManCommand::source,
             {.help = "The source in the page's footer, such as the name and the version.", .defaulted = true});
}

ap::Result<void> VarnManCommand::run() {
    auto text = readAll(input);
    if (!text) return ap::Error(text.error());
    auto description = ap::parseToolInfo(*text);
    if (!description)
        return ap::LocalizedError("varn-man", 1, "Not a command description: " + description.error().description(),
                                  input.value_or("-"));
    auto page = manPage(*description, {.date = date, .source = source, .sections = varnSections()});
    if (auto written = writeAll(output, page); !written) return ap::Error(written.error());
    return {};
}

}  // namespace varnman
