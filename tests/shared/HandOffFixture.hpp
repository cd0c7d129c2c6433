#pragma once
// A private temporary directory T for one test, made the process's TMPDIR.

#include <gtest/gtest.h>

#include <dirent.h>

#include <set>
#include <string>

#include "platform/FileSystem.hpp"
#include "tests/platform/ScopedChanges.hpp"
#include "tests/platform/TemporaryDirectory.hpp"

class HandOffTest : public ::testing::Test {
protected:
    HandOffTest() : temporary(scratch.makeDirectory("T", 0700)), tmpdir("TMPDIR", temporary) {}

    /// The names inside `directory`.
    static std::set<std::string> entriesOf(const std::string& directory) {
        std::set<std::string> names;
        if (DIR* dir = ::opendir(directory.c_str())) {
            while (auto entry = ::readdir(dir)) {
                std::string name = entry->d_name;
                if (name != "." && name != "..") names.insert(name);
            }
            ::closedir(dir);
        }
        return names;
    }

    testsupport::TemporaryDirectory scratch;
    /// T as TMPDIR gives it, without a trailing slash.
    std::string temporary;
    testsupport::ScopedVariable tmpdir;
};
