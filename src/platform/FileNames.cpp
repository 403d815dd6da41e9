#include "platform/FileNames.h"

#include <dirent.h>
#include <fcntl.h>
#include <unistd.h>
#include <sys/stat.h>

namespace platform {

namespace {

constexpr char16_t KeptByte = 0xDC00;  // a kept byte b is KeptByte + b, b >= 0x80

// The length of the valid UTF-8 sequence at i, 0 when there is none.
int sequenceAt(const QByteArray& bytes, qsizetype i)
{
    const auto byte = [&](qsizetype k) { return k < bytes.size() ? uint8_t(bytes[k]) : 0u; };
    const unsigned lead = byte(i);
    if (lead < 0x80) return 1;
    int length = 0;
    uint32_t code = 0;
    if (lead >= 0xC2 && lead <= 0xDF)
        length = 2, code = lead & 0x1F;
    else if (lead >= 0xE0 && lead <= 0xEF)
        length = 3, code = lead & 0x0F;
    else if (lead >= 0xF0 && lead <= 0xF4)
        length = 4, code = lead & 0x07;
    else
        return 0;
    for (int k = 1; k < length; ++k) {
        const unsigned next = byte(i + k);
        if ((next & 0xC0) != 0x80) return 0;
        code = code << 6 | (next & 0x3F);
    }
    // Overlong forms, surrogates and what lies beyond U+10FFFF are not valid.
    static const uint32_t least[] = {0, 0, 0x80, 0x800, 0x10000};
    if (code < least[length] || (code >= 0xD800 && code <= 0xDFFF) || code > 0x10FFFF) return 0;
    return length;
}

bool statOf(const QString& path, struct stat& st)
{
    const QByteArray name = EncodeFileName(path);
    return !name.isEmpty() && ::stat(name.constData(), &st) == 0;
}

}  // namespace

QString DecodeFileName(const QByteArray& bytes)
{
    QString out;
    out.reserve(bytes.size());
    for (qsizetype i = 0; i < bytes.size();) {
        const int length = sequenceAt(bytes, i);
        if (length == 0) {
            out += QChar(char16_t(KeptByte + uint8_t(bytes[i])));
            ++i;
        } else {
            out += QString::fromUtf8(bytes.constData() + i, length);
            i += length;
        }
    }
    return out;
}

QByteArray EncodeFileName(const QString& name)
{
    QByteArray out;
    out.reserve(name.size());
    qsizetype run = 0;  // the start of the text not yet encoded
    for (qsizetype i = 0; i < name.size(); ++i) {
        const char16_t c = name[i].unicode();
        if (c < KeptByte + 0x80 || c > KeptByte + 0xFF) continue;
        // A high surrogate before it would make a pair; a lone low one is a kept byte.
        if (i > 0 && name[i - 1].isHighSurrogate()) continue;
        out += QStringView(name).mid(run, i - run).toUtf8();
        out += char(c - KeptByte);
        run = i + 1;
    }
    out += QStringView(name).mid(run).toUtf8();
    return out;
}

QString ReadableFileName(const QString& name)
{
    QString out = name;
    for (qsizetype i = 0; i < out.size(); ++i)
        if (out[i].isLowSurrogate() && (i == 0 || !out[i - 1].isHighSurrogate())) out[i] = QChar::ReplacementCharacter;
    return out;
}

QString LocalFileOf(const QUrl& url)
{
    if (!url.isLocalFile()) return {};
    return DecodeFileName(QByteArray::fromPercentEncoding(url.path(QUrl::FullyEncoded).toLatin1()));
}

QString FileUrlOf(const QString& path)
{
    if (ReadableFileName(path) == path) return QUrl::fromLocalFile(path).toString();
    return QStringLiteral("file://") + QString::fromLatin1(EncodeFileName(path).toPercentEncoding("/"));
}

bool IsRegularFile(const QString& path)
{
    struct stat st { };
    return statOf(path, st) && S_ISREG(st.st_mode);
}

bool IsFolder(const QString& path)
{
    struct stat st { };
    return statOf(path, st) && S_ISDIR(st.st_mode);
}

bool PathExists(const QString& path)
{
    struct stat st { };
    return statOf(path, st);
}

qint64 FileSizeOf(const QString& path)
{
    struct stat st { };
    return statOf(path, st) ? qint64(st.st_size) : 0;
}

bool OpenRegularFile(QFile& file, const QString& path, QIODevice::OpenMode mode)
{
    const int flags = (mode & QIODevice::WriteOnly) ? O_RDWR : O_RDONLY;
    // Not blocking on the open: a pipe named like a song would wait for a writer.
    const int fd = ::open(EncodeFileName(path).constData(), flags | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) return false;
    struct stat st { };
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode) || !file.open(fd, mode, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        return false;
    }
    return true;
}

std::optional<QByteArray> ReadFileBytes(const QString& path, qint64 limit)
{
    struct stat st { };
    if (!statOf(path, st) || !S_ISREG(st.st_mode) || st.st_size > limit) return std::nullopt;
    const int fd = ::open(EncodeFileName(path).constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return std::nullopt;
    QByteArray bytes(qsizetype(st.st_size), Qt::Uninitialized);
    qsizetype got = 0;
    while (got < bytes.size()) {
        const ssize_t n = ::read(fd, bytes.data() + got, size_t(bytes.size() - got));
        if (n <= 0) break;
        got += n;
    }
    ::close(fd);
    bytes.truncate(got);
    return bytes;
}

namespace {

// The names in a folder whose kind (by stat, so links count as what they name) is mode.
QStringList namesOfKind(const QString& folder, mode_t kind)
{
    QStringList names;
    const QByteArray where = EncodeFileName(folder);
    DIR* dir = ::opendir(where.constData());
    if (!dir) return names;
    while (const dirent* entry = ::readdir(dir)) {
        const QByteArray name(entry->d_name);
        if (name == "." || name == "..") continue;
        struct stat st { };
        if (::stat((where + '/' + name).constData(), &st) == 0 && (st.st_mode & S_IFMT) == kind) names << DecodeFileName(name);
    }
    ::closedir(dir);
    return names;
}

}  // namespace

QStringList FolderFileNames(const QString& folder) { return namesOfKind(folder, S_IFREG); }

QStringList SubfolderNames(const QString& folder) { return namesOfKind(folder, S_IFDIR); }

}  // namespace platform
