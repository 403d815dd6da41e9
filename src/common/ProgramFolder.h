#pragma once
#include <QString>

namespace common {

// The folder that holds the system's own files (Data.dat, CdRoms.ini, Default.list, Lists/),
// without a trailing "/". $SONORELL_HOME overrides the executable's folder; when that folder
// cannot be written, $XDG_DATA_HOME/Sonorell (made when missing) is used instead.
QString ProgramFolder();

// The rule itself: homeOverride when set, else exeFolder when writable, else dataHome + "/Sonorell".
QString ResolveProgramFolder(const QString& homeOverride, const QString& exeFolder, const QString& dataHome);

// ProgramFolder() + "/" + name.
QString ProgramFile(const QString& name);

}  // namespace common
