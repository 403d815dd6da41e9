#include "platform/Profile.h"
#include "platform/AtomicFile.h"
#include "platform/CodePage.h"

#include <QFile>
#include <QStringDecoder>

#include <optional>
#include <vector>

namespace platform {

namespace {

// One line of the file: its text and the line end it had ("" on a last line without one).
struct Line {
    QString text;
    QByteArray end;
};

struct ProfileText {
    std::vector<Line> lines;
    bool utf8 = true;
    QByteArray lineEnd = "\r\n";  // what new lines get: the file's own line end
};

QString decode(const QByteArray& bytes, bool utf8)
{
    return utf8 ? QString::fromUtf8(bytes) : FromGreekCodePage(std::string_view(bytes.constData(), size_t(bytes.size())));
}

bool isValidUtf8(const QByteArray& bytes)
{
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString decoded = decoder.decode(bytes);  // decoding happens on the conversion
    return !decoder.hasError();
}

std::optional<ProfileText> load(const QString& path, const QByteArray& newLine = "\r\n")
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return std::nullopt;
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) return std::nullopt;
    ProfileText profile;
    profile.lineEnd = newLine;
    profile.utf8 = isValidUtf8(bytes);
    bool endSeen = false;
    for (qsizetype start = 0; start < bytes.size();) {
        qsizetype newline = bytes.indexOf('\n', start);
        const qsizetype stop = newline < 0 ? bytes.size() : newline + 1;
        QByteArray raw = bytes.mid(start, stop - start);
        QByteArray end;
        if (raw.endsWith("\r\n"))
            end = "\r\n";
        else if (raw.endsWith('\n'))
            end = "\n";
        raw.chop(end.size());
        if (!endSeen && !end.isEmpty()) {
            profile.lineEnd = end;
            endSeen = true;
        }
        profile.lines.push_back({decode(raw, profile.utf8), end});
        start = stop;
    }
    return profile;
}

// The name of a "[name]" line, or nothing for any other line.
std::optional<QString> sectionName(const QString& line)
{
    const QString t = line.trimmed();
    if (!t.startsWith(QLatin1Char('['))) return std::nullopt;
    const qsizetype close = t.indexOf(QLatin1Char(']'));
    return (close < 0 ? t.mid(1) : t.mid(1, close - 1)).trimmed();
}

bool isComment(const QString& line)
{
    const QString t = line.trimmed();
    return t.startsWith(QLatin1Char(';')) || t.startsWith(QLatin1Char('#'));
}

// The key of a "key=value" line, or nothing.
std::optional<QString> keyName(const QString& line)
{
    if (isComment(line) || sectionName(line)) return std::nullopt;
    const qsizetype equals = line.indexOf(QLatin1Char('='));
    if (equals < 0) return std::nullopt;
    return line.left(equals).trimmed();
}

bool same(const QString& a, const QString& b) { return a.compare(b, Qt::CaseInsensitive) == 0; }

// Indexes of the section's header and of the line after its last line; header -1 when absent.
struct SectionSpan {
    int header = -1;
    int end = -1;
};

SectionSpan findSection(const ProfileText& profile, const QString& section)
{
    SectionSpan span;
    const int count = int(profile.lines.size());
    for (int i = 0; i < count; ++i) {
        const auto name = sectionName(profile.lines[i].text);
        if (!name) continue;
        if (span.header >= 0) {
            span.end = i;
            return span;
        }
        if (same(*name, section.trimmed())) span.header = i;
    }
    if (span.header >= 0) span.end = count;
    return span;
}

int findKey(const ProfileText& profile, const SectionSpan& span, const QString& key)
{
    for (int i = span.header + 1; i < span.end; ++i) {
        const auto name = keyName(profile.lines[i].text);
        if (name && same(*name, key.trimmed())) return i;
    }
    return -1;
}

QByteArray encode(const ProfileText& profile)
{
    QByteArray bytes;
    for (const Line& line : profile.lines) bytes += line.text.toUtf8() + line.end;
    return bytes;
}

// A value is one line: line breaks in it would make keys of its pieces.
QString oneLine(QString value)
{
    value.replace(QLatin1Char('\r'), QLatin1Char(' '));
    value.replace(QLatin1Char('\n'), QLatin1Char(' '));
    return value;
}

}  // namespace

