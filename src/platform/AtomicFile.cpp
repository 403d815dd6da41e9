#include "platform/AtomicFile.h"

#include <QSaveFile>

#include <cstdio>

namespace platform {

namespace {

std::function<void(const QString&)>& reporter()
{
    static std::function<void(const QString&)> report;
    return report;
}

int toldByCaller = 0;

}  // namespace

SaveFailuresToldHere::SaveFailuresToldHere() { ++toldByCaller; }
SaveFailuresToldHere::~SaveFailuresToldHere() { --toldByCaller; }

void SetSaveFailureReporter(std::function<void(const QString& path)> report) { reporter() = std::move(report); }

void ReportSaveFailure(const QString& path)
{
    std::fprintf(stderr, "sonorell: could not save %s\n", qPrintable(path));
    if (reporter() && toldByCaller == 0) reporter()(path);
}

bool WriteFileAtomically(const QString& path, const QByteArray& bytes)
{
    QSaveFile file(path);
    // Unbuffered, so a full disk fails the write itself: a buffered write that fails only when
    // the file is closed would still be committed, empty, over the old file.
    bool written = file.open(QIODevice::WriteOnly | QIODevice::Unbuffered) && file.write(bytes) == bytes.size() && file.flush() &&
                   file.error() == QFileDevice::NoError;
    if (written)
        written = file.commit();
    else
        file.cancelWriting();
    if (!written) ReportSaveFailure(path);
    return written;
}

}  // namespace platform
