#include "RestoreWindow.h"

#include "AppContext.h"
#include "LanguageTable.h"
#include "TransferSummary.h"
#include "base/Windows1252.h"
#include "transfer/Backup.h"

#include <QDateTime>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLocale>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace pitwall::gui {

namespace {

constexpr int kRestoreQuestionText = 74, kRestoredText = 75, kNotRestoredText = 76;

constexpr TextBinding kRestoreTexts[] = {
    {"", TextRole::Caption, 68},
    {"ListView1", TextRole::Column, 69, 0},
    {"ListView1", TextRole::Column, 70, 1},
    {"ListView1", TextRole::Column, 71, 2},
    {"ListView1", TextRole::Column, 72, 3},
    {"BitBtn1", TextRole::Caption, 73},
    {"BitBtn2", TextRole::Caption, 750},
};

RestorePoints StoreOf(const ProgramState& program)
{
    return RestorePoints(program.restorePointRoot.empty() ? DefaultRestorePointRoot() : program.restorePointRoot,
                         program.settings.gameDirectory, program.settings.restorePointsKept);
}

// The manifest keeps UTC; the list shows the user's local time.
QString LocalTime(const std::string& utc)
{
    QDateTime time = QDateTime::fromString(QString::fromStdString(utc), Qt::ISODate);
    if (!time.isValid())
        return QString::fromStdString(utc);
    return QLocale().toString(time.toLocalTime(), QLocale::ShortFormat);
}

char DecimalSeparator() { return QLocale().decimalPoint().at(0).toLatin1(); }

} // namespace

RestoreWindow::RestoreWindow(AppContext& app, QWidget* parent)
    : QDialog(parent), app_(app), store_(StoreOf(app.program))
{
    setObjectName("TFormRestore");
    setWindowTitle("Wiederherstellungspunkte");
    setModal(true);
    auto* layout = new QVBoxLayout(this);
    list_ = new QTreeWidget(this);
    list_->setObjectName("ListView1");
    list_->setRootIsDecorated(false);
    list_->setHeaderLabels({"Zeit", "Vorgang", "Dateien", "Größe"});
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
        item->setText(0, LocalTime(p.time));
        item->setToolTip(0, QString::fromStdString(p.id));
        item->setText(1, QString::fromStdString(p.operation));
        item->setText(2, QString::number(p.files.size()));
        item->setTextAlignment(2, Qt::AlignRight | Qt::AlignVCenter);
        item->setText(3, QString::fromStdString(FormatSize(p.totalSize(), DecimalSeparator())));
        item->setTextAlignment(3, Qt::AlignRight | Qt::AlignVCenter);
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
    std::string shown = ToGameText(list_->topLevelItem(row)->text(0));
    if (!messenger.ask(kRestoreQuestionText, Args(point.files.size(), shown)))
        return;
    RestoreReport report;
    try {
        report = store_.restore(point);
    } catch (const std::exception& e) {
        report.failed.push_back(e.what());
    }
    if (report.ok()) {
        messenger.show(kRestoredText, Args(report.restored.size()));
    } else {
        std::vector<std::string> lines;
        for (const auto& f : report.failed)
            lines.push_back(Utf8ToWindows1252(f));
        messenger.show(kNotRestoredText, Args(lines.size(), MessageList(lines, app_.program.texts)));
    }
    fill();
}

} // namespace pitwall::gui