std::optional<QString> ReadProfileValue(const QString& section, const QString& key, const QString& path)
{
    const auto profile = load(path);
    if (!profile) return std::nullopt;
    const SectionSpan span = findSection(*profile, section);
    if (span.header < 0) return std::nullopt;
    const int line = findKey(*profile, span, key);
    if (line < 0) return std::nullopt;
    const QString& text = profile->lines[size_t(line)].text;
    return text.mid(text.indexOf(QLatin1Char('=')) + 1).trimmed();
}

QMap<QString, QString> ReadProfileSection(const QString& section, const QString& path)
{
    QMap<QString, QString> values;
    const auto profile = load(path);
    if (!profile) return values;
    const SectionSpan span = findSection(*profile, section);
    for (int i = span.header + 1; span.header >= 0 && i < span.end; ++i) {
        const QString& text = profile->lines[size_t(i)].text;
        const auto name = keyName(text);
        if (name && !values.contains(name->toLower()))
            values.insert(name->toLower(), text.mid(text.indexOf(QLatin1Char('=')) + 1).trimmed());
    }
    return values;
}

QString GetPrivateProfileString(const QString& section, const QString& key, const QString& fallback, const QString& path)
{
    const auto value = ReadProfileValue(section, key, path);
    return value ? value->left(ProfileValueLimit) : fallback;
}

bool DeleteProfileKey(const QString& section, const QString& key, const QString& path)
{
    if (!QFile::exists(path)) return true;
    auto profile = load(path);
    if (!profile) return false;
    const SectionSpan span = findSection(*profile, section);
    const int line = span.header < 0 ? -1 : findKey(*profile, span, key);
    if (line < 0) return true;
    profile->lines.erase(profile->lines.begin() + line);
    return WriteFileAtomically(path, encode(*profile));
}

bool WritePrivateProfileString(const QString& section, const QString& key, const QString& value, const QString& path)
{
    return WriteProfileValue(section, key, value, path, "\r\n");
}

namespace {

void setValue(ProfileText& profile, const QString& section, const QString& key, const QString& value)
{
    const QByteArray end = profile.lineEnd;
    const SectionSpan span = findSection(profile, section);
    const QString entry = key.trimmed() + QLatin1Char('=') + oneLine(value);
    if (span.header < 0) {
        if (!profile.lines.empty() && profile.lines.back().end.isEmpty()) profile.lines.back().end = end;
        profile.lines.push_back({QLatin1Char('[') + section.trimmed() + QLatin1Char(']'), end});
        profile.lines.push_back({entry, end});
    } else if (const int line = findKey(profile, span, key); line >= 0) {
        QString& text = profile.lines[size_t(line)].text;
        text = text.left(text.indexOf(QLatin1Char('=')) + 1) + oneLine(value);
    } else {
        // After the section's last line that is not blank, so spacing before the next section stays.
        int after = span.end;
        while (after - 1 > span.header && profile.lines[size_t(after - 1)].text.trimmed().isEmpty()) --after;
        if (profile.lines[size_t(after - 1)].end.isEmpty()) profile.lines[size_t(after - 1)].end = end;
        profile.lines.insert(profile.lines.begin() + after, {entry, end});
    }
}

bool writeValues(const QString& section, const QList<std::pair<QString, QString>>& values, const QString& path,
                 const QByteArray& newLine)
{
    ProfileText profile;
    profile.lineEnd = newLine;
    if (QFile::exists(path)) {
        auto loaded = load(path, newLine);
        if (!loaded) return false;  // never replace a file that could not be read
        profile = std::move(*loaded);
    }
    for (const auto& [key, value] : values) setValue(profile, section, key, value);
    return WriteFileAtomically(path, encode(profile));
}

}  // namespace

bool WriteProfileValue(const QString& section, const QString& key, const QString& value, const QString& path,
                       const QByteArray& newLine)
{
    return writeValues(section, {{key, value}}, path, newLine);
}

bool WritePrivateProfileStrings(const QString& section, const QList<std::pair<QString, QString>>& values, const QString& path)
{
    return writeValues(section, values, path, "\r\n");
}

}  // namespace platform
