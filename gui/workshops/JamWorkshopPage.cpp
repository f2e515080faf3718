#include "JamWorkshopPage.h"

#include "AppContext.h"
#include "ImageConversion.h"
#include "PictureDescription.h"
#include "WidgetHelpers.h"
#include "WorkshopsState.h"
#include "ZoomView.h"
#include "base/FileUtils.h"
#include "formats/JamPictureFiles.h"
#include "transfer/CommitFailureText.h"
#include "transfer/FormatMessages.h"
#include "transfer/GuardedFileSave.h"
#include "transfer/ReportedFormats.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QVBoxLayout>

#include <algorithm>

namespace pitwall::gui {

namespace {

constexpr int kPaletteIndexText = 917;
constexpr int kPictureLoadedStepText = 1263; // "picture loaded into %s"
constexpr int kSoftwareText = 866;
constexpr int kHardwareText = 867;
constexpr int kBmpFilter = 944;
constexpr int kJamFilter = 994;
constexpr int kJadFilter = 992;
constexpr int kPngFilter = 881;
constexpr int kDiscardText = 1172, kUnsavedTitleText = 1174;
constexpr int kUnsavedPicturesText = 1303; // "%s": the JAM's file name
constexpr int kSaveJamText = 1304;
constexpr int kJpgFilter = 946;
// Every picture file that is read.
constexpr int kPictureFilter = 1204;
constexpr int kOpenJamFilter = 883;
constexpr std::size_t kRecentCount = 8;

QSpinBox* Number(QWidget* parent, const char* name, bool readOnly = true)
{
    auto* box = new QSpinBox(parent);
    box->setObjectName(name);
    box->setRange(0, 65535);
    box->setReadOnly(readOnly);
    if (readOnly)
        box->setButtonSymbols(QAbstractSpinBox::NoButtons);
    return box;
}

} // namespace

JamWorkshopPage::JamWorkshopPage(AppContext& app, QWidget* parent) : QWidget(parent), app_(app)
{
    setObjectName("TabSheet21");
    auto* layout = new QHBoxLayout(this);

    auto* left = new QVBoxLayout;
    auto* fileRow = new QHBoxLayout;
    fileRow->addWidget(Label(this, "LabelJamFile", "JAM-Filename:"));
    fileName_ = new QLineEdit(this);
    fileName_->setObjectName("FilenameEdit1");
    fileName_->setReadOnly(true); // chosen through the dialog only
    fileRow->addWidget(fileName_, 1);
    browse_ = new QPushButton("...", this);
    browse_->setObjectName("FilenameEdit1Button");
    browse_->setFixedWidth(32);
    fileRow->addWidget(browse_);
    left->addLayout(fileRow);
    auto* viewRow = new QHBoxLayout;
    allImages_ = new QRadioButton(QString::fromUtf8("Alle Texturen"), this);
    allImages_->setObjectName("RadioButton1");
    allImages_->setChecked(true);
    oneImage_ = new QRadioButton(QString::fromUtf8("Nur eine Textur: "), this);
    oneImage_->setObjectName("RadioButton2");
    image_ = Number(this, "SpinEdit40", false);
    image_->setRange(0, 0);
    viewRow->addWidget(allImages_);
    viewRow->addWidget(oneImage_);
    viewRow->addWidget(image_);
    viewRow->addSpacing(16);
    viewRow->addWidget(Label(this, "LabelJamZoom", "Zoom:"));
    zoom_ = new QComboBox(this);
    zoom_->setObjectName("ComboBoxJamZoom");
    for (int z : ZoomView::kZooms)
        zoom_->addItem(z == ZoomView::kFit ? QString::fromUtf8("Einpassen") : QString("%1x").arg(z), z);
    viewRow->addWidget(zoom_);
    viewRow->addStretch(1);
    left->addLayout(viewRow);
    view_ = new ZoomView(this);
    view_->setObjectName("PaintBox5");
    KeepPictureDescribed(view_, app_.program.texts);
    view_->setMinimumSize(280, 280);
    left->addWidget(view_, 1);
    paletteIndex_ = Label(this, "Label2", "Palettenindex: ");
    left->addWidget(paletteIndex_);
    layout->addLayout(left, 3);

    auto* right = new QVBoxLayout;
    auto* file = new QGroupBox(QString::fromUtf8("Datei-Info:"), this);
    file->setObjectName("GroupBoxJamFile");
    auto* fileGrid = new QGridLayout(file);
    fileGrid->addWidget(Label(file, "LabelJamCount", "Anzahl Texturen:"), 0, 0);
    imageCount_ = Number(file, "SpinEdit41");
    fileGrid->addWidget(imageCount_, 0, 1);
    fileGrid->addWidget(Label(file, "LabelJamHeight", "Gesamthöhe:"), 1, 0);
    pageHeight_ = Number(file, "SpinEdit42");
    fileGrid->addWidget(pageHeight_, 1, 1);
    fileGrid->addWidget(Label(file, "LabelJamKind", "Software / Hardware:"), 2, 0);
    kind_ = new QComboBox(file);
    kind_->setObjectName("ComboBox2");
    kind_->addItems({"Software", "Hardware"});
    kind_->setEnabled(false);
    fileGrid->addWidget(kind_, 2, 1);
    right->addWidget(file);

    auto* texture = new QGroupBox(QString::fromUtf8("Textur-Info:"), this);
    texture->setObjectName("GroupBoxJamTexture");
    auto* textureGrid = new QGridLayout(texture);
    textureGrid->addWidget(Label(texture, "LabelTexPosition", "Links / Oben:"), 0, 0);
    left_ = Number(texture, "SpinEditTexLeft");
    top_ = Number(texture, "SpinEditTexTop");
    textureGrid->addWidget(left_, 0, 1);
    textureGrid->addWidget(top_, 0, 2);
    textureGrid->addWidget(Label(texture, "LabelTexSize", "Breite / Höhe:"), 1, 0);
    width_ = Number(texture, "SpinEditTexWidth");
    height_ = Number(texture, "SpinEditTexHeight");
    textureGrid->addWidget(width_, 1, 1);
    textureGrid->addWidget(height_, 1, 2);
    textureGrid->addWidget(Label(texture, "LabelTexId", "Textur-ID:"), 2, 0);
    textureId_ = Number(texture, "SpinEditTexId");
    textureGrid->addWidget(textureId_, 2, 1);
    textureGrid->addWidget(Label(texture, "LabelTexTable", "Palettengröße:"), 3, 0);
    tableSize_ = Number(texture, "SpinEditTexTable");
    textureGrid->addWidget(tableSize_, 3, 1);
    right->addWidget(texture);

    load_ = new QPushButton(QString::fromUtf8("Aus Datei laden"), this);
    load_->setObjectName("Button57");
    save_ = new QPushButton(QString::fromUtf8("In Datei speichern"), this);
    save_->setObjectName("Button39");
    dither_ = new QCheckBox(QString::fromUtf8("Beim Reduzieren auf die Spielpalette rastern"), this);
    dither_->setObjectName("CheckBoxDither");
    dither_->setChecked(WorkshopsStateOf(app_).dither);
    right->addWidget(load_);
    right->addWidget(dither_);
    right->addWidget(save_);
    right->addWidget(Label(this, "LabelRecentJams", "Zuletzt geöffnet:"));
    recent_ = new QListWidget(this);
    recent_->setObjectName("ListBoxRecentJams");
    right->addWidget(recent_, 1);
    layout->addLayout(right, 2);

    load_->setEnabled(false);
    save_->setEnabled(false);
    view_->setEnabled(false);
    allImages_->setEnabled(false);
    oneImage_->setEnabled(false);
    image_->setEnabled(false);
    fillRecent();

    connect(browse_, &QPushButton::clicked, this, &JamWorkshopPage::chooseJam);
    connect(allImages_, &QRadioButton::toggled, this, &JamWorkshopPage::showChosenImages);
    connect(image_, &QSpinBox::valueChanged, this, &JamWorkshopPage::showChosenImages);
    connect(view_, &ZoomView::pressed, this, &JamWorkshopPage::pickImageAt);
    connect(view_, &ZoomView::hovered, this, &JamWorkshopPage::showPixelUnderMouse);
    connect(zoom_, &QComboBox::currentIndexChanged, this,
            [this](int) { view_->setZoom(zoom_->currentData().toInt()); });
    connect(view_, &ZoomView::zoomChanged, this, [this](int zoom) {
        QSignalBlocker block(zoom_);
        zoom_->setCurrentIndex(zoom_->findData(zoom));
    });
    connect(load_, &QPushButton::clicked, this, &JamWorkshopPage::choosePictureToLoad);
    connect(save_, &QPushButton::clicked, this, [this] { saveJamToFile(); });
    connect(dither_, &QCheckBox::toggled, this, [this](bool on) { WorkshopsStateOf(app_).dither = on; });
    connect(recent_, &QListWidget::itemActivated, this, [this](QListWidgetItem* item) {
        if (keepPicturesBeforeGoingOn())
            openJam(item->data(Qt::UserRole).toString().toStdString());
    });
}

JamWorkshopPage::~JamWorkshopPage() = default;

void JamWorkshopPage::applyLanguage()
{
    const UITexts& texts = app_.program.texts;
    kind_->setItemText(0, FromGameText(texts.text(kSoftwareText)));
    kind_->setItemText(1, FromGameText(texts.text(kHardwareText)));
    showPaletteIndex();
}

int JamWorkshopPage::chosenImage() const { return image_->value(); }

void JamWorkshopPage::chooseJam()
{
    if (!keepPicturesBeforeGoingOn())
        return;
    auto name = app_.chooseFileToOpen({"JAMWShopOpen", "", {kOpenJamFilter}, 1});
    if (name)
        openJam(*name);
}

bool JamWorkshopPage::openJam(const std::string& fileName)
{
    // Opened into a new object, so a file that fails leaves the shown JAM.
    auto opened = std::make_unique<TJAMFile>(app_.program.palette);
    Messenger messenger = app_.messenger();
    try {
        if (!LoadJam(*opened, fileName, false, &messenger))
            return false;
    } catch (const std::exception& e) {
        messenger.showFixed(e.what());
        return false;
    }
    jam_ = std::move(opened);
    jamFile_ = fileName;
    fileName_->setText(QString::fromStdString(fileName));
    rememberRecent(fileName);
    showJam();
    // The steps belonged to the JAM open before.
    history_.clear();
    emit historyChanged();
    return true;
}

void JamWorkshopPage::showJam()
{
    const bool eightBit = jam_->is8Bit();
    {
        QSignalBlocker blockImage(image_), blockAll(allImages_);
        image_->setRange(0, std::max(0, jam_->imageCount() - 1));
        image_->setValue(0);
        allImages_->setChecked(true);
    }
    imageCount_->setValue(jam_->imageCount());
    pageHeight_->setValue(jam_->pageHeight());
    kind_->setCurrentIndex(eightBit ? 0 : 1);
    load_->setEnabled(true);
    save_->setEnabled(true);
    view_->setEnabled(true);
    // A 16-bit JAM's header records are not interpreted: no single images.
    allImages_->setEnabled(eightBit);
    oneImage_->setEnabled(eightBit);
    image_->setEnabled(eightBit);
    showTexture();
    refreshView();
    showPaletteIndex();
}

void JamWorkshopPage::showTexture()
{
    const bool any = jam_ && jam_->is8Bit() && jam_->imageCount() > 0;
    const JamEntry e =
        any ? jam_->entries()[static_cast<std::size_t>(std::min(chosenImage(), jam_->imageCount() - 1))] : JamEntry{};
    left_->setValue(e.x);
    top_->setValue(e.y);
    width_->setValue(e.width);
    height_->setValue(e.height);
    textureId_->setValue(e.textureId);
    tableSize_->setValue(e.tableSize);
}

void JamWorkshopPage::refreshView()
{
    if (!jam_) {
        view_->setPicture(QImage());
        return;
    }
    Image shown = jam_->page();
    if (!allImages_->isChecked() && jam_->is8Bit() && jam_->imageCount() > 0)
        shown = shown.copy(jam_->ImageRect(std::min(chosenImage(), jam_->imageCount() - 1)));
    view_->setPicture(ToQImage(shown));
}

void JamWorkshopPage::showChosenImages()
{
    showTexture();
    refreshView();
    showPaletteIndex();
}

void JamWorkshopPage::pickImageAt(QPoint p, Qt::MouseButton button)
{
    if (!jam_)
        return;
    if (button == Qt::LeftButton && allImages_->isChecked() && jam_->is8Bit()) {
        QSignalBlocker blockImage(image_), blockOne(oneImage_), blockAll(allImages_);
        image_->setValue(jam_->ImageAt(p.x(), p.y()));
        oneImage_->setChecked(true);
    } else if (button == Qt::RightButton) {
        QSignalBlocker blockAll(allImages_);
        allImages_->setChecked(true);
    }
    showTexture();
    refreshView();
    showPaletteIndex();
}

void JamWorkshopPage::showPixelUnderMouse(QPoint p)
{
    hovered_ = p;
    showPaletteIndex();
}

void JamWorkshopPage::showPaletteIndex()
{
    const UITexts& texts = app_.program.texts;
    std::optional<int> stored;
    if (jam_ && jam_->is8Bit() && hovered_ && !view_->picture().isNull()) {
        QPoint p = *hovered_;
        if (p.x() >= 0 && p.y() >= 0 && p.x() < view_->picture().width() && p.y() < view_->picture().height()) {
            // A single image is shown from its corner.
            if (!allImages_->isChecked() && jam_->imageCount() > 0) {
                const Rect r = jam_->ImageRect(std::min(chosenImage(), jam_->imageCount() - 1));
                p += QPoint(r.left, r.top);
            }
            stored = jam_->StoredValueAt(p.x(), p.y());
        }
    }
    if (stored) {
        paletteIndex_->setText(FromGameText(texts.format(kPaletteIndexText, Args(*stored))));
        return;
    }
    // Nothing stored under the mouse (no image there, or the mouse is not
    // over the picture): the label without a number.
    QString caption = FromGameText(texts.text(kPaletteIndexText));
    caption.remove(QStringLiteral("%d"));
    paletteIndex_->setText(caption);
}

void JamWorkshopPage::choosePictureToLoad()
{
    if (!jam_)
        return;
    std::string picture = FileNameOf(jamFile_);
    picture = picture.substr(0, picture.rfind('.')) + ".BMP";
    auto name =
        app_.chooseFileToOpen({"JAMWShopLoad", picture, {kPictureFilter, kBmpFilter, kPngFilter, kJpgFilter}, 1});
    if (name)
        loadPicture(*name);
}

bool JamWorkshopPage::loadPicture(const std::string& fileName)
{
    if (!jam_)
        return false;
    Messenger messenger = app_.messenger();
    bool loaded = false;
    TJAMFile before = *jam_;
    try {
        loaded = LoadJamPage(*jam_, fileName, dither_->isChecked() ? Dithering::FloydSteinberg : Dithering::None,
                             &messenger);
    } catch (const std::exception& e) {
        messenger.showFixed(e.what());
    }
    if (loaded) {
        history_.record(app_.program.texts.format(kPictureLoadedStepText, Args(FileNameOf(jamFile_))),
                        std::move(before), *jam_);
        emit historyChanged();
    }
    showTexture();
    refreshView();
    showPaletteIndex();
    return loaded;
}

void JamWorkshopPage::undoStep()
{
    if (!jam_ || !history_.canUndo())
        return;
    *jam_ = history_.undo();
    showJam();
    emit historyChanged();
}

void JamWorkshopPage::redoStep()
{
    if (!jam_ || !history_.canRedo())
        return;
    *jam_ = history_.redo();
    showJam();
    emit historyChanged();
}

bool JamWorkshopPage::saveJamToFile()
{
    if (!jam_)
        return false;
    std::vector<int> filters = {kBmpFilter, kJamFilter};
    if (jam_->is8Bit())
        filters.push_back(kJadFilter);
    filters.push_back(kPngFilter);
    return saveJam(filters);
}

bool JamWorkshopPage::saveJam(std::vector<int> filters)
{
    auto name = app_.chooseFileToSave({"JAMWShopSave", jamFile_, std::move(filters), 1});
    if (!name)
        return false;
    Messenger messenger = app_.messenger();
    bool saved = false;
    try {
        // A JAM saved into an installation holds it while written, after a
        // restore point, like an export.
        GuardedSave save;
        saved = ReportFormatErrors(&messenger, [&] { save = SaveJamGuarded(app_.program, *jam_, *name); });
        if (saved && !save.ok()) {
            messenger.showFixed(CommitFailureText(app_.program.texts, save.result));
            saved = false;
        }
    } catch (const std::exception& e) {
        messenger.showFixed(e.what());
    }
    // A page saved as a picture leaves out the JAM's image records.
    const std::string extension = ExtensionOf(*name);
    if (!saved || !(EqualsIgnoreAsciiCase(extension, ".JAM") || EqualsIgnoreAsciiCase(extension, ".JAD")))
        return false;
    history_.markSaved();
    return true;
}

bool JamWorkshopPage::keepPicturesBeforeGoingOn()
{
    if (!jam_ || !history_.unsaved())
        return true;
    using Answer = AppContext::DocumentAnswer;
    Answer answer = Answer::Cancel;
    if (app_.askAboutOpenJam) {
        answer = app_.askAboutOpenJam(jamFile_);
    } else {
        const UITexts& texts = app_.program.texts;
        QMessageBox box(QMessageBox::Question, FromGameText(texts.text(kUnsavedTitleText)),
                        FromMessageText(texts.format(kUnsavedPicturesText, Args(FileNameOf(jamFile_)))),
                        QMessageBox::NoButton, this);
        box.setObjectName("UnsavedJamQuestion");
        QPushButton* save = box.addButton(FromGameText(texts.text(kSaveJamText)), QMessageBox::AcceptRole);
        save->setObjectName("SaveJamFirst");
        box.addButton(FromGameText(texts.text(kDiscardText)), QMessageBox::DestructiveRole)
            ->setObjectName("DiscardPictures");
        QPushButton* cancel = box.addButton(QMessageBox::Cancel);
        box.setDefaultButton(save);
        box.setEscapeButton(cancel);
        box.exec();
        if (box.clickedButton() == save)
            answer = Answer::Save;
        else if (box.clickedButton() && box.clickedButton()->objectName() == "DiscardPictures")
            answer = Answer::Discard;
    }
    if (answer == Answer::Discard)
        return true;
    if (answer == Answer::Save) {
        std::vector<int> filters = {kJamFilter};
        if (jam_->is8Bit())
            filters.push_back(kJadFilter);
        return saveJam(filters);
    }
    return false;
}

void JamWorkshopPage::rememberRecent(const std::string& fileName)
{
    auto& recent = WorkshopsStateOf(app_).recentJams;
    recent.erase(std::remove(recent.begin(), recent.end(), fileName), recent.end());
    recent.insert(recent.begin(), fileName);
    if (recent.size() > kRecentCount)
        recent.resize(kRecentCount);
    fillRecent();
}

void JamWorkshopPage::fillRecent()
{
    recent_->clear();
    for (const std::string& file : WorkshopsStateOf(app_).recentJams) {
        auto* item = new QListWidgetItem(QString::fromStdString(FileNameOf(file)), recent_);
        item->setData(Qt::UserRole, QString::fromStdString(file));
        item->setToolTip(QString::fromStdString(file));
    }
}

} // namespace pitwall::gui
