#include "common/Language.h"
#include "common/Globals.h"

namespace common {

QString Lang(const QString& greek, const QString& english) { return globals().LanguageGreek ? greek : english; }

QString Lang(const char* greekUtf8, const char* english)
{
    return globals().LanguageGreek ? QString::fromUtf8(greekUtf8) : QString::fromUtf8(english);
}

}  // namespace common
