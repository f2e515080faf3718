#include "CockpitGraphicsPage.h"

#include "AppContext.h"
#include "FileDialogs.h"
#include "WidgetHelpers.h"

#include "cockpit/CockpitData.h"
#include "formats/Bmp.h"
#include "transfer/ReportedFormats.h"

#include <QPushButton>
#include <QVBoxLayout>

namespace pitwall::gui {

namespace {
constexpr int kSheetSizeText = 518;
constexpr int kImportGraphicsFirstText = 519;
constexpr int kBmpFilter = 944;
// Every picture file that is read, and its kinds.
constexpr int kPictureFilter = 1204, kPngFilter = 881, kJpgFilter = 946;
} // namespace

CockpitGraphicsPage::CockpitGraphicsPage(CockpitPageContext& context, int number, QWidget* parent)
    : CockpitPage(context, number, parent)
{
    auto* controls = new QWidget(this);
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
        context_.runImport({kCockpitSoftwareItem, kCockpitHardwareItem});
    });
    connect(buttons[1], &QPushButton::clicked, this, [this] { context_.runImport({kCockpitSoftwareItem}); });
    connect(buttons[2], &QPushButton::clicked, this, [this] { context_.runImport({kCockpitHardwareItem}); });
    connect(buttons[3], &QPushButton::clicked, this, [this] {
        context_.runExport({kCockpitSoftwareItem, kCockpitHardwareItem});
    });
    connect(buttons[4], &QPushButton::clicked, this, [this] { context_.runExport({kCockpitSoftwareItem}); });
    connect(buttons[5], &QPushButton::clicked, this, [this] { context_.runExport({kCockpitHardwareItem}); });
    connect(buttons[6], &QPushButton::clicked, this, &CockpitGraphicsPage::saveSheet);
    connect(buttons[7], &QPushButton::clicked, this, &CockpitGraphicsPage::loadSheet);
    setControls(controls);
}

int CockpitGraphicsPage::statusItem() const { return CockpitGraphicsItem(context_.state().variant); }

void CockpitGraphicsPage::saveSheet()
{
    AppContext& app = context_.app;
    const int variant = context_.state().variant;
    const CockpitGraphicsSet& set = context_.cockpit().graphics[static_cast<std::size_t>(variant)];
    Messenger messenger = app.messenger();
    if (!set.loaded()) {
        messenger.show(kImportGraphicsFirstText);
        return;
    }
    FileRequest request{"CockpitSave", variant == 0 ? "Cockpit-Software.BMP" : "Cockpit-Hardware.BMP", {kBmpFilter}};
    auto file = app.chooseFileToSave(request);
    if (!file)
        return;
    try {
        SaveBmpFile(ComposeCockpitSheet(set.jams), *file);
    } catch (const std::exception& e) {
        messenger.showFixed(*file + ": " + e.what());
    }
}

void CockpitGraphicsPage::loadSheet()
{
    AppContext& app = context_.app;
    const int variant = context_.state().variant;
    CockpitGraphicsSet& set = context_.cockpit().graphics[static_cast<std::size_t>(variant)];
    Messenger messenger = app.messenger();
    if (!set.loaded()) {
        messenger.show(kImportGraphicsFirstText);
        return;
    }
    FileRequest request{"CockpitLoad", "", {kPictureFilter, kBmpFilter, kPngFilter, kJpgFilter}};
    auto file = app.chooseFileToOpen(request);
    if (!file)
        return;
    Image sheet;
    try {
        sheet = LoadPicture(*file, &messenger);
    } catch (const std::exception& e) {
        messenger.showFixed(*file + ": " + e.what());
        return;
    }
    // An empty picture was refused with a message.
    if (sheet.isNull())
        return;
    if (sheet.width() != kCockpitSheetWidth || sheet.height() != kCockpitSheetHeight) {
        messenger.show(kSheetSizeText,
                       Args(*file, std::to_string(sheet.width()) + " x " + std::to_string(sheet.height())));
        return;
    }
    TakeCockpitSheet(set.jams, sheet);
    set.preview = ComposeCockpitPreview(set.jams);
    context_.redraw();
}

} // namespace pitwall::gui
