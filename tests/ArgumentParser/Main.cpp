// The test program doubles as the tools of the trees: started with
// AP_TEST_TREE naming a tree, it is that tree's tool. The completion scripts
// under test call their tool back for custom candidates.
#include <cstdlib>

#include <gtest/gtest.h>

#include "ArgumentParser/ExitRoutine.hpp"
#include "Trees.hpp"

int main(int argc, char** argv) {
    if (const char* name = std::getenv("AP_TEST_TREE"))
        if (auto root = trees::named(name)) ap::main(*root, argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
