#pragma once
// The four files git hands a merge or diff tool: --base, --local, --remote
// and --merged, each required.

#include "ArgumentParser/Declarations.hpp"

namespace varn {

template <class C>
void declareGitToolFiles(ap::Arguments<C>& a) {
    a.option("base", &C::base);
    a.option("local", &C::local);
    a.option("remote", &C::remote);
    a.option("merged", &C::merged);
}

}  // namespace varn
