#include "platform/Loudness.h"

#include <ebur128.h>

#include <algorithm>
#include <cmath>

namespace platform {

namespace {

constexpr double ReferenceLufs = -18.0;

double gainOf(double lufs) { return std::isfinite(lufs) ? ReferenceLufs - lufs : 0.0; }

}  // namespace

struct LoudnessMeter::State {
    ebur128_state* meter = nullptr;
    int channels = 0, rate = 0;
    ~State()
    {
        if (meter) ebur128_destroy(&meter);
    }
};

LoudnessMeter::LoudnessMeter() : state_(std::make_unique<State>()) { }

LoudnessMeter::~LoudnessMeter() = default;

void LoudnessMeter::add(const float* samples, size_t frames, int channels, int rate)
{
    if (!state_->meter && channels > 0 && rate > 0) {
        state_->meter = ebur128_init(unsigned(channels), unsigned(rate), EBUR128_MODE_I | EBUR128_MODE_SAMPLE_PEAK);
        state_->channels = channels;
        state_->rate = rate;
    }
    if (state_->meter && channels == state_->channels && rate == state_->rate)
        ebur128_add_frames_float(state_->meter, samples, frames);
}

double LoudnessMeter::gainDb() const
{
    double lufs = -HUGE_VAL;
    if (state_->meter) ebur128_loudness_global(state_->meter, &lufs);
    return gainOf(lufs);
}

double LoudnessMeter::peak() const
{
    double highest = 0;
    for (int c = 0; state_->meter && c < state_->channels; ++c) {
        double peak = 0;
        if (ebur128_sample_peak(state_->meter, unsigned(c), &peak) == EBUR128_SUCCESS) highest = std::max(highest, peak);
    }
    return highest;
}

double LoudnessMeter::AlbumGainDb(const std::vector<const LoudnessMeter*>& tracks)
{
    std::vector<ebur128_state*> meters;
    for (const LoudnessMeter* track : tracks)
        if (track && track->state_->meter) meters.push_back(track->state_->meter);
    double lufs = -HUGE_VAL;
    if (!meters.empty()) ebur128_loudness_global_multiple(meters.data(), meters.size(), &lufs);
    return gainOf(lufs);
}

double LoudnessMeter::AlbumPeak(const std::vector<const LoudnessMeter*>& tracks)
{
    double highest = 0;
    for (const LoudnessMeter* track : tracks)
        if (track) highest = std::max(highest, track->peak());
    return highest;
}

}  // namespace platform
