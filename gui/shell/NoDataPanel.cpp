#include "NoDataPanel.h"

#include "QtMessages.h"
#include "base/UITexts.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QStatusBar>
#include <QVBoxLayout>

namespace pitwall::gui {

namespace {
constexpr int kHowToBeginText = 1213, kImportText = 1214, kOpenCarsetText = 1215;
}

NoDataPanel::NoDataPanel(QWidget* editor, std::function<void()> importFromGame, std::function<void()> openCarset)
    : QFrame(editor)
{
    setObjectName("NoDataPanel");
    setAutoFillBackground(true);
    line_ = new QLabel(this);
    line_->setObjectName("NoDataLine");
    line_->setAlignment(Qt::AlignCenter);
    line_->setWordWrap(true);
    import_ = new QPushButton(this);
    import_->setObjectName("NoDataImport");
    open_ = new QPushButton(this);
    open_->setObjectName("NoDataOpenCarset");
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(import_);
    buttons->addWidget(open_);
    buttons->addStretch();
    auto* layout = new QVBoxLayout(this);
    layout->addStretch();
    layout->addWidget(line_);
    layout->addLayout(buttons);
    layout->addStretch();
    connect(import_, &QPushButton::clicked, this, [importFromGame] { importFromGame(); });
    connect(open_, &QPushButton::clicked, this, [openCarset] { openCarset(); });
    editor->installEventFilter(this);
    followEditor();
}

void NoDataPanel::applyLanguage(const UITexts& texts)
{
    line_->setText(FromGameText(texts.text(kHowToBeginText)));
    import_->setText(FromGameText(texts.text(kImportText)));
    open_->setText(FromGameText(texts.text(kOpenCarsetText)));
}

bool NoDataPanel::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == parent() && (event->type() == QEvent::Resize || event->type() == QEvent::LayoutRequest))
        followEditor();
    return QFrame::eventFilter(watched, event);
}

// The whole editor but its status bar, which goes on saying "No data loaded".
void NoDataPanel::followEditor()
{
    auto* editor = parentWidget();
    QRect area = editor->rect();
    if (auto* status = editor->findChild<QStatusBar*>("StatusBar1"); status && status->isVisible())
        area.setBottom(status->geometry().top() - 1);
    setGeometry(area);
    raise();
}

} // namespace pitwall::gui
