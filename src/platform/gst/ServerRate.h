#pragma once
// The sample rate the desktop's sound server mixes at, asked once over its own protocol.

namespace platform::gst {

// 0 when no server answers within timeoutMs (or it is not a pulse protocol server).
int soundServerRate(int timeoutMs);

}  // namespace platform::gst
