#include "SoundsEditor.h"

#include "AppContext.h"
#include "DirectoryChooser.h"
#include "EditTrackerRecords.h"
#include "EditorStatusBar.h"
#include "LanguageTable.h"
#include "SoundModule.h"
#include "WidgetHelpers.h"
#include "base/FileUtils.h"
#include "session/WorkingFiles.h"
#include "sounds/SoundConversionText.h"
#include "sounds/SoundFolder.h"
#include "sounds/SoundPlayback.h"
#include "sounds/SoundsArea.h"
#include "transfer/ReportedFormats.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QSignalBlocker>
#include <QStatusBar>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <array>

namespace pitwall::gui {

namespace {

constexpr int kCountText = 170;
constexpr int kWavFilter = 711;
constexpr int kStopCaption = 719, kPlayCaption = 708;
constexpr int kNoAudioText = 720;
constexpr int kMissingText = 212, kAllExtractedText = 531;

constexpr TextBinding kSoundsEditorTexts[] = {
    {"", TextRole::Caption, 660},
    {"ListView1", TextRole::Column, 664, 0},
    {"ListView1", TextRole::Column, 665, 1},
    {"ListView1", TextRole::Column, 669, 2},
    {"ListView1", TextRole::Column, 670, 3},
    {"CheckBox3", TextRole::Caption, 707},
    {"Button58", TextRole::Caption, 708},
    {"Button59", TextRole::Caption, 713},
    {"Button60", TextRole::Caption, 714},
    {"BitBtn26", TextRole::Caption, 715},
    {"BitBtn27", TextRole::Caption, 716},
    {"Button18", TextRole::Caption, 717},
    {"Button19", TextRole::Caption, 718},
};

} // namespace

SoundsEditor::SoundsEditor(AppContext& app, QWidget* parent) : EditorWindow(app, "TForm17", parent)
{
    setWindowTitle("Sounds");
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(6, 6, 6, 0);
    auto* body = new QHBoxLayout;

    list_ = new QTreeWidget(this);
    list_->setObjectName("ListView1");
    list_->setColumnCount(4);
    list_->setHeaderLabels({"Index", QString::fromUtf8("Größe (Byte)"), "Samplerate", "Bit"});
    list_->setRootIsDecorated(false);
    list_->setAlternatingRowColors(true);
    list_->setSelectionBehavior(QAbstractItemView::SelectRows);
    list_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    list_->setUniformRowHeights(true);
    list_->header()->setStretchLastSection(true);
    list_->setColumnWidth(0, 90);
    list_->setColumnWidth(1, 120);
    list_->setColumnWidth(2, 110);
    body->addWidget(list_, 1);

    auto* side = new QVBoxLayout;
    selectAll_ = new QCheckBox(QString::fromUtf8("Alle anwählen"), this);
    selectAll_->setObjectName("CheckBox3");
    side->addWidget(selectAll_);
    count_ = new QLabel(this);
    count_->setObjectName("Label90");
    side->addWidget(count_);
    side->addSpacing(8);
    play_ = Button(this, "Button58", "Sound abspielen");
    side->addWidget(play_);
    side->addWidget(Button(this, "Button59", "Sound extrahieren"));
    side->addWidget(Button(this, "Button60", "Sound ersetzen"));
    side->addSpacing(8);
    side->addWidget(Button(this, "BitBtn26", "Alle Sounds extrahieren"));
    side->addWidget(Button(this, "BitBtn27", "Alle Sounds ersetzen"));
    side->addStretch(1);
    side->addWidget(Button(this, "Button18", "Importieren"));
    side->addWidget(Button(this, "Button19", "Exportieren"));
    body->addLayout(side);
    layout->addLayout(body, 1);
    statusBar_ = CreateEditorStatusBar(this);
    layout->addWidget(statusBar_);

    chooseFolder = [this]() -> std::optional<std::string> {
        DirectoryChooser chooser(app_.program.texts, this);
        if (chooser.exec() != QDialog::Accepted || chooser.directory().isEmpty())
            return std::nullopt;
        return chooser.directory().toStdString();
    };
    // Without the module there is no telling; playing then says what is missing.
    hasAudioOutput = [this] {
        SoundPlayer* player = soundPlayer();
        return !player || player->hasAudioOutput();
    };
    soundModuleDirectory = QString::fromStdString(app_.program.directories.modules);

    connect(list_, &QTreeWidget::itemChanged, this, [this](QTreeWidgetItem* item, int column) {
        if (!filling_ && column == 0)
            markSound(list_->indexOfTopLevelItem(item), item->checkState(0) == Qt::Checked);
    });
    connect(list_, &QTreeWidget::currentItemChanged, this, [this] { enableControls(); });
    connect(selectAll_, &QCheckBox::clicked, this, &SoundsEditor::markAllSounds);
    connect(play_, &QPushButton::clicked, this, &SoundsEditor::togglePlaying);
    const std::array<std::pair<const char*, void (SoundsEditor::*)()>, 6> handlers = {{
        {"Button59", &SoundsEditor::saveSoundToFile},
        {"Button60", &SoundsEditor::loadSoundFromFile},
        {"BitBtn26", &SoundsEditor::saveAllSounds},
        {"BitBtn27", &SoundsEditor::loadAllSounds},
        {"Button18", &SoundsEditor::importSounds},
        {"Button19", &SoundsEditor::exportSounds},
    }};
    for (const auto& [name, handler] : handlers)
        connect(findChild<QPushButton*>(name), &QPushButton::clicked, this, handler);
}

SoundsEditor::~SoundsEditor() { stopPlaying(); }

SoundTable& SoundsEditor::table() { return app_.workingSet().sounds; }
SoundsEditorState& SoundsEditor::state() { return app_.editorStates.sounds; }

QString SoundsEditor::recordOf(const QWidget* control) const
{
    // The other controls mark, play or move all sounds.
    return control && control->objectName() == "Button60" ? SoundRecordName(app_, selectedSound()) : QString();
}

int SoundsEditor::selectedSound() const
{
    QTreeWidgetItem* item = list_->currentItem();
    return item ? list_->indexOfTopLevelItem(item) : -1;
}

void SoundsEditor::applyLanguage()
{
    ApplyTexts(this, kSoundsEditorTexts, app_.program.texts);
    count_->setText(
        FromGameText(app_.program.texts.format(kCountText, Args(static_cast<int>(table().entries.size())))));
    if (playing_)
        play_->setText(FromGameText(app_.program.texts.text(kStopCaption)));
}

void SoundsEditor::setUp() { restore(); }

// Showing: the remembered "Alle anwählen", the rows from the table.
void SoundsEditor::restore()
{
    selectAll_->setChecked(state().selectAll);
    fillList();
    if (list_->topLevelItemCount() > 0)
        list_->setCurrentItem(list_->topLevelItem(0));
    enableControls();
}

// The rows' marks into the table; one unmarked sound clears the remembered
// "Alle anwählen". Runs after every click too (the edit history looks at
// the table then), so it leaves a playing sound alone.
void SoundsEditor::store()
{
    SoundTable& t = table();
    t.marks.resize(t.entries.size(), 0);
    bool all = selectAll_->isChecked();
    for (int row = 0; row < list_->topLevelItemCount() && row < 256; ++row) {
        const bool checked = list_->topLevelItem(row)->checkState(0) == Qt::Checked;
        t.marks[static_cast<std::size_t>(row)] = checked ? 1 : 0;
        all = all && checked;
    }
    state().selectAll = all;
}

void SoundsEditor::fillList()
{
    filling_ = true;
    const int current = selectedSound();
    list_->clear();
    const SoundTable& t = table();
    QList<QTreeWidgetItem*> rows;
    for (std::size_t i = 0; i < t.entries.size(); ++i) {
        const SoundEntry& e = t.entries[i];
        auto* item = new QTreeWidgetItem(
            {QString::number(i), QString::number(e.dataSize), QString::number(e.sampleRate), QString::number(e.bits)});
        item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable);
        item->setCheckState(0, i < t.marks.size() && t.marks[i] ? Qt::Checked : Qt::Unchecked);
        for (int c = 1; c < 4; ++c)
            item->setTextAlignment(c, Qt::AlignRight | Qt::AlignVCenter);
        rows.append(item);
    }
    list_->addTopLevelItems(rows);
    if (current >= 0 && current < list_->topLevelItemCount())
        list_->setCurrentItem(list_->topLevelItem(current));
    count_->setText(FromGameText(app_.program.texts.format(kCountText, Args(static_cast<int>(t.entries.size())))));
    filling_ = false;
}

