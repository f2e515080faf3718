// Long runs keep the program alive: while a complete carset is saved, the
// whole art bank is expanded and written or put back from its restore point,
// timer events are delivered and the main window repaints; work without a progress window of its own shows the
// wait cursor, and a message box on the way the ordinary arrow.

#include "GuiTestSupport.h"

#include "ArtBankPage.h"
#include "BusyCursor.h"
#include "ExpansionDialog.h"
#include "LoadingWindow.h"
#include "QtMessages.h"
#include "RestoreWindow.h"
#include "base/SafeWrite.h"
#include "transfer/CarsetArchive.h"

#include <QAction>
#include <QListWidget>
#include <QMessageBox>
#include <QTreeWidget>
#include <QTest>

#include <filesystem>

using namespace pitwall;
using namespace pitwall::gui;
using pitwall::gui::test::GuiProgram;
using pitwall::gui::test::OnModal;

namespace {

// Whether the new content of a game file in `folder` is being written.
bool StagedFileIn(const std::string& folder)
{
    std::error_code ec;
    for (const auto& entry : std::filesystem::directory_iterator(folder, ec))
        if (entry.path().filename().string().find(kStagedFileMark) != std::string::npos)
            return true;
    return false;
}

class PaintCounter : public QObject {
public:
    int paints = 0;

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::Paint)
            ++paints;
        return false;
    }
};

} // namespace

class ResponsivenessTest : public QObject {
    Q_OBJECT
private slots:
    void savingACompleteCarsetKeepsTimersAndPaintingGoing();
    void expandingTheWholeArtBankAndPuttingItBackKeepTimersGoing();
    void aMessageDuringBusyWorkHasTheArrow();
};

void ResponsivenessTest::savingACompleteCarsetKeepsTimersAndPaintingGoing()
{
    GuiProgram p(2);
    p.program.settings.gameDirectory = p.path("game/");
    QVERIFY(p.window->firstActivation());
    p.window->show();
    TransferUi ui = p.app->transferUi();
    p.app->workingSet().transfer.selectAll();
    p.app->engine().importFromGame(ItemChoice::AsSelected, OpenEditor::Untouched, ui);

    PaintCounter painted;
    p.window->installEventFilter(&painted);
    bool running = false;
    int ticks = 0;
    QTimer timer;
    QObject::connect(&timer, &QTimer::timeout, [&] {
        if (!running)
            return;
        ++ticks;
        p.window->update(); // as when the window is uncovered
    });
    timer.start(5);
    QApplication::processEvents();
    painted.paints = 0;

    std::string carset = p.path("complete.GMS");
    running = true;
    TransferOutcome outcome = p.app->engine().saveCarset(ItemChoice::AllHeld, carset, ui);
    running = false;
    QCOMPARE(outcome, TransferOutcome::Done);

    QVERIFY(ticks > 0);
    QVERIFY(painted.paints > 0);
    QVERIFY(CarsetArchive(carset, CarsetArchive::Mode::Read).contains("Header.DAT"));
}

