#pragma once
// A private temporary directory T for one test, made the process's TMPDIR.

#include <gtest/gtest.h>

#include <string>

#include "platform/FileSystem.hpp"
#include "tests/support/ScopedChanges.hpp"
#include "tests/support/TemporaryDirectory.hpp"

class HandOffTest : public ::testing::Test {
protected:
    HandOffTest() : temporary(scratch.makeDirectory("T", 0700)), tmpdir("TMPDIR", temporary) {}

    testsupport::TemporaryDirectory scratch;
    /// T as TMPDIR gives it, without a trailing slash.
    std::string temporary;
    testsupport::ScopedVariable tmpdir;
};

using testsupport::entriesOf;
