#include "MainWindow.h"

#include "transfer/FileUtils.h"

#include <QApplication>
#include <QCloseEvent>
#include <QFileDialog>
#include <QLabel>
#include <QMenuBar>
#include <QScreen>
#include <QStatusBar>

namespace pitwall::gui {

namespace {
// Room left below the main window for the editor that opens under it.
constexpr int kEditorAllowance = 510;
} // namespace

MainWindow::MainWindow(ProgramState& state, QtMessages& messages) : state_(state), messages_(messages)
{
    setObjectName("TForm1");
    setWindowTitle("Pitwall");
    resize(800, 90);
    if (QScreen* screen = QGuiApplication::primaryScreen()) {
        QRect s = screen->availableGeometry();
        move(s.x() + (s.width() - width()) / 2, s.y() + (s.height() - height() - kEditorAllowance) / 2);
    }

    QMenu* file = menuBar()->addMenu("Datei");
    file->setObjectName("Datei1");
    QAction* quit = file->addAction("Beenden");
    quit->setObjectName("Beenden1");
    connect(quit, &QAction::triggered, this, &QWidget::close);

    versionLabel_ = new QLabel(this);
    directoryLabel_ = new QLabel(this);
    statusBar()->addWidget(versionLabel_);
    statusBar()->addWidget(directoryLabel_, 1);
    updateStatusBar();
}

bool MainWindow::chooseGameDirectory()
{
    QString dir = QFileDialog::getExistingDirectory(this, "Grand Prix 3", QString::fromStdString(state_.settings.gameDirectory));
    if (dir.isEmpty())
        return false;
    state_.settings.gameDirectory = IncludeTrailingBackslash(dir.toStdString());
    return true;
}

bool MainWindow::firstActivation()
{
    if (state_.firstActivationDone)
        return true;
    Messenger messenger(state_.texts, messages_);
    while (!GameDirectoryHasExe(state_.settings.gameDirectory)) {
        messenger.show(210);
        if (!chooseGameDirectory())
            return false;
    }
    for (GameDetection d = RecogniseGame(state_); !d.ok; d = RecogniseGame(state_)) {
        messenger.show(d.messageNumber);
        if (!chooseGameDirectory())
            return false;
    }
    updateStatusBar();
    state_.firstActivationDone = true;
    return true;
}

void MainWindow::updateStatusBar()
{
    QString version = QString::fromLatin1(GameVersionName(state_.gameVersion));
    if (state_.savegameFormat > 0)
        version += " / " + QString::fromLatin1(GameVersionName(state_.savegameFormat));
    versionLabel_->setText(version);
    directoryLabel_->setText(QString::fromStdString(state_.settings.gameDirectory));
}

void MainWindow::closeEvent(QCloseEvent* event)
{
    if (!cleanedUp_) {
        cleanedUp_ = true;
        ShutdownCleanup(state_, messages_);
    }
    event->accept();
}

} // namespace pitwall::gui
