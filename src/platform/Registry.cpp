#include "platform/Registry.h"
#include "platform/AtomicFile.h"
#include "platform/CodePage.h"
#include "platform/Settings.h"

#include <QDir>
#include <QFile>
#include <QStringDecoder>
#include <QStringList>

namespace platform::registry {

namespace {

const QString Root = QStringLiteral("HKEY_CLASSES_ROOT");
const QByteArray Header = "REGEDIT4";

bool same(const QString& a, const QString& b) { return a.compare(b, Qt::CaseInsensitive) == 0; }

// "a\\b\" and "a\b" name the same key.
QString normalised(const QString& path) { return path.split(QLatin1Char('\\'), Qt::SkipEmptyParts).join(QLatin1Char('\\')); }

QString decode(const QByteArray& bytes)
{
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString text = utf8.decode(bytes);
    if (!utf8.hasError()) return text;
    return FromGreekCodePage(std::string_view(bytes.constData(), size_t(bytes.size())));
}

// A REGEDIT4 string holds no line break; the rest is escaped.
QString quoted(QString text)
{
    text.replace(QLatin1Char('\r'), QLatin1Char(' '));
    text.replace(QLatin1Char('\n'), QLatin1Char(' '));
    text.replace(QLatin1Char('\\'), QStringLiteral("\\\\"));
    text.replace(QLatin1Char('"'), QStringLiteral("\\\""));
    return QLatin1Char('"') + text + QLatin1Char('"');
}

// Reads a quoted string starting at pos; pos ends after the closing quote. None when unclosed.
std::optional<QString> unquote(const QString& line, qsizetype& pos)
{
    if (pos >= line.size() || line[pos] != QLatin1Char('"')) return std::nullopt;
    QString out;
    for (++pos; pos < line.size(); ++pos) {
        const QChar c = line[pos];
        if (c == QLatin1Char('"')) {
            ++pos;
            return out;
        }
        if (c == QLatin1Char('\\') && pos + 1 < line.size())
            out += line[++pos];
        else
            out += c;
    }
    return std::nullopt;
}

// A "[HKEY_CLASSES_ROOT\path]" line: the path, "" for the root itself; none for another root.
std::optional<QString> keyLine(const QString& line)
{
    if (!line.endsWith(QLatin1Char(']'))) return std::nullopt;
    const QString inner = line.mid(1, line.size() - 2);  // a key name may end in a blank
    if (same(inner, Root)) return QString();
    if (!inner.startsWith(Root + QLatin1Char('\\'), Qt::CaseInsensitive)) return std::nullopt;
    return normalised(inner.mid(Root.size() + 1));
}

// A value line: @=… or "name"=…; none when it cannot be read.
std::optional<Value> valueLine(const QString& line)
{
    Value value;
    qsizetype pos = 0;
    if (line.startsWith(QLatin1Char('@'))) {
        pos = 1;
    } else {
        auto name = unquote(line, pos);
        if (!name || name->isEmpty()) return std::nullopt;
        value.name = *name;
    }
    while (pos < line.size() && line[pos].isSpace()) ++pos;
    if (pos >= line.size() || line[pos] != QLatin1Char('=')) return std::nullopt;
    ++pos;
    while (pos < line.size() && line[pos].isSpace()) ++pos;
    if (pos < line.size() && line[pos] == QLatin1Char('"')) {
        auto data = unquote(line, pos);
        if (!data || !line.mid(pos).trimmed().isEmpty()) return std::nullopt;
        value.data = *data;
        return value;
    }
    const QString raw = line.mid(pos).trimmed();
    if (!raw.startsWith(QLatin1String("dword:"), Qt::CaseInsensitive) &&
        !raw.startsWith(QLatin1String("hex"), Qt::CaseInsensitive))
        return std::nullopt;
    value.isString = false;
    value.data = raw;
    return value;
}

// The text split in lines, continuation lines (ending in "\" after a hex list) joined.
QStringList logicalLines(const QString& text)
{
    QStringList lines;
    QString pending;
    for (QString line : text.split(QLatin1Char('\n'))) {
        if (line.endsWith(QLatin1Char('\r'))) line.chop(1);
        line = line.trimmed();
        if (!pending.isEmpty()) {
            line = pending + line;
            pending.clear();
        }
        if (line.endsWith(QLatin1Char('\\')) && !line.startsWith(QLatin1Char('['))) {
            line.chop(1);
            pending = line;
            continue;
        }
        lines << line;
    }
    if (!pending.isEmpty()) lines << pending;
    return lines;
}

struct Loaded {
    bool readable = true;
    bool damaged = false;
    Classes classes;
    QByteArray original;
};

Loaded load()
{
    Loaded loaded;
    QFile file(StoreFile());
    if (!file.exists()) return loaded;
    if (!file.open(QIODevice::ReadOnly)) {
        loaded.readable = false;
        return loaded;
    }
    loaded.original = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        loaded.readable = false;
        return loaded;
    }
    loaded.classes = Classes::Parse(loaded.original, &loaded.damaged);
    return loaded;
}

// A damaged file is kept aside before it is replaced by what could be read of it.
bool save(const Loaded& loaded)
{
    if (!loaded.readable) return false;
    QDir().mkpath(settingsFolder());
    if (loaded.damaged && !WriteFileAtomically(StoreFile() + QStringLiteral(".damaged"), loaded.original)) return false;
    return WriteFileAtomically(StoreFile(), loaded.classes.Serialize());
}

}  // namespace

