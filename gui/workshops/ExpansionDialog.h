#pragma once
// TForm10 "Grafikdatei expandieren": which art-bank entries to enlarge so
// that new pictures fit. Entries that fit already are checked and grey.

#include "formats/ArtBankDirectory.h"
#include "transfer/SelectionItems.h"

#include <QDialog>
#include <array>
#include <vector>

class QCheckBox;
class QListWidget;

namespace pitwall::gui {

class AppContext;

class ExpansionDialog : public QDialog {
    Q_OBJECT
public:
    // `selection` is the pending transfer's selection, `backgroundMarks` the
    // menu backgrounds (0..84) to be exported.
    ExpansionDialog(AppContext& app, const ArtDirectory& directory, const ItemBytes& selection,
                    const std::array<std::uint8_t, 256>& backgroundMarks, QWidget* parent = nullptr);

    void applyLanguage();
    // Filled when the dialog ends with one of its OK buttons.
    const std::vector<bool>& resultFlags() const { return result_; }
    bool keepBackup() const;
    bool firstOkUsed() const { return okFlag_; }

    QListWidget* list() const { return list_; }
    QCheckBox* groupBox(int number) const;
    void expandAll();
    void expandChosen();

private:
    void setGroup(std::size_t first, std::size_t last, bool checked);
    void takeResult();

    AppContext& app_;
    ItemBytes selection_;
    std::array<std::uint8_t, 256> marks_;
    QListWidget* list_;
    std::vector<bool> result_;
    bool okFlag_ = false;
};

} // namespace pitwall::gui
