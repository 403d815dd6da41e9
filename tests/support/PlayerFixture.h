#pragma once
// A player started as a user starts it, in a fresh program folder, with every message box recorded.

#include "common/Globals.h"
#include "support/Files.h"
#include "media/ModuleMCI.h"
#include "fixtures/DiscImage.h"
#include "fixtures/Media.h"
#include "platform/Dialogs.h"
#include "platform/FileNames.h"
#include "platform/Settings.h"
#include "platform/mci/Interpreter.h"
#include "player/Form1.h"
#include "shell/Form5.h"
#include "support/TempFolder.h"
#include "support/Waits.h"
#include "support/Controls.h"

#include <gtest/gtest.h>

#include <QComboBox>
#include <QCoreApplication>
#include <QLabel>
#include <QListWidget>
#include <QProcessEnvironment>
#include <QFile>
#include <QFileInfo>

#include <chrono>
#include <filesystem>

#include <memory>

class PlayerTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        setenv("SONORELL_HOME", home.path().c_str(), 1);
        setenv("SONORELL_CD_DEVICE", "none", 1);
        common::resetGlobals();
        platform::SaveSetting("Sonorell", "LANGUAGE", "False");  // a test that chose Greek leaves it behind
        platform::setDialogRecorder([this](const platform::DialogCall& call) {
            dialogs.push_back(call);
            return answer;
        });
    }
    void TearDown() override
    {
        stop();
        platform::setDialogRecorder(nullptr);
        platform::mci::interpreter().closeAll();
        common::resetGlobals();
    }
    // A run of the program: its globals as at a start, whatever an earlier run in this test left.
    player::Form1& start(const QString& commandLine = {})
    {
        common::resetGlobals();
        window = std::make_unique<player::Form1>(commandLine, [](player::Form1* m) { return new shell::Form5(m); });
        window->Start();
        return *window;
    }
    // Closes the window the way a user does: its shutdown runs.
    void stop()
    {
        if (!window) return;
        window->Shutdown();
        window.reset();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    shell::Form5& menu() { return *dynamic_cast<shell::Form5*>(window->menu()); }
    QString file(const std::string& name) const { return QString::fromStdString(home.file(name)); }
    QByteArray read(const std::string& name) const { return testsupport::readBytes(file(name)); }
    // The default list of these paths, each as the bytes of its name.
    void writeList(const QStringList& paths)
    {
        QByteArray bytes;
        for (const QString& path : paths) bytes += platform::EncodeFileName(path) + "\r\n";
        ASSERT_TRUE(testsupport::writeBytes(file("Default.list"), bytes));
    }
    // The default list of count copies of one tone, t01.wav, t02.wav, …, and the window started.
    QStringList startWithSongs(int count, double seconds = 1.0)
    {
        const auto song = fixtures::makeMedia(media.path(), fixtures::Media::Wav8Mono, seconds, "tone.wav");
        QStringList paths;
        for (int i = 0; i < count; ++i) {
            paths << QString::fromStdString(media.path()) + QStringLiteral("/t%1.wav").arg(i + 1, 2, 10, QLatin1Char('0'));
            QFile::copy(QString::fromStdString(song.path), paths.back());
        }
        writeList(paths);
        start();
        return paths;
    }
    // A disc image of these tracks (in frames) in the drive.
    fixtures::DiscImage insertDisc(const std::vector<int>& frames, const std::string& name = "disc")
    {
        return insertDisc(fixtures::makeDiscImage(media.path(), frames, name));
    }
    static fixtures::DiscImage insertDisc(const fixtures::DiscImage& disc)
    {
        setenv("SONORELL_CD_DEVICE", disc.cue.c_str(), 1);
        return disc;
    }
    // The same, and the window started.
    fixtures::DiscImage startWithDisc(const std::vector<int>& frames)
    {
        const fixtures::DiscImage disc = insertDisc(frames);
        start();
        return disc;
    }
    // The window's controls by name, as the user finds them.
    template <class T = QWidget> T* ctl(const char* name) const { return testsupport::control<T>(*window, name); }
    QString shown(const char* label) const { return ctl<QLabel>(label)->text(); }
    QListWidget* list1() const { return ctl<QListWidget>("List1"); }
    QComboBox* combo1() const { return ctl<QComboBox>("Combo1"); }
    // The track list's lines as shown.
    QStringList entries() const
    {
        QStringList lines;
        for (int i = 0; i < list1()->count(); ++i) lines << list1()->item(i)->text();
        return lines;
    }
    static std::string mediaMode() { return ModuleMCI::GetMediaMode(common::MediaAlias); }
    static int32_t mediaPosition() { return ModuleMCI::GetMediaPosition(common::MediaAlias); }
    // The environment the real program runs in here: no screen, the media folder its runtime folder.
    QProcessEnvironment programEnvironment() const
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("QT_QPA_PLATFORM", "offscreen");
        env.insert("XDG_RUNTIME_DIR", QString::fromStdString(media.path()));
        return env;
    }
    // Runs the window's events until condition holds (true) or ms pass (false).
    static bool waitFor(const std::function<bool()>& condition, int ms = 5000)
    {
        return testsupport::waitUntil(condition, ms, [] { QCoreApplication::processEvents(QEventLoop::AllEvents, 20); });
    }
    // Runs the window's events for a fixed time: for what must not happen meanwhile.
    static void wait(int ms)
    {
        const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
        while (std::chrono::steady_clock::now() < until) QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    }

    testsupport::TempFolder home;
    testsupport::TempFolder media;
    std::unique_ptr<player::Form1> window;
    std::vector<platform::DialogCall> dialogs;
    int answer = platform::AnswerOk;
};
