#pragma once
// Work on several tracks at once: items taken in order by a few threads (the caller's among
// them), and the progress they tell passed on one at a time. Once the progress answers false,
// the items under way stop and none after them starts.

#include "encoder/Ripper.h"

#include <QtGlobal>

#include <atomic>
#include <functional>
#include <mutex>

namespace encoder {

class SharedProgress {
public:
    explicit SharedProgress(const RipProgress& progress) : progress_(progress) { }
    // What the caller's progress answers, or false once the work was cancelled.
    bool operator()(int track, double done);
    bool cancelled() const { return cancelled_; }

private:
    const RipProgress& progress_;
    std::mutex telling_;
    std::atomic<bool> cancelled_{false};
};

// Runs item(i) for every i below count, jobs at a time. Each thread makes its own item from
// makeItem, so what an item reads with (a disc reader) is its thread's.
void RunJobs(qsizetype count, int jobs, const std::function<std::function<void(qsizetype)>()>& makeItem);

// A core each, for work that only reads files.
int JobsForFiles(qsizetype items);

}  // namespace encoder
