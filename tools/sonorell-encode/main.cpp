// The encoder without windows: rips a disc or image, or converts files.
//   sonorell-encode [--disc DEVICE|IMAGE] [FILE…] --format flac|opus|mp3 [--quality Q] [--offset N]
//                   [--tracks 1,3-5] --output DIR
// One line per track as it ends; the exit status is non-zero when anything failed.

#include "encoder/Converter.h"
#include "encoder/Ripper.h"
#include "encoder/Titles.h"

#include <QCoreApplication>
#include <QStandardPaths>
#include <QStringList>

#include <cstdio>
#include <optional>

namespace {

struct Arguments {
    std::string disc;
    QStringList files;
    platform::gst::EncodeSettings settings;
    int offset = 0;
    QList<int> tracks;
    QString output;
};

int usage(const char* why)
{
    std::fprintf(stderr,
                 "sonorell-encode: %s\nusage: sonorell-encode [--disc DEVICE|IMAGE] [FILE...] --format flac|opus|mp3 "
                 "[--quality Q] [--offset N] [--tracks 1,3-5] --output DIR\n",
                 why);
    return 2;
}

// "1,3-5" as the tracks it names; nullopt when it is not such a list.
std::optional<QList<int>> trackList(const QString& text)
{
    QList<int> tracks;
    for (const QString& part : text.split(QLatin1Char(','))) {
        const QStringList ends = part.split(QLatin1Char('-'));
        bool ok[2] = {false, true};
        const int from = ends[0].toInt(&ok[0]);
        const int to = ends.size() == 2 ? ends[1].toInt(&ok[1]) : from;
        if (ends.size() > 2 || !ok[0] || !ok[1] || from < 1 || to < from || to > 99) return std::nullopt;
        for (int t = from; t <= to; ++t) tracks << t;
    }
    return tracks;
}

std::optional<platform::gst::EncodeFormat> formatNamed(const QString& name)
{
    if (name == QLatin1String("flac")) return platform::gst::EncodeFormat::Flac;
    if (name == QLatin1String("opus")) return platform::gst::EncodeFormat::Opus;
    if (name == QLatin1String("mp3")) return platform::gst::EncodeFormat::Mp3;
    return std::nullopt;
}

// The arguments read; an error text when they cannot be.
QString readArguments(const QStringList& words, Arguments& out)
{
    bool formatGiven = false;
    for (int i = 0; i < words.size(); ++i) {
        const QString& word = words[i];
        const bool takesValue = word == QLatin1String("--disc") || word == QLatin1String("--format") ||
                                word == QLatin1String("--quality") || word == QLatin1String("--offset") ||
                                word == QLatin1String("--tracks") || word == QLatin1String("--output");
        if (!takesValue) {
            if (word.startsWith(QLatin1String("--"))) return QStringLiteral("unknown option ") + word;
            out.files << word;
            continue;
        }
        if (i + 1 >= words.size()) return word + QStringLiteral(" needs a value");
        const QString value = words[++i];
        bool ok = true;
        if (word == QLatin1String("--disc")) {
            out.disc = value.toStdString();
        } else if (word == QLatin1String("--format")) {
            const auto format = formatNamed(value);
            if (!format) return QStringLiteral("the format is flac, opus or mp3");
            out.settings.format = *format;
            formatGiven = true;
        } else if (word == QLatin1String("--quality")) {
            out.settings.quality = value.toInt(&ok);
        } else if (word == QLatin1String("--offset")) {
            out.offset = value.toInt(&ok);
        } else if (word == QLatin1String("--tracks")) {
            const auto tracks = trackList(value);
            if (!tracks) return QStringLiteral("tracks are numbers and ranges: 1,3-5");
            out.tracks = *tracks;
        } else {
            out.output = value;
        }
        if (!ok) return word + QStringLiteral(" needs a number");
    }
    if (!formatGiven) return QStringLiteral("--format is needed");
    if (out.output.isEmpty()) return QStringLiteral("--output is needed");
    if (out.disc.empty() && out.files.isEmpty()) return QStringLiteral("nothing to encode: --disc or files");
    return {};
}

void print(const encoder::TrackResult& result, const QString& what)
{
    if (result.ok)
        std::printf("%s: %s\n", qPrintable(what), qPrintable(result.file));
    else
        std::printf("%s: failed: %s\n", qPrintable(what), qPrintable(result.error));
    std::fflush(stdout);
}

}  // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    Arguments args;
    if (const QString error = readArguments(app.arguments().mid(1), args); !error.isEmpty()) return usage(qPrintable(error));
    bool ok = true;
    if (!args.disc.empty()) {
        const encoder::RipOptions options{args.disc, args.output, args.settings, args.offset, args.tracks};
        const encoder::RipReport report = encoder::RipDisc(options, encoder::TitlesOfDisc(args.disc));
        if (!report.error.isEmpty()) std::fprintf(stderr, "sonorell-encode: %s\n", qPrintable(report.error));
        for (const encoder::TrackResult& track : report.tracks)
            print(track, QStringLiteral("track %1 (AccurateRip v1 %2, v2 %3)")
                             .arg(track.track, 2, 10, QLatin1Char('0'))
                             .arg(track.v1, 8, 16, QLatin1Char('0'))
                             .arg(track.v2, 8, 16, QLatin1Char('0')));
        ok = report.ok;
    }
    const QList<encoder::TrackResult> converted = encoder::ConvertFiles(args.files, args.output, args.settings);
    for (qsizetype i = 0; i < converted.size(); ++i) {
        print(converted[i], args.files[i]);
        ok = ok && converted[i].ok;
    }
    return ok ? 0 : 1;
}
