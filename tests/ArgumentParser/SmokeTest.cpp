#include <gtest/gtest.h>
#include "ArgumentParser/CommandParser.hpp"
#include "ArgumentParser/Declarations.hpp"
TEST(Smoke, Builds) { SUCCEED(); }
