#pragma once
// A 1280 x 800 screen for the offscreen platform, set before the
// application starts: the tests of windows on a small screen run in it.

#include <QApplication>
#include <QDir>
#include <QTemporaryFile>
#include <QTest>

namespace pitwall::gui::test {

template <typename Test>
int RunOnSmallScreen(int argc, char** argv)
{
    QTemporaryFile screens(QDir::tempPath() + "/pitwall-screens-XXXXXX.json");
    if (!screens.open())
        return 2;
    screens.write(R"({"screens": [{"name": "small", "x": 0, "y": 0, "width": 1280, "height": 800,
                     "logicalDpi": 96, "logicalBaseDpi": 96, "dpr": 1}]})");
    screens.flush();
    qputenv("QT_QPA_PLATFORM", ("offscreen:configfile=" + screens.fileName()).toLocal8Bit());
    QApplication app(argc, argv);
    Test test;
    return QTest::qExec(&test, argc, argv);
}

} // namespace pitwall::gui::test
