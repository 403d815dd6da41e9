#pragma once
// The main window: the player.

#include "catalogue/TitleHost.h"
#include "metadata/TrackListHost.h"
#include "player/NowShowing.h"
#include "player/PictureButton.h"
#include "player/PlayerState.h"
#include "player/TrackList.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QLabel>
#include <QListWidget>
#include <QPointer>
#include <QRadioButton>
#include <QTimer>
#include <QWidget>

#include <array>
#include <functional>
#include <optional>
#include <memory>
#include <string>

namespace Disk_Volume {
class OnlineTitles;
}  // namespace Disk_Volume

namespace player {

class ValueBar;

class Form10;
class MenuWindow;

class Form1 : public QWidget, public catalogue::TitleHost, public metadata::TrackListHost {
    Q_OBJECT
public:
    using MenuFactory = std::function<MenuWindow*(Form1*)>;

    // commandLine: what the player takes whole (nothing, "/play" or one file, its words joined by
    // single blanks); several paths come through OpenPaths instead.
    Form1(QString commandLine, MenuFactory makeMenu);
    ~Form1() override;

    // Start-up, from the layout to the first tick (the single instance is the program's, not the
    // window's); true once the window is ready.
    bool Start();
    // "/play" or "--play": the disc plays from track one (at start, with the window hidden).
    static bool IsPlaySwitch(const QString& word);
    // The play switch as a later start hands it to the running player: never a path, which is whole.
    static inline const QString PlaySwitchHandedOver = QStringLiteral("--play");
    // The play switch of a later start (the desktop's action for an audio disc put in): the disc
    // plays from track one in place of what played, the window left shown or hidden. False, with
    // nothing changed, when there is no disc of two tracks or more.
    bool PlayDiscFromTrackOne();

    // Called by the menus and other windows.
    void UpdateMP3(int index, bool play);
    // Tells the media device which entry follows the current one under continuous play, so it
    // plays on into it without a gap (or that none does).
    void CueNextEntry();
    void ShowCdTrackInfo();
    void Option1_Click();
    void Option2_Click();
    void Timer2_Timer();
    void Timer1_Timer();
    bool SaveTrackList(QString& path);  // false when the file could not be written
    void LoadTrackList(QString& path);
    void ShowVolumeBar(uint32_t device);
    void ResetHoverImages();
    // Label1 scrolls when its text is wider than width; resetStep starts the typing afresh.
    void StartMarqueeIfTooWide(int width, bool resetStep = true);
    // The main tick's Enabled and Interval: it runs only when enabled with an interval above 0.
    void SetTickInterval(int ms);
    void SetTickEnabled(bool enabled);
    void SetListPanelShown(bool shown);  // the list panel and the list check box
    void Shutdown();                     // what closing the window runs, once
    bool IsShutDown() const { return shutDown_; }

    // The skin buttons' actions (the highlighted twins' clicks) and the other mouse handlers.
    void Image2_Click();   // play / resume
    void Image3_Click();   // pause
    void Image4_Click();   // next
    void Image6_Click();   // previous
    void Image5_Click();   // eject
    void Image15_Click();  // list pop-up
    void Image28_Click();  // save list
    void Image29_Click();  // open list
    void Image30_Click();  // add file
    void Image31_Click();  // add directory
    void List1_Click();
    void List1_DblClick();
    void Check1_Click();
    void Label3_Click();
    void Label5_Click(int index);
    void Image16_MouseDown(int x);  // title strip, x in pixels from its left edge
    void Image17_MouseDown();
    void Image17_MouseMove(int x);  // x: the pointer over the thumb, in pixels
    void Image17_MouseUp();
    void BackgroundMouseMove();  // the window's background and Label1

    // The volume of an auxiliary device as a fraction 0..1, and the channel word of a fraction.
    static float GetOutputVolume(uint32_t device);
    static void SetOutputVolume(float fraction, uint32_t device);
    static uint16_t ChannelWord(float fraction);
    static int LitSegments(float fraction);

    Form10* VideoWindow = nullptr;  // Form10 while a file with a picture is loaded

