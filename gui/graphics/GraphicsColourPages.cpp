#include "GraphicsColourPages.h"

#include "AppContext.h"
#include "ColorPicker.h"
#include "EditTrackerRecords.h"
#include "EditorStates.h"
#include "FileDialogs.h"
#include "GP3Image.h"
#include "ImageConversion.h"
#include "PictureDescription.h"
#include "QtMessages.h"
#include "WidgetHelpers.h"
#include "base/FileUtils.h"
#include "formats/Bmp.h"
#include "graphics/GraphicsSet.h"
#include "graphics/PictureIntoJam.h"
#include "graphics/RampTables.h"
#include "transfer/ReportedFormats.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace pitwall::gui {

namespace {

constexpr int kBmpFilter = 944, kPictureFilter = 1204, kPngFilter = 881, kJpgFilter = 946;
constexpr int kBodyPartFirst = 885;
constexpr int kFlagTypeFirst = 1005;
constexpr int kPreviewSide = 256;
constexpr int kPickerColours = 192;
constexpr int kGridRows = 16;
// Ramp bytes the flag page changes: "Farbe 1" and "Farbe 2".
constexpr std::array<std::size_t, 2> kFlagBytes = {4, 6};

GP3Image* Picture(QWidget* parent, const char* name, int width, int height, const UITexts& texts)
{
    auto* image = new GP3Image(parent);
    KeepPictureDescribed(image, texts);
    image->setObjectName(name);
    image->setFixedSize(width, height);
    image->setMagnifier(false);
    return image;
}

} // namespace

GraphicsPitCrewPage::GraphicsPitCrewPage(GraphicsPageContext& context, QWidget* parent)
    : GraphicsEditorPage(context, GraphicsPage::PitCrew, parent)
{
    auto* row = new QHBoxLayout(this);
    auto* lists = new QVBoxLayout;
    crewTeams_ = new QListWidget(this);
    crewTeams_->setObjectName("ListBox2");
    bodyParts_ = new QListWidget(this);
    bodyParts_->setObjectName("ListBox3");
    textures_ = new QListWidget(this);
    textures_->setObjectName("ListBox1");
    for (int n = 1; n <= kPitCrewTextureCount; ++n)
        textures_->addItem(QString::number(n));
    textures_->setCurrentRow(0);
    lists->addWidget(crewTeams_, 3);
    lists->addWidget(bodyParts_, 3);
    lists->addWidget(textures_, 2);
    row->addLayout(lists);
    crewImage_ = new GP3Image(this);
    crewImage_->setObjectName("Image20");
    crewImage_->setFixedSize(kPreviewSide, kPreviewSide);
    KeepPictureDescribed(crewImage_, context_.app.program.texts);
    row->addWidget(crewImage_, 0, Qt::AlignTop);
    auto* right = new QVBoxLayout;
    picker_ = new ColorPicker(this);
    picker_->setObjectName("Image21");
    picker_->setPaletteColors(context_.app.program.palette);
    picker_->setNumColors(kPickerColours);
    picker_->setInARow(16);
    picker_->setFixedSize(16 * 14, 12 * 13);
    right->addWidget(picker_);
    addTransferButtons(right);
    right->addStretch(1);
    row->addLayout(right);
    for (QListWidget* list : {crewTeams_, bodyParts_, textures_})
        connect(list, &QListWidget::currentRowChanged, this, [this](int) { showOnChange(); });
    connect(picker_, &ColorPicker::colorClicked, this, &GraphicsPitCrewPage::colourClick);
}

GraphicsTyresPage::GraphicsTyresPage(GraphicsPageContext& context, QWidget* parent)
    : GraphicsEditorPage(context, GraphicsPage::Tyres, parent)
{
    auto* row = new QHBoxLayout(this);
    auto* left = new QVBoxLayout;
    auto group = [&](const char* name, const char* caption, const std::vector<const char*>& items, auto& buttons) {
        auto* box = new QGroupBox(caption, this);
        box->setObjectName(name);
        auto* layout = new QVBoxLayout(box);
        for (std::size_t i = 0; i < items.size(); ++i) {
            auto* radio = new QRadioButton(items[i], box);
            radio->setObjectName(QString("%1_%2").arg(name).arg(i));
            layout->addWidget(radio);
            buttons[i] = radio;
            connect(radio, &QRadioButton::toggled, this, [this](bool on) {
                if (on)
                    showOnChange();
            });
        }
        buttons[0]->setChecked(true);
        left->addWidget(box);
    };
    group("RadioGroup3", "Reifentyp", {"Typ 1 (Goodyear)", "Typ 2 (Bridgestone)"}, tyreTypes_);
    group("RadioGroup5", "Ansicht", {"Hardware Cockpit-Ansicht", "Regenreifen ", "Externe Ansicht"}, tyreViews_);
    tyreSave_ = Button(this, "TyreSave", "In Datei speichern", 409);
    tyreLoad_ = Button(this, "TyreLoad", "Aus Datei laden", 410);
    left->addWidget(tyreSave_);
    left->addWidget(tyreLoad_);
    addTransferButtons(left);
    left->addStretch(1);
    row->addLayout(left);
    tyreImage_ = Picture(this, "Image22", 320, 480, context_.app.program.texts);
    row->addWidget(tyreImage_, 0, Qt::AlignTop);
    connect(tyreSave_, &QPushButton::clicked, this, &GraphicsTyresPage::saveTyrePicture);
    connect(tyreLoad_, &QPushButton::clicked, this, &GraphicsTyresPage::loadTyrePicture);
}

