#include "ArgumentParser/Fatal.hpp"

#include <cstdio>
#include <cstdlib>

namespace ap {

void fatalError(const std::string& message) {
    std::fflush(stdout);
    std::fprintf(stderr, "Fatal error: %s\n", message.c_str());
    std::abort();
}

}  // namespace ap
