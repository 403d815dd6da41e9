#pragma once
#include <QString>

namespace common {

// Chooses the text of the language in force: Greek when LanguageGreek, else English.
QString Lang(const QString& greek, const QString& english);
QString Lang(const char* greekUtf8, const char* english);

}  // namespace common
