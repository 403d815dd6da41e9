#include "platform/CoverArt.h"
#include "platform/FileNames.h"
#include "platform/AtomicFile.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QStandardPaths>

#include <taglib/attachedpictureframe.h>
#include <taglib/fileref.h>
#include <taglib/flacfile.h>
#include <taglib/flacpicture.h>
#include <taglib/id3v2tag.h>
#include <taglib/mp4file.h>
#include <taglib/mpegfile.h>
#include <taglib/opusfile.h>
#include <taglib/vorbisfile.h>
#include <taglib/xiphcomment.h>

namespace platform {

namespace {

struct Picture {
    QByteArray bytes;
    QString mimeType;
    bool front = false;
};

QByteArray bytesOf(const TagLib::ByteVector& v) { return QByteArray(v.data(), int(v.size())); }

void keep(Picture& best, Picture candidate)
{
    if (candidate.bytes.isEmpty()) return;
    if (best.bytes.isEmpty() || (candidate.front && !best.front)) best = std::move(candidate);
}

void fromFlacPictures(Picture& best, const TagLib::List<TagLib::FLAC::Picture*>& pictures)
{
    for (const TagLib::FLAC::Picture* p : pictures)
        keep(best, {bytesOf(p->data()), QString::fromStdString(p->mimeType().to8Bit(true)),
                    p->type() == TagLib::FLAC::Picture::FrontCover});
}

Picture embeddedPicture(const QString& path)
{
    Picture best;
    const QByteArray name = EncodeFileName(path);
    TagLib::FileRef ref(name.constData(), false);
    TagLib::File* file = ref.file();
    if (!file || !file->isValid()) return best;
    if (auto* mpeg = dynamic_cast<TagLib::MPEG::File*>(file); mpeg && mpeg->hasID3v2Tag()) {
        for (TagLib::ID3v2::Frame* frame : mpeg->ID3v2Tag()->frameListMap()["APIC"])
            if (auto* apic = dynamic_cast<TagLib::ID3v2::AttachedPictureFrame*>(frame))
                keep(best, {bytesOf(apic->picture()), QString::fromStdString(apic->mimeType().to8Bit(true)),
                            apic->type() == TagLib::ID3v2::AttachedPictureFrame::FrontCover});
    } else if (auto* flac = dynamic_cast<TagLib::FLAC::File*>(file)) {
        fromFlacPictures(best, flac->pictureList());
    } else if (auto* vorbis = dynamic_cast<TagLib::Ogg::Vorbis::File*>(file); vorbis && vorbis->tag()) {
        fromFlacPictures(best, vorbis->tag()->pictureList());
    } else if (auto* opus = dynamic_cast<TagLib::Ogg::Opus::File*>(file); opus && opus->tag()) {
        fromFlacPictures(best, opus->tag()->pictureList());
    } else if (auto* mp4 = dynamic_cast<TagLib::MP4::File*>(file); mp4 && mp4->tag() && mp4->tag()->contains("covr")) {
        for (const TagLib::MP4::CoverArt& art : mp4->tag()->item("covr").toCoverArtList())
            keep(best,
                 {bytesOf(art.data()),
                  art.format() == TagLib::MP4::CoverArt::PNG ? QStringLiteral("image/png") : QStringLiteral("image/jpeg"), true});
    }
    return best;
}

// Written once: the same picture (of every song of an album) is one file.
QString cached(const Picture& picture)
{
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation) + QStringLiteral("/sonorell");
    const QString extension = picture.mimeType.contains(QLatin1String("png")) ? QStringLiteral(".png") : QStringLiteral(".jpg");
    const QString file = folder + QStringLiteral("/cover-") +
                         QString::fromLatin1(QCryptographicHash::hash(picture.bytes, QCryptographicHash::Sha1).toHex()) +
                         extension;
    if (QFile::exists(file)) return file;
    if (!QDir().mkpath(folder) || !WriteFileAtomically(file, picture.bytes)) return {};
    return file;
}

}  // namespace

QString FolderCoverArt(const QString& folder)
{
    const QStringList names = FolderFileNames(folder);  // by the bytes of the folder's name
    for (const char* base : {"cover", "folder", "front"})
        for (const char* extension : {".jpg", ".jpeg", ".png"})
            for (const QString& name : names)
                if (name.compare(QLatin1String(base) + QLatin1String(extension), Qt::CaseInsensitive) == 0)
                    return QDir(folder).absoluteFilePath(name);
    return {};
}

EmbeddedPicture ReadEmbeddedPicture(const QString& path)
{
    Picture picture = embeddedPicture(path);
    return {std::move(picture.bytes), std::move(picture.mimeType)};
}

bool WriteEmbeddedPicture(const QString& path, const EmbeddedPicture& picture)
{
    const QByteArray name = EncodeFileName(path);
    TagLib::FileRef ref(name.constData(), false);
    TagLib::File* file = ref.file();
    if (!file || !file->isValid() || picture.bytes.isEmpty()) return false;
    const TagLib::ByteVector bytes(picture.bytes.constData(), unsigned(picture.bytes.size()));
    const TagLib::String mimeType(picture.mimeType.toStdString(), TagLib::String::UTF8);
    const auto flacPicture = [&] {
        auto* made = new TagLib::FLAC::Picture;
        made->setType(TagLib::FLAC::Picture::FrontCover);
        made->setMimeType(mimeType);
        made->setData(bytes);
        return made;
    };
    if (auto* mpeg = dynamic_cast<TagLib::MPEG::File*>(file)) {
        TagLib::ID3v2::Tag* tag = mpeg->ID3v2Tag(true);
        tag->removeFrames("APIC");
        auto* frame = new TagLib::ID3v2::AttachedPictureFrame;
        frame->setType(TagLib::ID3v2::AttachedPictureFrame::FrontCover);
        frame->setMimeType(mimeType);
        frame->setPicture(bytes);
        tag->addFrame(frame);
    } else if (auto* flac = dynamic_cast<TagLib::FLAC::File*>(file)) {
        flac->removePictures();
        flac->addPicture(flacPicture());
    } else if (auto* vorbis = dynamic_cast<TagLib::Ogg::Vorbis::File*>(file); vorbis && vorbis->tag()) {
        vorbis->tag()->removeAllPictures();
        vorbis->tag()->addPicture(flacPicture());
    } else if (auto* opus = dynamic_cast<TagLib::Ogg::Opus::File*>(file); opus && opus->tag()) {
        opus->tag()->removeAllPictures();
        opus->tag()->addPicture(flacPicture());
    } else {
        return false;
    }
    return file->save();
}

QString CoverArtFile(const QString& mediaPath)
{
    if (mediaPath.isEmpty()) return {};
    if (const Picture picture = embeddedPicture(mediaPath); !picture.bytes.isEmpty())
        if (const QString file = cached(picture); !file.isEmpty()) return file;
    return FolderCoverArt(QFileInfo(mediaPath).absolutePath());
}

}  // namespace platform
