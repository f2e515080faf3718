#include "PaletteNotice.h"

#include "AppContext.h"
#include "formats/PaletteFiles.h"

#include <QLabel>
#include <QMainWindow>
#include <QStatusBar>

namespace pitwall::gui {

void UpdatePaletteNotice(QMainWindow& window, AppContext& app)
{
    const bool standIn = IsStandInPalette(app.program.palette);
    auto* label = window.findChild<QLabel*>("LabelStandInPalette");
    if (!standIn && !label)
        return;
    QStatusBar* bar = window.statusBar();
    bar->setObjectName("StatusBarMain");
    bar->setSizeGripEnabled(false);
    if (!label) {
        label = new QLabel(bar);
        label->setObjectName("LabelStandInPalette");
        bar->addWidget(label, 1);
    }
    const QString text = FromGameText(app.program.texts.text(1229));
    label->setText(text);
    label->setToolTip(text);
    bar->setVisible(standIn);
}

} // namespace pitwall::gui
