#pragma once
// The encoder window: the disc's tracks (ripped) or the list's entries (converted), a format and
// its quality, the folder the files go to, Start and Cancel, a bar for each track and one for
// all, and what became of each. The work runs on a thread of its own; the player stays usable.

#include "encoder/Converter.h"
#include "encoder/Ripper.h"

#include <QDialog>
#include <QMap>
#include <QStringList>

#include <atomic>
#include <memory>

class QComboBox;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QSpinBox;
class QThread;
class QTreeWidget;

namespace encoder {

class EncoderWindow : public QDialog {
    Q_OBJECT
public:
    // The disc at source, its tracks ripped.
    EncoderWindow(const std::string& source, QWidget* parent = nullptr);
    // Media files (or parts of them), converted.
    EncoderWindow(const QList<ConvertSource>& files, QWidget* parent = nullptr);
    ~EncoderWindow() override;

    void Start();
    void Cancel();
    bool Working() const { return worker_ != nullptr; }

    // Each row's result as shown, in order.
    QStringList Results() const;

signals:
    void Starting();  // the work is about to begin: a disc playing is stopped
    void Finished();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void build(const QStringList& rows);
    void chooseFolder();
    void setWorking(bool working);
    void setCaptions();
    platform::gst::EncodeSettings settings() const;
    QList<int> chosenRows() const;
    bool mayReplaceFiles(const QList<int>& rows, const QString& folder);
    void showProgress(int row, double done);
    void showResults(const QList<TrackResult>& results);
    void work(const QList<int>& rows, const QString& folder, const platform::gst::EncodeSettings& chosen);

    std::string source_;  // empty when converting files
    QList<ConvertSource> files_;
    DiscTitles titles_;
    std::atomic<bool> cancel_{false};
    QMap<int, double> done_;  // the share done of each row under way
    QThread* worker_ = nullptr;

    QComboBox* Format = nullptr;
    QSpinBox* Quality = nullptr;
    QLineEdit* Folder = nullptr;
    QPushButton *Browse = nullptr, *StartButton = nullptr, *CancelButton = nullptr;
    QTreeWidget* Tracks = nullptr;
    QProgressBar* Total = nullptr;
    QLabel *FormatLabel = nullptr, *QualityLabel = nullptr, *FolderLabel = nullptr;
};

}  // namespace encoder
