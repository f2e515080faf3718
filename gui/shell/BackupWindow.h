#pragma once
// TForm24 "Backup": the sixteen groups of game files with their sizes, a
// target directory and "Jetzt sichern".

#include <QDialog>
#include <vector>

class QLabel;
class QTreeWidget;

namespace pitwall::gui {

class AppContext;
class DirectoryEdit;

class BackupWindow : public QDialog {
    Q_OBJECT
public:
    explicit BackupWindow(AppContext& app, QWidget* parent = nullptr);

    void applyLanguage();
    std::vector<int> tickedGroups() const;

    QTreeWidget* list() const { return list_; }
    DirectoryEdit* target() const { return target_; }
    QLabel* totalLabel() const { return total_; }
    // Runs the backup (the "Jetzt sichern" button).
    void startBackup();

protected:
    void showEvent(QShowEvent* event) override;

private:
    void fillBackupGroups();
    void showTotalSize();

    AppContext& app_;
    DirectoryEdit* target_;
    QTreeWidget* list_;
    QLabel* total_;
};

} // namespace pitwall::gui