void SoundsEditor::enableControls()
{
    const bool loaded = app_.workingSet().transfer.isLoaded(kSoundsItem);
    const bool any = loaded && !table().entries.empty();
    const bool one = any && selectedSound() >= 0;
    list_->setEnabled(loaded);
    selectAll_->setEnabled(any);
    play_->setEnabled(one);
    findChild<QPushButton*>("Button59")->setEnabled(one);
    findChild<QPushButton*>("Button60")->setEnabled(one);
    findChild<QPushButton*>("BitBtn26")->setEnabled(any);
    findChild<QPushButton*>("BitBtn27")->setEnabled(any);
    findChild<QPushButton*>("Button19")->setEnabled(loaded);
    SetupEditorStatusBar(statusBar_, loaded, true, app_);
}

// A row's check box is the sound's mark at once; unchecking one means not
// all are selected any more.
void SoundsEditor::markSound(int row, bool checked)
{
    SoundTable& t = table();
    if (row < 0 || static_cast<std::size_t>(row) >= t.entries.size())
        return;
    t.marks.resize(t.entries.size(), 0);
    t.marks[static_cast<std::size_t>(row)] = checked ? 1 : 0;
    if (!checked && selectAll_->isChecked()) {
        QSignalBlocker block(selectAll_);
        selectAll_->setChecked(false);
        state().selectAll = false;
    }
}

