#pragma once
// TForm6: the selection dialog of every transfer. Check box N is selection
// item N; select-all and row boxes carry their ranges as tags. The rules
// live in the core's SelectionDialogModel; this window draws it.

#include "LanguageTable.h"
#include "transfer/SelectionDialogModel.h"
#include "transfer/TransferUi.h"

#include <QDialog>
#include <array>
#include <vector>

class QCheckBox;
class QGridLayout;

namespace pitwall::gui {

class AppContext;

class SelectionDialogWindow : public QDialog, public SelectionDialog {
    Q_OBJECT
public:
    explicit SelectionDialogWindow(AppContext& app, QWidget* parent = nullptr);

    // Prepare the boxes (without showing the dialog).
    void prepareImport(const ItemBytes& offered, bool carset, int gameVersion);
    void prepareExport(const ItemBytes& offered, bool carset);
    // Item N is selected when its box is shown in the dialog (whichever
    // page is in front) and checked.
    ItemBytes readSelectionDialog() const;
    void applyLanguage();

    bool showForImport(const ItemBytes& offered, bool carset, int gameVersion) override;
    bool showForExport(const ItemBytes& offered, bool carset) override;
    void setCarriedItems(const ItemBytes& carried) override { model_.setCarried(carried); }
    ItemBytes selection() const override { return readSelectionDialog(); }

    QCheckBox* box(int item) const { return boxes_.at(static_cast<std::size_t>(item)); }
    QCheckBox* allBox() const { return all_; }
    const SelectionDialogModel& model() const { return model_; }

private:
    QCheckBox* makeBox(int item, QWidget* parent, const char* caption = "");
    void buildDataPage(QWidget* page);
    void buildGraphicsPage(QWidget* page);
    void buildTracksPage(QWidget* page);
    void syncFromModel();
    void nameRowsByLoadedData();
    void nameGridBoxes();
    void boxClicked(int item);

    AppContext& app_;
    SelectionDialogModel model_;
    std::array<QCheckBox*, kLastItem + 1> boxes_{};
    QCheckBox* all_ = nullptr;
    std::vector<TextBinding> texts_;
    std::vector<std::string> names_; // backing store of the generated object names
};

} // namespace pitwall::gui
