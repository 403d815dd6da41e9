#include "encoder/Jobs.h"

#include <QThread>

#include <algorithm>
#include <thread>
#include <vector>

namespace encoder {

bool SharedProgress::operator()(int track, double done)
{
    const std::lock_guard<std::mutex> lock(telling_);
    if (!cancelled_ && progress_ && !progress_(track, done)) cancelled_ = true;
    return !cancelled_;
}

void RunJobs(qsizetype count, int jobs, const std::function<std::function<void(qsizetype)>()>& makeItem)
{
    std::atomic<qsizetype> next{0};
    const auto work = [&] {
        const std::function<void(qsizetype)> item = makeItem();
        for (qsizetype i; (i = next++) < count;) item(i);
    };
    std::vector<std::jthread> helpers;
    for (int j = 1; j < std::min<qsizetype>(jobs, count); ++j) helpers.emplace_back(work);
    work();
}

int JobsForFiles(qsizetype items)
{
    return int(std::clamp<qsizetype>(QThread::idealThreadCount(), 1, std::max<qsizetype>(items, 1)));
}

}  // namespace encoder
