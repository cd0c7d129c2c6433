#pragma once
// A fresh directory for one test, removed with everything in it afterwards,
// and a scoped value of one environment variable.

#include <sys/stat.h>

#include <cstdlib>
#include <optional>
#include <stdexcept>
#include <string>

#include "platform/FileSystem.hpp"

namespace testing_support {

class TemporaryScratchDirectory {
public:
    TemporaryScratchDirectory() {
        std::string pattern = "/tmp/varn-test-XXXXXX";
        if (!::mkdtemp(pattern.data())) throw std::runtime_error("mkdtemp failed");
        path_ = pattern;
    }
    TemporaryScratchDirectory(const TemporaryScratchDirectory&) = delete;
    TemporaryScratchDirectory& operator=(const TemporaryScratchDirectory&) = delete;
    ~TemporaryScratchDirectory() { (void)platform::removeRecursively(path_); }

    const std::string& path() const { return path_; }
    std::string operator/(const std::string& name) const { return path_ + "/" + name; }

    /// Creates the directory `name` inside and returns its path.
    std::string makeDirectory(const std::string& name, mode_t mode = 0755) const {
        std::string directory = *this / name;
        ::mkdir(directory.c_str(), mode);
        return directory;
    }

private:
    std::string path_;
};

class ScopedEnvironment {
public:
    ScopedEnvironment(std::string name, const std::optional<std::string>& value) : name_(std::move(name)) {
        if (const char* old = std::getenv(name_.c_str())) old_ = old;
        if (value) {
            ::setenv(name_.c_str(), value->c_str(), 1);
        } else {
            ::unsetenv(name_.c_str());
        }
    }
    ScopedEnvironment(const ScopedEnvironment&) = delete;
    ScopedEnvironment& operator=(const ScopedEnvironment&) = delete;
    ~ScopedEnvironment() {
        if (old_) {
            ::setenv(name_.c_str(), old_->c_str(), 1);
        } else {
            ::unsetenv(name_.c_str());
        }
    }

private:
    std::string name_;
    std::optional<std::string> old_;
};

/// The uid and gid of "nobody", which every Debian system has.
constexpr uid_t nobodyUid = 65534;
constexpr gid_t nobodyGid = 65534;

}  // namespace testing_support
