#pragma once
// TForm19 "Carset-Informationen ändern": version, author, date, free text and
// whether the information is shown to whoever loads the carset.

#include "transfer/CarsetInfo.h"

#include <QDialog>

class QCheckBox;
class QComboBox;
class QLineEdit;
class QPlainTextEdit;

namespace pitwall::gui {

class AppContext;

class CarsetInfoWindow : public QDialog {
    Q_OBJECT
public:
    CarsetInfoWindow(AppContext& app, const CarsetInfo& info, QWidget* parent = nullptr);

    // The fields as edited, and the information lines they make.
    CarsetInfoFields fields() const;
    void applyCarsetInfoEdits(CarsetInfo& info) const;

    QComboBox* versionBox() const { return version_; }
    QLineEdit* authorField() const { return author_; }
    QLineEdit* dateField() const { return date_; }
    QPlainTextEdit* memo() const { return memo_; }
    QCheckBox* showOnLoadBox() const { return showOnLoad_; }

private:
    QComboBox* version_;
    QLineEdit* author_;
    QLineEdit* date_;
    QString shownDate_;
    QPlainTextEdit* memo_;
    QCheckBox* showOnLoad_;
    // The fields as read, so that what the user leaves alone keeps its bytes
    // (the controls show it without control characters).
    CarsetInfoFields shown_;
};

} // namespace pitwall::gui
