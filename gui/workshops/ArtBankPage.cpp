#include "ArtBankPage.h"

#include "AppContext.h"
#include "BusyCursor.h"
#include "ExpansionDialog.h"
#include "ImageConversion.h"
#include "PictureDescription.h"
#include "WidgetHelpers.h"
#include "WorkshopsState.h"
#include "ZoomView.h"
#include "formats/ArtBankFile.h"
#include "formats/ArtBankPictures.h"
#include "formats/GameInstallation.h"
#include "menu/GameArtBank.h"
#include "transfer/FormatMessages.h"
#include "transfer/ReportedFormats.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPixmap>
#include <QPushButton>
#include <QSignalBlocker>
#include <QVBoxLayout>

#include <algorithm>

namespace pitwall::gui {

namespace {

constexpr int kCountText = 307;
constexpr int kShownEntries = 839; // entries 1..839; entry 0 is not listed
constexpr int kThumbnailSide = 64;

QDoubleSpinBox* ReadOnlyNumber(QWidget* parent, const char* name)
{
    auto* box = new QDoubleSpinBox(parent);
    box->setObjectName(name);
    box->setDecimals(0);
    box->setRange(0, 4294967295.0);
    box->setReadOnly(true);
    box->setButtonSymbols(QAbstractSpinBox::NoButtons);
    return box;
}

} // namespace

ArtBankPage::ArtBankPage(AppContext& app, QWidget* parent) : QWidget(parent), app_(app)
{
    setObjectName("TabSheet36");
    auto* layout = new QHBoxLayout(this);

    auto* left = new QVBoxLayout;
    count_ = Label(this, "Label138", "Anzahl der Grafiken: 839");
    left->addWidget(count_);
    auto* filterRow = new QHBoxLayout;
    filterRow->addWidget(Label(this, "LabelArtFilter", "Filter:"));
    filter_ = new QLineEdit(this);
    filter_->setObjectName("EditArtFilter");
    filter_->setClearButtonEnabled(true);
    filterRow->addWidget(filter_, 1);
    left->addLayout(filterRow);
    gridView_ = new QCheckBox(QString::fromUtf8("Vorschaubilder"), this);
    gridView_->setObjectName("CheckBoxArtGrid");
    left->addWidget(gridView_);
    list_ = new QListWidget(this);
    list_->setObjectName("ListBox1");
    left->addWidget(list_, 1);
    grid_ = new QListWidget(this);
    grid_->setObjectName("ListViewArtGrid");
    grid_->setViewMode(QListView::IconMode);
    grid_->setIconSize(QSize(kThumbnailSide, kThumbnailSide));
    grid_->setGridSize(QSize(kThumbnailSide + 40, kThumbnailSide + 34));
    grid_->setResizeMode(QListView::Adjust);
    grid_->setMovement(QListView::Static);
    grid_->setWordWrap(true);
    grid_->hide();
    left->addWidget(grid_, 1);
    layout->addLayout(left, 2);

    auto* right = new QVBoxLayout;
    auto* zoomRow = new QHBoxLayout;
    zoomRow->addWidget(Label(this, "LabelArtZoom", "Zoom:"));
    zoom_ = new QComboBox(this);
    zoom_->setObjectName("ComboBoxArtZoom");
    for (int z : ZoomView::kZooms)
        zoom_->addItem(z == ZoomView::kFit ? QString::fromUtf8("Einpassen") : QString("%1x").arg(z), z);
    zoomRow->addWidget(zoom_);
    fitPicture_ = new QCheckBox(QString::fromUtf8("Grafikabmessungen anpassen"), this);
    fitPicture_->setObjectName("CheckBox6");
    zoomRow->addWidget(fitPicture_);
    zoomRow->addStretch(1);
    right->addLayout(zoomRow);
    view_ = new ZoomView(this);
    view_->setObjectName("Image2");
    KeepPictureDescribed(view_, app_.program.texts);
    view_->setMinimumSize(320, 240);
    right->addWidget(view_, 1);

    auto* info = new QGroupBox(QString::fromUtf8("Informationen:"), this);
    info->setObjectName("GroupBoxArtInfo");
    auto* grid = new QGridLayout(info);
    const char* names[] = {"SpinEdit1",  "SpinEdit76", "SpinEdit77", "SpinEdit78",
                           "SpinEdit79", "SpinEdit80", "SpinEdit81"};
    const char* labels[] = {
        "Index:", "Breite:", "Höhe:", "Größe (Byte):", "Position in Datei:", "Unbekannt 1:", "Unbekannt 2:"};
    const char* labelNames[] = {"LabelArtIndex",  "LabelArtWidth",    "LabelArtHeight",  "LabelArtSize",
                                "LabelArtOffset", "LabelArtUnknown1", "LabelArtUnknown2"};
    for (int i = 0; i < 7; ++i) {
        const int row = i % 4, column = (i / 4) * 2;
        grid->addWidget(Label(info, labelNames[i], labels[i]), row, column);
        fields_.push_back(ReadOnlyNumber(info, names[i]));
        grid->addWidget(fields_.back(), row, column + 1);
    }
    expanded_ = new QCheckBox(QString::fromUtf8("Grafikspeicher expandiert"), info);
    expanded_->setObjectName("CheckBox5");
    expanded_->setAttribute(Qt::WA_TransparentForMouseEvents);
    expanded_->setFocusPolicy(Qt::NoFocus);
    grid->addWidget(expanded_, 3, 2, 1, 2);
    right->addWidget(info);

    auto* buttons = new QHBoxLayout;
    save_ = new QPushButton(QString::fromUtf8("Grafik als BMP speichern"), this);
    save_->setObjectName("BitBtn1");
    expand_ = new QPushButton(QString::fromUtf8("Grafikdatei expandieren"), this);
    expand_->setObjectName("BitBtn32");
    buttons->addWidget(save_);
    buttons->addWidget(expand_);
    buttons->addStretch(1);
    right->addLayout(buttons);
    layout->addLayout(right, 3);

    connect(list_, &QListWidget::currentRowChanged, this, [this](int row) {
        if (row >= 0)
            showListedEntry(row);
    });
    connect(grid_, &QListWidget::currentItemChanged, this, [this](QListWidgetItem* item) {
        if (item)
            list_->setCurrentRow(item->data(Qt::UserRole).toInt() - 1);
    });
    connect(fitPicture_, &QCheckBox::toggled, this, [this] { showListedEntry(list_->currentRow()); });
    connect(zoom_, &QComboBox::currentIndexChanged, this, [this](int) {
        if (!fitPicture_->isChecked())
            view_->setZoom(zoom_->currentData().toInt());
    });
    connect(gridView_, &QCheckBox::toggled, this, &ArtBankPage::setGridView);
    connect(filter_, &QLineEdit::textChanged, this, &ArtBankPage::setNameFilter);
    connect(save_, &QPushButton::clicked, this, &ArtBankPage::exportEntryPicture);
    connect(expand_, &QPushButton::clicked, this, &ArtBankPage::expandArtBank);
}

std::string ArtBankPage::bankFile() const
{
    return GameFilePath(app_.program.settings.gameDirectory, kArtBankGamePath);
}

void ArtBankPage::applyLanguage()
{
    count_->setText(FromGameText(app_.program.texts.format(kCountText, Args(kShownEntries))));
    const int row = list_->currentRow();
    fillList();
    if (row >= 0)
        list_->setCurrentRow(row);
}

void ArtBankPage::fillList()
{
    QSignalBlocker block(list_);
    list_->clear();
    for (int e = 1; e <= kShownEntries; ++e)
        list_->addItem(FromGameText(ArtEntryLabel(static_cast<std::size_t>(e), app_.program.texts)));
    gridFilled_ = false;
    if (gridView_->isChecked())
        fillGrid();
}

void ArtBankPage::showPage()
{
    count_->setText(FromGameText(app_.program.texts.format(kCountText, Args(kShownEntries))));
    fillList();
    const int entry = std::clamp(WorkshopsStateOf(app_).artEntry, 1, kShownEntries);
    {
        // Shown once below: a damaged entry's message comes once.
        QSignalBlocker block(list_);
        list_->setCurrentRow(entry - 1);
    }
    showListedEntry(entry - 1);
    for (QWidget* w : findChildren<QWidget*>())
        w->setEnabled(true);
}

void ArtBankPage::hidePage()
{
    if (list_->currentRow() >= 0)
        WorkshopsStateOf(app_).artEntry = list_->currentRow() + 1;
}

int ArtBankPage::entry() const { return list_->currentRow() >= 0 ? list_->currentRow() + 1 : 0; }

void ArtBankPage::showListedEntry(int row)
{
    if (row < 0 || row >= kShownEntries)
        return;
    showEntry(row + 1);
}

void ArtBankPage::showEntry(int entry)
{
    const ArtEntry& e = app_.workingSet().artIndex.entries[static_cast<std::size_t>(entry)];
    const double values[] = {double(entry),        double(e.width), double(e.height), double(e.reservedSize),
                             double(e.dataOffset), double(e.keptA), double(e.keptB)};
    for (std::size_t i = 0; i < fields_.size(); ++i)
        fields_[i]->setValue(values[i]);
    expanded_->setChecked(e.fits());

    Messenger messenger = app_.messenger();
    ArtPicture picture;
    if (ReadArtImage(bankFile(), static_cast<std::size_t>(entry), picture, &messenger))
        view_->setPicture(ToQImage(ArtPictureToImage(picture)));
    else
        view_->setPicture(QImage());
    zoom_->setEnabled(!fitPicture_->isChecked());
    view_->setZoom(fitPicture_->isChecked() ? ZoomView::kFit : zoom_->currentData().toInt());
    if (QListWidgetItem* item = gridFilled_ ? grid_->item(entry - 1) : nullptr) {
        QSignalBlocker block(grid_);
        grid_->setCurrentItem(item);
    }
}

void ArtBankPage::setGridView(bool on)
{
    if (on && !gridFilled_)
        fillGrid();
    grid_->setVisible(on);
    list_->setVisible(!on);
}

void ArtBankPage::fillGrid()
{
    QSignalBlocker block(grid_);
    grid_->clear();
    const std::string bank = bankFile();
    for (int e = 1; e <= kShownEntries; ++e) {
        QPixmap icon(kThumbnailSide, kThumbnailSide);
        icon.fill(Qt::transparent);
        ArtPicture picture;
        // Entries that cannot be read stay empty squares; the list shows why.
        if (ReadArtImage(bank, static_cast<std::size_t>(e), picture, nullptr)) {
            QImage image = ToQImage(ArtPictureToImage(picture));
            if (!image.isNull())
                icon = QPixmap::fromImage(
                    image.scaled(kThumbnailSide, kThumbnailSide, Qt::KeepAspectRatio, Qt::FastTransformation));
        }
        auto* item = new QListWidgetItem(QIcon(icon), list_->item(e - 1) ? list_->item(e - 1)->text() : QString());
        item->setData(Qt::UserRole, e);
        grid_->addItem(item);
    }
    gridFilled_ = true;
    setNameFilter(filter_->text());
}

void ArtBankPage::setNameFilter(const QString& text)
{
    if (filter_->text() != text) {
        QSignalBlocker block(filter_);
        filter_->setText(text);
    }
    for (int i = 0; i < list_->count(); ++i) {
        const bool shown = text.isEmpty() || list_->item(i)->text().contains(text, Qt::CaseInsensitive);
        list_->item(i)->setHidden(!shown);
        if (QListWidgetItem* item = grid_->item(i))
            item->setHidden(!shown);
    }
}

void ArtBankPage::exportEntryPicture()
{
    const int e = entry();
    if (e <= 0)
        return;
    auto name = app_.chooseFileToSave({"GP3ARTBinWSSave", "Artwork" + std::to_string(e) + ".BMP", {944, 946, 881}, 1});
    if (!name)
        return;
    Messenger messenger = app_.messenger();
    try {
        ExportArtImage(bankFile(), static_cast<std::size_t>(e), *name, &messenger);
    } catch (const std::exception& ex) {
        messenger.showFixed(ex.what());
    }
}

void ArtBankPage::expandArtBank()
{
    const std::array<std::uint8_t, 256> noMarks{};
    ExpansionDialog dialog(app_, app_.workingSet().artIndex, app_.workingSet().transfer.selection, noMarks, this);
    if (dialog.exec() != QDialog::Accepted || dialog.resultFlags().size() != kArtEntryCount)
        return;
    // The enlarged bank is written as an export writes: under the
    // installation's lock, behind one restore point made before the game's
    // bank changes, put back should writing fail.
    const std::vector<bool> flags = dialog.resultFlags();
    const bool keepBackup = dialog.keepBackup();
    TransferUi ui = app_.transferUi();
    BusyCursor busy;
    const TransferOutcome outcome =
        app_.engine().writeToGame(PointOperation{point_kind::kArtExpand, {}}, ui,
                                  [&](TransferContext& run) { return ExpandArtBankInRun(run, flags, keepBackup); });
    if (outcome == TransferOutcome::Done)
        ReadArtDirectory(bankFile(), app_.workingSet().artIndex, nullptr);
    showListedEntry(list_->currentRow());
}

} // namespace pitwall::gui