GraphicsFlagsPage::GraphicsFlagsPage(GraphicsPageContext& context, QWidget* parent)
    : GraphicsEditorPage(context, GraphicsPage::Flags, parent)
{
    auto* row = new QHBoxLayout(this);
    auto* left = new QVBoxLayout;
    flagTypes_ = new QListWidget(this);
    flagTypes_->setObjectName("ListBox4");
    left->addWidget(flagTypes_, 1);
    addTransferButtons(left);
    row->addLayout(left);
    auto* gridsColumn = new QVBoxLayout;
    for (int g = 0; g < 2; ++g) {
        auto* caption = new QLabel(g == 0 ? "Farbe 1" : "Farbe 2", this);
        caption->setObjectName(QString("Label%1").arg(9 + g));
        gridsColumn->addWidget(caption);
        GP3Image* grid =
            Picture(this, g == 0 ? "Image23" : "Image24", kGridColumns * kGridCellWidth, kGridRows * kGridCellHeight,
                    context_.app.program.texts);
        grids_[static_cast<std::size_t>(g)] = grid;
        gridsColumn->addWidget(grid);
        connect(grid, &GP3Image::mousePressed, this,
                [this, g](Qt::MouseButton, QPoint pos, Qt::KeyboardModifiers) { gridClick(g, pos); });
    }
    gridsColumn->addStretch(1);
    row->addLayout(gridsColumn);
    auto* frameColumn = new QVBoxLayout;
    flagImage_ = Picture(this, "Image25", 256, 256, context_.app.program.texts);
    frameColumn->addWidget(flagImage_);
    animation_ = new QCheckBox("Animation", this);
    animation_->setObjectName("CheckBox1");
    nextFrame_ = Button(this, "NextFrame", "Nächste Grafik", 414);
    previousFrame_ = Button(this, "PreviousFrame", "Vorherige Grafik", 415);
    frameColumn->addWidget(animation_);
    frameColumn->addWidget(nextFrame_);
    frameColumn->addWidget(previousFrame_);
    frameColumn->addStretch(1);
    row->addLayout(frameColumn);
    connect(flagTypes_, &QListWidget::currentRowChanged, this, [this](int) { showOnChange(); });
    connect(nextFrame_, &QPushButton::clicked, this, [this] { stepFrame(1); });
    connect(previousFrame_, &QPushButton::clicked, this, [this] { stepFrame(-1); });
    connect(animation_, &QCheckBox::toggled, this, [this](bool on) {
        nextFrame_->setVisible(!on);
        previousFrame_->setVisible(!on);
        showOnChange();
    });
}

void GraphicsPitCrewPage::draw()
{
    const int team = this->team();
    const bool loaded = context_.isLoaded(PageItems(GraphicsPage::PitCrew, team, 0).front());
    const Pixel background = ToPixel(palette().color(QPalette::Window));
    Image preview(kPreviewSide, kPreviewSide, 32, background);
    const auto& texture =
        context_.graphics().pitCrewTextures.at(static_cast<std::size_t>(std::max(0, textures_->currentRow())));
    const RampBases& ramps = context_.graphics().pitCrew[static_cast<std::size_t>(team)];
    if (loaded && texture) {
        Image page(256, texture->pageHeight(), 32, background);
        texture->DrawRecoloured(page, ramps, background);
        preview.draw(page, 0, 0);
    }
    crewImage_->setImage(preview);
    const int part = std::max(0, bodyParts_->currentRow());
    picker_->setSelected(ramps[static_cast<std::size_t>(kPitCrewFirstBodyPart + part)]);
}

void GraphicsPitCrewPage::colourClick(int index)
{
    if (index < 0 || index >= kPickerColours)
        return;
    const int team = this->team();
    if (!context_.isLoaded(PageItems(GraphicsPage::PitCrew, team, 0).front()))
        return;
    const int part = std::max(0, bodyParts_->currentRow());
    context_.graphics()
        .pitCrew[static_cast<std::size_t>(team)][static_cast<std::size_t>(kPitCrewFirstBodyPart + part)] =
        static_cast<std::uint8_t>(index);
    draw();
}

