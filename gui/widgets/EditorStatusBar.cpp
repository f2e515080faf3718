#include "EditorStatusBar.h"

#include "AppContext.h"
#include "formats/GameInstallation.h"

#include <QLabel>
#include <QStatusBar>

namespace pitwall::gui {

QStatusBar* CreateEditorStatusBar(QWidget* parent)
{
    auto* bar = new QStatusBar(parent);
    bar->setObjectName("StatusBar1");
    bar->setSizeGripEnabled(false);
    const int widths[] = {110, 260, 140, 140};
    for (int i = 0; i < 4; ++i) {
        auto* panel = new QLabel(bar);
        panel->setObjectName(QString("Panel%1").arg(i));
        panel->setMinimumWidth(widths[i]);
        panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        bar->addPermanentWidget(panel, i == 1 ? 1 : 0);
    }
    return bar;
}

QLabel* StatusPanel(QStatusBar* bar, int index) { return bar->findChild<QLabel*>(QString("Panel%1").arg(index)); }

void SetupEditorStatusBar(QStatusBar* bar, bool loaded, bool withInfo, AppContext& app)
{
    const UITexts& texts = app.program.texts;
    if (QLabel* p0 = StatusPanel(bar, 0))
        p0->setText(FromGameText(texts.text(loaded ? 842 : 843)));
    if (!withInfo || !StatusPanel(bar, 1))
        return;
    StatusPanel(bar, 1)->setText(FromGameText(texts.marquee()));
    StatusPanel(bar, 2)->setText(FromGameText(texts.text(848))
                                 + QString::fromLatin1(GameVersionName(app.program.gameVersion)));
    StatusPanel(bar, 3)->setText(FromGameText(texts.text(849))
                                 + QString::fromLatin1(GameVersionName(app.program.savegameFormat)));
}

std::optional<QString> NextMarqueeText(const QString& text, int& position, int window,
                                       const std::function<int(const QString&)>& widthOf)
{
    if (text.isEmpty() || widthOf(text) < window)
        return std::nullopt;
    position += 1;
    if (position > text.size())
        position = 1;
    int k = position;
    QString shown;
    // Every character shown takes a pixel at least; characters of no width
    // (soft hyphens) would otherwise be taken round the text again and again.
    while (widthOf(shown) < window && shown.size() < window) {
        k += 1;
        if (k > text.size()) {
            shown += " *** ";
            k = 1;
        }
        shown += text.at(k - 1);
    }
    return shown;
}

} // namespace pitwall::gui
