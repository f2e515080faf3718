#pragma once
// Qt's own texts (standard buttons, file and folder dialogs) in the language
// the user chose for Pitwall, from the translations Qt ships.

#include <QTranslator>
#include <memory>
#include <string>

namespace pitwall::gui {

// The Qt locale name of a Pitwall language file ("DEUTSCH.LNG" -> "de"), empty
// for English and for languages Qt has no name for here.
QString QtLocaleOfLanguageFile(const std::string& languageFile);

class QtTranslations {
public:
    // Installs Qt's translation for the language file's language, or
    // removes the one installed when the language has none (English).
    // Returns whether a translation is in use.
    bool use(const std::string& languageFile);
    ~QtTranslations();

private:
    std::unique_ptr<QTranslator> translator_;
};

} // namespace pitwall::gui
