#pragma once
// One player per user session: a lock file in the user's runtime folder.

#include <memory>

class QLockFile;

namespace platform {

class SingleInstance {
public:
    SingleInstance();
    ~SingleInstance();
    // False when another instance already holds the lock.
    bool acquired() const { return acquired_; }

private:
    std::unique_ptr<QLockFile> lock_;
    bool acquired_ = false;
};

}  // namespace platform
