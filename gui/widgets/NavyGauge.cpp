#include "NavyGauge.h"

#include <QPalette>
#include <QProgressBar>
#include <QStyle>
#include <QStyleFactory>

namespace pitwall::gui {

QProgressBar* MakeNavyGauge(QWidget* parent)
{
    auto* gauge = new QProgressBar(parent);
    gauge->setObjectName("Gauge1");
    gauge->setRange(0, 100);
    gauge->setValue(0);
    gauge->setTextVisible(true);
    gauge->setAlignment(Qt::AlignCenter);
    QPalette palette = gauge->palette();
    for (auto group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
        palette.setColor(group, QPalette::Highlight, QColor(0, 0, 128));
        palette.setColor(group, QPalette::HighlightedText, Qt::white);
    }
    gauge->setPalette(palette);
    // Some platform styles ignore the palette for the bar; Fusion draws the
    // percentage in HighlightedText over the filled part.
    if (QStyle* fusion = QStyleFactory::create("Fusion")) {
        fusion->setParent(gauge);
        gauge->setStyle(fusion);
    }
    return gauge;
}

} // namespace pitwall::gui
