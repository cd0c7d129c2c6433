#pragma once
// What varn's manual page says beyond its command description: how it ends,
// the environment it reads, the files it uses, how git is told to run it,
// and where to read on.

#include <vector>

#include "tools/varn-man/ManPage.hpp"

namespace varnman {

std::vector<ManSection> varnSections();

}  // namespace varnman
