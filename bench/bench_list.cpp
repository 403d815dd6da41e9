// The track list at scale: adding a folder of 10,000 tagged files (MP3, FLAC, Opus, M4A) through the Add Directory
// button until the list is shown, and loading a list file of 10,000 lines.

#include "../tests/shell/ModalDriver.h"
#include "common/Globals.h"
#include "fixtures/Media.h"
#include "metadata/Mp3Tag_Functions.h"
#include "platform/Dialogs.h"
#include "player/Form1.h"
#include "shell/Form5.h"
#include "player/Form6.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QListWidget>
#include <QTemporaryDir>

#include <memory>
#include <vector>

using namespace Mp3Tag_Functions;

namespace {

constexpr int Files = 10000;

struct Setup {
    QTemporaryDir home, media;
    QString folder;
    QString listFile;
    std::unique_ptr<player::Form1> window;

    Setup()
    {
        setenv("SONORELL_HOME", home.path().toUtf8().constData(), 1);
        setenv("SONORELL_CD_DEVICE", "none", 1);
        platform::setDialogRecorder([](const platform::DialogCall&) { return platform::AnswerOk; });
        folder = media.path() + QStringLiteral("/big");
        QDir().mkpath(folder);
        // Today's mixed folder: ID3v1 MP3s, ID3v2-only MP3s, FLAC, Opus and M4A, tagged by mutagen.
        const std::string seeds = media.path().toStdString();
        struct Seed {
            fixtures::Media kind;
            const char* name;
            const char* tag;
        };
        const Seed kinds[] = {{fixtures::Media::Mp3Cbr, "v1.mp3", nullptr},
                              {fixtures::Media::Mp3Cbr, "v2.mp3", "id3v2.4"},
                              {fixtures::Media::Flac, "f.flac", "vorbis"},
                              {fixtures::Media::Opus, "o.opus", "vorbis"},
                              {fixtures::Media::M4a, "m.m4a", "mp4"}};
        std::vector<QString> seedPaths;
        for (const Seed& k : kinds) {
            const auto made = fixtures::makeMedia(seeds, k.kind, 0.1, k.name);
            if (k.tag) fixtures::tagWithMutagen(made.path, k.tag, "Τραγούδι", "Καλλιτέχνης", "Δίσκος");
            seedPaths.push_back(QString::fromStdString(made.path));
        }
        QByteArray list;
        for (int i = 0; i < Files; ++i) {
            const QString& seed = seedPaths[std::size_t(i) % seedPaths.size()];
            const QString path =
                folder + QStringLiteral("/track%1").arg(i, 5, 10, QLatin1Char('0')) + seed.mid(seed.lastIndexOf('.'));
            QFile::copy(seed, path);
            if (i % 5 == 0) {
                TagRecord tag = BlankTag();
                SetField(tag.Title, QStringLiteral("Τραγούδι %1").arg(i));
                WriteTag(path, tag);
            }
            list += path.toUtf8() + "\r\n";
        }
        listFile = media.path() + QStringLiteral("/big.list");
        QFile f(listFile);
        f.open(QIODevice::WriteOnly);
        f.write(list);
        f.close();
        window = std::make_unique<player::Form1>(QString(), [](player::Form1* m) { return new shell::Form5(m); });
        window->Start();
    }
};

Setup& setup()
{
    static Setup s;
    return s;
}

// The lines the list shows, found as a user's tools find it.
int shownEntries(const player::Form1& window) { return window.findChild<QListWidget*>(QStringLiteral("List1"))->count(); }

void AddDirectoryOfTenThousandTaggedFilesOfMixedFormats(benchmark::State& state)
{
    Setup& s = setup();
    for (auto _ : state) {
        state.PauseTiming();
        s.window->RemoveAllEntries();
        whenShown<player::Form6>([&](player::Form6& f) {
            f.Dir1->setPath(s.folder);
            state.ResumeTiming();  // from the user's OK on
            f.Command1_Click();
        });
        s.window->Image31_Click();
        benchmark::DoNotOptimize(shownEntries(*s.window));
    }
    if (shownEntries(*s.window) != Files) state.SkipWithError("not every file was added");
}
BENCHMARK(AddDirectoryOfTenThousandTaggedFilesOfMixedFormats)->Unit(benchmark::kMillisecond)->Iterations(5);

void LoadTrackListOfTenThousandLines(benchmark::State& state)
{
    Setup& s = setup();
    for (auto _ : state) {
        QString path = s.listFile;
        s.window->LoadTrackList(path);
        benchmark::DoNotOptimize(shownEntries(*s.window));
    }
    if (shownEntries(*s.window) != Files) state.SkipWithError("not every line was loaded");
}
BENCHMARK(LoadTrackListOfTenThousandLines)->Unit(benchmark::kMillisecond)->MinWarmUpTime(0.3);

}  // namespace

int main(int argc, char** argv)
{
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    setenv("SONORELL_AUDIO_SINK", "fakesink sync=true", 1);
    QTemporaryDir config;
    setenv("XDG_CONFIG_HOME", config.path().toUtf8().constData(), 1);
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    setup().window->Shutdown();
    benchmark::Shutdown();
    return 0;
}
