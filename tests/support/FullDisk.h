#pragma once
// A folder on a full disk: a small tmpfs filled up, where this machine lets the test mount one;
// elsewhere a limit on file sizes that makes every write past the first bytes fail, as a full disk
// does (SONORELL_TEST_NO_MOUNT=1 chooses that way). Files put there before filling keep their
// place; while Full is alive, nothing more fits.

#include "support/TempFolder.h"

#include <QFile>

#include <csignal>
#include <fstream>
#include <string>

#include <sys/mount.h>
#include <sys/resource.h>
#include <unistd.h>

namespace testsupport {

class FullDisk {
public:
    FullDisk()
    {
        mounted_ = !getenv("SONORELL_TEST_NO_MOUNT") && ::geteuid() == 0 &&
                   ::mount("tmpfs", base_.path().c_str(), "tmpfs", 0, "size=256k") == 0;
    }
    ~FullDisk()
    {
        if (mounted_) ::umount2(base_.path().c_str(), MNT_DETACH);
    }
    FullDisk(const FullDisk&) = delete;
    FullDisk& operator=(const FullDisk&) = delete;

    std::string path() const { return base_.path(); }
    std::string file(const std::string& name) const { return base_.file(name); }
    bool isTmpfs() const { return mounted_; }

    // The disk is full while this lives.
    class Full {
    public:
        explicit Full(const FullDisk& disk) : disk_(disk)
        {
            if (disk_.mounted_) {
                std::ofstream filler(disk_.file(".filler"), std::ios::binary);
                const std::string block(4096, '\0');
                while (filler.write(block.data(), std::streamsize(block.size()))) { }
                return;
            }
            ::getrlimit(RLIMIT_FSIZE, &saved_);
            previous_ = std::signal(SIGXFSZ, SIG_IGN);
            rlimit tiny = saved_;
            tiny.rlim_cur = 8;
            ::setrlimit(RLIMIT_FSIZE, &tiny);
        }
        ~Full()
        {
            if (disk_.mounted_) {
                QFile::remove(QString::fromStdString(disk_.file(".filler")));
                return;
            }
            ::setrlimit(RLIMIT_FSIZE, &saved_);
            std::signal(SIGXFSZ, previous_);
        }
        Full(const Full&) = delete;
        Full& operator=(const Full&) = delete;

    private:
        const FullDisk& disk_;
        rlimit saved_{};
        void (*previous_)(int) = SIG_DFL;
    };

private:
    TempFolder base_;
    bool mounted_ = false;
};

}  // namespace testsupport
