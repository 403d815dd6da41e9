#pragma once
// Files written whole or not at all: a temporary file beside the old one, written and flushed
// with every step checked, then renamed over it. A full disk or any failure leaves the old file
// as it was.

#include <QByteArray>
#include <QString>

#include <functional>

namespace platform {

// False (and the old file untouched) when any step fails; the failure is also reported.
bool WriteFileAtomically(const QString& path, const QByteArray& bytes);

// Called with the path of every file that could not be saved (the window tells the user). Without
// one, a line goes to standard error.
void SetSaveFailureReporter(std::function<void(const QString& path)> report);
void ReportSaveFailure(const QString& path);

// While one lives, failures are left to the caller to tell (a command that answers for its own
// file); they still go to standard error.
class SaveFailuresToldHere {
public:
    SaveFailuresToldHere();
    ~SaveFailuresToldHere();
    SaveFailuresToldHere(const SaveFailuresToldHere&) = delete;
    SaveFailuresToldHere& operator=(const SaveFailuresToldHere&) = delete;
};

}  // namespace platform
