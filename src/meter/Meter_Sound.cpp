#include "meter/Meter_Sound.h"
#include "platform/gst/LevelCapture.h"

#include <cstdlib>

namespace Meter_Sound {

namespace {

platform::gst::LevelCapture& capture()
{
    static platform::gst::LevelCapture* c = new platform::gst::LevelCapture;  // lives to the end
    return *c;
}

}  // namespace

bool StartInput() { return capture().start(); }
void StopInput() { capture().stop(); }
bool InputRunning() { return capture().running(); }
int32_t ControlValue(int channel) { return capture().peak(channel); }

int LitSegments(int32_t value)
{
    const int64_t v = std::llabs(int64_t(value));
    int top = int(v / 2304) - 1;
    if (top > 9) top = 9;
    return top + 1;
}

}  // namespace Meter_Sound
