#pragma once
// A link-free temporary directory for one test, removed with everything in
// it afterwards, and the few ways tests fill and read it.

#include <stdlib.h>
#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <set>
#include <stdexcept>
#include <string>

namespace testsupport {

class TemporaryDirectory {
public:
    TemporaryDirectory() {
        std::string pattern = std::filesystem::temp_directory_path() / "varn-test-XXXXXX";
        if (!::mkdtemp(pattern.data())) throw std::runtime_error("mkdtemp failed");
        path_ = std::filesystem::canonical(pattern).string();
    }
    ~TemporaryDirectory() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    TemporaryDirectory(const TemporaryDirectory&) = delete;
    TemporaryDirectory& operator=(const TemporaryDirectory&) = delete;

    const std::string& path() const { return path_; }
    std::string operator/(const std::string& relative) const { return path_ + "/" + relative; }

    /// Creates the directory `relative` with its parents, or as mkdir(2)
    /// does with `mode` (the umask applies); its path.
    std::string makeDirectory(const std::string& relative, std::optional<mode_t> mode = {}) const {
        if (!mode) std::filesystem::create_directories(*this / relative);
        if (mode) ::mkdir((*this / relative).c_str(), *mode);
        return *this / relative;
    }
    /// Writes `text` to `relative` (parents created); its path.
    std::string writeFile(const std::string& relative, const std::string& text, bool executable = false) const {
        auto path = std::filesystem::path(*this / relative);
        std::filesystem::create_directories(path.parent_path());
        std::ofstream(path, std::ios::binary) << text;
        if (executable) ::chmod(path.c_str(), 0755);
        return path.string();
    }
    /// A symbolic link at `relative` whose destination is `destination`, unchanged.
    std::string makeLink(const std::string& relative, const std::string& destination) const {
        auto path = std::filesystem::path(*this / relative);
        std::filesystem::create_directories(path.parent_path());
        std::filesystem::create_symlink(destination, path);
        return path.string();
    }

private:
    std::string path_;
};

inline std::string readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

/// The names inside `directory`, none if it cannot be read.
inline std::set<std::string> entriesOf(const std::string& directory) {
    std::set<std::string> names;
    std::error_code unreadable;
    for (const auto& entry : std::filesystem::directory_iterator(directory, unreadable))
        names.insert(entry.path().filename());
    return names;
}

}  // namespace testsupport
