#include "WorkshopsWindow.h"

#include "AppContext.h"
#include "ArtBankPage.h"
#include "EditTrackerRecords.h"
#include "EditorStatusBar.h"
#include "JamWorkshopPage.h"
#include "LanguageTable.h"
#include "base/FileUtils.h"
#include "formats/Pictures.h"
#include "transfer/ReportedFormats.h"

#include <QDragEnterEvent>
#include <QDropEvent>
#include <QListWidget>
#include <QMimeData>
#include <QStatusBar>
#include <QTabWidget>
#include <QUrl>
#include <QVBoxLayout>

namespace pitwall::gui {

namespace {

constexpr TextBinding kWorkshopsTexts[] = {
    {"", TextRole::Caption, 838},
    {"TabSheet36", TextRole::TabTitle, 839},
    {"TabSheet21", TextRole::TabTitle, 840},
    {"GroupBoxArtInfo", TextRole::Caption, 841},
    {"LabelArtIndex", TextRole::Caption, 846},
    {"LabelArtWidth", TextRole::Caption, 847},
    {"LabelArtHeight", TextRole::Caption, 850},
    {"LabelArtSize", TextRole::Caption, 851},
    {"LabelArtOffset", TextRole::Caption, 852},
    {"LabelArtUnknown1", TextRole::Caption, 853},
    {"LabelArtUnknown2", TextRole::Caption, 854},
    {"CheckBox5", TextRole::Caption, 855},
    {"CheckBox6", TextRole::Caption, 856},
    {"BitBtn1", TextRole::Caption, 857},
    {"BitBtn32", TextRole::Caption, 858},
    {"LabelJamFile", TextRole::Caption, 859},
    {"RadioButton1", TextRole::Caption, 860},
    {"RadioButton2", TextRole::Caption, 861},
    {"GroupBoxJamFile", TextRole::Caption, 862},
    {"LabelJamCount", TextRole::Caption, 863},
    {"LabelJamHeight", TextRole::Caption, 864},
    {"LabelJamKind", TextRole::Caption, 865},
    {"GroupBoxJamTexture", TextRole::Caption, 868},
    {"LabelTexPosition", TextRole::Caption, 869},
    {"LabelTexSize", TextRole::Caption, 870},
    {"LabelTexId", TextRole::Caption, 871},
    {"LabelTexTable", TextRole::Caption, 872},
    {"Button57", TextRole::Caption, 873},
    {"Button39", TextRole::Caption, 874},
    {"LabelArtZoom", TextRole::Caption, 875},
    {"LabelJamZoom", TextRole::Caption, 875},
    {"ComboBoxArtZoom", TextRole::Item, 876, 4},
    {"ComboBoxJamZoom", TextRole::Item, 876, 4},
    {"CheckBoxArtGrid", TextRole::Caption, 877},
    {"LabelArtFilter", TextRole::Caption, 878},
    {"LabelRecentJams", TextRole::Caption, 879},
    {"CheckBoxDither", TextRole::Caption, 880},
};

bool IsJamName(const std::string& file) { return EqualsIgnoreAsciiCase(ExtensionOf(file), ".JAM"); }

} // namespace

WorkshopsWindow::WorkshopsWindow(AppContext& app, QWidget* parent) : EditorWindow(app, "TForm20", parent)
{
    setWindowTitle("Workshops");
    setAcceptDrops(true);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(6, 6, 6, 0);
    pages_ = new QTabWidget(this);
    pages_->setObjectName("PageControl1");
    artPage_ = new ArtBankPage(app, pages_);
    jamPage_ = new JamWorkshopPage(app, pages_);
    connect(jamPage_, &JamWorkshopPage::historyChanged, this, &EditorWindow::ownHistoryChanged);
    pages_->addTab(artPage_, "GP3ART5.BIN-Workshop");
    pages_->addTab(jamPage_, "JAM-Workshop");
    layout->addWidget(pages_, 1);
    statusBar_ = CreateEditorStatusBar(this);
    layout->addWidget(statusBar_);
    resize(900, 640);
}

void WorkshopsWindow::applyLanguage()
{
    ApplyTexts(this, kWorkshopsTexts, app_.program.texts);
    artPage_->applyLanguage();
    jamPage_->applyLanguage();
}

QString WorkshopsWindow::recordOf(const QWidget* control) const
{
    const QString entry = Within(control, artPage_) ? ChosenEntries({artPage_->list()}) : QString();
    return RecordParts({PageTitleOf(pages_, control), entry});
}

void WorkshopsWindow::setUp()
{
    SetupEditorStatusBar(statusBar_, true, true, app_);
    artPage_->showPage();
}

void WorkshopsWindow::hideEvent(QHideEvent* event)
{
    artPage_->hidePage();
    EditorWindow::hideEvent(event);
}

bool WorkshopsWindow::dropFile(const std::string& fileName)
{
    if (IsJamName(fileName)) {
        pages_->setCurrentWidget(jamPage_);
        if (jamPage_->keepPicturesBeforeGoingOn())
            jamPage_->openJam(fileName);
        return true;
    }
    if (IsReadPictureName(fileName) && jamPage_->jam()) {
        pages_->setCurrentWidget(jamPage_);
        jamPage_->loadPicture(fileName);
        return true;
    }
    return false;
}

void WorkshopsWindow::dragEnterEvent(QDragEnterEvent* event)
{
    const QList<QUrl> urls = event->mimeData()->urls();
    if (urls.size() != 1 || !urls.first().isLocalFile())
        return;
    const std::string file = urls.first().toLocalFile().toStdString();
    if (IsJamName(file) || (IsReadPictureName(file) && jamPage_->jam()))
        event->acceptProposedAction();
}

void WorkshopsWindow::dropEvent(QDropEvent* event)
{
    const QList<QUrl> urls = event->mimeData()->urls();
    if (urls.size() == 1 && urls.first().isLocalFile() && dropFile(urls.first().toLocalFile().toStdString()))
        event->acceptProposedAction();
}

std::string WorkshopsWindow::ownUndoName() const { return jamPage_->history().undoName(); }
std::string WorkshopsWindow::ownRedoName() const { return jamPage_->history().redoName(); }
void WorkshopsWindow::undoOwnStep() { jamPage_->undoStep(); }
void WorkshopsWindow::redoOwnStep() { jamPage_->redoStep(); }
bool WorkshopsWindow::mayClose() { return jamPage_->keepPicturesBeforeGoingOn(); }

} // namespace pitwall::gui
