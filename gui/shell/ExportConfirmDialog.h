#pragma once
// TFormExportConfirm: shown between the preparation of an export and its writing.
// It says how many game files will change; "Details" opens the list of
// them, each with the items that change it.

#include "transfer/GameChangeSet.h"

#include <QDialog>
#include <vector>

class QLabel;
class QPushButton;
class QTreeWidget;

namespace pitwall {
class UITexts;
}

namespace pitwall::gui {

class ExportConfirmDialog : public QDialog {
    Q_OBJECT
public:
    ExportConfirmDialog(const UITexts& texts, const std::vector<FileChange>& changes, QWidget* parent = nullptr);

    void applyLanguage();
    QLabel* countLabel() const { return count_; }
    QTreeWidget* details() const { return details_; }
    // Shows or hides the details list (the "Details" button).
    void toggleDetails();

private:
    void fill(const std::vector<FileChange>& changes);

    const UITexts& texts_;
    std::size_t files_;
    QLabel* count_;
    QPushButton* detailsButton_;
    QTreeWidget* details_;
};

} // namespace pitwall::gui
