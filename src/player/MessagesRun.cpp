#include "player/MessagesRun.h"

#include <QCoreApplication>

namespace player {

namespace {
int depth = 0;
}  // namespace

MessagesRun::MessagesRun() { ++depth; }
MessagesRun::~MessagesRun() { --depth; }
bool MessagesRun::Now() { return depth > 0; }

void LetMessagesRun()
{
    MessagesRun running;
    QCoreApplication::processEvents();
}

}  // namespace player
