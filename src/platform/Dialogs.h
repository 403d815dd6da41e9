#pragma once
// Every message box and question of the program goes through here, so tests can answer them.

#include <QString>
#include <functional>

class QWidget;

namespace platform {

enum class DialogIcon { None, Critical, Question, Exclamation, Information };
enum class DialogButtons { Ok, YesNo };
enum DialogAnswer { AnswerOk = 1, AnswerYes = 6, AnswerNo = 7 };

struct DialogCall {
    QString text;
    QString title;  // empty: the application title
    DialogIcon icon = DialogIcon::None;
    DialogButtons buttons = DialogButtons::Ok;
};

// Shows the box (modal) and returns the answer.
int ShowMessage(const DialogCall& call, QWidget* parent = nullptr);

// Tests: every box is handed to recorder instead of being shown; null restores the real boxes.
void setDialogRecorder(std::function<int(const DialogCall&)> recorder);

}  // namespace platform
