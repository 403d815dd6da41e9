#pragma once
// What the choosers offer as "drives": the home folder, then the mount points of real file systems.

#include <QString>
#include <QStringList>

namespace platform {

// The home folder first, then every mount point of /proc/self/mounts that holds files a user
// keeps (no proc, sys, dev or cgroup trees), without repeats.
QStringList LocalDrives();

// The drives out of a mounts table's text (the format of /proc/self/mounts).
QStringList DrivesOfMounts(const QByteArray& mounts, const QString& home);

// The drive a folder lies on: the longest drive that is the folder or one of its ancestors.
QString DriveOfFolder(const QStringList& drives, const QString& folder);

}  // namespace platform
