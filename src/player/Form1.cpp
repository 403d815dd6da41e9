// The main window: its controls, the layout routine, the English captions and the two looks.

#include "player/Form1.h"
#include "metadata/AlbumImage.h"
#include "player/Accessibility.h"
#include "catalogue/OnlineTitles.h"
#include "player/MessagesRun.h"
#include "player/Form10.h"
#include "player/MenuWindow.h"
#include "player/Skin.h"
#include "player/TimeDisplay.h"
#include "common/Globals.h"
#include "common/Language.h"

#include <QApplication>
#include <QCloseEvent>
#include <QGuiApplication>
#include <QScreen>

namespace player {

namespace {

template <typename W> W* make(QWidget* parent, const char* name)
{
    auto* w = new W(parent);
    w->setObjectName(QString::fromLatin1(name));
    return w;
}

void place(QWidget* w, int left, int top, int width, int height) { w->setGeometry(left, top, width, height); }

template <typename L = QLabel>
L* label(QWidget* parent, const char* name, const QString& text, int left, int top, int width, int height)
{
    L* l = make<L>(parent, name);
    l->setText(text);  // a screen reader reads the text shown, whatever it becomes
    place(l, left, top, width, height);
    return l;
}

}  // namespace

Form1::Form1(QString commandLine, MenuFactory makeMenu)
    : QWidget(nullptr, Qt::FramelessWindowHint | Qt::Window), commandLine_(std::move(commandLine)), makeMenu_(std::move(makeMenu))
{
    setObjectName(QStringLiteral("Form1"));
    setWindowIcon(skin::AppIcon());
    buildControls();
    onlineTitles_ = new Disk_Volume::OnlineTitles(this);
    connect(onlineTitles_, &Disk_Volume::OnlineTitles::TitlesWritten, this, &Form1::showFoundTitles);
    Mp3Tag_Functions::PlayImageTracks();  // an album image's tracks are list entries of their own
}

MenuWindow& MenuWindow::Unloaded()
{
    class NoMenu final : public MenuWindow {
        void Show_List_Menu_Click() override { }
        void Mixer_Menu_Click() override { }
        void TrayMenu_Click() override { }
        void synexeia_Click() override { }
        bool TrayChecked() const override { return false; }
        bool TrayIconShown() const override { return false; }
        bool MixerChecked() const override { return false; }
        bool ExitWithContinueChecked() const override { return false; }
        void SetCaption(const QString&) override { }
        QString Caption() const override { return {}; }
        void ClearTracksSubmenu() override { }
        void ShowMinimizedEntry() override { }
        void Unload() override { }
        void PopupMenu(int, QPoint) override { }
        void DockMeter() override { }
        void HideMeter() override { }
        void RemoveSelectedTrack() override { }
        void ShowAbout() override { }
    };
    static NoMenu none;
    return none;
}

Form1::~Form1()
{
    tracks_.disconnect(this);                  // the list controls go before the list
    if (menu_ && !shutDown_) menu_->Unload();  // the shutdown unloads it already
}

void Form1::buildControls()
{
    const qreal ratio = qApp->devicePixelRatio();
    setFixedSize(357, 213);
    setStyleSheet(QStringLiteral(
        // Direct children only: the windows and message boxes opened over this one keep their own looks.
        "#Form1 > QLabel { color: #e6e6e6; font-family: 'DejaVu Sans'; font-size: 8pt; }"
        "#Form1 > QLabel#Label3, #Form1 > QLabel#Label10 { color: #9fe0ff; font-size: 14pt; font-weight: bold; }"
        "#Form1 > QLabel#Label1, #Form1 > QLabel#test { color: #ffffff; font-weight: bold; }"
        "#Form1 > QLabel#Label9 { color: #ffffff; font-weight: bold; }"
        "#Form1 > QRadioButton { color: #e6e6e6; }"
        "#Form1 > QCheckBox { color: #e6e6e6; }"
        "#Form1 > QListWidget { background: #2a2a2a; color: #e6e6e6; border: 1px solid #1a1a1a;"
        " selection-background-color: #56708f; }"));

    Image16 = new PictureButton(QStringLiteral("Image16"), this);
    place(Image16, 0, 0, 357, 14);
    Image16->setPixmap(skin::TitleStrip({357, 14}, ratio));
    Label9 = label(this, "Label9", common::AppTitle(), 4, 0, 320, 14);
    Label7 = label(this, "Label7", QString::fromUtf8("Επιλογές"), 10, 15, 60, 13);
    Label8 = label(this, "Label8", QString::fromUtf8("Βοήθεια"), 250, 15, 60, 13);
    Label3 = label<TimeDisplay>(this, "Label3", QStringLiteral("00:00"), 10, 32, 90, 26);
    Label10 = label(this, "Label10", QString(), 110, 33, 40, 26);
    for (int i = 0; i < 10; ++i) {
        Label5[i] = label(this, QStringLiteral("Label5_%1").arg(i).toLatin1().constData(), QString(), 254 + 9 * i, 37, 7, 13);
        Label5[i]->setAutoFillBackground(true);
    }
    Option1 = make<QRadioButton>(this, "Option1");
    Option1->setText(QStringLiteral("MM-Player"));
    place(Option1, 255, 56, 95, 16);
    Option2 = make<QRadioButton>(this, "Option2");
    Option2->setText(QStringLiteral("CD-Player"));
    place(Option2, 255, 74, 95, 16);
    Label1 = label(this, "Label1", QString(), 10, 62, 235, 16);
    Label200 = label(this, "Label200", QString(), 10, 80, 235, 13);
    Label201 = label(this, "Label201", QString(), 10, 94, 235, 13);
    Label4 = label(this, "Label4", QString(), 10, 108, 235, 13);
    Label6 = label(this, "Label6", QString(), 10, 122, 120, 13);
    Label2 = label(this, "Label2", QString(), 130, 122, 120, 13);
    Label11 = label(this, "Label11", QString::fromUtf8("Λίστα Τραγουδιών"), 4, 212, 200, 11);
    Label11->hide();
    test = label(this, "test", QString(), 0, 0, 0, 0);
    test->hide();

    Groove = label(this, "Groove", QString(), 5, 146, 205, 8);
    Groove->setPixmap(skin::Groove({205, 8}, ratio));
    Image17 = new PictureButton(QStringLiteral("Image17"), this);
    place(Image17, 5, 142, 10, 16);
    Image17->setPixmap(skin::Thumb({10, 16}, ratio));
    Image14 = new PictureButton(QStringLiteral("Image14"), this);
    Image15 = new PictureButton(QStringLiteral("Image15"), this);
    place(Image14, 225, 142, 22, 16);
    Image14->setPixmap(skin::Button(skin::Glyph::ListDown, false, {22, 16}, ratio));
    Image15->setPixmap(skin::Button(skin::Glyph::ListDown, true, {22, 16}, ratio));
    Check1 = make<QCheckBox>(this, "Check1");
    Check1->setText(QStringLiteral("V"));
    place(Check1, 255, 142, 34, 16);

    struct Pair {
        PictureButton** normal;
        PictureButton** twin;
        const char* normalName;
        const char* twinName;
        skin::Glyph glyph;
        int left;
    };
    const Pair pairs[] = {
        {&Image10, &Image6, "Image10", "Image6", skin::Glyph::Previous, 10},
        {&Image8, &Image2, "Image8", "Image2", skin::Glyph::Play, 44},
        {&Image11, &Image3, "Image11", "Image3", skin::Glyph::Pause, 78},
        {&Image7, &Image4, "Image7", "Image4", skin::Glyph::Next, 112},
        {&Image9, &Image5, "Image9", "Image5", skin::Glyph::Eject, 146},
        {&Image24, &Image31, "Image24", "Image31", skin::Glyph::AddDirectory, 200},
        {&Image25, &Image30, "Image25", "Image30", skin::Glyph::AddFile, 234},
        {&Image26, &Image29, "Image26", "Image29", skin::Glyph::OpenList, 268},
        {&Image27, &Image28, "Image27", "Image28", skin::Glyph::SaveList, 302},
    };
    for (const Pair& p : pairs) {
        *p.normal = new PictureButton(QString::fromLatin1(p.normalName), this);
        *p.twin = new PictureButton(QString::fromLatin1(p.twinName), this);
        place(*p.normal, p.left, 172, 30, 24);
        place(*p.twin, p.left, 172, 30, 24);
        (*p.normal)->setPixmap(skin::Button(p.glyph, false, {30, 24}, ratio));
        (*p.twin)->setPixmap(skin::Button(p.glyph, true, {30, 24}, ratio));
        (*p.twin)->hide();
    }
    Image15->hide();
    Image6->setToolTip(QString::fromUtf8("Προηγούμενο"));
    Image2->setToolTip(QString::fromUtf8("Εκτέλεση"));
    Image3->setToolTip(QString::fromUtf8("Διακοπή"));
    Image4->setToolTip(QString::fromUtf8("Επόμενο"));
    Image5->setToolTip(QStringLiteral("Eject"));
    Image31->setToolTip(QString::fromUtf8("Πρόσθεση Καταλόγου"));
    Image30->setToolTip(QString::fromUtf8("Πρόσθεση Αρχείου"));
    Image29->setToolTip(QString::fromUtf8("Άνοιγμα Λίστας"));
    Image28->setToolTip(QString::fromUtf8("Αποθήκευση Λίστας"));

    Shape2 = make<QFrame>(this, "Shape2");
    Shape2->setFrameShape(QFrame::HLine);
    Shape2->setStyleSheet(QStringLiteral("color: #707070;"));
    Image1 = make<QFrame>(this, "Image1");
    place(Image1, 1, 213, 355, 10);
    Image1->hide();
    List1 = make<QListWidget>(this, "List1");
    List1->hide();
    Combo1 = make<QComboBox>(this, "Combo1");
    Combo1->hide();

    Timer1 = make<QTimer>(this, "Timer1");
    Timer1->setInterval(200);
    Timer2 = make<QTimer>(this, "Timer2");
    Timer2->setInterval(1000);
    followTrackList();
    connect(Timer1, &QTimer::timeout, this, &Form1::Timer1_Timer);
    connect(Timer2, &QTimer::timeout, this, &Form1::Timer2_Timer);
    entryEnd_ = new QTimer(this);
    entryEnd_->setSingleShot(true);
    connect(entryEnd_, &QTimer::timeout, this, &Form1::EntryEnd_Timer);
    connect(Option1, &QRadioButton::clicked, this, [this] {
        if (!common::InMediaMode()) Option1_Click();
    });
    connect(Option2, &QRadioButton::clicked, this, [this] {
        if (common::InMediaMode()) Option2_Click();
    });
    setMouseTracking(true);
    setAcceptDrops(true);
    connectButtons();
    connectSlider();
    watchLabels();
    buildReaderControls();
}

// The layout routine: the fix-ups made before anything is shown.
void Form1::Layout()
{
    for (QLabel* segment : Label5)
        segment->setGeometry(segment->x() + 4, segment->y() - 1, segment->width(), segment->height() + 1);
    QPalette body = palette();
    body.setColor(QPalette::Window, QColor(0x40, 0x40, 0x40));
    setPalette(body);
    setAutoFillBackground(true);
    setFixedHeight(213);
    place(Shape2, 1, 213, 355, 0);
    Label9->setFixedHeight(Image16->height());
    Label9->setText(common::AppTitle());
    QFont serif(QStringLiteral("MS Serif"));
    Option1->setFont(serif);
    Option2->setFont(serif);
    Label10->move(Label10->x(), Label3->y() + 1);  // 1.5 units, rounded to the pixel grid
    test->setFont(Label1->font());
    for (auto [button, twin] : {std::pair{Image31, Image24}, {Image30, Image25}, {Image29, Image26}, {Image28, Image27}})
        button->move(twin->pos());
    place(List1, 12, 112, 317, 100);
    for (auto [button, twin] :
         {std::pair{Image2, Image8}, {Image6, Image10}, {Image3, Image11}, {Image4, Image7}, {Image5, Image9}})
        button->move(twin->pos());
    Image15->move(Image14->pos());
    VolumeBar->setGeometry(Label5[0]->geometry().united(Label5[9]->geometry()));
}

void Form1::MakeEnglish()
{
    Label11->setText(QStringLiteral("Track 's List"));
    Label8->setText(QStringLiteral("Help"));
    Label7->setText(QStringLiteral("Options"));
    Image6->setToolTip(QStringLiteral("Previous"));
    Image2->setToolTip(QStringLiteral("Play"));
    Image3->setToolTip(QStringLiteral("Pause"));
    Image4->setToolTip(QStringLiteral("Next"));
    Image31->setToolTip(QStringLiteral("Add Directory"));
    Image30->setToolTip(QStringLiteral("Add File"));
    Image29->setToolTip(QStringLiteral("Open List"));
    Image28->setToolTip(QStringLiteral("Save List"));
}

static void setLook(QRadioButton* option, bool current)
{
    QFont font = option->font();
    font.setBold(current);
    font.setPointSize(current ? 9 : 7);
    option->setFont(font);
}

void Form1::ApplyCdLook()
{
    setLook(Option2, true);
    setLook(Option1, false);
    for (PictureButton* b : {Image24, Image25, Image26, Image27}) b->setEnabled(false);
    Image9->setEnabled(true);
    Label4->clear();
    Label1->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
}

void Form1::ApplyMediaLook()
{
    setLook(Option1, true);
    setLook(Option2, false);
    for (PictureButton* b : {Image24, Image25, Image26, Image27}) b->setEnabled(true);
    Image9->setEnabled(false);
}

void Form1::SetListPanelShown(bool shown)
{
    if (shown) {
        place(List1, 2, 223, 353, 90);
        List1->show();
        Shape2->setFixedHeight(91);
        Shape2->show();
        Image1->show();
        Label11->show();
        setFixedHeight(305);
    } else {
        setFixedHeight(213);
        Shape2->hide();
        Image1->hide();
        Label11->hide();
        List1->hide();
        place(List1, 12, 112, 317, 100);
    }
    Check1->setToolTip(shown ? common::Lang("Απόκρυψη Λίστας Τραγουδιών", "Hide Track's List")
                             : common::Lang("Εμφάνιση Λίστας Τραγουδιών", "Show Track's List"));
    auto& g = common::globals();
    g.UserListClick = false;  // the box follows the menu; it is not the user's click
    Check1->setChecked(shown);
    Check1->setText(shown ? QString::fromUtf8("Λ") : QStringLiteral("V"));
    g.UserListClick = true;
}

void Form1::closeEvent(QCloseEvent* event)
{
    if (MessagesRun::Now()) {
        // A routine is half way through: close once it has finished.
        event->ignore();
        QTimer::singleShot(50, this, &QWidget::close);
        return;
    }
    Shutdown();
    event->accept();
    // Closing the main window ends the program, whichever windows are open: they go without
    // running their own closing (a preview would start the disc and show this window again).
    for (QWidget* window : QApplication::topLevelWidgets()) {
        if (window == this || !window->isVisible()) continue;
        window->hide();
        window->deleteLater();
    }
    QCoreApplication::quit();
}

}  // namespace player