void GraphicsTyresPage::draw()
{
    const int type = team();
    QImage picture(320, 480, QImage::Format_RGB32);
    picture.fill(palette().color(QPalette::Window));
    const auto& set = context_.graphics().tyres[static_cast<std::size_t>(type)];
    if (set && context_.isLoaded(PageItems(GraphicsPage::Tyres, type, 0).front())) {
        QPainter painter(&picture);
        if (tyreViews_[0]->isChecked())
            painter.drawImage(picture.rect(), ToQImage(set->wheel));
        else if (tyreViews_[1]->isChecked())
            painter.drawImage(0, 0, ToQImage(set->tread));
        else {
            painter.drawImage(QRect(0, 0, 320, 240), ToQImage(set->wheelJam0.page()));
            painter.drawImage(QRect(0, 240, 320, 240), ToQImage(set->wheelJam1.page()));
        }
    }
    tyreImage_->setPicture(picture);
}

void GraphicsTyresPage::saveTyrePicture()
{
    const int type = team();
    auto& set = context_.graphics().tyres[static_cast<std::size_t>(type)];
    if (!set)
        return;
    const int view = this->view();
    auto file = context_.app.chooseFileToSave(
        {"TyresLoad", "Tyre" + std::to_string(type) + "-" + std::to_string(view), {kBmpFilter}, 1});
    if (!file)
        return;
    Messenger messenger = context_.app.messenger();
    if (CheckFileExtension(*file, {".BMP"}, true, &messenger) < 0)
        return;
    if (view == 0)
        SaveBmpFile(set->wheel, *file);
    else if (view == 1)
        SaveBmpFile(set->tread, *file);
    else
        set->wheelJam0.SavePairAsBMP(*file, set->wheelJam1);
}

void GraphicsTyresPage::loadTyrePicture()
{
    const int type = team();
    auto& set = context_.graphics().tyres[static_cast<std::size_t>(type)];
    if (!set)
        return;
    const int view = this->view();
    auto file = context_.app.chooseFileToOpen({"TyresLoad",
                                               "Tyre" + std::to_string(type) + "-" + std::to_string(view) + ".BMP",
                                               {kPictureFilter, kBmpFilter, kPngFilter, kJpgFilter},
                                               1});
    if (!file)
        return;
    Messenger messenger = context_.app.messenger();
    if (view == 2) {
        LoadPictureIntoJamPair(set->wheelJam0, set->wheelJam1, *file, context_.dithering(), &messenger);
    } else {
        Image& sheet = view == 0 ? set->wheel : set->tread;
        try {
            // An empty picture was refused with a message.
            Image picture = LoadPicture(*file, &messenger);
            const bool fits = picture.width() == sheet.width() && picture.height() == sheet.height();
            if (!picture.isNull() && !fits) {
                messenger.showFixed(*file + " is " + std::to_string(picture.width()) + " x "
                                    + std::to_string(picture.height()) + " pixels; this picture must be "
                                    + std::to_string(sheet.width()) + " x " + std::to_string(sheet.height()));
            } else if (!picture.isNull()) {
                picture.setDepth(24);
                sheet = picture;
            }
        } catch (const std::exception& e) {
            messenger.showFixed(*file + ": " + e.what());
        }
    }
    draw();
}

void GraphicsFlagsPage::draw()
{
    const auto type = static_cast<std::size_t>(std::max(0, flagTypes_->currentRow()));
    const bool loaded = context_.isLoaded(PageItems(GraphicsPage::Flags, 0, 0).front());
    const RampBases& ramps = context_.graphics().flags[type];
    const auto& colours = context_.app.program.palette.pixels();
    for (std::size_t g = 0; g < grids_.size(); ++g) {
        QImage grid(kGridColumns * kGridCellWidth, kGridRows * kGridCellHeight, QImage::Format_RGB32);
        grid.fill(palette().color(QPalette::Window));
        QPainter painter(&grid);
        const int base = ramps[kFlagBytes[g]];
        for (int index = 0; index < 256; ++index) {
            const QRect cell((index % kGridColumns) * kGridCellWidth, (index / kGridColumns) * kGridCellHeight,
                             kGridCellWidth, kGridCellHeight);
            painter.fillRect(cell, ToQColor(colours[static_cast<std::size_t>(index)]));
            if (loaded && index >= base && index < base + 16) {
                painter.setPen(Qt::black);
                painter.drawRect(cell.adjusted(0, 0, -1, -1));
            }
        }
        painter.end();
        grids_[g]->setPicture(grid);
    }
    const Pixel background = ToPixel(palette().color(QPalette::Window));
    Image frame(256, 256, 32, background);
    const auto& jam = context_.graphics().flagFrames.at(static_cast<std::size_t>(frame_));
    if (loaded && jam) {
        Image page(256, jam->pageHeight(), 32, background);
        jam->DrawRecoloured(page, ramps, background);
        frame.draw(page, 0, 0);
    }
    flagImage_->setImage(frame);
}

