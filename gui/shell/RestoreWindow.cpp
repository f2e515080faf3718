#include "RestoreWindow.h"

#include "AppContext.h"
#include "BusyCursor.h"
#include "LanguageLocale.h"
#include "LanguageTable.h"
#include "QtMessages.h"
#include "TransferSummary.h"
#include "base/Windows1252.h"
#include "transfer/Backup.h"
#include "transfer/PointOperationText.h"
#include "transfer/ProgramRestorePoints.h"

#include <QDateTime>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLocale>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <optional>

namespace pitwall::gui {

namespace {

constexpr int kRestoreQuestionText = 74, kRestoredText = 75, kNotRestoredText = 76, kUndoesLaterText = 1191;

constexpr TextBinding kRestoreTexts[] = {
    {"", TextRole::Caption, 68},
    {"ListView1", TextRole::Column, 69, 0},
    {"ListView1", TextRole::Column, 70, 1},
    {"ListView1", TextRole::Column, 1190, 2},
    {"ListView1", TextRole::Column, 71, 3},
    {"ListView1", TextRole::Column, 72, 4},
    {"BitBtn1", TextRole::Caption, 73},
    {"BitBtn2", TextRole::Caption, 750},
};

char DecimalSeparator(const QLocale& locale) { return locale.decimalPoint().at(0).toLatin1(); }

} // namespace

RestoreWindow::RestoreWindow(AppContext& app, QWidget* parent)
    : QDialog(parent), app_(app), store_(ProgramRestorePoints(app.program, app.program.settings.gameDirectory))
{
    setObjectName("TFormRestore");
    setWindowTitle("Wiederherstellungspunkte");
    setModal(true);
    auto* layout = new QVBoxLayout(this);
    list_ = new QTreeWidget(this);
    list_->setObjectName("ListView1");
    list_->setRootIsDecorated(false);
    list_->setHeaderLabels({"Zeit", "Vorgang", "Carset", "Dateien", "Größe"});
    // Time, files and size as wide as they need; the operation takes the rest.
    list_->header()->setStretchLastSection(false);
    list_->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    list_->header()->setSectionResizeMode(1, QHeaderView::Stretch);
    auto* restore = new QPushButton("Wiederherstellen", this);
    restore->setObjectName("BitBtn1");
    restore->setDefault(true);
    auto* close = new QPushButton("Schließen", this);
    close->setObjectName("BitBtn2");
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(restore);
    buttons->addWidget(close);
    layout->addWidget(list_);
    layout->addLayout(buttons);
    resize(520, 300);
    connect(restore, &QPushButton::clicked, this, &RestoreWindow::restoreChosenPoint);
    connect(close, &QPushButton::clicked, this, &QDialog::reject);
    connect(list_, &QTreeWidget::itemDoubleClicked, this, [this] { restoreChosenPoint(); });
    applyLanguage();
    fill();
}

void RestoreWindow::applyLanguage() { ApplyTexts(this, kRestoreTexts, app_.program.texts); }

void RestoreWindow::fill()
{
    points_ = store_.list();
    list_->clear();
    for (const RestorePoint& p : points_) {
        auto* item = new QTreeWidgetItem(list_);
        item->setText(0, LocalTimeText(p.time, app_.program));
        item->setToolTip(0, QString::fromStdString(p.id));
        item->setText(1, FromMessageText(OperationText(p, app_.program.texts)));
        item->setText(2, QString::fromStdString(p.what.carset()));
        item->setText(3, QString::number(p.files.size()));
        item->setTextAlignment(3, Qt::AlignRight | Qt::AlignVCenter);
        item->setText(
            4, QString::fromStdString(FormatSize(p.totalSize(), DecimalSeparator(LanguageLocale(app_.program)))));
        item->setTextAlignment(4, Qt::AlignRight | Qt::AlignVCenter);
    }
    if (!points_.empty())
        list_->setCurrentItem(list_->topLevelItem(0));
}

void RestoreWindow::restoreChosenPoint()
{
    int row = list_->indexOfTopLevelItem(list_->currentItem());
    if (row < 0 || static_cast<std::size_t>(row) >= points_.size())
        return;
    const RestorePoint point = points_[static_cast<std::size_t>(row)];
    Messenger messenger = app_.messenger();
    // Times keep the letters of the system's locale (Korean, Arabic digits):
    // message texts take them as UTF-8.
    std::string shown = list_->topLevelItem(row)->text(0).toStdString();
    // The installation is held from the question to the last file put back:
    // a run that ended meanwhile would be undone without being named, or
    // one writing between the safety point and the restore lost.
    std::optional<InstallationLock> held;
    try {
        held.emplace(store_.lock(point_kind::kRestore));
    } catch (const std::exception& e) {
        messenger.showFixed(e.what());
        return;
    }
    // What was changed since the point is undone with it: the question
    // names those changes.
    const std::vector<RestorePoint> later = store_.madeAfter(point);
    if (later.empty()) {
        if (!messenger.askNoByDefault(kRestoreQuestionText, Args(point.files.size(), shown)))
            return;
    } else {
        std::vector<std::string> lines;
        for (const RestorePoint& p : later)
            lines.push_back(LocalTimeText(p.time, app_.program).toStdString() + "  "
                            + OperationText(p, app_.program.texts));
        if (!messenger.askNoByDefault(kUndoesLaterText, Args(later.size(), MessageList(lines, app_.program.texts))))
            return;
    }
    RestoreReport report;
    try {
        // Hashing, copying and putting back large files (the art bank)
        // keeps the windows painted.
        BusyCursor busy;
        TransferUi ui = app_.transferUi();
        const auto keepAlive = [&ui] { ui.loading.keepAlive(); };
        // The state being replaced is kept first, so the restore can be
        // undone in its turn; without that point nothing is put back.
        std::optional<RestorePoint> before;
        if (!store_.changedBackTo(point, keepAlive).empty())
            before = store_.create(PointOperation{point_kind::kRestore, {point.id}}, store_.filesBackTo(point),
                                   keepAlive);
        report = store_.restoreBackTo(point, keepAlive);
        if (before && report.ok())
            store_.prune();
    } catch (const std::exception& e) {
        report.failed.push_back(e.what());
    }
    held.reset(); // not while the message waits for the user
    if (report.ok()) {
        messenger.show(kRestoredText, Args(report.restored.size()));
    } else {
        std::vector<std::string> lines;
        for (const auto& f : report.failed)
            lines.push_back(f);
        messenger.show(kNotRestoredText, Args(lines.size(), MessageList(lines, app_.program.texts)));
    }
    fill();
}

} // namespace pitwall::gui
