#include "platform/cdrom/Disc.h"

#include <sys/stat.h>

namespace platform::cdrom {

namespace {

constexpr int64_t ProbeSpacingMs = 1000;  // a drive without a disc is asked at most once a second

}  // namespace

Drive::Drive(std::string source) : Drive(source, nullptr) { }

Drive::Drive(std::string source, std::unique_ptr<DriveHardware> hardware)
    : source_(std::move(source)), hardware_(std::move(hardware))
{
    if (!hardware_) {
        struct stat st { };
        image_ = ::stat(source_.c_str(), &st) != 0 || S_ISREG(st.st_mode);
        if (!image_) hardware_ = LibcdioDrive(source_);
    }
    refresh();
}

Drive::~Drive() = default;

Drive::FileIdentity Drive::identify(const std::string& path)
{
    struct stat st { };
    if (::stat(path.c_str(), &st) != 0) return {};
    return {true, static_cast<uint64_t>(st.st_dev), static_cast<uint64_t>(st.st_ino), static_cast<uint64_t>(st.st_size),
            static_cast<int64_t>(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec};
}

void Drive::readToc() { toc_ = image_ ? TocOf(source_) : hardware_->ReadToc(); }

void Drive::refresh()
{
    if (image_)
        refreshImage();
    else
        refreshDrive();
}

void Drive::refreshImage()
{
    const FileIdentity now = identify(source_);
    if (now == seen_) return;
    seen_ = now;
    doorOpen_ = false;  // a changed image is a disc put in
    if (now.exists)
        readToc();
    else
        toc_ = Toc{};
}

bool Drive::probeDue()
{
    const int64_t now = hardware_->NowMs();
    if (lastProbeMs_ != 0 && now - lastProbeMs_ < ProbeSpacingMs) return false;
    lastProbeMs_ = now;
    return true;
}

void Drive::refreshDrive()
{
    if (doorOpen_) {
        // Nothing tells us the tray went back in: a disc readable again means it did.
        if (!probeDue()) return;
        readToc();
        if (toc_.count() > 0) doorOpen_ = false;
        return;
    }
    if (toc_.count() > 0 && !hardware_->MediaChanged()) return;
    // No disc yet, or the disc changed: read the drive afresh, at most once a second.
    if (probeDue()) readToc();
}

void Drive::openDoor()
{
    doorOpen_ = true;
    seen_ = identify(source_);
    if (image_) return;
    hardware_->Eject();
    toc_ = Toc{};
    lastProbeMs_ = hardware_->NowMs();  // the tray is out: look for a disc again a second from now
}

void Drive::closeDoor()
{
    if (!doorOpen_) return;
    doorOpen_ = false;
    if (!image_) {
        hardware_->CloseTray();
        lastProbeMs_ = 0;
    }
    readToc();
}

}  // namespace platform::cdrom
