#include "SplashWindow.h"

#include "PictureDescription.h"
#include "ProgramPicture.h"

#include <QApplication>
#include <QEvent>
#include <QGuiApplication>
#include <QLabel>
#include <QMainWindow>
#include <QScreen>
#include <QVBoxLayout>

namespace pitwall::gui {

namespace {
constexpr int kProgramPictureText = 1250;
}

SplashWindow::SplashWindow(QWidget* parent)
    : QWidget(parent, Qt::SplashScreen | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint)
{
    setObjectName("TForm23");
    setAutoFillBackground(true);
    QPalette p = palette();
    p.setColor(QPalette::Window, QColor(0, 0, 96));
    p.setColor(QPalette::WindowText, Qt::white);
    setPalette(p);
    auto* layout = new QVBoxLayout(this);
    auto* picture = new QLabel(this);
    picture->setObjectName("Image1");
    picture->setPixmap(ProgramPicture(340, 130));
    picture->setAlignment(Qt::AlignCenter);
    auto* version = new QLabel(QString("Pitwall Version %1").arg(PITWALL_VERSION), this);
    version->setObjectName("Label1");
    version->setAlignment(Qt::AlignCenter);
    layout->addWidget(picture, 1);
    layout->addWidget(version);
    resize(360, 180);
    if (QScreen* s = QGuiApplication::primaryScreen())
        move(s->availableGeometry().center() - rect().center());
    qApp->installEventFilter(this);
}

bool SplashWindow::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() != QEvent::Show || watched == this)
        return false;
    auto* window = qobject_cast<QWidget*>(watched);
    if (!window || !window->isWindow() || qobject_cast<QMainWindow*>(window))
        return false;
    // Menus, tool tips and the like come and go without asking anything.
    const Qt::WindowType type = window->windowType();
    if (type == Qt::Popup || type == Qt::ToolTip || type == Qt::SplashScreen)
        return false;
    hide();
    qApp->removeEventFilter(this);
    return false;
}

void SplashWindow::describe(const UITexts& texts)
{
    if (auto* picture = findChild<QLabel*>("Image1"))
        DescribeFixedPicture(picture, texts, kProgramPictureText);
}

} // namespace pitwall::gui
