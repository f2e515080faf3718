// The teams editor's pages, the simulation window, the About window and the
// art-file expansion dialog.

#include "AboutWindow.h"
#include "AppContext.h"
#include "EditorWindow.h"
#include "ExpansionDialog.h"
#include "LanguageTable.h"
#include "MainWindow.h"
#include "SimulationWindow.h"
#include "base/GamePath.h"
#include "formats/ArtBankDirectory.h"
#include "transfer/ReportedFormats.h"

#include <QApplication>
#include <QCheckBox>
#include <QPainter>
#include <QPixmap>
#include <QTabWidget>

#include <iostream>

using namespace pitwall;
using namespace pitwall::gui;

namespace {

void Grab(QWidget* w, const QString& file)
{
    w->show();
    QApplication::processEvents();
    if (!w->grab().save(file))
        std::cerr << "cannot write " << file.toStdString() << '\n';
}

} // namespace

namespace pitwall::gui {

void SaveShellShots(AppContext& app, MainWindow& window, const QString& out)
{
    // Teams were imported at the start of the run.
    window.openEditor("TForm12");
    EditorWindow* teams = window.currentEditor();
    auto* pages = teams->findChild<QTabWidget*>("PageControl1");
    for (int i = 0; i < pages->count(); ++i) {
        pages->setCurrentIndex(i);
        Grab(teams, out + QString("/teams-page-%1.png").arg(i + 1));
    }

    SimulationWindow* simulation = SimulationWindow::instanceFor(app);
    simulation->simulateQualifying();
    simulation->simulateRace();
    Grab(simulation, out + "/simulation.png");
    simulation->hide();

    AboutWindow about(app.program.texts, &window);
    Grab(&about, out + "/about.png");

    ArtDirectory directory;
    const std::string bank = ResolveGamePath(app.program.settings.gameDirectory, kArtBankGamePath);
    if (ReadArtDirectory(bank, directory, nullptr)) {
        ItemBytes selection{};
        std::array<std::uint8_t, 256> marks{};
        ExpansionDialog expansion(app, directory, selection, marks, &window);
        expansion.findChild<QCheckBox*>("CheckBox2")->click();
        Grab(&expansion, out + "/expansion.png");
    }
}

} // namespace pitwall::gui
