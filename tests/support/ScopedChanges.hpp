#pragma once
// Process-wide settings a test changes for its own length: an environment
// variable, the current directory; and what a call writes to standard output.

#include <stdlib.h>
#include <unistd.h>

#include <iostream>
#include <optional>
#include <string>

#include <gtest/gtest.h>

namespace testsupport {

/// Sets (or, with nothing, unsets) a variable; the old state comes back.
class ScopedVariable {
public:
    ScopedVariable(std::string name, std::optional<std::string> value) : name_(std::move(name)) {
        if (const char* old = ::getenv(name_.c_str())) old_ = old;
        apply(value);
    }
    ~ScopedVariable() { apply(old_); }
    ScopedVariable(const ScopedVariable&) = delete;
    ScopedVariable& operator=(const ScopedVariable&) = delete;

private:
    void apply(const std::optional<std::string>& value) {
        (void)(value ? ::setenv(name_.c_str(), value->c_str(), 1) : ::unsetenv(name_.c_str()));
    }
    std::string name_;
    std::optional<std::string> old_;
};

class ScopedCurrentDirectory {
public:
    explicit ScopedCurrentDirectory(const std::string& path) {
        char buffer[4096];
        if (::getcwd(buffer, sizeof buffer)) old_ = buffer;
        if (::chdir(path.c_str()) != 0) old_.clear();
    }
    ~ScopedCurrentDirectory() {
        // The tests after this one would run in the wrong directory.
        if (!old_.empty() && ::chdir(old_.c_str()) != 0) ADD_FAILURE() << "Cannot return to " << old_;
    }
    ScopedCurrentDirectory(const ScopedCurrentDirectory&) = delete;
    ScopedCurrentDirectory& operator=(const ScopedCurrentDirectory&) = delete;

private:
    std::string old_;
};

/// What `action` wrote to standard output, through iostreams or stdio.
template <class F>
std::string standardOutputOf(F action) {
    std::cout.flush();
    testing::internal::CaptureStdout();
    action();
    std::cout.flush();
    return testing::internal::GetCapturedStdout();
}

}  // namespace testsupport