void SoundsEditor::markAllSounds(bool checked)
{
    SoundTable& t = table();
    t.marks.assign(t.entries.size(), checked ? 1 : 0);
    state().selectAll = checked;
    fillList();
}

void SoundsEditor::stopPlaying()
{
    if (player_)
        player_->stop();
    if (playing_) {
        playing_.reset();
        play_->setText(FromGameText(app_.program.texts.text(kPlayCaption)));
    }
}

// Plays without holding up the window; the button becomes "Stop" while the
// sound plays, and another sound stops the first.
void SoundsEditor::togglePlaying()
{
    const int sound = selectedSound();
    const bool same = playing_ && *playing_ == sound;
    stopPlaying();
    if (same || sound < 0)
        return;
    Messenger messenger = app_.messenger();
    const std::string work = app_.program.directories.working + SoundWorkFileName(static_cast<std::size_t>(sound));
    if (!FileExists(work)) {
        messenger.show(kMissingText, Args(work + "!"));
        return;
    }
    if (!hasAudioOutput()) {
        messenger.show(kNoAudioText);
        return;
    }
    SoundPlayer* player = soundPlayer();
    if (!player) {
        if (playerFailure_.isEmpty())
            messenger.show(kMissingText, Args(playerFile_.toStdString()));
        else
            messenger.showFixed(playerFile_.toStdString() + ": " + playerFailure_.toStdString());
        return;
    }
    auto file = PreparePlayableSound(table(), static_cast<std::size_t>(sound), app_.program.directories.working);
    if (!file)
        return;
    playing_ = sound;
    play_->setText(FromGameText(app_.program.texts.text(kStopCaption)));
    player->play(QString::fromStdString(*file), [this] { stopPlaying(); });
}

