#pragma once
// The auxiliary output volumes: device 0 is the media stream, device 2 the CD stream.
// A value holds the left channel in its low 16 bits and the right channel in its high 16 bits.

#include <cstdint>
#include <functional>

namespace platform {

constexpr uint32_t AuxMedia = 0;
constexpr uint32_t AuxCd = 2;
constexpr uint32_t AuxFull = 0xFFFFFFFFu;

// The device's value; full volume when never set. Unknown devices read as 0.
uint32_t auxGetVolume(uint32_t device);
// Stores the value (remembered between runs) and applies it to the device's stream at once.
// Returns false for an unknown device.
bool auxSetVolume(uint32_t device, uint32_t value);

// The louder channel as a gain 0..1, what a stream's volume element is set to.
double auxGain(uint32_t device);

// Streams register to hear volume changes; the returned id removes the listener.
using AuxListener = std::function<void(uint32_t device)>;
int addAuxListener(AuxListener listener);
void removeAuxListener(int id);

// Forgets the values read so far, so the settings store is read again (tests).
void resetAuxVolumes();

}  // namespace platform
