#pragma once
// Files written whole or not at all: a temporary file renamed over the old one on success.

#include <QByteArray>
#include <QString>

namespace platform {

// False (and the old file untouched) when any step fails.
bool WriteFileAtomically(const QString& path, const QByteArray& bytes);

} // namespace platform
