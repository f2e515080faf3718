// Starting the program as a user does, up to the teams editor painted, reads
// the style's pictures without loading any image-format or icon-engine
// plugin (with the SVG library behind them), which cost the start a few
// milliseconds. The process must start as the program does, so this suite
// has its own main and one case.

#include "DeferredStyleIcon.h"
#include "GuiTestSupport.h"
#include "PitwallApplication.h"

#include <QMenuBar>
#include <QStyle>
#include <QTest>

#include <link.h>

#include <string>
#include <vector>

using pitwall::gui::StyleDrawsFromItsFiles;
using pitwall::gui::test::GuiProgram;

namespace {

std::vector<std::string> LoadedPlugins()
{
    std::vector<std::string> found;
    dl_iterate_phdr(
        [](dl_phdr_info* info, size_t, void* data) {
            const std::string name = info->dlpi_name ? info->dlpi_name : "";
            if (name.find("/imageformats/") != std::string::npos || name.find("/iconengines/") != std::string::npos)
                static_cast<std::vector<std::string>*>(data)->push_back(name);
            return 0;
        },
        &found);
    return found;
}

} // namespace

class StartupPluginsTest : public QObject {
    Q_OBJECT
private slots:
    void firstPaintLoadsNoImagePlugin();
};

void StartupPluginsTest::firstPaintLoadsNoImagePlugin()
{
    // With an icon theme or another style the pictures are the theme's.
    if (!StyleDrawsFromItsFiles(QApplication::style()))
        QSKIP("the style does not draw its icons from the built-in files");
    GuiProgram p;
    p.program.settings.gameDirectory = p.path("game/");
    QVERIFY(p.window->firstActivation());
    p.window->show();
    QVERIFY(QTest::qWaitForWindowExposed(p.window.get()));
    QVERIFY(p.window->currentEditor());
    // Painted as the screen would show them: the window with its bars and
    // the editor.
    QVERIFY(!p.window->grab().isNull());
    QVERIFY(!p.window->currentEditor()->grab().isNull());
    const std::vector<std::string> plugins = LoadedPlugins();
    QVERIFY2(plugins.empty(), plugins.empty() ? "" : plugins.front().c_str());

    // The icons still come from the style when a bar does not fit.
    const QIcon extension = QApplication::style()->standardIcon(QStyle::SP_ToolBarHorizontalExtensionButton);
    QVERIFY(!extension.pixmap(16).isNull());
}

int main(int argc, char** argv)
{
    pitwall::gui::PitwallApplication application(argc, argv);
    StartupPluginsTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "StartupPluginsTest.moc"