QString StoreFile() { return settingsFolder() + QStringLiteral("/classes.reg"); }

Classes Classes::Parse(const QByteArray& bytes, bool* damaged)
{
    Classes classes;
    bool bad = false;
    bool headerSeen = false;
    Key* current = nullptr;
    for (const QString& line : logicalLines(decode(bytes))) {
        if (line.isEmpty() || line.startsWith(QLatin1Char(';'))) continue;
        if (!headerSeen) {
            headerSeen = true;
            if (line == QLatin1String(Header)) continue;
            bad = true;
        }
        if (line.startsWith(QLatin1Char('['))) {
            const auto path = keyLine(line);
            current = path ? &classes.create(*path) : nullptr;
            if (!path) bad = true;
            continue;
        }
        const auto value = valueLine(line);
        if (!value || !current) {
            bad = true;
            continue;
        }
        if (value->isString)
            classes.set(*current, value->name, value->data);
        else {
            classes.remove(*current, value->name);
            current->values.push_back(*value);
        }
    }
    if (damaged) *damaged = bad;
    return classes;
}

QByteArray Classes::Serialize() const
{
    QString text = QLatin1String(Header) + QStringLiteral("\r\n");
    for (const Key& key : keys_) {
        text += QStringLiteral("\r\n[") + Root + (key.path.isEmpty() ? QString() : QLatin1Char('\\') + key.path) +
                QStringLiteral("]\r\n");
        for (const Value& value : key.values) {
            text += value.name.isEmpty() ? QStringLiteral("@") : quoted(value.name);
            text += QLatin1Char('=') + (value.isString ? quoted(value.data) : value.data) + QStringLiteral("\r\n");
        }
    }
    return text.toUtf8();
}

const Key* Classes::find(const QString& path) const
{
    const QString wanted = normalised(path);
    for (const Key& key : keys_)
        if (same(key.path, wanted)) return &key;
    return nullptr;
}

Key* Classes::find(const QString& path) { return const_cast<Key*>(std::as_const(*this).find(path)); }

Key& Classes::create(const QString& path)
{
    const QStringList parts = normalised(path).split(QLatin1Char('\\'), Qt::SkipEmptyParts);
    QString sofar;
    for (const QString& part : parts) {
        sofar = sofar.isEmpty() ? part : sofar + QLatin1Char('\\') + part;
        if (!find(sofar)) keys_.push_back({sofar, {}});
    }
    if (Key* key = find(sofar)) return *key;
    keys_.push_back({QString(), {}});  // the root itself
    return keys_.back();
}

void Classes::set(Key& key, const QString& name, const QString& data)
{
    for (Value& value : key.values)
        if (same(value.name, name)) {
            value.isString = true;
            value.data = data;
            return;
        }
    key.values.push_back({name, true, data});
}

bool Classes::remove(Key& key, const QString& name)
{
    for (auto it = key.values.begin(); it != key.values.end(); ++it)
        if (same(it->name, name)) {
            key.values.erase(it);
            return true;
        }
    return false;
}

bool CreateKey(const QString& path)
{
    Loaded loaded = load();
    if (!loaded.readable) return false;
    if (loaded.classes.find(path) && !loaded.damaged && QFile::exists(StoreFile())) return true;
    loaded.classes.create(path);
    return save(loaded);
}

bool KeyExists(const QString& path) { return load().classes.find(path) != nullptr; }

bool SetString(const QString& path, const QString& name, const QString& data)
{
    Loaded loaded = load();
    Key* key = loaded.classes.find(path);
    if (!key) return false;
    loaded.classes.set(*key, name, data);
    return save(loaded);
}

std::optional<QString> QueryString(const QString& path, const QString& name)
{
    const Loaded loaded = load();
    const Key* key = loaded.classes.find(path);
    if (!key) return std::nullopt;
    for (const Value& value : key->values)
        if (same(value.name, name)) return value.isString ? std::optional<QString>(value.data) : std::nullopt;
    return std::nullopt;
}

bool DeleteValue(const QString& path, const QString& name)
{
    Loaded loaded = load();
    Key* key = loaded.classes.find(path);
    if (!key || !loaded.classes.remove(*key, name)) return false;
    return save(loaded);
}

}  // namespace platform::registry
