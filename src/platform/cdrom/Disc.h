#pragma once
// The CD drive, real or a disc image, read with libcdio: presence, table of contents, sectors.

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

typedef struct _CdIo CdIo_t;

namespace platform::cdrom {

constexpr int FramesPerSecond = 75;
constexpr int BytesPerFrame = 2352;  // 588 stereo 16-bit samples

// Addresses are logical sectors (frames) with the first track's start at its own address.
struct Toc {
    int firstTrack = 0;
    std::vector<int32_t> starts;  // start of each track, in track order
    std::vector<bool> audio;      // the track holds audio
    int32_t leadout = 0;          // first frame after the last track

    int count() const { return static_cast<int>(starts.size()); }
    int lastTrack() const { return firstTrack + count() - 1; }
    bool hasTrack(int track) const { return track >= firstTrack && track <= lastTrack(); }
    int32_t trackStart(int track) const { return starts[track - firstTrack]; }
    int32_t trackEnd(int track) const { return track == lastTrack() ? leadout : trackStart(track + 1); }
    int32_t discStart() const { return starts.empty() ? 0 : starts.front(); }
    // The track that holds frame; the last track for frames at or past the leadout.
    int trackAt(int32_t frame) const;
    bool isAudio(int track) const { return audio.empty() || !hasTrack(track) || audio[size_t(track - firstTrack)]; }
    // What of [from, to) can be heard: from moved on past data tracks to the next audio track,
    // to cut where a data track begins after it. Nothing to hear when first >= second.
    std::pair<int32_t, int32_t> audibleSpan(int32_t from, int32_t to) const;
};

// The volume serial Windows reports for an audio disc with this table of contents: the sum of
// each track's start as (M << 16) + (S << 8) + F, lead-in included; with fewer than 3 tracks the
// disc's length in frames is added. 0 for an empty table.
uint32_t AudioDiscSerial(const Toc& toc);

// The serial of the disc at source (a drive or an image); 0 when no disc can be read.
uint32_t DiscSerialOf(const std::string& source);

// The disc's CD-Text, UTF-8: the album (title and performer) and each track's title by number.
// Empty when the disc or image carries none.
struct DiscText {
    std::string albumTitle, albumPerformer;
    std::map<int, std::string> trackTitles;
    bool empty() const { return albumTitle.empty() && albumPerformer.empty() && trackTitles.empty(); }
};
DiscText ReadDiscText(const std::string& source);

// Removes the alias folders (copies of cue sheets and .toc files made readable for libcdio) that
// runs which did not end normally left in the temporary folder.
void RemoveStaleAliasFolders();

// Where the drive is: $SONORELL_CD_DEVICE, else the first CD drive found; "" for none
// ($SONORELL_CD_DEVICE=none, or no drive on the machine).
std::string defaultSource();

// Reads sectors of one source; owned by one thread at a time.
// libcdio's handle of the disc at source (a drive or an image), null when none; the caller
// destroys it.
CdIo_t* OpenSource(const std::string& source);

class SectorReader {
public:
    explicit SectorReader(const std::string& source);
    ~SectorReader();
    SectorReader(const SectorReader&) = delete;
    SectorReader& operator=(const SectorReader&) = delete;
    bool ok() const { return cdio_ != nullptr; }
    // Reads count frames of audio at frame into buffer (count * BytesPerFrame bytes).
    bool read(int32_t frame, uint32_t count, void* buffer);

private:
    CdIo_t* cdio_ = nullptr;
};

// The table of contents of the disc at source (a drive or an image); empty when none.
Toc TocOf(const std::string& source);

// What is asked of a real drive. libcdio answers on a machine with a drive; tests stand in for
// the drive a machine lacks.
class DriveHardware {
public:
    virtual ~DriveHardware() = default;
    virtual Toc ReadToc() = 0;        // empty when no disc can be read
    virtual bool MediaChanged() = 0;  // since the last ReadToc; true when it cannot tell
    virtual void Eject() = 0;
    virtual void CloseTray() = 0;
    virtual int64_t NowMs() = 0;  // a steady clock
};
std::unique_ptr<DriveHardware> LibcdioDrive(const std::string& device);

class Drive {
public:
    explicit Drive(std::string source);
    // A real drive answered by hardware.
    Drive(std::string source, std::unique_ptr<DriveHardware> hardware);
    ~Drive();
    Drive(const Drive&) = delete;
    Drive& operator=(const Drive&) = delete;

    const std::string& source() const { return source_; }
    bool isImage() const { return image_; }

    // Looks again: an image removed, replaced or put back, a disc taken out or inserted.
    void refresh();
    bool present() const { return !doorOpen_ && toc_.count() > 0; }
    bool doorOpen() const { return doorOpen_; }
    const Toc& toc() const { return toc_; }

    // Door open: a real drive ejects; an image counts as taken out until the door is closed
    // or the image file changes.
    void openDoor();
    void closeDoor();

private:
    struct FileIdentity {
        bool exists = false;
        uint64_t device = 0, inode = 0, size = 0;
        int64_t mtimeNs = 0;
        bool operator==(const FileIdentity&) const = default;
    };
    static FileIdentity identify(const std::string& path);
    void readToc();
    void refreshImage();
    void refreshDrive();
    bool probeDue();

    std::string source_;
    bool image_ = false;
    bool doorOpen_ = false;
    FileIdentity seen_;        // the image as last read
    int64_t lastProbeMs_ = 0;  // drives without a disc are probed at most once a second
    Toc toc_;
    std::unique_ptr<DriveHardware> hardware_;  // a real drive; null for an image
};

}  // namespace platform::cdrom
