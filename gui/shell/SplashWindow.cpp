#include "SplashWindow.h"

#include "PictureDescription.h"
#include "ProgramPicture.h"

#include <QGuiApplication>
#include <QLabel>
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
}

void SplashWindow::describe(const UITexts& texts)
{
    if (auto* picture = findChild<QLabel*>("Image1"))
        DescribeFixedPicture(picture, texts, kProgramPictureText);
}

} // namespace pitwall::gui
