#include "platform/FileTags.h"
#include "platform/FileNames.h"

#include <QFile>

#include <taglib/audioproperties.h>
#include <taglib/fileref.h>
#include <taglib/tag.h>

namespace platform {

namespace {

QString text(const TagLib::String& value) { return QString::fromStdString(value.to8Bit(true)).trimmed(); }

TagLib::FileRef open(const QString& path, bool withSound)
{
    const QByteArray name = EncodeFileName(path);
    return TagLib::FileRef(name.constData(), withSound, TagLib::AudioProperties::Fast);
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

}  // namespace platform
