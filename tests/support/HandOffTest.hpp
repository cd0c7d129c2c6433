#pragma once
// The fixture of in-process tests of hand-offs: a private temporary
// directory T, made the process's TMPDIR for the test's length.

#include <string>

#include <gtest/gtest.h>

#include "tests/support/ScopedChanges.hpp"
#include "tests/support/TemporaryDirectory.hpp"

namespace testsupport {

class HandOffTest : public ::testing::Test {
protected:
    TemporaryDirectory scratch;
    /// T as TMPDIR gives it, without a trailing slash.
    std::string temporary = scratch.makeDirectory("T", 0700);
    ScopedVariable tmpdir{"TMPDIR", temporary};
};

}  // namespace testsupport