void ResponsivenessTest::expandingTheWholeArtBankAndPuttingItBackKeepTimersGoing()
{
    GuiProgram p(2);
    p.program.settings.gameDirectory = p.path("game/");
    QVERIFY(p.window->firstActivation());
    ArtBankPage page(*p.app);
    page.show();

    // Rewriting the bank shows no progress line at all: every tick counted
    // once the dialog has closed comes from the expansion's own steps. The
    // new bank (177 MB) is written, and the old one kept in the restore
    // point, while its staged file exists.
    const std::string bitmaps = p.path("game/BITMAPS");
    int ticks = 0;
    int ticksWhileWriting = 0;
    int ticksWithoutWaitCursor = 0;
    int ticksWhileRestoring = 0;
    bool dialogClosed = false;
    bool restoring = false;
    QTimer timer;
    QObject::connect(&timer, &QTimer::timeout, [&] {
        if (restoring) {
            const QCursor* cursor = QGuiApplication::overrideCursor();
            if (cursor && cursor->shape() == Qt::WaitCursor)
                ++ticksWhileRestoring;
        }
        if (dialogClosed && !QApplication::activeModalWidget()) {
            ++ticks;
            if (StagedFileIn(bitmaps))
                ++ticksWhileWriting;
            const QCursor* cursor = QGuiApplication::overrideCursor();
            if (!cursor || cursor->shape() != Qt::WaitCursor)
                ++ticksWithoutWaitCursor;
        }
    });
    timer.start(5);
    pitwall::gui::test::OnModal([&](QWidget* modal) {
        auto* d = qobject_cast<ExpansionDialog*>(modal);
        if (!d)
            return true;
        for (int row = 0; row < d->list()->count(); ++row)
            d->list()->item(row)->setCheckState(Qt::Checked);
        dialogClosed = true;
        d->expandChosen();
        return false;
    });
    page.expandArtBank();
    QVERIFY(dialogClosed);
    QVERIFY(p.numbers().empty());
    // Working on the entries lets events through every 40 ms; all 840 take
    // 80 ms or more on both cores, so at least two ticks come from them (a
    // stray one may slip through as the dialog closes).
    QVERIFY2(ticks >= 2, qPrintable(QString("only %1 timer events during the expansion").arg(ticks)));
    QVERIFY2(ticksWhileWriting >= 2,
             qPrintable(QString("only %1 timer events while the new bank was written").arg(ticksWhileWriting)));
    QVERIFY(!StagedFileIn(bitmaps));
    // The wait cursor the whole time (but for a tick as the dialog closes),
    // and gone afterwards.
    QVERIFY2(ticksWithoutWaitCursor <= 1,
             qPrintable(QString("%1 of %2 ticks without the wait cursor").arg(ticksWithoutWaitCursor).arg(ticks)));
    QVERIFY(!QGuiApplication::overrideCursor());

    // The old bank put back from the restore window: the 177 MB one is
    // hashed and kept in a point of its own, the old one checked and copied
    // back, with the wait cursor and the windows alive all along.
    const std::uint64_t expandedSize = FileSizeOf(bitmaps + "/GP3ART5.BIN");
    p.messages.clear();
    OnModal([&](QWidget* modal) {
        auto* w = qobject_cast<RestoreWindow*>(modal);
        if (!w)
            return true;
        w->list()->setCurrentItem(w->list()->topLevelItem(0));
        restoring = true;
        w->restoreChosenPoint();
        restoring = false;
        w->reject();
        return false;
    });
    p.window->findChild<QAction*>("Wiederherstellen1")->trigger();
    timer.stop();
    QCOMPARE(p.numbers(), (std::vector<int>{74, 75}));
    QVERIFY(FileSizeOf(bitmaps + "/GP3ART5.BIN") < expandedSize);
    QVERIFY2(ticksWhileRestoring >= 2, qPrintable(QString("only %1 timer events while the bank was put back").arg(ticksWhileRestoring)));
    QVERIFY(!QGuiApplication::overrideCursor());
}

void ResponsivenessTest::aMessageDuringBusyWorkHasTheArrow()
{
    QtMessages messages;
    std::vector<Qt::CursorShape> seen;
    pitwall::gui::test::OnModal([&](QWidget* modal) {
        auto* box = qobject_cast<QMessageBox*>(modal);
        if (!box)
            return true;
        const QCursor* cursor = QGuiApplication::overrideCursor();
        seen.push_back(cursor ? cursor->shape() : Qt::BitmapCursor);
        box->button(box->buttons().size() > 1 ? QMessageBox::Yes : QMessageBox::Ok)->click();
        return seen.size() < 2;
    });
    {
        BusyCursor busy;
        messages.showMessage(Message{-1, "The bank could not be read."});
        QCOMPARE(QGuiApplication::overrideCursor()->shape(), Qt::WaitCursor);
        QVERIFY(messages.askYesNo(Message{-1, "Expand it?"}));
        QCOMPARE(QGuiApplication::overrideCursor()->shape(), Qt::WaitCursor);
    }
    QCOMPARE(seen, (std::vector<Qt::CursorShape>{Qt::ArrowCursor, Qt::ArrowCursor}));
    QVERIFY(!QGuiApplication::overrideCursor());
}

QTEST_MAIN(ResponsivenessTest)
#include "ResponsivenessTest.moc"
