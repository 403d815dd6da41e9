// Opening a media file until its length is known: what starting a list entry costs.

#include "fixtures/Media.h"
#include "media/ModuleMCI.h"

#include <benchmark/benchmark.h>

#include <QTemporaryDir>

namespace {

struct Files {
    QTemporaryDir folder;
    fixtures::MediaFile mp3 = fixtures::makeMedia(folder.path().toStdString(), fixtures::Media::Mp3Cbr, 60.0);
    fixtures::MediaFile vbr = fixtures::makeMedia(folder.path().toStdString(), fixtures::Media::Mp3Vbr, 60.0);
};

Files& files()
{
    static Files f;
    return f;
}

void OpenToReady(benchmark::State& state, const std::string& path)
{
    for (auto _ : state) {
        uint64_t parent = 0;
        ModuleMCI::OpenMedia(parent, "ToTrexonTragoydi", path, "MPEGVideo");
        benchmark::DoNotOptimize(ModuleMCI::GetMediaLength("ToTrexonTragoydi"));
        state.PauseTiming();
        ModuleMCI::CloseMedia("ToTrexonTragoydi");
        state.ResumeTiming();
    }
}

void OpenToReadyCbrMp3(benchmark::State& state) { OpenToReady(state, files().mp3.path); }
void OpenToReadyVbrMp3(benchmark::State& state) { OpenToReady(state, files().vbr.path); }
BENCHMARK(OpenToReadyCbrMp3)->Unit(benchmark::kMillisecond)->MinWarmUpTime(0.5)->Repetitions(5)->ReportAggregatesOnly(true);
BENCHMARK(OpenToReadyVbrMp3)->Unit(benchmark::kMillisecond)->MinWarmUpTime(0.5)->Repetitions(5)->ReportAggregatesOnly(true);

void TickQueries(benchmark::State& state)
{
    uint64_t parent = 0;
    ModuleMCI::OpenMedia(parent, "ToTrexonTragoydi", files().mp3.path, "MPEGVideo");
    std::string from, to;
    ModuleMCI::PlayMedia("ToTrexonTragoydi", from, to);
    int32_t length = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(ModuleMCI::GetMediaMode("ToTrexonTragoydi"));
        benchmark::DoNotOptimize(ModuleMCI::GetMediaPosition("ToTrexonTragoydi"));
        benchmark::DoNotOptimize(ModuleMCI::IsMediaAtEnd("ToTrexonTragoydi", length));
    }
    ModuleMCI::CloseMedia("ToTrexonTragoydi");
}
BENCHMARK(TickQueries)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
