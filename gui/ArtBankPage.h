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

    // FormShow: the count, the list, the remembered entry shown.
    void ShowPage();
    // FormHide: remembers the selected entry.
    void HidePage();
    void ApplyLanguage();

    // The entry shown (1..839), 0 when none.
    int entry() const;
    void ListBox1Click(int row);
    void BitBtn1Click();
    void BitBtn32Click();
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
