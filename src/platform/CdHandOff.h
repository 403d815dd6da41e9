#pragma once
// "Exit and continue play": the playing disc is handed to a small detached player process that
// plays on to the end of the disc, and the next start of the program takes it back.

#include <QString>
#include <cstdint>
#include <optional>

namespace platform {

// Where the handed-over player notes what it plays.
QString HandOffStateFile();

// Starts the player on the disc at positionMs (from the disc's start). False when it cannot run.
bool HandDiscOver(int32_t positionMs);

// Ends a handed-over player that still plays the disc at source and returns where it stood
// (milliseconds from the disc's start); nothing when no such player runs.
std::optional<int32_t> TakeDiscBack(const QString& source);

// The state file's text for the player with pid, playing source from startMs at the given moment.
QString HandOffState(qint64 pid, const QString& source, int32_t startMs, qint64 startedAtMs);

}  // namespace platform
