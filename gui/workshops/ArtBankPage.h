#pragma once
// The workshop window's page "GP3ART5.BIN-Workshop": every entry of the art
// bank by name, its picture, its directory record, saving it as a picture
// file and the expansion of the bank. Besides the list, a grid of
// thumbnails with a name filter.

#include "formats/Image.h"

#include <QWidget>

#include <vector>

class QCheckBox;
class QComboBox;
class QDoubleSpinBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;

namespace pitwall::gui {

class AppContext;
class ZoomView;

class ArtBankPage : public QWidget {
    Q_OBJECT
public:
    explicit ArtBankPage(AppContext& app, QWidget* parent = nullptr);

    // fillBackupGroups: the count, the list, the remembered entry shown.
    void showPage();
    // FormHide: remembers the selected entry.
    void hidePage();
    void applyLanguage();

    // The entry shown (1..839), 0 when none.
    int entry() const;
    void showListedEntry(int row);
    void exportEntryPicture();
    void expandArtBank();
    void setGridView(bool on);
    void setNameFilter(const QString& text);

    QListWidget* list() const { return list_; }
    QListWidget* grid() const { return grid_; }
    ZoomView* view() const { return view_; }

private:
    std::string bankFile() const;
    void fillList();
    void fillGrid();
    void showEntry(int entry);

    AppContext& app_;
    QLabel* count_;
    QListWidget* list_;
    QListWidget* grid_;
    QLineEdit* filter_;
    QCheckBox* gridView_;
    QComboBox* zoom_;
    ZoomView* view_;
    QCheckBox* fitPicture_;
    std::vector<QDoubleSpinBox*> fields_; // index, width, height, size, offset, unknown 1, unknown 2
    QCheckBox* expanded_;
    QPushButton* save_;
    QPushButton* expand_;
    bool gridFilled_ = false;
};

} // namespace pitwall::gui
