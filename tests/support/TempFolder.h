#pragma once
// A folder for one test's files, removed with the object.

#include <QTemporaryDir>
#include <string>

namespace testsupport {

class TempFolder {
public:
    std::string path() const { return dir_.path().toStdString(); }
    std::string file(const std::string& name) const { return path() + "/" + name; }

private:
    QTemporaryDir dir_;
};

}  // namespace testsupport
