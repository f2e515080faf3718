#pragma once
// TForm8 "Bitte wählen sie ein Verzeichniss": one directory; Cancel empties it.

#include <QDialog>

namespace pitwall {
class UITexts;
}

namespace pitwall::gui {

class DirectoryEdit;

class DirectoryChooser : public QDialog {
    Q_OBJECT
public:
    explicit DirectoryChooser(const UITexts& texts, QWidget* parent = nullptr);
    QString directory() const;
    void setDirectory(const QString& directory);

private:
    DirectoryEdit* edit_;
};

} // namespace pitwall::gui