void GraphicsFlagsPage::gridClick(int colour, QPoint pos)
{
    if (!context_.isLoaded(PageItems(GraphicsPage::Flags, 0, 0).front()))
        return;
    const std::optional<int> index = GridIndexAt(pos.x(), pos.y());
    if (!index)
        return;
    const auto type = static_cast<std::size_t>(std::max(0, flagTypes_->currentRow()));
    context_.graphics().flags[type][kFlagBytes[static_cast<std::size_t>(colour)]] = static_cast<std::uint8_t>(*index);
    draw();
}

void GraphicsFlagsPage::stepFrame(int step)
{
    frame_ = (frame_ + step + kFlagFrameCount) % kFlagFrameCount;
    draw();
}

int GraphicsPitCrewPage::team() const { return std::max(0, crewTeams_->currentRow()); }

QString GraphicsPitCrewPage::record() const
{
    return RecordParts({TeamRecordName(context_.app, team()), ChosenEntries({bodyParts_})});
}

void GraphicsPitCrewPage::fillLists()
{
    fillTeamList(crewTeams_);
    const int part = bodyParts_->currentRow();
    bodyParts_->clear();
    for (int n = 0; n < 13; ++n)
        bodyParts_->addItem(FromGameText(context_.app.program.texts.text(kBodyPartFirst + n)));
    bodyParts_->setCurrentRow(std::max(0, part));
}

void GraphicsPitCrewPage::enableControls(bool loaded)
{
    picker_->setEnabled(loaded);
    bodyParts_->setEnabled(loaded);
}

void GraphicsPitCrewPage::storeChoices(GraphicsEditorState& state) const
{
    state.team[static_cast<std::size_t>(GraphicsPage::PitCrew)] = team();
    state.bodyPart = std::max(0, bodyParts_->currentRow());
    state.texture = std::max(0, textures_->currentRow());
}

void GraphicsPitCrewPage::setUpChoices(const GraphicsEditorState& state)
{
    crewTeams_->setCurrentRow(state.team[static_cast<std::size_t>(GraphicsPage::PitCrew)]);
    bodyParts_->setCurrentRow(state.bodyPart);
    textures_->setCurrentRow(state.texture);
}

int GraphicsTyresPage::team() const { return tyreTypes_[1]->isChecked() ? 1 : 0; }

QString GraphicsTyresPage::record() const
{
    return ChosenEntries({tyreTypes_[0], tyreTypes_[1], tyreViews_[0], tyreViews_[1], tyreViews_[2]});
}

QString GraphicsFlagsPage::record() const { return ChosenEntries({flagTypes_}); }

int GraphicsTyresPage::view() const { return tyreViews_[2]->isChecked() ? 2 : tyreViews_[1]->isChecked() ? 1 : 0; }

void GraphicsTyresPage::enableControls(bool loaded)
{
    tyreSave_->setEnabled(loaded);
    tyreLoad_->setEnabled(loaded);
}

void GraphicsTyresPage::storeChoices(GraphicsEditorState& state) const
{
    state.team[static_cast<std::size_t>(GraphicsPage::Tyres)] = team();
    state.tyreView = view();
}

void GraphicsTyresPage::setUpChoices(const GraphicsEditorState& state)
{
    tyreTypes_[static_cast<std::size_t>(state.team[static_cast<std::size_t>(GraphicsPage::Tyres)] == 1 ? 1 : 0)]
        ->setChecked(true);
    tyreViews_[static_cast<std::size_t>(std::clamp(state.tyreView, 0, 2))]->setChecked(true);
}

void GraphicsFlagsPage::fillLists()
{
    const int flag = flagTypes_->currentRow();
    flagTypes_->clear();
    for (int n = 0; n < 4; ++n)
        flagTypes_->addItem(FromGameText(context_.app.program.texts.text(kFlagTypeFirst + n)));
    flagTypes_->setCurrentRow(std::max(0, flag));
}

void GraphicsFlagsPage::enableControls(bool loaded)
{
    for (GP3Image* grid : grids_)
        grid->setEnabled(loaded);
}

void GraphicsFlagsPage::storeChoices(GraphicsEditorState& state) const
{
    state.flagType = std::max(0, flagTypes_->currentRow());
    state.animation = animation_->isChecked();
}

void GraphicsFlagsPage::setUpChoices(const GraphicsEditorState& state)
{
    flagTypes_->setCurrentRow(state.flagType);
    animation_->setChecked(state.animation);
}

bool GraphicsFlagsPage::animates() const { return animation_->isChecked(); }

} // namespace pitwall::gui
