#pragma once
// Opening a media file as the engine that plays it.

#include "platform/gst/Engine.h"

#include <cstdint>
#include <memory>
#include <string>

namespace platform::gst {

// Prerolls the file (a file:// URI) and waits, bounded, until it is ready or refused: a sound
// file on the shared output (taken over as it plays when the output already went on to it), or a
// file with a picture drawn into parentWindow (when it is not 0). Null when it cannot be decoded.
std::unique_ptr<Engine> OpenMediaFile(const std::string& uri, uint64_t parentWindow);

// The URI of a part of a sound file: frames [startFrame, endFrame) of 1/75 s, endFrame -1 for the
// file's end. It opens and cues like a file whose positions and length are the part's own.
std::string SectionUri(const std::string& fileUri, int64_t startFrame, int64_t endFrame);

}  // namespace platform::gst
