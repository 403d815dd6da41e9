// What the one-second tick costs in CD mode: the device queries it sends, on a disc image.

#include "fixtures/DiscImage.h"
#include "media/CDAudio.h"
#include "platform/mci/Interpreter.h"

#include <benchmark/benchmark.h>

#include <QTemporaryDir>

#include <cstdlib>

namespace {

struct Disc {
    QTemporaryDir folder;
    fixtures::DiscImage image = fixtures::makeStandardDisc(folder.path().toStdString());
    Disc()
    {
        setenv("SONORELL_CD_DEVICE", image.cue.c_str(), 1);
        media::CDAudio().ReadyDevice();
    }
};

Disc& disc()
{
    static Disc d;
    return d;
}

void StatusPosition(benchmark::State& state)
{
    disc();
    char reply[30];
    for (auto _ : state) benchmark::DoNotOptimize(platform::mci::SendString("status cd position", reply, sizeof reply));
}
BENCHMARK(StatusPosition);

// The tick's CD queries: track count, mode, position in tmsf, then the time in milliseconds.
void TickQueries(benchmark::State& state)
{
    disc();
    media::CDAudio cd;
    if (state.range(0)) cd.PlayCD();
    for (auto _ : state) {
        benchmark::DoNotOptimize(cd.GetNumTracks());
        benchmark::DoNotOptimize(cd.CheckIfPlaying());
        benchmark::DoNotOptimize(cd.GetCDPosition_FUN());
        cd.SetFormat_milliseconds();
        benchmark::DoNotOptimize(cd.GetCDPosition_FUN());
        benchmark::DoNotOptimize(cd.GetTrackLength(2));
        cd.SetFormat_tmsf();
        benchmark::DoNotOptimize(cd.GetCDPosition_FUN());
    }
    cd.StopCD();
}
BENCHMARK(TickQueries)->Arg(0)->Arg(1)->ArgName("playing")->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
