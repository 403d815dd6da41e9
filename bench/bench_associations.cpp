// The associations window's check with every entry handled: every rebuild of its two lists reads
// the class store a few times an entry, and each Add or Delete rebuilds them once.

#include "associations/Form9.h"
#include "associations/Module1.h"
#include "platform/Registry.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QTemporaryDir>

namespace {

bool failed = false;  // a benchmark that could not measure what it says fails the run

void associateAll()
{
    for (const QString& entry : associations::TypeTable) {
        associations::FileTypeRecord record;
        record.extension = entry;
        record.typeName = QStringLiteral("Cantorine_") + entry;
        record.description = entry + QStringLiteral(" file");
        const bool disc = entry == associations::AudioDiscEntry;
        record.verbs = {disc ? QStringLiteral("play") : QStringLiteral("Open")};
        record.commandLines = {disc ? associations::PlayCommandLine() : associations::OpenCommandLine()};
        associations::CreateAssociation(record);
    }
}

void CheckWithEveryTypeHandled(benchmark::State& state)
{
    associateAll();
    associations::Form9 window;
    for (auto _ : state) {
        window.CheckPoiaEinaiHDH();
        benchmark::DoNotOptimize(window.List1->count());
    }
    if (window.List1->count() != int(associations::TypeTable.size())) {
        failed = true;
        state.SkipWithError("not every type was found handled");
    }
}
BENCHMARK(CheckWithEveryTypeHandled)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv)
{
    QTemporaryDir root;
    setenv("XDG_CONFIG_HOME", root.path().toUtf8().constData(), 1);
    setenv("XDG_DATA_HOME", root.path().toUtf8().constData(), 1);
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    return failed ? 1 : 0;
}
