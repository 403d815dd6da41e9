#include "platform/AtomicFile.h"
#include "platform/FileNames.h"

#include <atomic>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {

namespace {

std::function<void(const QString&)>& reporter()
{
    static std::function<void(const QString&)> report;
    return report;
}

int toldByCaller = 0;

// The file a name stands for: a link's target, so that the link stays a link.
QByteArray fileBehind(const QByteArray& name)
{
    struct stat st { };
    char resolved[PATH_MAX];
    if (::lstat(name.constData(), &st) == 0 && S_ISLNK(st.st_mode) && ::realpath(name.constData(), resolved)) return resolved;
    return name;
}

bool writeAll(int fd, const QByteArray& bytes)
{
    for (qsizetype done = 0; done < bytes.size();) {
        const ssize_t n = ::write(fd, bytes.constData() + done, size_t(bytes.size() - done));
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        done += n;
    }
    return true;
}

}  // namespace

SaveFailuresToldHere::SaveFailuresToldHere() { ++toldByCaller; }
SaveFailuresToldHere::~SaveFailuresToldHere() { --toldByCaller; }

void SetSaveFailureReporter(std::function<void(const QString& path)> report) { reporter() = std::move(report); }

void ReportSaveFailure(const QString& path)
{
    std::fprintf(stderr, "sonorell: could not save %s\n", qPrintable(path));
    if (reporter() && toldByCaller == 0) reporter()(path);
}

// By the bytes of the name (one from an older system is no UTF-8), through a file of its own
// beside the old one that takes the old one's mode; every step checked, a full disk included.
bool WriteFileAtomically(const QString& path, const QByteArray& bytes)
{
    static std::atomic<unsigned> serial{0};
    const QByteArray target = fileBehind(EncodeFileName(path));
    const QByteArray temporary = target + '.' + QByteArray::number(::getpid()) + '-' + QByteArray::number(serial++) + ".new";
    struct stat old { };
    const bool existed = ::stat(target.constData(), &old) == 0;
    const int fd = ::open(temporary.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    bool written = fd >= 0 && (!existed || ::fchmod(fd, old.st_mode & 07777) == 0) && writeAll(fd, bytes) && ::fsync(fd) == 0;
    if (fd >= 0 && ::close(fd) != 0) written = false;
    if (written) written = ::rename(temporary.constData(), target.constData()) == 0;
    if (!written && fd >= 0) ::unlink(temporary.constData());
    if (!written) ReportSaveFailure(path);
    return written;
}

}  // namespace platform