    // What the slider and the transport show and do, in one place for the keys, the screen
    // reader and the desktop's media controls.
    int64_t PositionMs();  // from the track's start
    int64_t LengthMs();    // of the track or file; 0 when there is none
    bool IsPlaying();
    void PlayPause();      // pause while playing, else play (resume when paused)
    void StartOrResume();  // play unless playing: what plays is left alone
    // When stillMeant is given, it is asked once the entry heard is taken over and shown.
    void SeekTo(int64_t ms, const std::function<bool()>& stillMeant = {});
    // From where the entry heard stands; past its end, the next entry when nextPastTheEnd (as
    // the desktop's seek asks), else its last moment.
    void SeekBy(int64_t deltaMs, bool nextPastTheEnd = false);
    void TakeOverEndedEntry();
    void StepVolume(int segments);
    void SetVolumeTenths(int tenths);  // 0..10, the bar showing it

    MenuWindow* menu() const { return menu_; }
    // The list the window shows; changed only through the window's own routines below.
    const TrackList& Tracks() const { return tracks_; }
    const PlayerState& State() const { return state_; }
    void ShowRemainingTime(bool remaining);  // the time display counts down, or up
    int SelectedEntry() const;               // the line selected in the list, -1 for none
    bool RemoveEntry(int index);             // false when there is no such entry
    void RemoveAllEntries();                 // the player closes what it had loaded
    const QString& commandLine() const { return commandLine_; }

signals:
    void Ticked();          // after every main tick
    void PositionJumped();  // published: the position of the entry on display jumped (a seek, a replay)

protected:
    void closeEvent(QCloseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    void changeEvent(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;

public:
    // What the title editor and the tracks-info window ask of the list and the display.
    QWidget& HostWindow() override { return *this; }
    QStringList EntryLines() const override;
    QStringList EntryTitles() const override;
    QStringList EntryPaths() const override;
    int DisplayedEntry() const override;
    void SetEntryTitle(int index, const QString& title) override;
    void ShowArtistAndAlbum(const QString& artist, const QString& album) override;
    void ShowDisplayedTitle() override;

    // What the window shows, as of the last tick or command (see NowShowing.h). The tick
    // publishes what it has just read; this one, for a command, asks the devices.
    const NowShowing& Showing() const { return showing_; }
    void PublishNowShowing();

    // Titles the catalogue lacks for the disc in the drive: its CD-Text at once, and, when the
    // user allows it, the disc database in the background. Shown as soon as they are written.
    void FindMissingTitles();
    QList<int> AudioTracks();  // of the disc in the drive
    void tellSaveFailuresOnce();

    // Files and folders dropped on the window, in their order: added as Add File and Add
    // Directory add them, a playlist opened as Open List opens it. CD mode changes to media first.
    void DropPaths(const QStringList& paths);
    // Files, folders (every file, as Add Directory) and playlists (their entries) handed over from
    // outside: they become the list or are added to it, in media mode, and the first of them plays.
    enum class Opening { Replace, Add };
    void OpenPaths(const QStringList& paths, Opening how);
    // Before Start: the command line's paths, the list in place of the default one.
    void OpenAtStart(const QStringList& paths);

private:
    // Controls, named as the player's design names them.
    PictureButton* Image16;          // title strip
    QLabel* Label9;                  // the name on the title strip
    QLabel* Label7;                  // options caption
    QLabel* Label8;                  // help caption
    QLabel* Label3;                  // time
    QLabel* Label10;                 // track number
    std::array<QLabel*, 10> Label5;  // volume bar
    QRadioButton* Option1;           // MM-Player
    QRadioButton* Option2;           // CD-Player
    QLabel* Label1;                  // title line
    QLabel* Label200;                // artist
    QLabel* Label201;                // album
    QLabel* Label4;                  // MP3 facts
    QLabel* Label6;                  // length
    QLabel* Label2;                  // status line
    QLabel* Label11;                 // list panel caption
    QLabel* test;                    // measures the title
    QLabel* Groove;
    PictureButton* Image17;  // thumb
    PictureButton* Image14;  // list pop-up and its twin
    PictureButton* Image15;
    QCheckBox* Check1;
    PictureButton *Image2, *Image3, *Image4, *Image5, *Image6;    // play pause next eject previous
    PictureButton *Image8, *Image11, *Image7, *Image9, *Image10;  // their twins
    PictureButton *Image28, *Image29, *Image30, *Image31;         // save open add-file add-directory
    PictureButton *Image27, *Image26, *Image25, *Image24;         // their twins
    QFrame* Shape2;
    QFrame* Image1;
    QListWidget* List1;
    QComboBox* Combo1;
    QTimer* Timer1;
    QTimer* Timer2;
    // For the keyboard and screen readers: the title strip's two zones as buttons, and stand-ins
    // over the volume bar and the slider that carry their values.
    PictureButton* MinimiseZone = nullptr;
    PictureButton* CloseZone = nullptr;
    ValueBar* VolumeBar = nullptr;
    ValueBar* PositionBar = nullptr;

    QStringList folderFiles(const QString& folder) const;
    QStringList filesIn(const QString& path) const;
    void enterMediaMode();
    void addAndPlayFirst(const QStringList& files);
    void buildControls();
    void buildReaderControls();
    void showArtistAndAlbum(const QString& artist, const QString& album, bool placeholders);
    void publish(NowShowing::State state, int index, int entries, int64_t positionMs, int64_t lengthMs);
    void publishResting(const std::string& mode, int index, int entries);
    void nameReaderControls();
    uint32_t volumeDevice() const;
    void connectButtons();
    void connectSlider();
    void watchLabels();
    void showTwin(PictureButton* normal, PictureButton* twin);
    void restorePair(PictureButton* normal, PictureButton* twin);
    bool popUpListOpen() const;
    void popUpCaptionMenu(QLabel* lit, QLabel* dimmed, int element);
    void dragWindow(QEvent* event);
    void hideToEntry();
    QString dragTimeOnDisc(int left);
    void Layout();
    void MakeEnglish();
    void ApplyCdLook();
    void ApplyMediaLook();
    void tickMedia();
    void tickCd();
    void showCdPosition(int tracks);
    bool tickMayRun() const;
    void checkEntryEnd(int32_t position);
    void EntryEnd_Timer();
    void showNoDisc();
    void LoadCdTitles();
    void showFoundTitles(int32_t serial);
    void appendTracks(const QStringList& paths);
    void showAddedCount();
    void reloadPrevious(int previous);
    void setCaptions();
    void placeThumb(double left);
    bool closePopUpList();
    void showMediaTime(int32_t positionMs);      // elapsed or remaining, as the display is set
    void showMediaPosition(int32_t positionMs);  // the time and the thumb
    bool commandLineNamesFile() const;
    int32_t discPositionMs();
    std::string showVideoWindow(const QString& path);  // the reopen's status text
    void unloadVideoWindow();

    void scheduleCue();
    void followTrackList();
    void showListRenumbered();
    void dropFailedEntry(int index);
    // UpdateMP3's work: true once the entry is open and shown.
    bool loadEntry(int index, bool play);
    bool fileThereOrSaySo(const QString& path);  // an empty path counts as there
    // The entry the device has open, where it stands and whether it sounds; none when closed.
    struct LoadedEntry {
        QString path;
        int32_t positionMs = 0;
        bool playing = false;
    };
    std::optional<LoadedEntry> loadedEntry() const;
    void bringBack(const LoadedEntry& entry);
    std::optional<int> existingSuccessor();
    void showEntryNumber(int index, const QString& shown);
    void showTrackCount();
    // Continuous play takes the player from the current file on to its successor.
    bool continuousApplies() const;
    bool commandMayStart();
    void play();  // the buttons' bodies, once the command may start
    void pause();
    void playNext();
    void seekInEntry(int64_t ms, int64_t length);

    TrackList tracks_;
    QStringList openAtStart_;  // the files of the command line's paths, until the list takes them
    PlayerState state_;
    int displayedEntry_ = -1;  // what Label10 shows, from 0
    QString commandLine_;
    MenuFactory makeMenu_;
    QTimer* entryEnd_ = nullptr;       // fires just after the entry playing ends, between two ticks
    int entryEndChecks_ = 0;           // since the last tick
    std::optional<QString> cuedPath_;  // what the device was last told follows, when it took it
    bool cueScheduled_ = false;
    MenuWindow* menu_ = nullptr;
    Disk_Volume::OnlineTitles* onlineTitles_ = nullptr;
    bool shutDown_ = false;
    bool tickEnabled_ = false;
    int tickInterval_ = 1000;
    QPoint dragOffset_;  // pointer within the window while it is dragged by hand
    bool draggingByHand_ = false;
    NowShowing showing_;
    int barLit_ = -1;                   // segments the volume bar shows lit; -1 until first drawn
    QString shownArtist_, shownAlbum_;  // the values behind Label200 and Label201, placeholders aside
};

}  // namespace player
