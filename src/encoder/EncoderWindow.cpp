#include "encoder/EncoderWindow.h"
#include "encoder/Converter.h"
#include "encoder/Titles.h"
#include "common/Language.h"
#include "platform/Dialogs.h"
#include "platform/FileNames.h"
#include "platform/cdrom/Disc.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QSpinBox>
#include <QStandardPaths>
#include <QThread>
#include <QTreeWidget>

namespace encoder {

namespace {

using platform::gst::EncodeFormat;

enum Column { TitleColumn, ProgressColumn, ResultColumn };

// The quality each format's box offers, and its default.
struct QualityRange {
    int low, high, initial;
};
QualityRange rangeOf(EncodeFormat format)
{
    switch (format) {
    case EncodeFormat::Opus: return {16, 256, 160};
    case EncodeFormat::Mp3: return {0, 9, 2};
    default: return {0, 8, 5};
    }
}

QString resultText(const TrackResult& result)
{
    if (!result.ok) return common::Lang("Απέτυχε: ", "Failed: ") + result.error;
    return result.verdict.isEmpty() ? common::Lang("Έτοιμο", "Done") : result.verdict;
}

QStringList discRows(const std::string& source, const DiscTitles& titles)
{
    QStringList rows;
    const platform::cdrom::Toc toc = platform::cdrom::TocOf(source);
    for (int t = toc.firstTrack; t <= toc.lastTrack(); ++t)
        if (toc.isAudio(t))
            rows << QStringLiteral("%1. %2").arg(t).arg(
                titles.tracks.value(t, QStringLiteral("Track %1").arg(t, 2, 10, QLatin1Char('0'))));
    return rows;
}

}  // namespace

EncoderWindow::EncoderWindow(const std::string& source, QWidget* parent)
    : QDialog(parent), source_(source), titles_(TitlesOfDisc(source))
{
    build(discRows(source_, titles_));
}

EncoderWindow::EncoderWindow(const QList<ConvertSource>& files, QWidget* parent) : QDialog(parent), files_(files)
{
    QStringList rows;
    for (const ConvertSource& file : files) rows << (file.name.isEmpty() ? QFileInfo(file.path).fileName() : file.name);
    build(rows);
}

EncoderWindow::~EncoderWindow()
{
    cancel_ = true;
    if (worker_) worker_->wait();
}

void EncoderWindow::build(const QStringList& rows)
{
    setObjectName(QStringLiteral("EncoderWindow"));
    auto* grid = new QGridLayout(this);
    FormatLabel = new QLabel(this);
    Format = new QComboBox(this);
    Format->setObjectName(QStringLiteral("Format"));
    Format->addItems({QStringLiteral("FLAC"), QStringLiteral("Opus"), QStringLiteral("MP3")});
    QualityLabel = new QLabel(this);
    Quality = new QSpinBox(this);
    Quality->setObjectName(QStringLiteral("Quality"));
    FolderLabel = new QLabel(this);
    Folder = new QLineEdit(QStandardPaths::writableLocation(QStandardPaths::MusicLocation), this);
    Folder->setObjectName(QStringLiteral("Folder"));
    Browse = new QPushButton(QStringLiteral("…"), this);
    Tracks = new QTreeWidget(this);
    Tracks->setObjectName(QStringLiteral("Tracks"));
    Tracks->setColumnCount(3);
    Tracks->setRootIsDecorated(false);
    for (const QString& row : rows) {
        auto* item = new QTreeWidgetItem(Tracks, {row});
        item->setCheckState(TitleColumn, Qt::Checked);
        auto* bar = new QProgressBar(Tracks);
        bar->setRange(0, 1000);
        bar->setValue(0);
        Tracks->setItemWidget(item, ProgressColumn, bar);
    }
    Tracks->header()->setSectionResizeMode(TitleColumn, QHeaderView::Stretch);
    Total = new QProgressBar(this);
    Total->setObjectName(QStringLiteral("Total"));
    Total->setRange(0, 1000);
    StartButton = new QPushButton(this);
    StartButton->setObjectName(QStringLiteral("Start"));
    CancelButton = new QPushButton(this);
    CancelButton->setObjectName(QStringLiteral("Cancel"));
    CancelButton->setEnabled(false);

    grid->addWidget(FormatLabel, 0, 0);
    grid->addWidget(Format, 0, 1);
    grid->addWidget(QualityLabel, 0, 2);
    grid->addWidget(Quality, 0, 3);
    grid->addWidget(FolderLabel, 1, 0);
    grid->addWidget(Folder, 1, 1, 1, 2);
    grid->addWidget(Browse, 1, 3);
    grid->addWidget(Tracks, 2, 0, 1, 4);
    grid->addWidget(Total, 3, 0, 1, 4);
    grid->addWidget(StartButton, 4, 2);
    grid->addWidget(CancelButton, 4, 3);
    resize(560, 380);

    const auto followFormat = [this] {
        const QualityRange range = rangeOf(EncodeFormat(Format->currentIndex()));
        Quality->setRange(range.low, range.high);
        Quality->setValue(range.initial);
    };
    followFormat();
    connect(Format, &QComboBox::currentIndexChanged, this, followFormat);
    connect(Browse, &QPushButton::clicked, this, &EncoderWindow::chooseFolder);
    connect(StartButton, &QPushButton::clicked, this, &EncoderWindow::Start);
    connect(CancelButton, &QPushButton::clicked, this, &EncoderWindow::Cancel);
    setCaptions();
}

void EncoderWindow::setCaptions()
{
    const bool disc = !source_.empty();
    setWindowTitle(disc ? common::Lang("Αντιγραφή Δίσκου σε Αρχεία", "Rip Disc to Files")
                        : common::Lang("Κωδικοποιητής Αρχείων", "File Encoder"));
    FormatLabel->setText(common::Lang("Μορφή:", "Format:"));
    QualityLabel->setText(common::Lang("Ποιότητα:", "Quality:"));
    FolderLabel->setText(common::Lang("Φάκελος:", "Folder:"));
    StartButton->setText(common::Lang("Έναρξη", "Start"));
    CancelButton->setText(common::Lang("Ακύρωση", "Cancel"));
    Browse->setAccessibleName(common::Lang("Επιλογή φακέλου", "Choose folder"));
    Total->setAccessibleName(common::Lang("Συνολική πρόοδος", "Total progress"));
    Tracks->setHeaderLabels({disc ? common::Lang("Τραγούδι", "Track") : common::Lang("Αρχείο", "File"),
                             common::Lang("Πρόοδος", "Progress"), common::Lang("Αποτέλεσμα", "Result")});
    Format->setAccessibleName(FormatLabel->text());
    Quality->setAccessibleName(QualityLabel->text());
    Folder->setAccessibleName(FolderLabel->text());
}

void EncoderWindow::chooseFolder()
{
    const QString chosen = QFileDialog::getExistingDirectory(this, FolderLabel->text(), Folder->text());
    if (!chosen.isEmpty()) Folder->setText(chosen);
}

platform::gst::EncodeSettings EncoderWindow::settings() const { return {EncodeFormat(Format->currentIndex()), Quality->value()}; }

QList<int> EncoderWindow::chosenRows() const
{
    QList<int> rows;
    for (int i = 0; i < Tracks->topLevelItemCount(); ++i)
        if (Tracks->topLevelItem(i)->checkState(TitleColumn) == Qt::Checked) rows << i;
    return rows;
}

// A conversion replaces files of the same name in the folder only when the user says so; a file
// that would replace its own source is refused per file anyway.
bool EncoderWindow::mayReplaceFiles(const QList<int>& rows, const QString& folder)
{
    QList<ConvertSource> chosen;
    for (int row : rows) chosen << files_.value(row);
    const QStringList targets = ConvertedFiles(chosen, folder, settings());
    QStringList there;
    for (int i = 0; i < targets.size(); ++i)
        if (platform::PathExists(targets[i]) && !WouldReplaceItself(chosen[i].path, targets[i])) there << targets[i];
    if (there.isEmpty()) return true;
    const QString text =
        there.size() == 1
            ? common::Lang("Το %1 υπάρχει ήδη. Να αντικατασταθεί;", "%1 already exists. Replace it?").arg(there[0])
            : common::Lang("%1 αρχεία στο %2 υπάρχουν ήδη. Να αντικατασταθούν;", "%1 files in %2 already exist. Replace them?")
                  .arg(there.size())
                  .arg(folder);
    return platform::ShowMessage({text, windowTitle(), platform::DialogIcon::Question, platform::DialogButtons::YesNo}, this) ==
           platform::AnswerYes;
}

void EncoderWindow::Start()
{
    if (worker_ || chosenRows().isEmpty()) return;
    if (source_.empty() && !mayReplaceFiles(chosenRows(), Folder->text())) return;
    cancel_ = false;
    emit Starting();
    for (int i = 0; i < Tracks->topLevelItemCount(); ++i) Tracks->topLevelItem(i)->setText(ResultColumn, {});
    done_.clear();
    setWorking(true);
    worker_ = QThread::create(
        [this, rows = chosenRows(), folder = Folder->text(), chosen = settings()] { work(rows, folder, chosen); });
    connect(worker_, &QThread::finished, this, [this] {
        worker_->deleteLater();
        worker_ = nullptr;
        setWorking(false);
        emit Finished();
    });
    worker_->start();
}

void EncoderWindow::Cancel() { cancel_ = true; }

// While it works only Cancel answers.
void EncoderWindow::setWorking(bool working)
{
    for (QWidget* w : std::initializer_list<QWidget*>{Format, Quality, Folder, Browse, StartButton, Tracks})
        w->setEnabled(!working);
    CancelButton->setEnabled(working);
}

// On the worker thread, with what the window held at Start: what it shows goes back to its own thread.
void EncoderWindow::work(const QList<int>& rows, const QString& folder, const platform::gst::EncodeSettings& chosen)
{
    QList<TrackResult> results;
    if (!source_.empty()) {
        const platform::cdrom::Toc toc = platform::cdrom::TocOf(source_);
        QList<int> audio, tracks;
        for (int t = toc.firstTrack; t <= toc.lastTrack(); ++t)
            if (toc.isAudio(t)) audio << t;
        for (int row : rows) tracks << audio.value(row);
        const RipReport report = RipDisc({source_, folder, chosen, 0, tracks}, titles_, [&](int track, double done) {
            const int row = int(audio.indexOf(track));
            QMetaObject::invokeMethod(this, [this, row, done] { showProgress(row, done); });
            return !cancel_;
        });
        for (TrackResult result : report.tracks) {
            result.track = int(audio.indexOf(result.track));
            results << result;
        }
        if (!report.error.isEmpty())
            for (int row : rows) results << FailedTrack(row, report.error);
    } else {
        QList<ConvertSource> files;
        for (int row : rows) files << files_.value(row);
        results = ConvertFiles(files, folder, chosen, [&](int index, double done) {
            const int row = rows.value(index);
            QMetaObject::invokeMethod(this, [this, row, done] { showProgress(row, done); });
            return !cancel_;
        });
        for (int i = 0; i < results.size(); ++i) results[i].track = rows.value(i);
    }
    QMetaObject::invokeMethod(this, [this, results] { showResults(results); });
}

// Tracks may go on at once: the total is the sum of what each has done.
void EncoderWindow::showProgress(int row, double done)
{
    if (QTreeWidgetItem* item = Tracks->topLevelItem(row))
        if (auto* bar = qobject_cast<QProgressBar*>(Tracks->itemWidget(item, ProgressColumn))) bar->setValue(int(done * 1000));
    done_[row] = done;
    const QList<int> rows = chosenRows();  // the boxes cannot change while it works
    double sum = 0;
    for (int chosen : rows) sum += done_.value(chosen);
    if (!rows.isEmpty()) Total->setValue(int(sum / double(rows.size()) * 1000));
}

void EncoderWindow::showResults(const QList<TrackResult>& results)
{
    for (const TrackResult& result : results)
        if (QTreeWidgetItem* item = Tracks->topLevelItem(result.track)) {
            item->setText(ResultColumn, resultText(result));
            if (result.ok) showProgress(result.track, 1.0);
        }
}

QStringList EncoderWindow::Results() const
{
    QStringList out;
    for (int i = 0; i < Tracks->topLevelItemCount(); ++i) out << Tracks->topLevelItem(i)->text(ResultColumn);
    return out;
}

// Closing while it works cancels first; the track under way is let go whole or not at all.
void EncoderWindow::closeEvent(QCloseEvent* event)
{
    cancel_ = true;
    if (worker_) worker_->wait();
    event->accept();
}

}  // namespace encoder
