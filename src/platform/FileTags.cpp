#include "platform/FileTags.h"
#include "platform/FileNames.h"

#include <QFile>

#include <taglib/audioproperties.h>
#include <taglib/fileref.h>
#include <taglib/mp4file.h>
#include <taglib/tpropertymap.h>
#include <taglib/tag.h>

namespace platform {

namespace {

QString text(const TagLib::String& value) { return QString::fromStdString(value.to8Bit(true)).trimmed(); }

TagLib::FileRef open(const QString& path, bool withSound)
{
    const QByteArray name = EncodeFileName(path);
    return TagLib::FileRef(name.constData(), withSound, TagLib::AudioProperties::Fast);
}

// An MP4 file's own atom "----:com.apple.iTunes:NAME" (in any letter case), which TagLib's
// common names leave out: ReplayGain is kept there.
QString freeformItem(TagLib::File* file, const QString& name)
{
    auto* mp4 = dynamic_cast<TagLib::MP4::File*>(file);
    if (!mp4 || !mp4->tag()) return {};
    const QString wanted = QStringLiteral("----:com.apple.iTunes:") + name;
    for (const auto& [key, item] : mp4->tag()->itemMap())
        if (QString::fromStdString(key.to8Bit(true)).compare(wanted, Qt::CaseInsensitive) == 0 && !item.toStringList().isEmpty())
            return text(item.toStringList().front());
    return {};
}

}  // namespace

FileTags ReadFileTags(const QString& path)
{
    const TagLib::FileRef file = open(path, false);
    const TagLib::Tag* tag = file.isNull() ? nullptr : file.tag();
    if (!tag) return {};
    return {text(tag->title()), text(tag->artist()), text(tag->album())};
}

SoundFacts ReadSoundFacts(const QString& path)
{
    const TagLib::FileRef file = open(path, true);
    const TagLib::AudioProperties* sound = file.isNull() ? nullptr : file.audioProperties();
    if (!sound || sound->sampleRate() <= 0) return {};
    return {true, sound->bitrate(), sound->sampleRate(), sound->channels()};
}

bool WriteFileTags(const QString& path, const QList<QPair<QString, QString>>& fields)
{
    TagLib::FileRef file = open(path, false);
    if (file.isNull()) return false;
    TagLib::PropertyMap properties = file.file()->properties();
    for (const auto& [name, value] : fields) {
        const TagLib::String key(name.toStdString(), TagLib::String::UTF8);
        if (value.isEmpty())
            properties.erase(key);
        else
            properties.replace(key, TagLib::StringList(TagLib::String(value.toStdString(), TagLib::String::UTF8)));
    }
    file.file()->setProperties(properties);
    return file.save();
}

QList<QPair<QString, QString>> ReadAllFileTags(const QString& path)
{
    QList<QPair<QString, QString>> fields;
    const TagLib::FileRef file = open(path, false);
    if (file.isNull()) return fields;
    for (const auto& [key, values] : file.file()->properties())
        if (!values.isEmpty())
            fields << qMakePair(QString::fromStdString(key.to8Bit(true)),
                                QString::fromStdString(values.toString(" / ").to8Bit(true)));
    return fields;
}

QString ReadFileTag(const QString& path, const QString& name)
{
    const TagLib::FileRef file = open(path, false);
    if (file.isNull()) return {};
    const TagLib::PropertyMap properties = file.file()->properties();
    const auto found = properties.find(TagLib::String(name.toStdString(), TagLib::String::UTF8));
    if (found != properties.end() && !found->second.isEmpty()) return text(found->second.front());
    return freeformItem(file.file(), name);
}

}  // namespace platform
