#include "CockpitPositionPages.h"

#include "AppContext.h"
#include "EditTrackerRecords.h"
#include "EditorStates.h"
#include "QtMessages.h"
#include "WidgetHelpers.h"

#include "cockpit/CockpitData.h"

#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include <algorithm>

namespace pitwall::gui {

namespace {

constexpr int kFirstObjectText = 244;
constexpr int kFirstLcdText = 1012;
constexpr int kParentTexts[kCockpitParentCount] = {532, 533, 553, 555, 556, 557, 558};

// The area of each parent in the 512 x 256 preview (right and bottom
// inclusive, as the game's editor drew them).
constexpr Rect kParentAreas[kCockpitParentCount] = {
    {171, 39, 338, 249}, {103, 39, 170, 249}, {339, 39, 406, 249}, {0, 0, 511, 255},
    {0, 0, 511, 255},    {0, 0, 255, 255},    {256, 0, 511, 255},
};

// Size class of each object, and width and height of each class.
constexpr std::uint8_t kObjectClass[kCockpitObjectCount] = {
    0, 0, 0, 0,  0,  0,  0,  0,  0,  1,  2,  3,  3,  3,  3,  3,  3,  3,  3,  3,  3,  3,  3,  3,  3,  3, 3, 4, 5, 6, 6,
    6, 7, 9, 21, 10, 11, 12, 13, 14, 15, 16, 17, 18, 19, 20, 24, 24, 24, 24, 25, 26, 26, 26, 26, 26, 3, 3, 3, 3, 3, 3};
struct Size {
    int w, h;
};
constexpr Size kClassSizes[27] = {{12, 11}, {13, 22}, {13, 23}, {10, 9}, {13, 13}, {20, 14}, {0, 0},
                                  {20, 41}, {0, 0},   {0, 0},   {0, 0},  {14, 6},  {10, 4},  {4, 6},
                                  {4, 6},   {3, 6},   {3, 6},   {4, 12}, {4, 14},  {4, 12},  {4, 14},
                                  {0, 0},   {0, 0},   {0, 0},   {0, 0},  {30, 10}, {45, 15}};

constexpr Pixel kYellow = MakePixel(255, 255, 0);
constexpr Pixel kRed = MakePixel(255, 0, 0);

// A one-pixel outline with (left, top) and (right, bottom) on it.
void Outline(Image& picture, int left, int top, int right, int bottom, Pixel colour)
{
    picture.fillRect({left, top, right + 1, top + 1}, colour);
    picture.fillRect({left, bottom, right + 1, bottom + 1}, colour);
    picture.fillRect({left, top, left + 1, bottom + 1}, colour);
    picture.fillRect({right, top, right + 1, bottom + 1}, colour);
}

} // namespace

CockpitObjectsPage::CockpitObjectsPage(CockpitPageContext& context, int number, QWidget* parent)
    : CockpitPage(context, number, parent)
{
    auto* controls = new QWidget(this);
    auto* grid = new QGridLayout(controls);
    objectList_ = new QListWidget(controls);
    objectList_->setObjectName("ListBox12");
    objectList_->setMinimumWidth(220);
    grid->addWidget(objectList_, 0, 0, 1, 3);
    grid->addWidget(Label(controls, "Label1"), 1, 0);
    parent_ = new QComboBox(controls);
    parent_->setObjectName("ComboBox6");
    grid->addWidget(parent_, 1, 1, 1, 2);
    grid->addWidget(Label(controls, "Label2"), 2, 0);
    objectLeft_ = Spin(controls, "SpinEdit73", 0, 65535);
    objectTop_ = Spin(controls, "SpinEdit74", 0, 65535);
    grid->addWidget(objectLeft_, 2, 1);
    grid->addWidget(objectTop_, 2, 2);
    auto* import = Button(controls, "Button9");
    auto* exportButton = Button(controls, "Button10");
    auto* graphics = Button(controls, "Button11");
    grid->addWidget(import, 3, 0, 1, 3);
    grid->addWidget(exportButton, 4, 0, 1, 3);
    grid->addWidget(graphics, 5, 0, 1, 3);
    connect(objectList_, &QListWidget::currentRowChanged, this, [this](int row) {
        if (context_.showing || row < 0)
            return;
        store();
        showObject(row);
        context_.redraw();
    });
    // The picture follows the fields; the record takes them when written back.
    for (QObject* field : {static_cast<QObject*>(objectLeft_), static_cast<QObject*>(objectTop_)})
        connect(static_cast<QSpinBox*>(field), &QSpinBox::valueChanged, this, [this] {
            if (!context_.showing)
                context_.redraw();
        });
    connect(parent_, &QComboBox::currentIndexChanged, this, [this] {
        if (!context_.showing)
            context_.redraw();
    });
    connect(import, &QPushButton::clicked, this, [this] { context_.runImport({kCockpitObjectsItem}); });
    connect(exportButton, &QPushButton::clicked, this, [this] { context_.runExport({kCockpitObjectsItem}); });
    connect(graphics, &QPushButton::clicked, this, [this] {
        context_.runImport({kCockpitSoftwareItem, kCockpitHardwareItem});
    });
    setControls(controls);
}

CockpitLcdTextsPage::CockpitLcdTextsPage(CockpitPageContext& context, int number, QWidget* parent)
    : CockpitPage(context, number, parent)
{
    auto* controls = new QWidget(this);
    auto* grid = new QGridLayout(controls);
    textList_ = new QListWidget(controls);
    textList_->setObjectName("ListBox2");
    textList_->setMinimumWidth(220);
    grid->addWidget(textList_, 0, 0, 1, 3);
    grid->addWidget(Label(controls, "Label3"), 1, 0);
    grid->addWidget(Label(controls, "Label4"), 2, 0);
    const char* names[4] = {"SpinEdit1", "SpinEdit2", "SpinEdit3", "SpinEdit4"};
    for (int i = 0; i < 4; ++i) {
        textSpins_[static_cast<std::size_t>(i)] = Spin(controls, names[i], 0, 255);
        grid->addWidget(textSpins_[static_cast<std::size_t>(i)], 1 + i / 2, 1 + i % 2);
        connect(textSpins_[static_cast<std::size_t>(i)], &QSpinBox::valueChanged, this, [this] {
            if (!context_.showing)
                context_.redraw();
        });
    }
    auto* import = Button(controls, "Button12");
    auto* exportButton = Button(controls, "Button13");
    auto* graphics = Button(controls, "Button14");
    grid->addWidget(import, 3, 0, 1, 3);
    grid->addWidget(exportButton, 4, 0, 1, 3);
    grid->addWidget(graphics, 5, 0, 1, 3);
    connect(textList_, &QListWidget::currentRowChanged, this, [this](int row) {
        if (context_.showing || row < 0)
            return;
        store();
        showLcdText(row);
        context_.redraw();
    });
    connect(import, &QPushButton::clicked, this, [this] { context_.runImport({kLcdTextsItem}); });
    connect(exportButton, &QPushButton::clicked, this, [this] { context_.runExport({kLcdTextsItem}); });
    connect(graphics, &QPushButton::clicked, this, [this] {
        context_.runImport({kCockpitSoftwareItem, kCockpitHardwareItem});
    });
    setControls(controls);
}

void CockpitObjectsPage::showObject(int index)
{
    const UITexts& texts = context_.app.program.texts;
    // 255 (none chosen) and anything else out of range: the first.
    if (index < 0 || index >= kCockpitObjectCount)
        index = 0;
    context_.showing = true;
    if (objectList_->count() != kCockpitObjectCount) {
        objectList_->clear();
        for (int i = 0; i < kCockpitObjectCount; ++i)
            objectList_->addItem(FromGameText(texts.text(kFirstObjectText + i)));
    } else {
        for (int i = 0; i < kCockpitObjectCount; ++i)
            objectList_->item(i)->setText(FromGameText(texts.text(kFirstObjectText + i)));
    }
    parent_->clear();
    for (int text : kParentTexts)
        parent_->addItem(FromGameText(texts.text(text)));
    const bool isLoaded = context_.loaded(kCockpitObjectsItem);
    const CockpitObject& o = context_.cockpit().objects[static_cast<std::size_t>(index)];
    objectList_->setCurrentRow(index);
    parent_->setCurrentIndex(std::min<int>(o.parent(), kCockpitParentCount - 1));
    objectLeft_->setValue(o.left());
    objectTop_->setValue(o.top());
    for (QWidget* w :
         {static_cast<QWidget*>(parent_), static_cast<QWidget*>(objectLeft_), static_cast<QWidget*>(objectTop_)})
        w->setEnabled(isLoaded);
    context_.showing = false;
    shownObject_ = index;
    context_.state().object = index;
}

void CockpitObjectsPage::store()
{
    if (shownObject_ < 0 || !context_.loaded(kCockpitObjectsItem))
        return;
    CockpitObject& o = context_.cockpit().objects[static_cast<std::size_t>(shownObject_)];
    // A carset's parent beyond the list (7 and up) is shown as the last
    // entry and kept until the user chooses one.
    if (parent_->currentIndex() >= 0 && parent_->currentIndex() != std::min<int>(o.parent(), kCockpitParentCount - 1))
        o.setParent(static_cast<std::uint8_t>(parent_->currentIndex()));
    o.setLeft(static_cast<std::uint16_t>(objectLeft_->value()));
    o.setTop(static_cast<std::uint16_t>(objectTop_->value()));
}

void CockpitLcdTextsPage::showLcdText(int index)
{
    const UITexts& texts = context_.app.program.texts;
    if (index < 0 || index >= kLcdTextCount)
        index = 0;
    context_.showing = true;
    if (textList_->count() != kLcdTextCount) {
        textList_->clear();
        for (int i = 0; i < kLcdTextCount; ++i)
            textList_->addItem(FromGameText(texts.text(kFirstLcdText + i)));
    } else {
        for (int i = 0; i < kLcdTextCount; ++i)
            textList_->item(i)->setText(FromGameText(texts.text(kFirstLcdText + i)));
    }
    const LcdTextPositions& t = context_.cockpit().lcdTexts;
    textList_->setCurrentRow(index);
    const int values[4] = {t.left[static_cast<std::size_t>(index)], t.top[static_cast<std::size_t>(index)], t.width,
                           t.height};
    for (int i = 0; i < 4; ++i) {
        textSpins_[static_cast<std::size_t>(i)]->setValue(values[i]);
        textSpins_[static_cast<std::size_t>(i)]->setEnabled(context_.loaded(kLcdTextsItem));
    }
    context_.showing = false;
    shownText_ = index;
    context_.state().lcdText = index;
}

void CockpitLcdTextsPage::store()
{
    if (shownText_ < 0 || !context_.loaded(kLcdTextsItem))
        return;
    LcdTextPositions& t = context_.cockpit().lcdTexts;
    t.left[static_cast<std::size_t>(shownText_)] = static_cast<std::uint8_t>(textSpins_[0]->value());
    t.top[static_cast<std::size_t>(shownText_)] = static_cast<std::uint8_t>(textSpins_[1]->value());
    t.width = static_cast<std::uint8_t>(textSpins_[2]->value());
    t.height = static_cast<std::uint8_t>(textSpins_[3]->value());
}

Image CockpitObjectsPage::picture(Image cockpit) const
{
    if (shownObject_ < 0 || !context_.loaded(kCockpitObjectsItem))
        return cockpit;
    const int parent = std::clamp(parent_->currentIndex(), 0, kCockpitParentCount - 1);
    const Rect area = kParentAreas[parent];
    Outline(cockpit, area.left, area.top, area.right, area.bottom, kYellow);
    const Size size = kClassSizes[kObjectClass[shownObject_]];
    const int left = area.left + objectLeft_->value(), top = area.top + objectTop_->value();
    Outline(cockpit, left, top, left + std::max(size.w - 1, 0), top + std::max(size.h - 1, 0), kRed);
    return cockpit;
}

Image CockpitLcdTextsPage::picture(Image cockpit) const
{
    if (shownText_ < 0 || !context_.loaded(kLcdTextsItem))
        return cockpit;
    const int left = 171 + textSpins_[0]->value(), top = 39 + textSpins_[1]->value();
    Outline(cockpit, left, top, left + std::max(textSpins_[2]->value() - 1, 0),
            top + std::max(textSpins_[3]->value() - 1, 0), kRed);
    return cockpit;
}

QString CockpitObjectsPage::record() const
{
    return RecordParts({ChosenEntries({objectList_}), CockpitPage::record()});
}

QString CockpitLcdTextsPage::record() const { return RecordParts({ChosenEntries({textList_}), CockpitPage::record()}); }

int CockpitObjectsPage::statusItem() const { return kCockpitObjectsItem; }
void CockpitObjectsPage::showState() { showObject(context_.state().object); }

int CockpitLcdTextsPage::statusItem() const { return kLcdTextsItem; }
void CockpitLcdTextsPage::showState() { showLcdText(context_.state().lcdText); }

} // namespace pitwall::gui
