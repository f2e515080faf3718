#include "ExportConfirmDialog.h"

#include "LanguageTable.h"
#include "OkCancelButtons.h"
#include "QtMessages.h"
#include "base/UITexts.h"
#include "base/Windows1252.h"
#include "transfer/Backup.h"
#include "transfer/SelectionItems.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLocale>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <algorithm>

namespace pitwall::gui {

namespace {

constexpr int kFilesChangeText = 78, kOneFileChangesText = 446, kOtherChangesText = 743, kItemChangeText = 744,
              kNewFileText = 745;

constexpr TextBinding kConfirmTexts[] = {
    {"", TextRole::Caption, 742},
    {"BitBtn3", TextRole::Caption, 79},
    {"BitBtn1", TextRole::Caption, 203},
    {"BitBtn2", TextRole::Caption, 204},
};

std::uint64_t Bytes(const std::vector<ByteRange>& ranges)
{
    std::uint64_t total = 0;
    for (const auto& r : ranges)
        total += r.length;
    return total;
}

char DecimalSeparator() { return QLocale().decimalPoint().at(0).toLatin1(); }

} // namespace

ExportConfirmDialog::ExportConfirmDialog(const UITexts& texts, const std::vector<FileChange>& changes, QWidget* parent)
    : QDialog(parent), texts_(texts), files_(changes.size())
{
    setObjectName("TFormExportConfirm");
    setWindowTitle("Export bestätigen");
    setModal(true);
    auto* layout = new QVBoxLayout(this);
    count_ = new QLabel(this);
    count_->setObjectName("Label1");
    detailsButton_ = new QPushButton("Details", this);
    detailsButton_->setObjectName("BitBtn3");
    detailsButton_->setCheckable(true);
    auto* top = new QHBoxLayout;
    top->addWidget(count_, 1);
    top->addWidget(detailsButton_);
    details_ = new QTreeWidget(this);
    details_->setObjectName("TreeView1");
    details_->setHeaderHidden(true);
    details_->setColumnCount(1);
    details_->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    details_->setMinimumSize(460, 220);
    details_->hide();
    layout->addLayout(top);
    layout->addWidget(details_, 1);
    layout->addStretch();
    layout->addLayout(AddOkCancel(this));
    connect(detailsButton_, &QPushButton::clicked, this, &ExportConfirmDialog::toggleDetails);
    fill(changes);
    applyLanguage();
    setMinimumWidth(360);
}

void ExportConfirmDialog::applyLanguage()
{
    ApplyTexts(this, kConfirmTexts, texts_);
    count_->setText(
        FromGameText(files_ == 1 ? texts_.text(kOneFileChangesText) : texts_.format(kFilesChangeText, Args(files_))));
}

void ExportConfirmDialog::fill(const std::vector<FileChange>& changes)
{
    const char separator = DecimalSeparator();
    for (const FileChange& c : changes) {
        auto* file = new QTreeWidgetItem(details_);
        // The path is UTF-8 as the system spells it; the message text keeps it so.
        const std::string& path = c.relativePath;
        file->setText(0, FromMessageText(c.created ? texts_.format(kNewFileText, Args(path)) : path));
        // The items in their numbers' order; what belongs to none comes last.
        std::vector<ItemChange> items = c.items;
        std::stable_sort(items.begin(), items.end(), [](const ItemChange& a, const ItemChange& b) {
            return (a.item == 0) != (b.item == 0) ? b.item == 0 : a.item < b.item;
        });
        for (const ItemChange& i : items) {
            auto* item = new QTreeWidgetItem(file);
            std::string name = i.item > 0 ? ItemDescription(i.item, texts_) : texts_.text(kOtherChangesText);
            item->setText(0,
                          FromGameText(texts_.format(
                              kItemChangeText, Args(name, i.ranges.size(), FormatSize(Bytes(i.ranges), separator)))));
        }
    }
    details_->expandAll();
}

void ExportConfirmDialog::toggleDetails()
{
    bool show = details_->isHidden();
    details_->setVisible(show);
    detailsButton_->setChecked(show);
    adjustSize();
}

} // namespace pitwall::gui
