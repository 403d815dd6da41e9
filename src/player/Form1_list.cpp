// The track list: the two list controls and the list files behind them.

#include "player/Form1.h"
#include "common/Globals.h"
#include "common/Language.h"
#include "common/ProgramFolder.h"
#include "media/CDAudio.h"
#include "metadata/Mp3Tag_ListFiles.h"

namespace player {

void Form1::SaveTrackList(QString& path)
{
    if (List1->count() == 0) return;
    if (path.isEmpty()) path = common::ProgramFile(QStringLiteral("Default.list"));
    QStringList paths;
    for (int i = 0; i < List1->count(); ++i) paths << Combo1->itemText(i);
    Mp3Tag_Functions::WriteListFile(path, paths);
}

void Form1::LoadTrackList(QString& path)
{
    if (path.isEmpty()) path = common::ProgramFile(QStringLiteral("Default.list"));
    List1->clear();
    Combo1->clear();
    const auto entries = Mp3Tag_Functions::ReadListFile(path);
    QStringList lines;
    QStringList paths;
    lines.reserve(entries.size());
    for (const auto& entry : entries) {
        lines << QString::number(lines.size() + 1) + QStringLiteral(". ") + entry.name;
        paths << entry.path;
    }
    List1->addItems(lines);
    Combo1->addItems(paths);
    if (List1->count() == 0) {
        Label1->setText(common::Lang("Μή έγκυρη λίστα τραγούδιων.", "No list"));
        Label2->clear();
    } else {
        Label2->setText(common::Lang("Τραγούδια: ", "Tracks: ") + QString::number(List1->count()));
    }
}

// The disc's titles: numbered tracks until the catalogue names them.
void Form1::LoadCdTitles()
{
    auto& cd = *common::globals().CdDevice;
    const int tracks = cd.GetNumTracks();
    List1->clear();
    QStringList lines;
    for (int t = 1; t <= tracks; ++t)
        lines << QString::number(t) + QStringLiteral(". ") + common::Lang("Τραγούδι ", "Track ") + QString::number(t);
    List1->addItems(lines);
    Label2->setText(common::Lang("Τραγούδια: ", "Tracks: ") + QString::number(tracks));
    Label10->setText(QString::number(tracks));
}

} // namespace player
