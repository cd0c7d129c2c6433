#pragma once
// The four files git hands a merge or diff tool: --base, --local, --remote
// and --merged, each required.

#include <string>

#include "ArgumentParser/Declarations.hpp"

namespace varn {

/// The files, as members of the command that receives them.
struct GitToolFiles {
    std::string base;
    std::string local;
    std::string remote;
    std::string merged;
};

/// Declares the options of a command `C` derived from `GitToolFiles`.
template <class C>
void declareGitToolFiles(ap::Arguments<C>& a) {
    // git fills these in, nobody types them: the next word is the file
    // whatever it looks like, so a file named "-x.txt" at the top of the
    // work tree is a file, not an option. (An attached "--merged=" form is
    // no way out: git difftool -d passes empty names, which would read as
    // no value.)
    const ap::OptionDeclaration file{.parsing = ap::SingleValueParsingStrategy::unconditional()};
    using File = std::string C::*;
    a.option("base", static_cast<File>(&C::base), file);
    a.option("local", static_cast<File>(&C::local), file);
    a.option("remote", static_cast<File>(&C::remote), file);
    a.option("merged", static_cast<File>(&C::merged), file);
}

}  // namespace varn
