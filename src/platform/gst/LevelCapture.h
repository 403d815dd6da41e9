#pragma once
// The sound card's input level: a capture pipeline ($SONORELL_CAPTURE_SOURCE, else autoaudiosrc)
// ending in a level element. Only the peaks are kept; no sample is stored.

#include <array>
#include <cstdint>
#include <memory>

typedef struct _GstElement GstElement;
typedef struct _GstMessage GstMessage;

namespace platform::gst {

class LevelCapture {
public:
    LevelCapture();
    ~LevelCapture();
    LevelCapture(const LevelCapture&) = delete;
    LevelCapture& operator=(const LevelCapture&) = delete;

    // True when capture runs; false when no capture source could start.
    bool start();
    void stop();
    bool running() const { return pipeline_ != nullptr; }
    // The latest peak of channel 0 or 1 as a control value 0..32767; a mono source gives its one
    // channel for both.
    int32_t peak(int channel);

private:
    void poll();
    void notePeaks(GstMessage* message);
    GstElement* pipeline_ = nullptr;
    std::array<int32_t, 2> peaks_{};
};

}  // namespace platform::gst
