#pragma once
// The game's texts of every language (items 168..175) as a data area of the
// transfers: LDATA\<LANGUAGE>.str on import and export, Language0.DAT ..
// Language7.DAT in a carset, all in the game's string-file format.

#include "texts/GameTexts.h"
#include "transfer/AreaFiles.h"
#include "transfer/DataArea.h"
#include "transfer/SelectionItems.h"

#include <functional>
#include <string>

namespace pitwall {

// "Language" + index + ".DAT".
std::string LanguageMember(int language);
// Clears the selection and selects the languages the game version has.
void SelectAllLanguages(ItemBytes& selection, int gameVersion);

class LanguagesArea : public DataArea {
public:
    explicit LanguagesArea(GameTexts& texts) : texts_(texts) {}

    std::vector<int> items() const override;
    void importFromGame(TransferContext& context) override;
    void exportToGame(TransferContext& context) override;
    void loadFromCarset(TransferContext& context) override;
    void saveToCarset(TransferContext& context) override;

    // Adds every language of the installed version to the run's selection
    // (the rest of it stays) and imports them; what another area's import
    // needs before its own.
    void importAllLanguages(TransferContext& context);

    // Called after an import that read at least one language: the track
    // area copies its texts from the lists. Empty by default.
    std::function<void(TransferContext&)> afterImport;

private:
    // Import (the languages of the installed version) and carset load (all
    // eight): true when at least one language was read.
    bool take(TransferContext& context, const ByteSource& source);
    // One language; false (list unchanged) on failure.
    bool takeLanguage(TransferContext& context, int language, const ByteSource& source);
    void give(TransferContext& context, const ByteSink& sink) const;
    void giveLanguage(TransferContext& context, int language, const ByteSink& sink) const;

    GameTexts& texts_;
};

} // namespace pitwall
