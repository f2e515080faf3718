#include "BackupWindow.h"

#include "AppContext.h"
#include "DirectoryEdit.h"
#include "LanguageTable.h"
#include "ProgressWindow.h"
#include "base/Windows1252.h"
#include "transfer/Backup.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLocale>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace pitwall::gui {

namespace {

constexpr TextBinding kBackupTexts[] = {
    {"", TextRole::Caption, 422},
    {"Label20", TextRole::Caption, 481},
    {"Label1", TextRole::Caption, 942},
    {"BitBtn3", TextRole::Caption, 505},
    {"BitBtn1", TextRole::Caption, 204},
    {"ListView1", TextRole::Column, 908, 0},
    {"ListView1", TextRole::Column, 912, 1},
    {"ListView1", TextRole::Column, 918, 2},
};

constexpr int kBackupCompleteText = 164, kBackupIncompleteText = 165, kBackupMoreText = 166;

// What a backup could not copy, one file a line; a long list is cut short.
// The text is in the game texts' code page; the file names come as UTF-8.
std::string IncompleteBackupText(const BackupResult& result, const UITexts& texts)
{
    constexpr std::size_t kShown = 20;
    const std::size_t n = result.failures.size();
    std::string text = texts.format(kBackupIncompleteText, Args(static_cast<int>(n))) + "\n";
    for (std::size_t i = 0; i < n && i < kShown; ++i)
        text += "\n" + result.failures[i].file + ": " + result.failures[i].reason;
    if (n > kShown)
        text += "\n" + texts.format(kBackupMoreText, Args(static_cast<int>(n - kShown)));
    return text;
}

char DecimalSeparator() { return QLocale().decimalPoint().at(0).toLatin1(); }

// Copies the groups with the progress window showing files and time left.
class WindowCopyProgress : public CopyProgress {
public:
    WindowCopyProgress(ProgressWindow& window, const UITexts& texts) : window_(window), texts_(texts) {}
    void start(int items, std::uint64_t bytes) override
    {
        window_.start(items, texts_.text(kBackupFilesText), false, texts_.text(kBackupCaptionText),
                      texts_.text(kBackupRemainingText), bytes);
    }
    void step(std::uint64_t bytes, int) override { window_.step(bytes, "", false); }
    void finish() override { window_.hide(); }

private:
    ProgressWindow& window_;
    const UITexts& texts_;
};

} // namespace

BackupWindow::BackupWindow(AppContext& app, QWidget* parent) : QDialog(parent), app_(app)
{
    setObjectName("TForm24");
    setWindowTitle("Backup");
    setModal(true);
    auto* layout = new QVBoxLayout(this);
    auto* targetLabel = new QLabel("Backup erstellen im Verzeichnis:", this);
    targetLabel->setObjectName("Label20");
    target_ = new DirectoryEdit(this);
    target_->setObjectName("DirectoryEdit1");
    auto* advice = new QLabel("Es wird empfohlen, mindestens die Dateien GP3.EXE und F1GSTATE.SAV\n"
                              "sowie das Verzeichnis LDATA zu sichern.",
                              this);
    advice->setObjectName("Label1");
    advice->setStyleSheet("color: red;");
    list_ = new QTreeWidget(this);
    list_->setObjectName("ListView1");
    list_->setRootIsDecorated(false);
    list_->setHeaderLabels({"Daten", "Filter", "Größe"});
    list_->setColumnWidth(0, 250);
    list_->setColumnWidth(1, 190);
    list_->setColumnWidth(2, 65);
    total_ = new QLabel("Gesamtgröße:", this);
    total_->setObjectName("Label2");
    auto* start = new QPushButton("Jetzt sichern", this);
    start->setObjectName("BitBtn3");
    start->setDefault(true);
    auto* cancel = new QPushButton("Abbrechen", this);
    cancel->setObjectName("BitBtn1");
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(total_);
    buttons->addStretch();
    buttons->addWidget(start);
    buttons->addWidget(cancel);
    layout->addWidget(targetLabel);
    layout->addWidget(target_);
    layout->addWidget(advice);
    layout->addWidget(list_);
    layout->addLayout(buttons);
    resize(560, 520);
    connect(start, &QPushButton::clicked, this, &BackupWindow::startBackup);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(list_, &QTreeWidget::itemChanged, this, [this] { showTotalSize(); });
}

void BackupWindow::applyLanguage()
{
    ApplyTexts(this, kBackupTexts, app_.program.texts);
    total_->setText(FromGameText(app_.program.texts.format(kBackupTotalText, Args(""))));
}

void BackupWindow::showEvent(QShowEvent* event)
{
    fillBackupGroups();
    QDialog::showEvent(event);
}

void BackupWindow::fillBackupGroups()
{
    applyLanguage();
    QSignalBlocker block(list_);
    list_->clear();
    const std::string& game = app_.program.settings.gameDirectory;
    for (std::size_t g = 0; g < kBackupGroups.size(); ++g) {
        auto* item = new QTreeWidgetItem(list_);
        item->setText(0, FromGameText(app_.program.texts.text(kBackupGroups[g].nameText)));
        item->setText(1, QString::fromLatin1(kBackupGroups[g].pattern));
        item->setText(
            2, QString::fromStdString(FormatSize(BackupGroupSize(game, static_cast<int>(g)), DecimalSeparator())));
        item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
        item->setCheckState(0, Qt::Unchecked);
    }
    // Names and patterns in full: the window grows rather than cut them.
    for (int column = 0; column < 3; ++column)
        list_->resizeColumnToContents(column);
    int wanted = list_->header()->length() + list_->frameWidth() * 2 + 24;
    if (list_->viewport()->width() < wanted)
        resize(width() + wanted - list_->viewport()->width(), height());
}

std::vector<int> BackupWindow::tickedGroups() const
{
    std::vector<int> groups;
    for (int i = 0; i < list_->topLevelItemCount(); ++i)
        if (list_->topLevelItem(i)->checkState(0) == Qt::Checked)
            groups.push_back(i);
    return groups;
}

void BackupWindow::showTotalSize()
{
    std::uint64_t size = BackupSize(app_.program.settings.gameDirectory, tickedGroups());
    total_->setText(
        FromGameText(app_.program.texts.format(kBackupTotalText, Args(FormatSize(size, DecimalSeparator())))));
}

void BackupWindow::startBackup()
{
    std::string target = target_->text().toStdString();
    if (UnquoteDirectory(target).empty()) {
        Messenger m = app_.messenger();
        m.show(kBackupNoTargetText);
        return;
    }
    if (IsGameDirectoryItself(app_.program.settings.gameDirectory, target)) {
        Messenger m = app_.messenger();
        m.show(kBackupIntoGameText);
        return;
    }
    ProgressWindow progressWindow(this);
    WindowCopyProgress progress(progressWindow, app_.program.texts);
    auto result = RunBackup(app_.program.settings.gameDirectory, target, tickedGroups(), progress);
    if (!result)
        return;
    Messenger messenger = app_.messenger();
    // A backup that copied nothing (no group ticked, or none holding a
    // file) is no complete backup.
    if (result->complete() && result->filesCopied == 0)
        messenger.show(kBackupNothingCopiedText, Args(UnquoteDirectory(target)));
    else if (result->complete())
        messenger.show(kBackupCompleteText, Args(UnquoteDirectory(target)));
    else
        messenger.showFixed(IncompleteBackupText(*result, app_.program.texts));
}

} // namespace pitwall::gui
