#include "associations/Module1.h"
#include "platform/Registry.h"

#include <QCoreApplication>
#include <QFileInfo>

namespace associations {

namespace reg = platform::registry;

QString ProgramPath()
{
    return QCoreApplication::applicationDirPath() + QLatin1Char('/') +
           QFileInfo(QCoreApplication::applicationFilePath()).fileName();
}

QString OpenCommandLine() { return ProgramPath() + QStringLiteral(" %1"); }
QString PlayCommandLine() { return ProgramPath() + QStringLiteral(" /play"); }

// Failures are not reported: what was written shows in the lists rebuilt from the store.
void CreateAssociation(const FileTypeRecord& record)
{
    const QString iconText = record.iconPath + QLatin1Char(',') + QString::number(record.iconIndex);
    QString extension = record.extension;
    // The audio disc's key has no dot; the check and Delete look for it under that name.
    if (!extension.startsWith(QLatin1Char('.')) && extension.compare(AudioDiscEntry, Qt::CaseInsensitive) != 0)
        extension.prepend(QLatin1Char('.'));

    reg::CreateKey(extension);
    reg::SetString(extension, QString(), record.typeName);
    if (!record.contentType.isEmpty()) reg::SetString(extension, QStringLiteral("Content Type"), record.contentType);

    reg::CreateKey(record.typeName);
    if (iconText != QLatin1String(",0")) {
        const QString icon = record.typeName + QStringLiteral("\\DefaultIcon");
        reg::CreateKey(icon);
        reg::SetString(icon, QString(), iconText);
    }
    reg::SetString(record.typeName, QString(), record.description);

    const QString shell = record.typeName + QStringLiteral("\\Shell");
    reg::CreateKey(shell);
    for (qsizetype i = 0; i < record.verbs.size(); ++i) {
        const QString command = shell + QLatin1Char('\\') + record.verbs[i] + QStringLiteral("\\Command");
        reg::CreateKey(command);
        reg::SetString(command, QString(), record.commandLines.value(i));
    }
}

QString GetString(std::uint32_t, const QString& keyPath, const QString& valueName)
{
    return reg::QueryString(keyPath, valueName).value_or(QString());
}

void DeleteValue(std::uint32_t, const QString& keyPath, const QString& valueName) { reg::DeleteValue(keyPath, valueName); }

}  // namespace associations