// The player of the sound module, loaded on the first play (a failure is
// kept: the module is not looked for again in this window).
SoundPlayer* SoundsEditor::soundPlayer()
{
    if (!playerLoaded_) {
        playerLoaded_ = true;
        SoundModuleLoad load = LoadSoundModule(soundModuleDirectory);
        player_ = std::move(load.player);
        playerFile_ = load.file;
        playerFailure_ = load.reason;
    }
    return player_.get();
}

void SoundsEditor::saveSoundToFile()
{
    const int sound = selectedSound();
    if (sound < 0)
        return;
    const auto index = static_cast<std::size_t>(sound);
    auto name = app_.chooseFileToSave({"WAVSave", SoundWavName(index), {kWavFilter}, 1});
    if (!name)
        return;
    Messenger messenger = app_.messenger();
    if (CheckFileExtension(*name, {".WAV"}, true, &messenger) < 0)
        return;
    const std::string work = app_.program.directories.working + SoundWorkFileName(index);
    std::string reason;
    if (!CopyFileForced(work, *name, &reason))
        messenger.showFixed(*name + ": " + reason);
}

void SoundsEditor::loadSoundFromFile()
{
    const int sound = selectedSound();
    if (sound < 0)
        return;
    auto name = app_.chooseFileToOpen({"WAVLoad", "", {kWavFilter}, 1});
    if (!name)
        return;
    Messenger messenger = app_.messenger();
    if (CheckFileExtension(*name, {".WAV"}, true, &messenger) < 0)
        return;
    stopPlaying();
    auto taken =
        TakeInSoundFile(table(), static_cast<std::size_t>(sound), *name, app_.program.directories.working, &messenger);
    fillList();
    if (taken && taken->converted())
        messenger.show(kSoundConvertedText, Args(*name, SoundShapeText(taken->from, messenger.texts()),
                                                 SoundShapeText(taken->to, messenger.texts())));
}

void SoundsEditor::saveAllSounds()
{
    auto folder = chooseFolder();
    if (!folder)
        return;
    Messenger messenger = app_.messenger();
    auto failed = ExtractAllSounds(table(), app_.program.directories.working, *folder);
    if (!failed.empty()) {
        messenger.show(kMissingText, Args(failed.front() + "!"));
        return;
    }
    messenger.show(kAllExtractedText, Args(IncludeTrailingBackslash(*folder)));
}

void SoundsEditor::loadAllSounds()
{
    auto folder = chooseFolder();
    if (!folder)
        return;
    stopPlaying();
    Messenger messenger = app_.messenger();
    std::vector<ConvertedSound> converted;
    ReplaceAllSounds(table(), *folder, app_.program.directories.working, &messenger, &converted);
    fillList();
    // One message for all the files converted.
    std::string lines;
    for (const ConvertedSound& c : converted)
        lines += (lines.empty() ? "" : "\n") + SoundConversionText(c.file, c.conversion, messenger.texts());
    if (!lines.empty())
        messenger.showFixed(lines);
}

void SoundsEditor::importSounds()
{
    stopPlaying();
    app_.workingSet().transfer.selection = BuildSelection(std::array<std::uint8_t, 1>{kSoundsItem});
    TransferUi ui = app_.transferUi();
    app_.engine().importFromGame(ItemChoice::AsSelected, OpenEditor::Untouched, ui);
    restore();
}

void SoundsEditor::hideEvent(QHideEvent* event)
{
    stopPlaying();
    EditorWindow::hideEvent(event);
}

void SoundsEditor::exportSounds()
{
    stopPlaying();
    store();
    app_.workingSet().transfer.selection = BuildSelection(std::array<std::uint8_t, 1>{kSoundsItem});
    TransferUi ui = app_.transferUi();
    app_.engine().exportToGame(ItemChoice::AsSelected, ui);
}

std::vector<std::string> SoundsEditor::workingFiles() const { return SoundWorkingFiles(app_.program.directories.working); }

} // namespace pitwall::gui
