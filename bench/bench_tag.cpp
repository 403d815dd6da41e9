// Reading the tags of 10,000 files from the page cache: what adding a big folder costs.

#include "metadata/Mp3Tag_Functions.h"

#include <benchmark/benchmark.h>

#include <QFile>
#include <QTemporaryDir>

using namespace Mp3Tag_Functions;

namespace {

struct Folder {
    QTemporaryDir dir;
    QStringList paths;
    Folder()
    {
        const QByteArray audio(4096, 'a');
        for (int i = 0; i < 10000; ++i) {
            const QString path = dir.path() + QStringLiteral("/track%1.mp3").arg(i);
            QFile f(path);
            f.open(QIODevice::WriteOnly);
            f.write(audio);
            f.close();
            TagRecord tag = BlankTag();
            SetField(tag.Title, QStringLiteral("Τραγούδι %1").arg(i));
            WriteTag(path, tag);
            paths << path;
        }
    }
};

Folder& folder()
{
    static Folder f;
    return f;
}

void ReadTagsOfTenThousandFiles(benchmark::State& state)
{
    const QStringList& paths = folder().paths;
    for (auto _ : state) {
        qsizetype named = 0;
        for (const QString& path : paths) {
            const TagRecord tag = ReadTag(path);
            if (HasTag(tag)) named += TrimTrailingBlanks(FieldText(tag.Title)).size();
        }
        benchmark::DoNotOptimize(named);
    }
}
BENCHMARK(ReadTagsOfTenThousandFiles)->Unit(benchmark::kMillisecond)->MinWarmUpTime(0.5);

}  // namespace

BENCHMARK_MAIN();
