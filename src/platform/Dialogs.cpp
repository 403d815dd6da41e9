#include "platform/Dialogs.h"

#include <QApplication>
#include <QMessageBox>

namespace platform {

namespace {

std::function<int(const DialogCall&)>& recorder()
{
    static std::function<int(const DialogCall&)> r;
    return r;
}

QMessageBox::Icon qtIcon(DialogIcon icon)
{
    switch (icon) {
    case DialogIcon::Critical: return QMessageBox::Critical;
    case DialogIcon::Question: return QMessageBox::Question;
    case DialogIcon::Exclamation: return QMessageBox::Warning;
    case DialogIcon::Information: return QMessageBox::Information;
    default: return QMessageBox::NoIcon;
    }
}

}  // namespace

int ShowMessage(const DialogCall& call, QWidget* parent)
{
    if (recorder()) return recorder()(call);
    const QString title = call.title.isEmpty() ? QApplication::applicationName() : call.title;
    const bool question = call.buttons == DialogButtons::YesNo;
    QMessageBox box(qtIcon(call.icon), title, call.text, question ? QMessageBox::Yes | QMessageBox::No : QMessageBox::Ok, parent);
    const int answer = box.exec();
    if (!question) return AnswerOk;
    return answer == QMessageBox::Yes ? AnswerYes : AnswerNo;
}

void setDialogRecorder(std::function<int(const DialogCall&)> r) { recorder() = std::move(r); }

}  // namespace platform
