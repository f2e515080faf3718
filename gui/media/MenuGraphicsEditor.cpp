#include "MenuGraphicsEditor.h"

#include "AppContext.h"
#include "DirectoryMaskChooser.h"
#include "EditTrackerRecords.h"
#include "EditorStatusBar.h"
#include "ExportArtExpansion.h"
#include "LanguageTable.h"
#include "MenuBackgroundsPage.h"
#include "MenuLoadingPage.h"
#include "MenuTeamArtPage.h"
#include "session/WorkingFiles.h"

#include <QListWidget>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QStatusBar>
#include <QTabWidget>
#include <QTimer>
#include <QVBoxLayout>

#include <algorithm>

namespace pitwall::gui {

namespace {
constexpr int kTeamArtPage = 0, kLoadingPage = 1, kBackgroundsPage = 2;
constexpr int kAnimationMilliseconds = 100;

constexpr TextBinding kMenuGraphicsTexts[] = {
    {"", TextRole::Caption, 721},
    {"TabSheet2", TextRole::TabTitle, 722},
    {"TabSheet3", TextRole::TabTitle, 723},
    {"TabSheet1", TextRole::TabTitle, 724},
    {"TabSheet4", TextRole::TabTitle, 726},
    {"TabSheet5", TextRole::TabTitle, 739},
    {"Button24", TextRole::Caption, 751},
    {"Button28", TextRole::Caption, 751},
    {"Button30", TextRole::Caption, 751},
    {"Button25", TextRole::Caption, 752},
    {"Button29", TextRole::Caption, 752},
    {"Button31", TextRole::Caption, 752},
    {"Button26", TextRole::Caption, 754},
    {"Button27", TextRole::Caption, 755},
    {"Button55", TextRole::Caption, 756},
    {"BitBtn3", TextRole::Caption, 756},
    {"Button38", TextRole::Caption, 756},
    {"Button56", TextRole::Caption, 757},
    {"BitBtn5", TextRole::Caption, 757},
    {"Button52", TextRole::Caption, 757},
    {"BitBtn4", TextRole::Caption, 758},
    {"Button36", TextRole::Caption, 758},
    {"BitBtn6", TextRole::Caption, 759},
    {"Button37", TextRole::Caption, 759},
    {"CheckBox4", TextRole::Caption, 760},
    {"Label18", TextRole::Caption, 761},
    {"BitBtn28", TextRole::Caption, 762},
    {"BitBtn31", TextRole::Caption, 763},
    {"Label11", TextRole::Caption, 922},
    {"GroupBox11", TextRole::Caption, 923},
    {"GroupBox12", TextRole::Caption, 924},
    {"GroupBox13", TextRole::Caption, 926},
    {"GroupBox21", TextRole::Caption, 927},
    {"GroupBox22", TextRole::Caption, 928},
    {"RadioGroup3", TextRole::Caption, 931},
    {"RadioButton1", TextRole::Caption, 933},
    {"RadioButton2", TextRole::Caption, 934},
    {"RadioButton3", TextRole::Caption, 935},
    {"RadioButton4", TextRole::Caption, 936},
    {"RadioButton5", TextRole::Caption, 937},
    {"RadioButton6", TextRole::Caption, 940},
};
} // namespace

MenuGraphicsEditor::MenuGraphicsEditor(AppContext& app, QWidget* parent) : EditorWindow(app, "TForm27", parent)
{
    setWindowTitle("Menugrafiken");
    services_ =
        std::make_unique<MenuGraphicsServices>(MenuGraphicsServices{app, app.editorStates.menuGraphics, {}, {}});
    services_->chooseSequence = [this]() -> std::optional<PictureSequence> {
        DirectoryMaskChooser chooser(app_.program.texts, this);
        if (chooser.exec() != QDialog::Accepted || chooser.mask().isEmpty())
            return std::nullopt;
        return PictureSequence{chooser.directory().toStdString(), chooser.mask().toStdString()};
    };
    services_->transfer = [this](const std::vector<int>& items, bool exportToGame) {
        runTransfer(items, exportToGame);
    };

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(6, 6, 6, 0);
    pages_ = new QTabWidget(this);
    pages_->setObjectName("PageControl1");
    teamArt_ = new MenuTeamArtPage(*services_, pages_);
    loading_ = new MenuLoadingPage(*services_, pages_);
    backgrounds_ = new MenuBackgroundsPage(*services_, pages_);
    pages_->addTab(teamArt_, "Teamgrafiken (Menu)");
    pages_->addTab(loading_, "Loading-Pics");
    pages_->addTab(backgrounds_, QString::fromUtf8("Menuhintergründe"));
    layout->addWidget(pages_, 1);
    statusBar_ = CreateEditorStatusBar(this);
    layout->addWidget(statusBar_);

    timer_ = new QTimer(this);
    timer_->setObjectName("Timer1");
    timer_->setInterval(kAnimationMilliseconds);
    connect(timer_, &QTimer::timeout, this, &MenuGraphicsEditor::animateTeamArt);
    connect(pages_, &QTabWidget::currentChanged, this, [this](int page) {
        if (page >= 0)
            services_->state.page = page;
        showCurrentPage();
    });
    // The team list and the inner pages decide whether the animation runs.
    connect(findChild<QTabWidget*>("PageControl2"), &QTabWidget::currentChanged, this, [this] { showCurrentPage(); });
    connect(findChild<QListWidget*>("ListBox11"), &QListWidget::currentRowChanged, this, [this] { showCurrentPage(); });
}

MenuGraphicsEditor::~MenuGraphicsEditor() = default;

void MenuGraphicsEditor::applyLanguage() { ApplyTexts(this, kMenuGraphicsTexts, app_.program.texts); }

void MenuGraphicsEditor::setUp() { restore(); }

// Showing: every page from the working set, the remembered page opened.
void MenuGraphicsEditor::restore()
{
    teamArt_->restore();
    loading_->restore();
    backgrounds_->restore();
    {
        QSignalBlocker block(pages_);
        pages_->setCurrentIndex(std::clamp(services_->state.page, 0, 2));
    }
    showCurrentPage();
}

// The export list lives in the working set already, so there is nothing to
// store (also not after every click, when the animation must go on); hiding
// stops the animation.
void MenuGraphicsEditor::hideEvent(QHideEvent* event)
{
    timer_->stop();
    EditorWindow::hideEvent(event);
}

void MenuGraphicsEditor::showCurrentPage()
{
    const int page = pages_->currentIndex();
    bool loaded = false;
    if (page == kTeamArtPage) {
        loaded = teamArt_->showTeam();
        if (loaded)
            timer_->start();
        else
            timer_->stop();
    } else {
        timer_->stop();
        if (page == kLoadingPage) {
            loaded = app_.workingSet().transfer.isLoaded(kLoadingPicturesItem);
            loading_->restore();
        } else if (page == kBackgroundsPage) {
            loaded = app_.workingSet().transfer.isLoaded(kMenuBackgroundsItem);
            backgrounds_->restore();
        }
    }
    SetupEditorStatusBar(statusBar_, loaded, true, app_);
}

QString MenuGraphicsEditor::recordOf(const QWidget* control) const
{
    QString chosen;
    if (Within(control, teamArt_)) {
        if (auto* teams = teamArt_->findChild<QListWidget*>("ListBox11"))
            chosen = TeamRecordName(app_, teams->currentRow());
    } else if (Within(control, loading_)) {
        for (const QRadioButton* picture : loading_->findChildren<QRadioButton*>())
            chosen = RecordParts({chosen, ChosenEntries({picture})});
    } else if (Within(control, backgrounds_)) {
        chosen = ChosenEntries({backgrounds_->findChild<QListWidget*>("ListBox1")});
    } else {
        return {};
    }
    return RecordParts({PageTitleOf(pages_, control), chosen});
}

void MenuGraphicsEditor::animateTeamArt()
{
    if (!transferRunning())
        teamArt_->animateTeamArt();
}

void MenuGraphicsEditor::runTransfer(const std::vector<int>& items, bool exportToGame)
{
    auto& selection = app_.workingSet().transfer.selection;
    selection = {};
    for (int item : items)
        selection[static_cast<std::size_t>(item)] = 1;
    TransferUi ui = app_.transferUi();
    if (exportToGame) {
        ExpansionChoiceForOneExport expansion(app_);
        app_.engine().exportToGame(ItemChoice::AsSelected, ui);
    } else
        app_.engine().importFromGame(ItemChoice::AsSelected, OpenEditor::Untouched, ui);
    showCurrentPage();
}

std::vector<std::string> MenuGraphicsEditor::workingFiles() const { return MenuPictureWorkingFiles(app_.program.directories.working); }

} // namespace pitwall::gui
