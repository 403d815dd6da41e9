#pragma once
// Paths that stand for a part of a sound file rather than a file: an album image's track. The
// media device opens and cues them like files; its positions and length are the part's own.
// Who knows such paths registers how to read them.

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

namespace platform::mci {

struct FileSection {
    std::string file;        // the sound file the part lies in
    int64_t startFrame = 0;  // frames of 1/75 s from the file's start
    int64_t endFrame = -1;   // -1: the file's end
};

using SectionReader = std::function<std::optional<FileSection>(const std::string& path)>;

// Replaces the reader (an empty one: no path is a section).
void SetSectionReader(SectionReader reader);
std::optional<FileSection> SectionOf(const std::string& path);

}  // namespace platform::mci
