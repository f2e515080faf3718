#include "LanguageLocale.h"

#include "QtTranslations.h"
#include "app/ProgramState.h"

#include <QDateTime>

namespace pitwall::gui {

QLocale LanguageLocale(const ProgramState& program)
{
    const int i = program.languageIndex;
    if (i < 0 || i >= static_cast<int>(program.languageFiles.size()))
        return QLocale();
    const QString name = QtLocaleOfLanguageFile(program.languageFiles[static_cast<std::size_t>(i)]);
    if (name.isEmpty())
        return QLocale();
    const QLocale chosen(name);
    // English needs no change; another language overrides a system locale
    // of a different language only.
    return chosen.language() == QLocale().language() ? QLocale() : chosen;
}

QString LocalTimeText(const std::string& utc, const ProgramState& program)
{
    const QDateTime time = QDateTime::fromString(QString::fromStdString(utc), Qt::ISODate);
    if (!time.isValid())
        return QString::fromStdString(utc);
    return LanguageLocale(program).toString(time.toLocalTime(), QLocale::ShortFormat);
}

} // namespace pitwall::gui
