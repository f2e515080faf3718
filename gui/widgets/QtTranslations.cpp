#include "QtTranslations.h"

#include "base/Windows1252.h"

#include <QCoreApplication>
#include <QLibraryInfo>

namespace pitwall::gui {

namespace {

struct LanguageLocale {
    const char* fileName; // upper case, Windows-1252
    const char* locale;
};

constexpr LanguageLocale kLocales[] = {
    {"DEUTSCH.LNG", "de"},
    {"FRAN\xC7"
     "AIS.LNG",
     "fr"},
    {"FRANCAIS.LNG", "fr"},
    {"ESPA\xD1OL.LNG", "es"},
    {"ESPANOL.LNG", "es"},
    {"ITALIANO.LNG", "it"},
    {"POLSKI.LNG", "pl"},
    {"PORTUGU\xCAS.LNG", "pt_BR"},
    {"NEDERLANDS.LNG", "nl"},
    {"SVENSKA.LNG", "sv"},
    {"DANSK.LNG", "da"},
    {"SUOMI.LNG", "fi"},
};

} // namespace

QString QtLocaleOfLanguageFile(const std::string& languageFile)
{
    for (const auto& l : kLocales)
        if (EqualsIgnoreCase(languageFile, l.fileName))
            return l.locale;
    return {};
}

bool QtTranslations::use(const std::string& languageFile)
{
    if (translator_) {
        QCoreApplication::removeTranslator(translator_.get());
        translator_.reset();
    }
    QString locale = QtLocaleOfLanguageFile(languageFile);
    if (locale.isEmpty())
        return false;
    auto translator = std::make_unique<QTranslator>();
    if (!translator->load("qtbase_" + locale, QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        return false; // Qt's translations are not installed: its dialogs stay English
    QCoreApplication::installTranslator(translator.get());
    translator_ = std::move(translator);
    return true;
}

QtTranslations::~QtTranslations()
{
    if (translator_)
        QCoreApplication::removeTranslator(translator_.get());
}

} // namespace pitwall::gui
