// The trees built from nothing but the header a tool author includes: a
// template there that needs a header it does not include fails to build here.
#include "Trees.hpp"
