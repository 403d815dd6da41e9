#include "about/Form3.h"
#include "common/Controls.h"
#include "common/Globals.h"
#include "common/Language.h"

#include <QCloseEvent>
#include <QDesktopServices>
#include <QGuiApplication>
#include <QMouseEvent>
#include <QScreen>
#include <QUrl>

namespace about {

using common::control;

namespace {

void colour(QLabel* label, const char* rgb) { label->setStyleSheet(QStringLiteral("color: %1;").arg(QLatin1String(rgb))); }

}  // namespace

Form3::Form3(QWidget* mainWindow) : QWidget(mainWindow, Qt::Tool | Qt::WindowCloseButtonHint), main_(mainWindow)
{
    setObjectName(QStringLiteral("Form3"));
    setAttribute(Qt::WA_DeleteOnClose);
    setFixedSize(260, 192);
    Shape1 = control<QFrame>(this, "Shape1", 1, 0, 259, 191);
    Shape1->setStyleSheet(QStringLiteral("QFrame#Shape1 { border: 1px solid rgb(255,0,0); }"));
    Frame2 = control<QFrame>(this, "Frame2", 8, 3, 241, 41);
    Frame2->setFrameShape(QFrame::StyledPanel);
    lblTitle = control<QLabel>(Frame2, "lblTitle", 8, 12, 217, 24);
    colour(lblTitle, "rgb(0,0,255)");
    QFont big = lblTitle->font();
    big.setPointSize(12);
    big.setBold(true);
    lblTitle->setFont(big);
    Frame1 = control<QFrame>(this, "Frame1", 8, 43, 241, 113);
    Frame1->setFrameShape(QFrame::StyledPanel);
    Label1 = control<QLabel>(Frame1, "Label1", 16, 24, 171, 17);
    colour(Label1, "rgb(128,0,0)");
    auto* freeware = control<QLabel>(Frame1, "lblFreeware", 16, 44, 209, 15);
    freeware->setText(QStringLiteral("Freeware"));
    lblComments = control<QLabel>(Frame1, "lblComments", 16, 64, 225, 15);
    colour(lblComments, "rgb(255,0,0)");
    Label3 = control<QLabel>(Frame1, "Label3", 16, 80, 209, 17);
    colour(Label3, "rgb(0,0,255)");
    Label3->setText(QStringLiteral("E-mail: ") + MailAddress);
    Label3->installEventFilter(this);
    cmdOK = control<QPushButton>(this, "cmdOK", 80, 164, 84, 23);
    cmdOK->setText(QStringLiteral("OK"));
    connect(cmdOK, &QPushButton::clicked, this, &Form3::cmdOK_Click);

    // Load.
    Label3->setCursor(Qt::PointingHandCursor);
    common::globals().DialogOpen = true;
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect area = screen->geometry();
        move(area.width() / 2 - width() / 2, area.height() / 2 - height() / 2);
    }
    if (main_) common::DisableOwnerWhileOpen(*main_, *this);
    const QString title = common::AppTitle();
    setWindowTitle(common::Lang(QString::fromUtf8("Σχετικά με το ") + title + QStringLiteral(" "),
                                QStringLiteral("About ") + title + QStringLiteral(" ")));
    lblTitle->setText(title);
    lblComments->setText(common::Lang("Προγραμματισμός: Dravenholt", "Programming: Dravenholt"));
    Label1->setText(common::Lang(QString::fromUtf8("Έκδοση προγράμματος: "), QStringLiteral("Version: ")) +
                    QString::number(VersionMajor) + QStringLiteral(".") + QString::number(VersionMinor));
    cmdOK->move((width() - cmdOK->width()) / 2, cmdOK->y());
}

bool Form3::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == Label3 && event->type() == QEvent::MouseButtonRelease &&
        static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton)
        Label3_Click();
    return QWidget::eventFilter(watched, event);
}

void Form3::Label3_Click() { QDesktopServices::openUrl(QUrl(QStringLiteral("mailto:") + MailAddress)); }

void Form3::closeEvent(QCloseEvent* event)
{
    common::globals().DialogOpen = false;
    if (main_) main_->setEnabled(true);
    event->accept();
}

}  // namespace about
