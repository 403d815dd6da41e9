#include "platform/cdrom/Disc.h"
#include "platform/CodePage.h"

#include <cdio/cdio.h>
#include <cdio/cdtext.h>
#include <cdio/logging.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QString>
#include <QStringDecoder>

#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <mutex>
#include <sstream>

namespace platform::cdrom {

namespace {

namespace fs = std::filesystem;

std::mutex& cueMutex()
{
    static std::mutex m;
    return m;
}

// libcdio reports unreadable images and empty drives on stderr; the device reports them as
// "no disc" instead.
void quietLog(cdio_log_level_t level, const char* message)
{
    if (level >= CDIO_LOG_ERROR && std::getenv("SONORELL_CDIO_DEBUG")) std::fprintf(stderr, "libcdio: %s\n", message);
}

void initCdio()
{
    static std::once_flag once;
    std::call_once(once, [] {
        cdio_log_set_handler(quietLog);
        cdio_init();
    });
}

bool endsWith(const std::string& text, const char* suffix)
{
    const std::size_t n = std::strlen(suffix);
    if (text.size() < n) return false;
    for (std::size_t i = 0; i < n; ++i)
        if (std::tolower(static_cast<unsigned char>(text[text.size() - n + i])) != suffix[i]) return false;
    return true;
}

driver_id_t driverFor(const std::string& source)
{
    if (endsWith(source, ".cue")) return DRIVER_BINCUE;
    if (endsWith(source, ".toc")) return DRIVER_CDRDAO;
    if (endsWith(source, ".nrg")) return DRIVER_NRG;
    if (endsWith(source, ".bin")) return DRIVER_BINCUE;
    return DRIVER_DEVICE;
}

// The file a cue sheet's first FILE line names, as a path; "" when it names none.
fs::path cueDataFile(const std::string& cueText, const fs::path& cue)
{
    std::istringstream lines(cueText);
    std::string line;
    while (std::getline(lines, line)) {
        std::istringstream words(line);
        std::string keyword;
        words >> keyword;
        for (char& c : keyword) c = char(std::toupper(static_cast<unsigned char>(c)));
        if (keyword != "FILE") continue;
        std::string name;
        words >> std::ws;
        if (words.peek() == '"') {
            words.get();
            std::getline(words, name, '"');
        } else {
            words >> name;
        }
        if (name.empty()) return {};
        const fs::path data(name);
        return data.is_absolute() ? data : cue.parent_path() / data;
    }
    return {};
}

// A new alias folder for this process: its number in the name tells a later start whose it was.
bool makeAliasFolder(fs::path& folder, const char* kind)
{
    std::error_code error;
    std::string pattern =
        (fs::temp_directory_path(error) / ("sonorell-" + std::string(kind) + "-" + std::to_string(::getpid()) + "-XXXXXX"))
            .string();
    if (!::mkdtemp(pattern.data())) return false;
    folder = pattern;
    return true;
}

// Alias folders made for cue sheets and .toc files, removed when the program ends (and, left by
// a run that did not end normally, at the next start).
std::map<std::string, fs::path>& aliasFolders()
{
    static const bool swept = (RemoveStaleAliasFolders(), true);
    (void)swept;
    static auto* folders = new std::map<std::string, fs::path>;
    static const bool cleanup = [] {
        std::atexit([] {
            std::error_code ignored;
            for (const auto& [cue, folder] : *folders) fs::remove_all(folder, ignored);
        });
        return true;
    }();
    (void)cleanup;
    return *folders;
}

// libcdio reads a cue sheet's data from the file of the sheet's own name with ".bin", whatever
// its FILE line says. A sheet naming another file is read through an alias folder holding a
// copy of the sheet and a link to the file it names.
std::string cueAsLibcdioReadsIt(const std::string& source)
{
    std::ifstream in(source, std::ios::binary);
    if (!in) return source;
    const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    const fs::path data = cueDataFile(text, fs::path(source));
    fs::path expected(source);
    expected.replace_extension(".bin");
    std::error_code error;
    if (data.empty() || !fs::exists(data, error) || fs::equivalent(data, expected, error)) return source;

    // The FILE line names the link; every other line stays as it was.
    std::istringstream lines(text);
    std::string line, rewritten;
    bool replaced = false;
    while (std::getline(lines, line)) {
        std::string upper = line;
        for (char& c : upper) c = char(std::toupper(static_cast<unsigned char>(c)));
        const auto first = upper.find_first_not_of(" \t");
        if (!replaced && first != std::string::npos && upper.compare(first, 5, "FILE ") == 0) {
            const auto type = line.find_last_of(' ');
            line = "FILE \"disc.bin\"" +
                   (type != std::string::npos && type > first + 5 ? line.substr(type) : std::string(" BINARY"));
            if (!line.empty() && line.back() == '\r') line.pop_back();
            replaced = true;
        }
        rewritten += line + '\n';
    }
    std::lock_guard lock(cueMutex());
    fs::path& folder = aliasFolders()[source];
    if (folder.empty() && !makeAliasFolder(folder, "cue")) return source;
    const fs::path link = folder / "disc.bin", sheet = folder / "disc.cue", target = fs::absolute(data, error);
    // Left alone when unchanged, and replaced by rename when changed: a reader opening the alias
    // on another thread never finds it missing.
    if (fs::read_symlink(link, error) != target || error) {
        const fs::path fresh = folder / "disc.bin.new";
        fs::remove(fresh, error);
        fs::create_symlink(target, fresh, error);
        if (!error) fs::rename(fresh, link, error);
        if (error) return source;
    }
    std::ifstream old(sheet, std::ios::binary);
    if (old && std::string((std::istreambuf_iterator<char>(old)), std::istreambuf_iterator<char>()) == rewritten)
        return sheet.string();
    const fs::path fresh = folder / "disc.cue.new";
    std::ofstream out(fresh, std::ios::binary | std::ios::trunc);
    out << rewritten;
    out.close();
    if (!out) return source;
    fs::rename(fresh, sheet, error);
    return error ? source : sheet.string();
}

std::string upperKeyword(const std::string& line)
{
    std::istringstream words(line);
    std::string keyword;
    words >> keyword;
    for (char& c : keyword) c = char(std::toupper(static_cast<unsigned char>(c)));
    return keyword;
}

// A .toc file as cdrdao writes it, made readable for libcdio, which opens the files it names
// from the current folder rather than the sheet's, and reads one keyword a line, so a language
// map spread over lines stops it. Nothing changes for a sheet it reads as it is. A file named
// relatively is reached through a link in aliases (a folder of plain characters), so a quote or
// a backslash in the sheet's own folder never ends up inside the sheet's quotes.
std::string tocText(const std::string& source, const fs::path& aliases, bool& changed)
{
    int links = 0;
    std::ifstream in(source, std::ios::binary);
    std::string out, line, pendingMap;
    const fs::path folder = fs::absolute(fs::path(source)).parent_path();
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        const std::string keyword = upperKeyword(line);
        if (!pendingMap.empty() || (keyword == "LANGUAGE_MAP" && line.find('}') == std::string::npos)) {
            pendingMap += (pendingMap.empty() ? "" : " ") + line;
            changed = true;
            if (line.find('}') == std::string::npos) continue;
            line = pendingMap;
            pendingMap.clear();
        } else if (keyword == "FILE" || keyword == "AUDIOFILE" || keyword == "DATAFILE") {
            const auto open = line.find('"'), close = line.find('"', open + 1);
            if (open != std::string::npos && close != std::string::npos && line[open + 1] != '/') {
                const fs::path link = aliases / ("data" + std::to_string(links++));
                std::error_code error;
                fs::remove(link, error);
                fs::create_symlink(folder / line.substr(open + 1, close - open - 1), link, error);
                line.replace(open + 1, close - open - 1, link.string());
                changed = true;
            }
        }
        out += line + '\n';
    }
    return out;
}

std::string tocAsLibcdioReadsIt(const std::string& source)
{
    std::lock_guard lock(cueMutex());
    fs::path& folder = aliasFolders()[source];
    if (folder.empty() && !makeAliasFolder(folder, "toc")) return source;
    bool changed = false;
    const std::string text = tocText(source, folder, changed);
    if (!changed) return source;
    std::ofstream sheet(folder / "disc.toc", std::ios::binary | std::ios::trunc);
    sheet << text;
    return sheet ? (folder / "disc.toc").string() : source;
}

int64_t nowMs()
{
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

}  // namespace

void RemoveStaleAliasFolders()
{
    std::error_code error;
    const fs::path temp = fs::temp_directory_path(error);
    for (fs::directory_iterator it(temp, error), end; !error && it != end; it.increment(error)) {
        const std::string name = it->path().filename().string();
        if (name.rfind("sonorell-cue-", 0) != 0 && name.rfind("sonorell-toc-", 0) != 0) continue;
        const long pid = std::strtol(name.c_str() + 13, nullptr, 10);
        if (pid <= 0 || pid == ::getpid() || (::kill(pid_t(pid), 0) == 0 || errno == EPERM)) continue;
        std::error_code ignored;
        fs::remove_all(it->path(), ignored);
    }
}

int Toc::trackAt(int32_t frame) const
{
    for (int t = lastTrack(); t > firstTrack; --t)
        if (frame >= trackStart(t)) return t;
    return firstTrack;
}

std::pair<int32_t, int32_t> Toc::audibleSpan(int32_t from, int32_t to) const
{
    if (count() == 0) return {from, to};
    int track = trackAt(from);
    while (!isAudio(track) && track < lastTrack()) from = trackStart(++track);
    if (!isAudio(track)) return {to, to};
    for (int t = track + 1; t <= lastTrack(); ++t)
        if (!isAudio(t)) return {from, std::min(to, trackStart(t))};
    return {from, to};
}

uint32_t AudioDiscSerial(const Toc& toc)
{
    if (toc.count() == 0) return 0;
    constexpr int32_t LeadIn = 2 * FramesPerSecond;
    uint32_t serial = 0;
    for (const int32_t start : toc.starts) {
        const uint32_t absolute = uint32_t(start + LeadIn);
        const uint32_t minutes = absolute / (60 * FramesPerSecond);
        const uint32_t seconds = absolute / FramesPerSecond % 60;
        const uint32_t frames = absolute % FramesPerSecond;
        serial += (minutes << 16) + (seconds << 8) + frames;
    }
    if (toc.count() < 3) serial += uint32_t(toc.leadout - toc.discStart());
    return serial;
}

namespace {

// A cue sheet or a cdrdao .toc file: text a person wrote.
bool isSheet(const std::string& source) { return endsWith(source, ".cue") || endsWith(source, ".toc"); }

// Disc images keep their text as the file has it, and libcdio reads those bytes as Latin-1, which
// a cue sheet written in UTF-8 is not: such text is read again as the UTF-8 it is. A sheet that
// is not UTF-8 was written on a Greek Windows machine, in its code page (windows-1253), as the
// catalogue's old files were; a drive's own CD-Text is Latin-1 as read.
std::string asWritten(const char* text, bool sheet)
{
    if (!text) return {};
    const QString read = QString::fromUtf8(text).trimmed();
    bool wide = false, latin1 = true;
    for (QChar c : read) {
        wide = wide || c.unicode() >= 0x80;
        latin1 = latin1 && c.unicode() <= 0xFF;
    }
    if (wide && latin1) {
        QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
        const QString again = utf8(read.toLatin1());
        if (!utf8.hasError()) return again.toStdString();
        if (sheet) return FromGreekCodePage(read.toLatin1().toStdString()).toStdString();
    }
    return read.toStdString();
}

}  // namespace

DiscText ReadDiscText(const std::string& source)
{
    DiscText text;
    CdIo_t* cdio = source.empty() ? nullptr : OpenSource(source);
    if (!cdio) return text;
    const bool sheet = isSheet(source);
    if (const cdtext_t* cdtext = cdio_get_cdtext(cdio)) {
        text.albumTitle = asWritten(cdtext_get_const(cdtext, CDTEXT_FIELD_TITLE, 0), sheet);
        text.albumPerformer = asWritten(cdtext_get_const(cdtext, CDTEXT_FIELD_PERFORMER, 0), sheet);
        const track_t first = cdio_get_first_track_num(cdio), count = cdio_get_num_tracks(cdio);
        if (first != CDIO_INVALID_TRACK && count != CDIO_INVALID_TRACK)
            for (track_t t = first; t < first + count; ++t)
                if (std::string title = asWritten(cdtext_get_const(cdtext, CDTEXT_FIELD_TITLE, t), sheet); !title.empty())
                    text.trackTitles[t] = title;
    }
    cdio_destroy(cdio);
    return text;
}

uint32_t DiscSerialOf(const std::string& source)
{
    if (source.empty()) return 0;
    Drive drive(source);
    return drive.present() ? AudioDiscSerial(drive.toc()) : 0;
}

std::string defaultSource()
{
    if (const char* env = std::getenv("SONORELL_CD_DEVICE"); env && *env)
        return std::strcmp(env, "none") == 0 ? std::string() : std::string(env);
    initCdio();
    char** devices = cdio_get_devices(DRIVER_DEVICE);
    std::string first = (devices && devices[0]) ? devices[0] : "";
    if (devices) cdio_free_device_list(devices);
    return first;
}

CdIo_t* OpenSource(const std::string& source)
{
    initCdio();
    struct stat st { };
    if (source.empty() || ::stat(source.c_str(), &st) != 0) return nullptr;
    const std::string readable = endsWith(source, ".cue")   ? cueAsLibcdioReadsIt(source)
                                 : endsWith(source, ".toc") ? tocAsLibcdioReadsIt(source)
                                                            : source;
    // libcdio's image drivers parse with shared state: one opens at a time.
    static std::mutex opening;
    const std::lock_guard lock(opening);
    return cdio_open(readable.c_str(), driverFor(source));
}

SectorReader::SectorReader(const std::string& source) : cdio_(OpenSource(source)) { }

SectorReader::~SectorReader()
{
    if (cdio_) cdio_destroy(cdio_);
}

bool SectorReader::read(int32_t frame, uint32_t count, void* buffer)
{
    return cdio_ && cdio_read_audio_sectors(cdio_, buffer, frame, count) == DRIVER_OP_SUCCESS;
}

Toc TocOf(const std::string& source)
{
    Toc toc;
    CdIo_t* cdio = OpenSource(source);
    if (!cdio) return toc;
    const track_t first = cdio_get_first_track_num(cdio);
    const track_t count = cdio_get_num_tracks(cdio);
    if (first != CDIO_INVALID_TRACK && count != CDIO_INVALID_TRACK && count > 0) {
        toc.firstTrack = first;
        for (track_t t = first; t < first + count; ++t) {
            toc.starts.push_back(cdio_get_track_lsn(cdio, t));
            toc.audio.push_back(cdio_get_track_format(cdio, t) == TRACK_FORMAT_AUDIO);
        }
        toc.leadout = cdio_get_track_lsn(cdio, CDIO_CDROM_LEADOUT_TRACK);
        if (toc.leadout <= toc.starts.back()) toc = Toc{};
    }
    cdio_destroy(cdio);
    return toc;
}

namespace {

// A real drive through libcdio. Kept open between queries, so a disc change is noticed.
class LibcdioHardware final : public DriveHardware {
public:
    explicit LibcdioHardware(std::string device) : device_(std::move(device)) { }
    ~LibcdioHardware() override { drop(); }

    Toc ReadToc() override
    {
        drop();
        Toc toc = TocOf(device_);
        if (toc.count() > 0) handle_ = OpenSource(device_);
        return toc;
    }
    bool MediaChanged() override { return !handle_ || cdio_get_media_changed(handle_) != 0; }
    void Eject() override
    {
        drop();
        CdIo_t* cdio = OpenSource(device_);
        if (cdio) cdio_eject_media(&cdio);
        if (cdio) cdio_destroy(cdio);
    }
    void CloseTray() override
    {
        driver_id_t driver = DRIVER_DEVICE;
        cdio_close_tray(device_.c_str(), &driver);
    }
    int64_t NowMs() override { return nowMs(); }

private:
    void drop()
    {
        if (handle_) cdio_destroy(handle_);
        handle_ = nullptr;
    }

    std::string device_;
    CdIo_t* handle_ = nullptr;
};

}  // namespace

std::unique_ptr<DriveHardware> LibcdioDrive(const std::string& device) { return std::make_unique<LibcdioHardware>(device); }

}  // namespace platform::cdrom
