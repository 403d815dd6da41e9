// The menu commands.

#include "shell/Form5.h"
#include "metadata/AlbumImage.h"
#include "player/Form1.h"
#include "shell/Windows.h"
#include "catalogue/Form2.h"
#include "encoder/EncoderWindow.h"
#include "platform/cdrom/Disc.h"
#include "common/Globals.h"
#include "common/Language.h"
#include "common/ProgramFolder.h"
#include "media/CDAudio.h"
#include "media/ModuleMCI.h"
#include "metadata/Mp3Tag_ListFiles.h"
#include "platform/Dialogs.h"
#include "platform/ReplayGain.h"
#include "platform/Settings.h"

#include <QCoreApplication>
#include <QProcess>

namespace shell {

namespace {

using common::MediaAlias;

int say(const QString& text, platform::DialogIcon icon = platform::DialogIcon::None, const QString& title = {},
        platform::DialogButtons buttons = platform::DialogButtons::Ok)
{
    return platform::ShowMessage({text, title, icon, buttons});
}

// A track of an album image: its part of the sound file, named and tagged as the sheet says.
encoder::ConvertSource imageTrackSource(const Mp3Tag_Functions::ImageTrack& track)
{
    const QString number = QStringLiteral("%1").arg(track.number, 2, 10, QLatin1Char('0'));
    const QString title = track.title.isEmpty() ? QStringLiteral("Track ") + number : track.title;
    return {Mp3Tag_Functions::ImageTrackLine(track),
            number + QLatin1Char(' ') + title,
            track.file,
            {{QStringLiteral("TITLE"), title},
             {QStringLiteral("ARTIST"), track.performer.isEmpty() ? track.albumPerformer : track.performer},
             {QStringLiteral("ALBUMARTIST"), track.albumPerformer},
             {QStringLiteral("ALBUM"), track.album},
             {QStringLiteral("TRACKNUMBER"), QString::number(track.number)}}};
}

}  // namespace

void Form5::connectCommands()
{
    auto on = [this](const char* name, auto handler) {
        connect(item(QString::fromLatin1(name)), &QAction::triggered, this, handler);
    };
    // A check item's toggle decides its mark itself, from the mark as it was before the click.
    auto toggle = [this](const char* name, void (Form5::*handler)()) {
        QAction* a = item(QString::fromLatin1(name));
        connect(a, &QAction::triggered, this, [this, a, handler] {
            a->setChecked(!a->isChecked());
            (this->*handler)();
        });
    };
    on("hhhdgf", &Form5::hhhdgf_Click);
    on("Dokimh1", &Form5::Dokimh1_Click);
    toggle("Show_List_Menu", &Form5::Show_List_Menu_Click);
    toggle("Show_List_Menu2", &Form5::Show_List_Menu_Click);
    toggle("TrayMenu", &Form5::TrayMenu_Click);
    toggle("eikoll", &Form5::TrayMenu_Click);
    toggle("synexeia", &Form5::synexeia_Click);
    toggle("synexeia2", &Form5::synexeia_Click);
    toggle("Mixer_Menu", &Form5::Mixer_Menu_Click);
    toggle("Mixer_Menu2", &Form5::Mixer_Menu_Click);
    toggle("OnlineTitles", &Form5::OnlineTitles_Click);
    for (const char* exit : {"exit33", "exit2_2", "exitBRE"}) on(exit, &Form5::exitProgram);
    on("ExitWithContinue", [this] {
        ExitWithContinue->setChecked(true);
        exitProgram();
    });
    on("epanafora", &Form5::epanafora_Click);
    on("play11", [this] { main_->Image2_Click(); });
    on("diakoph", [this] { main_->Image3_Click(); });
    on("eject22", [] { common::globals().CdDevice->EjectCD(); });
    on("sxetika", &Form5::sxetika_Click);
    on("Plhr_Mp3", &Form5::Plhr_Mp3_Click);
    on("removefile", &Form5::removefile_Click);
    on("removeALL", &Form5::removeALL_Click);
    on("RunDecoder", &Form5::RunDecoder_Click);
    on("RipDisc", &Form5::RipDisc_Click);
    toggle("ReplayGain", &Form5::ReplayGain_Click);
    on("greek_language_menu", &Form5::greek_language_menu_Click);
    on("english_language_menu", &Form5::english_language_menu_Click);
    on("rytmiseis_menu", &Form5::rytmiseis_menu_Click);
    on("sxetikk", &Form5::sxetikk_Click);
    // Both popups that list things are filled just before they open.
    // The tray host shows the tray menu itself on a right click: what the icon's right button does
    // runs first, then the menu's preparation.
    connect(as87[2], &QMenu::aboutToShow, this, [this] {
        TrayRightClick();
        as87_Click(2);
    });
    connect(as87[3], &QMenu::aboutToShow, this, [this] { as87_Click(3); });
}

void Form5::exitProgram()
{
    main_->close();
    QCoreApplication::quit();
}

// The edit list and preview commands need an audio disc of two tracks or more.
bool Form5::discHasTracks(const char* greekMessage)
{
    if (common::globals().CdDevice->GetNumTracks() >= 2) return true;
    if (common::globals().LanguageGreek)
        say(QString::fromUtf8(greekMessage), platform::DialogIcon::Critical, QString::fromUtf8("Δέν υπάρχει AudioCD."));
    else
        say(QStringLiteral("Please put first a AudioCD"));
    return false;
}

void Form5::hhhdgf_Click()
{
    if (discHasTracks("Τοποθέτησε στο CD-ROM κάποιο μουσικό AudioCD,\nγια να επεξεργαστείς την λίστα των τραγουδιών."))
        catalogue::OpenTitleEditor(*main_, item(QStringLiteral("hhhdgf"))->text());
}

void Form5::Dokimh1_Click()
{
    if (discHasTracks("Τοποθέτησε στο CD-ROM κάποιο μουσικό AudioCD, πρώτα !!!"))
        OpenTracksPreview(*main_, item(QStringLiteral("Dokimh1"))->text());
}

void Form5::Plhr_Mp3_Click()
{
    if (main_->Tracks().isEmpty()) {
        say(common::Lang("Δέν υπάρχουν τραγούδια στη λίστα.", "No Tracks in list."));
        return;
    }
    OpenTracksInfo(*main_, item(QStringLiteral("Plhr_Mp3"))->text());
}

void Form5::rytmiseis_menu_Click() { OpenAssociations(*main_, item(QStringLiteral("rytmiseis_menu"))->text()); }

void Form5::sxetika_Click() { OpenAbout(*main_, {}); }

void Form5::sxetikk_Click() { OpenAbout(*main_, item(QStringLiteral("sxetikk"))->text()); }

void Form5::removefile_Click()
{
    if (!main_->RemoveEntry(main_->SelectedEntry())) {
        say(common::Lang(
            "Επιλέξτε κάποιο τραγούδι απο την λίστα τραγουδιών\nκαι στην συνέχεια αφαιρέστε το τραγούδι απο την λίστα.",
            "You must select first a track from list"));
        return;
    }
}

void Form5::removeALL_Click()
{
    const int answer =
        say(common::Lang("Είσαι σίγουρος ο,τι θέλεις να αφαιρέσεις όλα τα αρχεία;", "Are you sure, you want remove all tracks?"),
            platform::DialogIcon::Question, {}, platform::DialogButtons::YesNo);
    if (answer != platform::AnswerYes) return;
    main_->RemoveAllEntries();
}

// The encoder is built in: the list's files (and tracks of album images), converted.
void Form5::RunDecoder_Click()
{
    QList<encoder::ConvertSource> files;
    for (const QString& path : main_->Tracks().paths()) {
        if (const auto track = Mp3Tag_Functions::ImageTrackOfLine(path)) {
            files << imageTrackSource(*track);
        } else if (Mp3Tag_Functions::FileExists(path)) {
            files << encoder::ConvertSource{path, {}, {}, {}};
        }
    }
    if (files.isEmpty()) {
        say(common::Lang("Πρόσθεσε πρώτα αρχεία στη λίστα.", "Add files to the list first."), platform::DialogIcon::Information);
        return;
    }
    showEncoder(new encoder::EncoderWindow(files, main_));
}

// Files play at their ReplayGain unless switched off; kept in the settings, on by default.
void Form5::ReplayGain_Click()
{
    QAction* a = item(QStringLiteral("ReplayGain"));
    const bool on = !a->isChecked();
    a->setChecked(on);
    platform::ApplyReplayGain(on);
    platform::SaveSetting(QStringLiteral("Sonorell"), QStringLiteral("REPLAYGAIN"),
                          on ? QStringLiteral("True") : QStringLiteral("False"));
}

void Form5::RipDisc_Click()
{
    if (!discHasTracks("Τοποθέτησε στο CD-ROM κάποιο μουσικό AudioCD, πρώτα !!!")) return;
    auto* window = new encoder::EncoderWindow(platform::cdrom::defaultSource(), main_);
    connect(window, &encoder::EncoderWindow::Starting, this, [] { common::globals().CdDevice->StopCD(); });
    showEncoder(window);
}

void Form5::showEncoder(encoder::EncoderWindow* window)
{
    window->setAttribute(Qt::WA_DeleteOnClose);
    window->show();
    Encoder = window;
}

void Form5::greek_language_menu_Click()
{
    common::globals().LanguageGreekToSave = true;
    say(QString::fromUtf8("Οι νέες ρυθμίσεις θα ισχύουν απο την επόμενη φόρα."));
}

void Form5::english_language_menu_Click()
{
    common::globals().LanguageGreekToSave = false;
    say(QStringLiteral("You must restart program."));
}

}  // namespace shell
