#include "CockpitLcdPage.h"

#include "AppContext.h"
#include "EditTrackerRecords.h"
#include "EditorStates.h"
#include "QtMessages.h"
#include "WidgetHelpers.h"

#include "cockpit/CockpitData.h"
#include "cockpit/CockpitNames.h"
#include "cockpit/ElementTypeChange.h"
#include "cockpit/LcdEmulation.h"
#include "cockpit/ThreeDFile.h"
#include "formats/GameLanguages.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>
#include <QValidator>

#include <algorithm>

namespace pitwall::gui {

namespace {

// The .3D file keeps a text between double quotes, with each quote of the
// text doubled; the field shows and takes the text as it reads, single
// quotes and all, as long as its stored form fits the element.
class LcdTextValidator : public QValidator {
public:
    using QValidator::QValidator;
    State validate(QString& input, int&) const override
    {
        const std::string stored = StoredLcdText(ToGameText(input));
        return IsWritableLcdText(stored) && stored.size() <= kLcdTextWidth ? Acceptable : Invalid;
    }
};

constexpr int kFirstLanguageText = 691;
constexpr int kFirstScreenText = 773;
constexpr int kFirstTypeText = 1119;
constexpr int kFirstHighlightText = 1124;
constexpr int kEmptyElementText = 1131;
constexpr int kHighlightElementText = 1132;
constexpr int kPlaceholderElementText = 1133;
constexpr int kMessageElementText = 1134;
constexpr int kPositionText = 836;
constexpr int kFineText = 837;
constexpr int kHighlightColumnsText = 1046;
constexpr int kHighlightFineText = 1047;
constexpr int kOutsideCockpitText = 909;

} // namespace

CockpitLcdPage::CockpitLcdPage(CockpitPageContext& context, int number, QWidget* parent)
    : CockpitPage(context, number, parent)
{
    try {
        font_ = LcdFont::Load(context.app.program.directories.program + "Font.BMP");
    } catch (const std::exception& e) {
        // Without the font the LCD shows its background only.
        context.app.messenger().showFixed(e.what());
    }
    // The three lists side by side below the LCD, as high as the page allows.
    auto* lists = new QWidget(this);
    auto* listRow = new QHBoxLayout(lists);
    listRow->setContentsMargins(0, 0, 0, 0);
    auto list = [&](const char* caption, const char* name, int stretch) {
        auto* column = new QVBoxLayout;
        column->addWidget(Label(lists, caption));
        auto* l = new QListWidget(lists);
        l->setObjectName(name);
        // Ten rows at least: the page grows to show them.
        l->setMinimumHeight(10 * (l->fontMetrics().height() + 3) + 2 * l->frameWidth());
        column->addWidget(l, 1);
        listRow->addLayout(column, stretch);
        return l;
    };
    languages_ = list("Label5", "ListBox1", 2);
    screens_ = list("Label6", "ListBox13", 3);
    elements_ = list("Label7", "ListBox14", 3);
    setBelowPicture(lists);

    auto* controls = new QWidget(this);
    auto* grid = new QGridLayout(controls);
    positionLabel_ = Label(controls, "Label10");
    fineLabel_ = Label(controls, "Label11");
    grid->addWidget(positionLabel_, 0, 0);
    grid->addWidget(fineLabel_, 1, 0);
    // Bytes 1 and 3 on the first row, 2 and 4 on the second.
    const char* names[4] = {"SpinEdit102", "SpinEdit103", "SpinEdit104", "SpinEdit105"};
    for (int b = 0; b < 4; ++b) {
        auto* spin = new QSpinBox(controls);
        spin->setObjectName(names[b]);
        spin->setRange(0, 255);
        elementSpins_[static_cast<std::size_t>(b)] = spin;
        grid->addWidget(spin, b % 2 == 0 ? 0 : 1, b < 2 ? 1 : 2);
        connect(spin, &QSpinBox::valueChanged, this, [this, b](int value) { elementNumberChanged(b + 1, value); });
    }
    grid->addWidget(Label(controls, "Label8"), 2, 0);
    elementText_ = new QComboBox(controls);
    elementText_->setObjectName("ComboBox9");
    // Wide enough for the longest game name it offers
    // ("lcdp_SESSION_TIME_REMAINING"), which the layout must not clip.
    int longest = 0;
    for (std::string_view name : kLcdPlaceholderNames)
        longest = std::max(longest, elementText_->fontMetrics().horizontalAdvance(QString::fromLatin1(name)));
    for (std::string_view name : kLcdHighlightNames)
        longest = std::max(longest, elementText_->fontMetrics().horizontalAdvance(QString::fromLatin1(name)));
    elementText_->setMinimumWidth(longest + 40);
    grid->addWidget(elementText_, 2, 1, 1, 2);
    grid->addWidget(Label(controls, "Label9"), 3, 0);
    elementType_ = new QComboBox(controls);
    elementType_->setObjectName("ComboBox1");
    grid->addWidget(elementType_, 3, 1, 1, 2);
    outside_ = new QCheckBox(controls);
    outside_->setObjectName("CheckBox1");
    outside_->setEnabled(false); // shown only
    grid->addWidget(outside_, 4, 0, 1, 3);
    auto* import = Button(controls, "Button15");
    auto* exportButton = Button(controls, "Button16");
    auto* exportAll = Button(controls, "Button17");
    auto* importAll = Button(controls, "Button18");
    auto* graphics = Button(controls, "Button19");
    grid->addWidget(import, 5, 0);
    grid->addWidget(exportButton, 5, 1, 1, 2);
    grid->addWidget(importAll, 6, 0);
    grid->addWidget(exportAll, 6, 1, 1, 2);
    grid->addWidget(graphics, 7, 0, 1, 3);
    grid->setRowStretch(8, 1);

    connect(languages_, &QListWidget::currentRowChanged, this, [this](int row) {
        if (context_.showing || row < 0)
            return;
        context_.state().language = row;
        fillElementList();
        showElement(context_.state().element);
        context_.updateStatus();
        context_.redraw();
    });
    connect(screens_, &QListWidget::currentRowChanged, this, [this](int row) {
        if (!context_.showing && row >= 0)
            showScreen(row);
    });
    connect(elements_, &QListWidget::currentRowChanged, this, [this](int row) {
        if (!context_.showing && row >= 0) {
            showElement(row);
            context_.redraw();
        }
    });
    connect(elementText_, &QComboBox::activated, this, &CockpitLcdPage::elementTextChosen);
    connect(elementText_, &QComboBox::editTextChanged, this, &CockpitLcdPage::elementTextEdited);
    connect(elementType_, &QComboBox::activated, this, &CockpitLcdPage::elementTypeChosen);
    connect(import, &QPushButton::clicked, this,
            [this] { context_.runImport({LcdDisplayItem(context_.state().language)}); });
    connect(exportButton, &QPushButton::clicked, this, [this] { context_.runExport(allLanguageItems()); });
    connect(exportAll, &QPushButton::clicked, this, [this] { context_.runExport(allLanguageItems()); });
    connect(importAll, &QPushButton::clicked, this, [this] { context_.runImport(allLanguageItems()); });
    connect(graphics, &QPushButton::clicked, this, [this] {
        context_.runImport({kCockpitSoftwareItem, kCockpitHardwareItem});
    });

    setControls(controls);
}

std::vector<int> CockpitLcdPage::allLanguageItems() const
{
    // Items 191 up to the last language the game version has.
    std::vector<int> items;
    for (int l = 0; l < LanguagesOfVersion(context_.app.program.gameVersion); ++l)
        items.push_back(LcdDisplayItem(l));
    return items;
}

void CockpitLcdPage::showState()
{
    const UITexts& texts = context_.app.program.texts;
    CockpitEditorState& s = context_.state();
    context_.showing = true;
    languages_->clear();
    for (int l = 0; l < kLanguageCount; ++l)
        languages_->addItem(FromGameText(texts.text(kFirstLanguageText + l)));
    s.language = std::clamp(s.language, 0, kLanguageCount - 1);
    languages_->setCurrentRow(s.language);
    screens_->clear();
    for (int i = 0; i < kLcdScreenCount; ++i)
        screens_->addItem(FromGameText(texts.text(kFirstScreenText + i)));
    elementType_->clear();
    for (int t = 0; t < 4; ++t)
        elementType_->addItem(FromGameText(texts.text(kFirstTypeText + t)));
    context_.showing = false;
    showScreen(std::clamp(s.screen, 0, kLcdScreenCount - 1));
}

void CockpitLcdPage::showScreen(int screen)
{
    context_.state().screen = screen;
    context_.showing = true;
    screens_->setCurrentRow(screen);
    context_.showing = false;
    fillElementList();
    // The element index stays as it was while the screen changes.
    showElement(context_.state().element);
    context_.redraw();
}

void CockpitLcdPage::fillElementList()
{
    const UITexts& texts = context_.app.program.texts;
    const LcdScreen& screen = context_.cockpit()
                                  .displays[static_cast<std::size_t>(context_.state().language)]
                                  .screens[static_cast<std::size_t>(context_.state().screen)];
    context_.showing = true;
    const int row = elements_->currentRow();
    elements_->clear();
    for (const LcdElement& e : screen) {
        switch (e.type()) {
        case 0:
            elements_->addItem(FromGameText(texts.text(kEmptyElementText)));
            break;
        case 1:
            elements_->addItem(FromGameText(texts.format(kHighlightElementText, Args(e.text()))));
            break;
        case 2:
            elements_->addItem(FromGameText(texts.format(kPlaceholderElementText, Args(e.text()))));
            break;
        case 4:
            elements_->addItem(FromGameText(texts.format(kMessageElementText, Args(ShownLcdText(e.text())))));
            break;
        default:
            elements_->addItem(FromUntrustedGameText(ShownLcdText(e.text())));
            break;
        }
    }
    elements_->setCurrentRow(std::max(row, 0));
    context_.showing = false;
}

LcdElement* CockpitLcdPage::chosenElement()
{
    if (!context_.loaded(LcdDisplayItem(context_.state().language)))
        return nullptr;
    const int element = std::clamp(context_.state().element, 0, kLcdElementCount - 1);
    return &context_.cockpit()
                .displays[static_cast<std::size_t>(context_.state().language)]
                .screens[static_cast<std::size_t>(context_.state().screen)][static_cast<std::size_t>(element)];
}

void CockpitLcdPage::showElement(int element)
{
    const UITexts& texts = context_.app.program.texts;
    element = std::clamp(element, 0, kLcdElementCount - 1);
    context_.state().element = element;
    context_.showing = true;
    elements_->setCurrentRow(element);
    const LcdElement* e = chosenElement();
    const bool isLoaded = e != nullptr;
    const int type = e ? e->type() : 0;
    for (int b = 0; b < 4; ++b) {
        elementSpins_[static_cast<std::size_t>(b)]->setValue(e ? (*e)[static_cast<std::size_t>(b + 1)] : 0);
        elementSpins_[static_cast<std::size_t>(b)]->setEnabled(isLoaded && type != 4);
    }
    positionLabel_->setText(FromGameText(texts.text(type == 1 ? kHighlightColumnsText : kPositionText)));
    fineLabel_->setText(FromGameText(texts.text(type == 1 ? kHighlightFineText : kFineText)));
    elementType_->setCurrentIndex(type <= 3 ? type : -1);
    elementType_->setEnabled(isLoaded && type != 4);
    outside_->setChecked(e && (*e)[LcdElement::kOutside] != 0);
    elementText_->clear();
    if (type == 1 || type == 2) {
        elementText_->setEditable(false);
        const int first = type == 1 ? kFirstHighlightText : kPlaceholderCaptionText;
        const int count = type == 1 ? kLcdHighlightCount : kLcdPlaceholderCount;
        for (int i = 0; i < count; ++i)
            elementText_->addItem(FromGameText(texts.text(first + i)));
        elementText_->setCurrentIndex(std::min<int>((*e)[LcdElement::kIndex], count - 1));
    } else {
        elementText_->setEditable(true);
        elementText_->lineEdit()->setMaxLength(static_cast<int>(kLcdTextWidth));
        if (!elementText_->validator())
            elementText_->setValidator(new LcdTextValidator(elementText_));
        elementText_->setEditText(e ? FromUntrustedGameText(ShownLcdText(e->text())) : QString());
    }
    elementText_->setEnabled(isLoaded && type != 0);
    context_.showing = false;
}

void CockpitLcdPage::elementNumberChanged(int byte, int value)
{
    LcdElement* e = chosenElement();
    if (context_.showing || !e)
        return;
    (*e)[static_cast<std::size_t>(byte)] = static_cast<std::uint8_t>(value);
    context_.redraw();
}

void CockpitLcdPage::elementTextChosen(int index)
{
    LcdElement* e = chosenElement();
    if (context_.showing || !e || index < 0 || !(e->is(LcdType::Highlight) || e->is(LcdType::Placeholder)))
        return;
    // The list position is the table index, whatever the language file
    // calls the entry.
    (*e)[LcdElement::kIndex] = static_cast<std::uint8_t>(index);
    e->setText(ToGameText(elementText_->itemText(index)));
    fillElementList();
    context_.redraw();
}

void CockpitLcdPage::elementTextEdited(const QString& text)
{
    LcdElement* e = chosenElement();
    if (context_.showing || !e || !(e->is(LcdType::Text) || e->is(LcdType::Message)))
        return;
    const std::string stored = StoredLcdText(ToGameText(text));
    if (!IsWritableLcdText(stored) || stored.size() > kLcdTextWidth)
        return;
    e->setText(stored);
    fillElementList();
    context_.redraw();
}

void CockpitLcdPage::elementTypeChosen(int type)
{
    LcdElement* e = chosenElement();
    if (context_.showing || !e || type < 0)
        return;
    ChangeElementType(*e, static_cast<LcdType>(type), context_.app.program.texts.text(kPlaceholderCaptionText));
    fillElementList();
    showElement(context_.state().element);
    context_.redraw();
}

Image CockpitLcdPage::picture(Image) const
{
    const CockpitEditorState& s = context_.state();
    const CockpitData& data = context_.cockpit();
    const CockpitGraphicsSet& set = data.graphics[static_cast<std::size_t>(s.variant)];
    LcdScene scene;
    if (context_.loaded(CockpitGraphicsItem(s.variant)) && set.loaded())
        scene.preview = &set.preview;
    if (context_.loaded(LcdDisplayItem(s.language)))
        scene.screen = &data.displays[static_cast<std::size_t>(s.language)].screens[static_cast<std::size_t>(s.screen)];
    scene.chosenElement = s.element;
    scene.outsideText = context_.app.program.texts.text(kOutsideCockpitText);
    return RenderLcd(scene, font_);
}

QString CockpitLcdPage::record() const
{
    return RecordParts({ChosenEntries({languages_, screens_, elements_}), CockpitPage::record()});
}

int CockpitLcdPage::statusItem() const { return LcdDisplayItem(context_.state().language); }

} // namespace pitwall::gui
