#pragma once
// A folder for one test's files, removed with the object (by bytes: Qt would not see a file
// whose name is not valid UTF-8).

#include <QTemporaryDir>

#include <filesystem>
#include <string>
#include <system_error>

namespace testsupport {

class TempFolder {
public:
    TempFolder() { dir_.setAutoRemove(false); }
    ~TempFolder()
    {
        std::error_code ignored;
        std::filesystem::remove_all(path(), ignored);
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;
    std::string path() const { return dir_.path().toStdString(); }
    std::string file(const std::string& name) const { return path() + "/" + name; }

private:
    QTemporaryDir dir_;
};

}  // namespace testsupport
