#pragma once
// Program-wide state shared by every window.

#include <QString>
#include <cstdint>
#include <memory>
#include <string>

namespace media {
class CDAudio;
}  // namespace media

namespace common {

enum class PlayerMode { Cd, Media };  // "CD-Player" and "MM-Player"

struct Globals {
    std::shared_ptr<media::CDAudio> CdDevice;  // the one CD device wrapper, made at start-up
    PlayerMode Mode = PlayerMode::Cd;          // until start-up chooses
    bool LanguageGreek = true;                 // language in force
    bool LanguageGreekToSave = true;           // language chosen in the menu, in force next start
    bool ListShown = false;                    // the list panel of the main window is shown
    bool Continuous = false;                   // continuous play is on
    bool DialogOpen = false;                   // a secondary window is open
    bool UserListClick = false;                // the next click on the list is the user's
    int32_t DiscSerial = 0;                    // the disc's catalogue section
    QString ChosenFile;                        // file chooser result, empty when cancelled
    QString LastFolder;                        // last folder chosen in the choosers
    bool MeterSliding = false;                 // the meter window is sliding
};

// The program's title, what its windows and message boxes are called.
inline QString AppTitle() { return QStringLiteral("Sonorell Player"); }

// The single instance.
Globals& globals();

// Back to the start-up values (tests).
void resetGlobals();

// The alias every routine opens the current media file under.
inline const std::string MediaAlias = "ToTrexonTragoydi";

inline bool InMediaMode() { return globals().Mode == PlayerMode::Media; }

}  // namespace common
