#pragma once
// A small file system of a test's own, to make a temporary directory full or
// read-only for real, which permissions cannot do for root. The tmpfs is
// mounted in a mount namespace of the test process, so neither the machine
// nor other processes ever see it; the tool started by the test inherits it.

#include <fcntl.h>
#include <sched.h>
#include <sys/mount.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <memory>
#include <string>

namespace testsupport {

class PrivateMount {
public:
    /// Mounts an empty tmpfs of `kibibytes` at the existing `directory`,
    /// readable only by its owner. Nothing when the machine does not allow
    /// it; `whyNot` then says why.
    static std::unique_ptr<PrivateMount> make(const std::string& directory, int kibibytes, std::string& whyNot) {
        // The process's own mount namespace, made once, whose mounts do not
        // propagate back.
        static int unshared = ::unshare(CLONE_NEWNS) != 0 ||
                                      ::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0
                                  ? errno
                                  : 0;
        auto options = "size=" + std::to_string(kibibytes) + "k,mode=0700";
        if (unshared || ::mount("tmpfs", directory.c_str(), "tmpfs", MS_NOSUID | MS_NODEV, options.c_str()) != 0) {
            whyNot = std::string("cannot mount a tmpfs of our own: ") + std::strerror(unshared ? unshared : errno);
            return nullptr;
        }
        return std::unique_ptr<PrivateMount>(new PrivateMount(directory));
    }

    ~PrivateMount() { ::umount2(directory_.c_str(), MNT_DETACH); }
    PrivateMount(const PrivateMount&) = delete;
    PrivateMount& operator=(const PrivateMount&) = delete;

    /// From now on nothing can be created or changed below the mount.
    bool makeReadOnly() const {
        return ::mount(nullptr, directory_.c_str(), nullptr, MS_REMOUNT | MS_RDONLY | MS_NOSUID | MS_NODEV, nullptr) ==
               0;
    }

    /// Takes every free byte with the file `name` below the mount; true once
    /// a write has failed for lack of space.
    bool fill(const std::string& name) const {
        int fd = ::open((directory_ + "/" + name).c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
        std::string block(4096, 'x');
        bool full = false;
        for (int i = 0; fd >= 0 && i < 1 << 20 && !full; ++i)
            full = ::write(fd, block.data(), block.size()) < 0 && errno == ENOSPC;
        ::close(fd);
        return full;
    }

private:
    explicit PrivateMount(std::string directory) : directory_(std::move(directory)) {}
    std::string directory_;
};

}  // namespace testsupport
