#pragma once
// A directory field with a button that opens the directory chooser.

#include <QWidget>

class QLineEdit;

namespace pitwall::gui {

class DirectoryEdit : public QWidget {
    Q_OBJECT
public:
    explicit DirectoryEdit(QWidget* parent = nullptr);
    QString text() const;
    void setText(const QString& text);

signals:
    void textChanged();

private:
    QLineEdit* edit_;
};

} // namespace pitwall::gui
