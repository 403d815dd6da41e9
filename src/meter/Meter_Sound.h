#pragma once
// The input level behind the meter window: capture runs only while the window is loaded.

#include <cstdint>

namespace Meter_Sound {

// True when capture runs (or already ran); false when no capture source opens.
bool StartInput();
void StopInput();
bool InputRunning();
// The peak of channel 0 (left) or 1 (right) as a control value 0..32767.
int32_t ControlValue(int channel);

// Lit segments of a column for a control value: v \ 2304, at most 10; negative values as positive.
int LitSegments(int32_t value);

}  // namespace Meter_Sound
