#include "GuiTestSupport.h"

#include "ExpansionDialog.h"

#include <QCheckBox>
#include <QListWidget>
#include <QTest>

using namespace pitwall;
using namespace pitwall::gui;

namespace {

// A directory where the entries listed fit and no other does.
ArtDirectory Directory(std::vector<std::size_t> fitting)
{
    ArtDirectory d;
    for (auto& e : d.entries) {
        e.width = 10;
        e.height = 10;
        e.reservedSize = 50;
    }
    for (std::size_t e : fitting)
        d.entries[e].reservedSize = 200;
    return d;
}

std::vector<std::size_t> Checked(const ExpansionDialog& d)
{
    std::vector<std::size_t> entries;
    for (std::size_t e = 0; e < kArtEntryCount; ++e)
        if (d.resultFlags()[e])
            entries.push_back(e);
    return entries;
}

} // namespace

class ExpansionDialogTest : public QObject {
    Q_OBJECT
private slots:
    void firstOkAddsWhatTheExportNeeds()
    {
        gui::test::GuiProgram p(0);
        ItemBytes selection{};
        selection[kTeamArtFirst + 2] = 1; // team 3's art is to be exported
        std::array<std::uint8_t, 256> marks{};
        ExpansionDialog d(*p.app, Directory({}), selection, marks);
        d.expandAll();
        std::vector<std::size_t> expected;
        for (std::size_t e = 70; e <= 99; ++e)
            expected.push_back(e);
        for (std::size_t e : {402, 413, 424, 435, 453, 454, 455, 456, 501, 502, 503, 504, 505, 506, 557})
            expected.push_back(e);
        std::sort(expected.begin(), expected.end());
        QCOMPARE(Checked(d), expected);
        QVERIFY(d.firstOkUsed());
        QVERIFY(d.keepBackup());
    }

    void groupBoxesLeaveGreyEntriesAlone()
    {
        gui::test::GuiProgram p(0);
        ItemBytes selection{};
        selection[5] = 1;
        std::array<std::uint8_t, 256> marks{};
        marks[3] = 1;
        ExpansionDialog d(*p.app, Directory({20, 758}), selection, marks);
        QVERIFY(!(d.list()->item(20)->flags() & Qt::ItemIsEnabled));
        QCOMPARE(d.list()->item(20)->checkState(), Qt::Checked);
        d.groupBox(2)->click(); // on
        d.groupBox(2)->click(); // off again: the grey entry stays checked
        QCOMPARE(d.list()->item(20)->checkState(), Qt::Checked);
        QCOMPARE(d.list()->item(21)->checkState(), Qt::Unchecked);
        d.expandChosen();
        QCOMPARE(Checked(d), (std::vector<std::size_t>{20, 758}));
        QVERIFY(!d.firstOkUsed());

        ExpansionDialog all(*p.app, Directory({}), selection, marks);
        all.expandAll(); // menu background 3 is to be exported
        QCOMPARE(Checked(all), (std::vector<std::size_t>{758}));
    }
};

QTEST_MAIN(ExpansionDialogTest)
#include "ExpansionDialogTest.moc"
