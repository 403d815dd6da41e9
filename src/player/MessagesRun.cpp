#include "player/MessagesRun.h"

#include <QCoreApplication>

namespace player {

namespace {
int depth = 0;
int choosers = 0;
}  // namespace

MessagesRun::MessagesRun() { ++depth; }
MessagesRun::~MessagesRun() { --depth; }
bool MessagesRun::Now() { return depth > 0; }
bool MessagesRun::OnlyChooserOpen() { return depth > 0 && depth == choosers; }

ChooserOpen::ChooserOpen() { ++choosers; }
ChooserOpen::~ChooserOpen() { --choosers; }

void LetMessagesRun()
{
    MessagesRun running;
    QCoreApplication::processEvents();
}

}  // namespace player
