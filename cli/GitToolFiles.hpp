#pragma once
// The four files git hands a merge or diff tool: --base, --local, --remote
// and --merged, each required.

#include "ArgumentParser/Declarations.hpp"

namespace varn {

template <class C>
void declareGitToolFiles(ap::Arguments<C>& a) {
    // git fills these in, nobody types them: the next word is the file
    // whatever it looks like, so a file named "-x.txt" at the top of the
    // work tree is a file, not an option. (An attached "--merged=" form is
    // no way out: git difftool -d passes empty names, which would read as
    // no value.)
    const ap::OptionDeclaration file{.parsing = ap::SingleValueParsingStrategy::unconditional()};
    a.option("base", &C::base, file);
    a.option("local", &C::local, file);
    a.option("remote", &C::remote, file);
    a.option("merged", &C::merged, file);
}

}  // namespace varn
