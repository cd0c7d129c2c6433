#pragma once
// "merge": opens one conflicted file in the application's merge tool and
// ends with the outcome the application reports.

#include <string>

#include "ArgumentParser/Declarations.hpp"

namespace varn {

struct Merge : ap::ParsableCommand {
    static constexpr std::string_view typeName = "Merge";
    static ap::CommandConfiguration configuration() {
        return {.abstract = "Open conflicted file in Varnel's merge tool."};
    }
    static void arguments(ap::Arguments<Merge>& a) {
        a.argument("file", &Merge::file,
                   {.help = "The conflicted files to open.", .completion = ap::CompletionKind::file()});
    }

    std::string file;

    ap::Result<void> run() override;
};

}  // namespace varn
