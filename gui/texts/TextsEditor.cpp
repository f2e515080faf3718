#include "TextsEditor.h"

#include "AppContext.h"
#include "EditTrackerRecords.h"
#include "EditorStatusBar.h"
#include "LanguageTable.h"
#include "MemoPlainText.h"
#include "TextEditDialog.h"
#include "TextFindDialog.h"
#include "TextListModel.h"
#include "WidgetHelpers.h"
#include "base/FileUtils.h"
#include "formats/GameInstallation.h"
#include "formats/GameLanguages.h"
#include "formats/StringFile.h"
#include "texts/LanguagesArea.h"
#include "texts/TextLines.h"
#include "transfer/FormatMessages.h"
#include "transfer/ReportedFormats.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSortFilterProxyModel>
#include <QStatusBar>
#include <QVBoxLayout>

#include <algorithm>
#include <array>

namespace pitwall::gui {

namespace {

constexpr int kFirstLanguageName = 691;
constexpr int kTextNumber = 767, kTextCount = 768, kFileVersion = 769;
constexpr int kLanguageMissing = 943, kNothingFound = 1001;
constexpr int kStrFilter = 981, kTxtFilter = 983;

constexpr TextBinding kTextsEditorTexts[] = {
    {"", TextRole::Caption, 106},
    {"Label1", TextRole::Caption, 107},
    {"GroupBox1", TextRole::Caption, 108},
    {"Button32", TextRole::Caption, 109},
    {"GroupBox2", TextRole::Caption, 110},
    {"BitBtn7", TextRole::Caption, 111},
    {"BitBtn8", TextRole::Caption, 112},
    {"BitBtn9", TextRole::Caption, 113},
    {"BitBtn10", TextRole::Caption, 114},
    {"BitBtn11", TextRole::Caption, 115},
    {"Button5", TextRole::Caption, 116},
    {"GroupBox3", TextRole::Caption, 117},
    {"Button16", TextRole::Caption, 118},
    {"Button15", TextRole::Caption, 119},
    {"Button2", TextRole::Caption, 120},
    {"Button3", TextRole::Caption, 121},
    {"Button1", TextRole::Caption, 122},
    {"Button4", TextRole::Caption, 123},
    {"FilterLabel", TextRole::Caption, 124},
    {"FindDialog1", TextRole::Caption, 125},
    {"FindLabel", TextRole::Caption, 126},
    {"MatchCase", TextRole::Caption, 153},
    {"Direction", TextRole::Caption, 128},
    {"Up", TextRole::Caption, 129},
    {"Down", TextRole::Caption, 130},
    {"FindNext", TextRole::Caption, 131},
    {"FindCancel", TextRole::Caption, 132},
};

// Quick jumps: the button and its text number (the track names depend on
// the language).
struct QuickJumpButton {
    const char* name;
    const char* caption;
    int number;
};
constexpr QuickJumpButton kQuickJumps[] = {
    {"BitBtn7", "Datumsangaben", 22},  {"BitBtn8", "Wagen-Setup", 423}, {"BitBtn9", "Gegnerlevel", 711},
    {"BitBtn10", "Streckennamen", -1}, {"BitBtn11", "Credits", 2557},
};

// The memo shows one line per line of the text; control characters within
// a line (a line feed inside double quotes, a carriage return) as the caret
// form of the game's text files, so they survive the edit.
QString MemoText(const std::string& text)
{
    QStringList lines;
    for (const std::string& line : SplitTextLines(text))
        lines << FromGameText(EscapeTextLine(line));
    return lines.join('\n');
}

std::string TextFromMemo(const QString& memo)
{
    std::vector<std::string> lines;
    for (const QString& line : memo.split('\n'))
        lines.push_back(UnescapeTextLine(ToGameText(line)));
    return JoinTextLines(lines);
}

} // namespace

TextsEditor::TextsEditor(AppContext& app, QWidget* parent) : EditorWindow(app, "TForm14", parent)
{
    setWindowTitle("Texte");
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(6, 6, 6, 0);
    auto* body = new QHBoxLayout;

    auto* left = new QVBoxLayout;
    left->addWidget(Label(this, "Label1", "Sprache:"));
    languages_ = new QListWidget(this);
    languages_->setObjectName("ListBox4");
    languages_->setFixedWidth(190);
    for (int l = 0; l < kLanguageCount; ++l)
        languages_->addItem(QString::fromStdString(LanguageNameUtf8(l)));
    left->addWidget(languages_, 1);
    auto* transfer = new QGroupBox("Import / Export:", this);
    transfer->setObjectName("GroupBox3");
    auto* transferButtons = new QVBoxLayout(transfer);
    const std::pair<const char*, const char*> captions[] = {
        {"Button16", "Importieren"},      {"Button15", "Exportieren"},    {"Button2", "Alles importieren"},
        {"Button3", "Alles exportieren"}, {"Button1", "Aus Datei laden"}, {"Button4", "In Datei speichern"},
    };
    for (const auto& [name, caption] : captions)
        transferButtons->addWidget(Button(transfer, name, caption));
    left->addWidget(transfer);
    body->addLayout(left);

    auto* data = new QGroupBox("Sprachdaten:", this);
    data->setObjectName("GroupBox1");
    auto* dataLayout = new QVBoxLayout(data);
    textControls_ = new QWidget(data);
    auto* controls = new QVBoxLayout(textControls_);
    controls->setContentsMargins(0, 0, 0, 0);
    auto* filterRow = new QHBoxLayout;
    filterRow->addWidget(Label(textControls_, "FilterLabel", "Filter:"));
    filterEdit_ = new QLineEdit(textControls_);
    filterEdit_->setObjectName("FilterEdit");
    filterEdit_->setClearButtonEnabled(true);
    filterRow->addWidget(filterEdit_, 1);
    controls->addLayout(filterRow);
    model_ = new TextListModel(this);
    filter_ = new QSortFilterProxyModel(this);
    filter_->setSourceModel(model_);
    filter_->setFilterCaseSensitivity(Qt::CaseInsensitive);
    list_ = new QListView(textControls_);
    list_->setObjectName("ListBox5");
    list_->setModel(filter_);
    list_->setUniformItemSizes(true); // 2,843 rows lay out without measuring each
    list_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    list_->setSelectionMode(QAbstractItemView::SingleSelection);
    controls->addWidget(list_, 1);
    auto* info = new QGridLayout;
    number_ = Label(textControls_, "Label2", "");
    count_ = Label(textControls_, "Label3", "");
    version_ = Label(textControls_, "Label4", "");
    info->addWidget(number_, 0, 0);
    info->addWidget(count_, 0, 1);
    info->addWidget(version_, 1, 0, 1, 2);
    auto* edit = Button(textControls_, "Button32", "Text ändern");
    auto* find = Button(textControls_, "Button5", "Suchen");
    info->addWidget(edit, 0, 2);
    info->addWidget(find, 1, 2);
    controls->addLayout(info);
    auto* jumps = new QGroupBox("Quick-Jump:", textControls_);
    jumps->setObjectName("GroupBox2");
    auto* jumpRow = new QHBoxLayout(jumps);
    for (const QuickJumpButton& j : kQuickJumps) {
        auto* b = Button(jumps, j.name, j.caption);
        jumpRow->addWidget(b);
        connect(b, &QPushButton::clicked, this,
                [this, j] { quickJump(j.number >= 0 ? j.number : TrackTextNumber(0, language(), 0)); });
    }
    controls->addWidget(jumps);
    dataLayout->addWidget(textControls_);
    body->addWidget(data, 1);
    layout->addLayout(body, 1);
    statusBar_ = CreateEditorStatusBar(this);
    layout->addWidget(statusBar_);
    findDialog_ = new TextFindDialog(app_.program.texts, this);

    connect(languages_, &QListWidget::currentRowChanged, this, &TextsEditor::showListedLanguage);
    connect(filterEdit_, &QLineEdit::textChanged, this, [this](const QString& text) {
        int keep = selectedText();
        filter_->setFilterFixedString(text);
        if (keep >= 0)
            if (QModelIndex i = filter_->mapFromSource(model_->index(keep)); i.isValid())
                list_->setCurrentIndex(i);
        updateLabels();
    });
    connect(list_->selectionModel(), &QItemSelectionModel::currentChanged, this, [this] { updateLabels(); });
    connect(list_, &QListView::doubleClicked, this, [this] { editSelected(); });
    connect(edit, &QPushButton::clicked, this, &TextsEditor::editSelected);
    connect(find, &QPushButton::clicked, this, [this] {
        findDialog_->show();
        findDialog_->raise();
    });
    connect(findDialog_, &TextFindDialog::findNext, this, &TextsEditor::findNext);
    connect(transfer->findChild<QPushButton*>("Button16"), &QPushButton::clicked, this, [this] { transferOne(true); });
    connect(transfer->findChild<QPushButton*>("Button15"), &QPushButton::clicked, this, [this] { transferOne(false); });
    connect(transfer->findChild<QPushButton*>("Button2"), &QPushButton::clicked, this, [this] { transferAll(true); });
    connect(transfer->findChild<QPushButton*>("Button3"), &QPushButton::clicked, this, [this] { transferAll(false); });
    connect(transfer->findChild<QPushButton*>("Button1"), &QPushButton::clicked, this, &TextsEditor::loadLanguageFile);
    connect(transfer->findChild<QPushButton*>("Button4"), &QPushButton::clicked, this, &TextsEditor::saveLanguageFile);
}

void TextsEditor::applyLanguage()
{
    ApplyTexts(this, kTextsEditorTexts, app_.program.texts);
    ApplyTexts(findDialog_, kTextsEditorTexts, app_.program.texts);
    {
        QSignalBlocker block(languages_);
        for (int l = 0; l < kLanguageCount; ++l)
            languages_->item(l)->setText(FromGameText(app_.program.texts.text(kFirstLanguageName + l)));
    }
    updateLabels();
}

void TextsEditor::setUp()
{
    QSignalBlocker block(languages_);
    languages_->setCurrentRow(std::clamp(app_.editorStates.textsLanguage, 0, kLanguageCount - 1));
    showLanguage();
}

// The list is the working set's own: edits are in place, nothing to write back.
void TextsEditor::store() { app_.editorStates.textsLanguage = language(); }

void TextsEditor::restore() { showLanguage(); }

int TextsEditor::language() const { return std::clamp(languages_->currentRow(), 0, kLanguageCount - 1); }

bool TextsEditor::languageLoaded() const { return app_.workingSet().transfer.isLoaded(LanguageItem(language())); }

void TextsEditor::showLanguage()
{
    const bool loaded = languageLoaded();
    model_->setTexts(loaded ? &app_.workingSet().gameTexts.languages[static_cast<std::size_t>(language())] : nullptr);
    textControls_->setEnabled(loaded);
    findChild<QPushButton*>("Button4")->setEnabled(loaded);
    findChild<QPushButton*>("Button15")->setEnabled(loaded);
    SetupEditorStatusBar(statusBar_, loaded, true, app_);
    if (model_->rowCount() > 0)
        selectText(0);
    updateLabels();
}

void TextsEditor::updateLabels()
{
    const UITexts& t = app_.program.texts;
    const std::size_t count = model_->texts() ? model_->texts()->size() : 0;
    number_->setText(FromGameText(t.format(kTextNumber, Args(selectedText() + 1))));
    count_->setText(FromGameText(t.format(kTextCount, Args(static_cast<int>(count)))));
    version_->setText(
        FromGameText(t.format(kFileVersion, Args(GameVersionName(VersionOfStringCount(language(), count))))));
}

QString TextsEditor::recordOf(const QWidget* control) const
{
    if (!Within(control, textControls_) && !Within(control, list_))
        return {};
    const int number = selectedText();
    return number < 0 ? QString() : TextRecordName(app_, number + 1, ChosenEntries({languages_}));
}

int TextsEditor::selectedText() const
{
    QModelIndex i = list_->currentIndex();
    return i.isValid() ? filter_->mapToSource(i).row() : -1;
}

void TextsEditor::selectText(int number)
{
    QModelIndex source = model_->index(number);
    if (!source.isValid())
        return;
    QModelIndex shown = filter_->mapFromSource(source);
    if (!shown.isValid()) {
        filterEdit_->clear();
        shown = filter_->mapFromSource(source);
    }
    list_->setCurrentIndex(shown);
    list_->scrollTo(shown, QAbstractItemView::PositionAtTop);
    updateLabels();
}

void TextsEditor::showListedLanguage(int row)
{
    if (row < 0)
        return;
    app_.editorStates.textsLanguage = row;
    showLanguage();
}

void TextsEditor::editSelected()
{
    const int n = selectedText();
    if (n < 0 || !model_->texts())
        return;
    std::string& text = (*model_->texts())[static_cast<std::size_t>(n)];
    TextEditDialog dialog(app_.program.texts, this);
    const QString shown = MemoText(text);
    dialog.memo()->setPlainText(shown);
    if (dialog.exec() != QDialog::Accepted)
        return;
    // Unchanged lines give back the very bytes they came from.
    const QString edited = MemoPlainText(*dialog.memo());
    if (edited == shown)
        return;
    text = TextFromMemo(edited);
    model_->textChanged(n);
}

void TextsEditor::quickJump(int number)
{
    if (languageLoaded())
        selectText(number);
}

void TextsEditor::findNext()
{
    if (!model_->texts())
        return;
    auto found = FindText(*model_->texts(), selectedText(), findDialog_->search());
    if (!found) {
        Messenger messenger = app_.messenger();
        messenger.show(kNothingFound);
        return;
    }
    selectText(*found);
}

void TextsEditor::transferOne(bool import)
{
    const int version = app_.program.gameVersion;
    if (!LanguagePresent(language(), version)) {
        Messenger messenger = app_.messenger();
        messenger.show(kLanguageMissing, Args(GameVersionName(version)));
        return;
    }
    store();
    app_.workingSet().transfer.selection = {};
    app_.workingSet().transfer.selection[static_cast<std::size_t>(LanguageItem(language()))] = 1;
    TransferUi ui = app_.transferUi();
    if (import)
        app_.engine().importFromGame(ItemChoice::AsSelected, OpenEditor::Untouched, ui);
    else
        app_.engine().exportToGame(ItemChoice::AsSelected, ui);
    showLanguage();
}

void TextsEditor::transferAll(bool import)
{
    store();
    SelectAllLanguages(app_.workingSet().transfer.selection, app_.program.gameVersion);
    TransferUi ui = app_.transferUi();
    if (import)
        app_.engine().importFromGame(ItemChoice::AsSelected, OpenEditor::Untouched, ui);
    else
        app_.engine().exportToGame(ItemChoice::AsSelected, ui);
    showLanguage();
}

void TextsEditor::loadLanguageFile()
{
    auto name = app_.chooseFileToOpen({"LanguageLoad", LanguageNameUtf8(language()), {kStrFilter, kTxtFilter}, 1});
    if (!name)
        return;
    Messenger messenger = app_.messenger();
    int kind = CheckFileExtension(*name, {".STR", ".TXT"}, true, &messenger);
    if (kind < 0)
        return;
    auto& list = app_.workingSet().gameTexts.languages[static_cast<std::size_t>(language())];
    auto& loaded = app_.workingSet().transfer.loaded[static_cast<std::size_t>(LanguageItem(language()))];
    try {
        if (kind == 0) {
            // A file the reader refuses leaves the list, and its flag, as they were.
            if (ReadStringFile(*name, list, &messenger))
                loaded = 1;
        } else {
            // A UTF-8 file with a character the game's texts cannot hold
            // is refused with its line and column; the list stays.
            std::vector<std::string> read;
            if (ReportFormatErrors(&messenger, [&] { read = ReadTextFile(*name); })) {
                list = std::move(read);
                loaded = 1;
            }
        }
    } catch (const std::exception& e) {
        messenger.showFixed(e.what());
    }
    showLanguage();
}

void TextsEditor::saveLanguageFile()
{
    if (!languageLoaded())
        return;
    auto name = app_.chooseFileToSave({"LanguageSave", LanguageNameUtf8(language()), {kStrFilter, kTxtFilter}, 1});
    if (!name)
        return;
    Messenger messenger = app_.messenger();
    int kind = CheckFileExtension(*name, {".STR", ".TXT"}, true, &messenger);
    if (kind < 0)
        return;
    const auto& list = app_.workingSet().gameTexts.languages[static_cast<std::size_t>(language())];
    try {
        if (kind == 0)
            WriteStringFile(*name, list);
        else
            WriteTextFile(*name, list);
    } catch (const std::exception& e) {
        messenger.showFixed(e.what());
    }
}

} // namespace pitwall::gui
