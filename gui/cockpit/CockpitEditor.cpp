#include "CockpitEditor.h"

#include "AppContext.h"
#include "EditorStatusBar.h"
#include "FileDialogs.h"
#include "ImageConversion.h"
#include "LanguageTable.h"
#include "WidgetHelpers.h"

#include "cockpit/CockpitData.h"
#include "formats/Bmp.h"
#include "transfer/SelectionItems.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QImage>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>
#include <QRadioButton>
#include <QStatusBar>
#include <QTabWidget>
#include <QVBoxLayout>

#include <algorithm>

namespace pitwall::gui {

namespace {

constexpr int kGraphicsLoadedText = 513;
constexpr int kGraphicsMissingText = 517;
constexpr int kSheetSizeText = 518;
constexpr int kImportGraphicsFirstText = 519;
constexpr int kBmpFilter = 944;

constexpr TextBinding kCockpitEditorTexts[] = {
    {"", TextRole::Caption, 482},
    {"TabSheet1", TextRole::TabTitle, 483},
    {"TabSheet2", TextRole::TabTitle, 484},
    {"TabSheet3", TextRole::TabTitle, 485},
    {"TabSheet4", TextRole::TabTitle, 486},
    {"RadioGroup1", TextRole::Caption, 487},
    {"RadioGroup2", TextRole::Caption, 487},
    {"RadioGroup3", TextRole::Caption, 487},
    {"RadioGroup4", TextRole::Caption, 487},
    {"Software1", TextRole::Caption, 488},
    {"Software2", TextRole::Caption, 488},
    {"Software3", TextRole::Caption, 488},
    {"Software4", TextRole::Caption, 488},
    {"Hardware1", TextRole::Caption, 489},
    {"Hardware2", TextRole::Caption, 489},
    {"Hardware3", TextRole::Caption, 489},
    {"Hardware4", TextRole::Caption, 489},
    {"Button1", TextRole::Caption, 490},
    {"Button2", TextRole::Caption, 491},
    {"Button3", TextRole::Caption, 492},
    {"Button4", TextRole::Caption, 493},
    {"Button5", TextRole::Caption, 494},
    {"Button6", TextRole::Caption, 495},
    {"Button7", TextRole::Caption, 496},
    {"Button8", TextRole::Caption, 497},
    {"Button9", TextRole::Caption, 498},
    {"Button10", TextRole::Caption, 499},
    {"Button11", TextRole::Caption, 490},
    {"Button12", TextRole::Caption, 498},
    {"Button13", TextRole::Caption, 499},
    {"Button14", TextRole::Caption, 490},
    {"Button15", TextRole::Caption, 498},
    {"Button16", TextRole::Caption, 499},
    {"Button17", TextRole::Caption, 511},
    {"Button18", TextRole::Caption, 512},
    {"Button19", TextRole::Caption, 490},
    {"Label1", TextRole::Caption, 500},
    {"Label2", TextRole::Caption, 501},
    {"Label3", TextRole::Caption, 501},
    {"Label4", TextRole::Caption, 502},
    {"Label5", TextRole::Caption, 503},
    {"Label6", TextRole::Caption, 504},
    {"Label7", TextRole::Caption, 506},
    {"Label8", TextRole::Caption, 507},
    {"Label9", TextRole::Caption, 508},
    {"CheckBox1", TextRole::Caption, 510},
};

} // namespace

CockpitEditor::CockpitEditor(AppContext& app, QWidget* parent) : EditorWindow(app, "TForm16", parent)
{
    try {
        font_ = LcdFont::Load(app.program.directories.program + "Font.BMP");
    } catch (const std::exception& e) {
        // Without the font the LCD shows its background only.
        app.messenger().showFixed(e.what());
    }
    auto* layout = new QVBoxLayout(this);
    pages_ = new QTabWidget(this);
    pages_->setObjectName("PageControl6");
    const std::array<QWidget*, kPageCount> built = {buildGraphicsPage(), buildObjectsPage(), buildTextsPage(),
                                                    buildLcdPage()};
    for (int p = 0; p < kPageCount; ++p) {
        built[static_cast<std::size_t>(p)]->setObjectName(QString("TabSheet%1").arg(p + 1));
        pages_->addTab(built[static_cast<std::size_t>(p)], QString());
    }
    layout->addWidget(pages_);
    statusBar_ = CreateEditorStatusBar(this);
    layout->addWidget(statusBar_);
    connect(pages_, &QTabWidget::currentChanged, this, [this](int page) {
        state().page = page;
        updateStatus();
        redraw();
    });
}

QWidget* CockpitEditor::buildPageFrame(Page page, QWidget* controls)
{
    auto* frame = new QWidget;
    auto* layout = new QHBoxLayout(frame);
    auto* left = new QVBoxLayout;
    auto* picture = new QLabel(frame);
    picture->setObjectName(QString("Image%1").arg(page + 1));
    picture->setMinimumSize(512, 256);
    picture->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    pictures_[static_cast<std::size_t>(page)] = picture;
    left->addWidget(picture, 1);
    auto* group = new QGroupBox(frame);
    group->setObjectName(QString("RadioGroup%1").arg(page + 1));
    auto* groupLayout = new QHBoxLayout(group);
    for (int v = 0; v < 2; ++v) {
        auto* b = new QRadioButton(group);
        b->setObjectName(QString(v == 0 ? "Software%1" : "Hardware%1").arg(page + 1));
        groupLayout->addWidget(b);
        variantButtons_[static_cast<std::size_t>(2 * page + v)] = b;
        connect(b, &QRadioButton::toggled, this, [this, v](bool on) {
            if (on && !showing_)
                chooseVariant(v);
        });
    }
    left->addWidget(group);
    auto* status = new QStatusBar(frame);
    status->setObjectName(QString("StatusBar%1").arg(page + 2));
    status->setSizeGripEnabled(false);
    pageStatus_[static_cast<std::size_t>(page)] = status;
    left->addWidget(status);
    layout->addLayout(left, 1);
    layout->addWidget(controls);
    return frame;
}

QWidget* CockpitEditor::buildGraphicsPage()
{
    auto* controls = new QWidget;
    auto* column = new QVBoxLayout(controls);
    QPushButton* buttons[8];
    const char* names[8] = {"Button1", "Button2", "Button3", "Button4", "Button5", "Button6", "Button7", "Button8"};
    for (int i = 0; i < 8; ++i) {
        buttons[i] = Button(controls, names[i]);
        column->addWidget(buttons[i]);
        if (i == 2 || i == 5)
            column->addSpacing(12);
    }
    column->addStretch(1);
    connect(buttons[0], &QPushButton::clicked, this, [this] {
        runImport({kCockpitSoftwareItem, kCockpitHardwareItem});
    });
    connect(buttons[1], &QPushButton::clicked, this, [this] { runImport({kCockpitSoftwareItem}); });
    connect(buttons[2], &QPushButton::clicked, this, [this] { runImport({kCockpitHardwareItem}); });
    connect(buttons[3], &QPushButton::clicked, this, [this] {
        runExport({kCockpitSoftwareItem, kCockpitHardwareItem});
    });
    connect(buttons[4], &QPushButton::clicked, this, [this] { runExport({kCockpitSoftwareItem}); });
    connect(buttons[5], &QPushButton::clicked, this, [this] { runExport({kCockpitHardwareItem}); });
    connect(buttons[6], &QPushButton::clicked, this, &CockpitEditor::saveSheet);
    connect(buttons[7], &QPushButton::clicked, this, &CockpitEditor::loadSheet);
    return buildPageFrame(kGraphicsPage, controls);
}

CockpitData& CockpitEditor::cockpit() { return app_.workingSet().cockpit; }
CockpitEditorState& CockpitEditor::state() { return app_.editorStates.cockpit; }
bool CockpitEditor::loaded(int item) const { return app_.workingSet().transfer.isLoaded(item); }

void CockpitEditor::runImport(const std::vector<int>& items)
{
    store();
    app_.workingSet().transfer.selection = BuildSelection(std::vector<std::uint8_t>(items.begin(), items.end()));
    TransferUi ui = app_.transferUi();
    app_.engine().importFromGame(ItemChoice::AsSelected, OpenEditor::Untouched, ui);
    showAll();
}

void CockpitEditor::runExport(const std::vector<int>& items)
{
    store();
    app_.workingSet().transfer.selection = BuildSelection(std::vector<std::uint8_t>(items.begin(), items.end()));
    TransferUi ui = app_.transferUi();
    app_.engine().exportToGame(ItemChoice::AsSelected, ui);
    // Writing the displays sorts their elements: show the order written.
    showAll();
}

void CockpitEditor::applyLanguage()
{
    ApplyTexts(this, kCockpitEditorTexts, app_.program.texts);
    showAll();
}

void CockpitEditor::setUp()
{
    CockpitEditorState& s = state();
    if (s.object == 255)
        s.object = 0;
    if (s.lcdText == 255)
        s.lcdText = 0;
    ApplyTexts(this, kCockpitEditorTexts, app_.program.texts);
    pages_->setCurrentIndex(std::clamp(s.page, 0, kPageCount - 1));
    showAll();
}

void CockpitEditor::restore() { showAll(); }

void CockpitEditor::store()
{
    storeObject();
    storeLcdText();
}

void CockpitEditor::chooseVariant(int variant)
{
    state().variant = variant;
    showing_ = true;
    for (int p = 0; p < kPageCount; ++p)
        variantButtons_[static_cast<std::size_t>(2 * p + variant)]->setChecked(true);
    showing_ = false;
    updateStatus();
    redraw();
}

void CockpitEditor::showAll()
{
    chooseVariant(state().variant);
    showObject(state().object);
    showLcdText(state().lcdText);
    fillScreens();
    updateStatus();
    redraw();
}

void CockpitEditor::updateStatus()
{
    const UITexts& texts = app_.program.texts;
    const bool graphics = loaded(CockpitGraphicsItem(state().variant));
    for (QStatusBar* bar : pageStatus_)
        bar->showMessage(FromGameText(texts.text(graphics ? kGraphicsLoadedText : kGraphicsMissingText)));
    int item = CockpitGraphicsItem(state().variant);
    switch (pages_->currentIndex()) {
    case kObjectsPage:
        item = kCockpitObjectsItem;
        break;
    case kTextsPage:
        item = kLcdTextsItem;
        break;
    case kLcdPage:
        item = LcdDisplayItem(state().language);
        break;
    default:
        break;
    }
    SetupEditorStatusBar(statusBar_, loaded(item), true, app_);
}

void CockpitEditor::showPicture(const Image& picture, int scale)
{
    shown_ = picture;
    QLabel* label = pictures_[static_cast<std::size_t>(std::clamp(pages_->currentIndex(), 0, kPageCount - 1))];
    if (picture.isNull()) {
        label->clear();
        return;
    }
    QImage image = ToQImage(picture);
    if (scale != 1)
        image = image.scaled(image.width() * scale, image.height() * scale);
    label->setPixmap(QPixmap::fromImage(image));
}

void CockpitEditor::redraw()
{
    const CockpitGraphicsSet& set = cockpit().graphics[static_cast<std::size_t>(state().variant)];
    const bool graphics = loaded(CockpitGraphicsItem(state().variant)) && set.loaded();
    Image picture = graphics ? set.preview : Image(kCockpitPreviewWidth, kCockpitPreviewHeight);
    switch (pages_->currentIndex()) {
    case kObjectsPage:
        drawObjects(picture);
        break;
    case kTextsPage:
        drawLcdTexts(picture);
        break;
    case kLcdPage:
        showPicture(renderEmulation(), 1);
        return;
    default:
        break;
    }
    showPicture(picture, 1);
}

void CockpitEditor::saveSheet()
{
    const int variant = state().variant;
    const CockpitGraphicsSet& set = cockpit().graphics[static_cast<std::size_t>(variant)];
    Messenger messenger = app_.messenger();
    if (!set.loaded()) {
        messenger.show(kImportGraphicsFirstText);
        return;
    }
    FileRequest request{"CockpitSave", variant == 0 ? "Cockpit-Software.BMP" : "Cockpit-Hardware.BMP", {kBmpFilter}};
    auto file = app_.chooseFileToSave(request);
    if (!file)
        return;
    try {
        SaveBmpFile(ComposeCockpitSheet(set.jams), *file);
    } catch (const std::exception& e) {
        messenger.showFixed(*file + ": " + e.what());
    }
}

void CockpitEditor::loadSheet()
{
    const int variant = state().variant;
    CockpitGraphicsSet& set = cockpit().graphics[static_cast<std::size_t>(variant)];
    Messenger messenger = app_.messenger();
    if (!set.loaded()) {
        messenger.show(kImportGraphicsFirstText);
        return;
    }
    FileRequest request{"CockpitLoad", "", {kBmpFilter}};
    auto file = app_.chooseFileToOpen(request);
    if (!file)
        return;
    Image sheet;
    try {
        sheet = LoadBmpFile(*file);
    } catch (const std::exception& e) {
        messenger.showFixed(*file + ": " + e.what());
        return;
    }
    if (sheet.width() != kCockpitSheetWidth || sheet.height() != kCockpitSheetHeight) {
        messenger.show(kSheetSizeText,
                       Args(*file, std::to_string(sheet.width()) + " x " + std::to_string(sheet.height())));
        return;
    }
    TakeCockpitSheet(set.jams, sheet);
    set.preview = ComposeCockpitPreview(set.jams);
    redraw();
}

} // namespace pitwall::gui
