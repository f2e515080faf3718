#pragma once
// TFormRestore "Wiederherstellen": the restore points of the current
// installation, newest first, and a button that puts the chosen one back.
// Restoring changes only the game files; the working set stays as it is.

#include "transfer/RestorePoints.h"

#include <QDialog>
#include <vector>

class QTreeWidget;

namespace pitwall::gui {

class AppContext;

class RestoreWindow : public QDialog {
    Q_OBJECT
public:
    explicit RestoreWindow(AppContext& app, QWidget* parent = nullptr);

    void applyLanguage();
    // The points as listed (read when the window is made and after a restore).
    const std::vector<RestorePoint>& points() const { return points_; }
    QTreeWidget* list() const { return list_; }
    // Asks, then puts the chosen point back and says how it went (the
    // "Wiederherstellen" button).
    void restoreChosenPoint();

private:
    void fill();

    AppContext& app_;
    RestorePoints store_;
    std::vector<RestorePoint> points_;
    QTreeWidget* list_;
};

} // namespace pitwall::gui
