#pragma once
// The loudness of a track, and of the tracks of an album together, as ReplayGain 2 measures it
// (EBU R 128 integrated loudness, -18 LUFS the reference), and the track's highest sample.

#include <cstddef>
#include <memory>
#include <vector>

namespace platform {

class LoudnessMeter {
public:
    LoudnessMeter();
    ~LoudnessMeter();
    LoudnessMeter(const LoudnessMeter&) = delete;
    LoudnessMeter& operator=(const LoudnessMeter&) = delete;

    // Interleaved samples, -1..1; the first call fixes the channels and the rate (a later call
    // with others is left out).
    void add(const float* samples, size_t frames, int channels, int rate);
    // To bring the track to the reference; 0 when nothing audible was measured.
    double gainDb() const;
    // The highest sample, 0..1 (more when the sound clips).
    double peak() const;

    // The gain of the tracks heard as one album, and their highest sample.
    static double AlbumGainDb(const std::vector<const LoudnessMeter*>& tracks);
    static double AlbumPeak(const std::vector<const LoudnessMeter*>& tracks);

private:
    struct State;
    std::unique_ptr<State> state_;
};

}  // namespace platform
