#pragma once
// TForm26: a directory and a file name mask for saving a sequence of
// pictures ("Menu*.BMP" gives Menu1.BMP, Menu2.BMP, ...).

#include <QDialog>

class QLineEdit;

namespace pitwall {
class UITexts;
}

namespace pitwall::gui {

class DirectoryEdit;

class DirectoryMaskChooser : public QDialog {
    Q_OBJECT
public:
    explicit DirectoryMaskChooser(const UITexts& texts, QWidget* parent = nullptr);
    QString directory() const;
    QString mask() const;
    void setDirectory(const QString& directory);
    void setMask(const QString& mask);
    // Closes only with a folder and a mask (OK is disabled without them).
    void accept() override;

private:
    bool complete() const;

    DirectoryEdit* directory_;
    QLineEdit* mask_;
};

} // namespace pitwall::gui
