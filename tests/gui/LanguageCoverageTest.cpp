// Every window, opened in each language, shows no text of the other
// language: captions, column titles, tab titles, tooltips, list entries and
// menu entries are compared against the texts of both language files.

#include "GuiTestSupport.h"

#include "BackupWindow.h"
#include "CarsetInfoWindow.h"
#include "EditorRegistry.h"
#include "EditorWindow.h"
#include "ExpansionDialog.h"
#include "ExportConfirmDialog.h"
#include "LoadingWindow.h"
#include "OptionsDialog.h"
#include "QtMessages.h"
#include "RestoreWindow.h"
#include "SelectionDialogWindow.h"
#include "SimulationWindow.h"
#include "TextEditDialog.h"
#include "app/Language.h"

#include <QAbstractButton>
#include <QAction>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QPushButton>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QTabWidget>
#include <QTreeWidget>
#include <QtTest>
#include <set>

using namespace pitwall;
using namespace pitwall::gui;
using namespace pitwall::gui::test;

namespace {

QString Normalised(QString text)
{
    text.replace('|', '\n').remove('&');
    text = text.trimmed();
    while (text.endsWith(':') || text.endsWith('.'))
        text.chop(1);
    return text.trimmed();
}

// The texts of a language file, as the program would show them.
std::set<QString> TextsOf(const char* languageFile)
{
    UITexts texts;
    std::vector<Message> ignored;
    GuiProgram::RecordingSink sink(ignored);
    LoadLanguage(PITWALL_RUNTIME_DIR "/", languageFile, texts, sink);
    std::set<QString> set;
    for (const auto& t : texts.all()) {
        if (t.find('%') != std::string::npos || t == "-")
            continue;
        QString shown = Normalised(FromGameText(t));
        if (shown.size() >= 3)
            set.insert(shown);
    }
    return set;
}

// Texts of the other language that this language does not share.
std::set<QString> ForeignTexts(const char* chosen, const char* other)
{
    std::set<QString> own = TextsOf(chosen), foreign;
    for (const auto& t : TextsOf(other))
        if (!own.count(t))
            foreign.insert(t);
    return foreign;
}

struct ShownText {
    QString where;
    QString text;
};

void Add(std::vector<ShownText>& out, const QObject* owner, const QString& kind, const QString& text)
{
    if (!text.isEmpty())
        out.push_back({owner->objectName() + " " + kind, text});
}

// Everything a user can read in the window and its children.
std::vector<ShownText> TextsShownBy(QWidget* window)
{
    std::vector<ShownText> out;
    Add(out, window, "title", window->windowTitle());
    QList<QWidget*> widgets = window->findChildren<QWidget*>();
    widgets.prepend(window);
    for (QWidget* w : widgets) {
        Add(out, w, "tooltip", w->toolTip());
        if (auto* label = qobject_cast<QLabel*>(w))
            Add(out, w, "caption", label->text());
        if (auto* button = qobject_cast<QAbstractButton*>(w))
            Add(out, w, "caption", button->text());
        if (auto* group = qobject_cast<QGroupBox*>(w))
            Add(out, w, "title", group->title());
        if (auto* tabs = qobject_cast<QTabWidget*>(w))
            for (int i = 0; i < tabs->count(); ++i)
                Add(out, w, "tab", tabs->tabText(i));
        if (auto* combo = qobject_cast<QComboBox*>(w))
            for (int i = 0; i < combo->count(); ++i)
                Add(out, w, "entry", combo->itemText(i));
        if (auto* list = qobject_cast<QListWidget*>(w))
            for (int i = 0; i < list->count(); ++i)
                Add(out, w, "entry", list->item(i)->text());
        if (auto* header = qobject_cast<QHeaderView*>(w); header && header->model())
            for (int i = 0; i < header->count(); ++i)
                Add(out, w, "column", header->model()->headerData(i, header->orientation()).toString());
        if (auto* menu = qobject_cast<QMenu*>(w))
            Add(out, w, "menu", menu->title());
    }
    for (QAction* a : window->findChildren<QAction*>()) {
        Add(out, a, "menu entry", a->text());
        Add(out, a, "tooltip", a->toolTip());
    }
    return out;
}

} // namespace

class LanguageCoverageTest : public QObject {
    Q_OBJECT
private slots:
    void everyWindowSpeaksTheChosenLanguage_data();
    void everyWindowSpeaksTheChosenLanguage();
};

void LanguageCoverageTest::everyWindowSpeaksTheChosenLanguage_data()
{
    QTest::addColumn<QString>("chosen");
    QTest::addColumn<QString>("other");
    QTest::newRow("English") << "ENGLISH.LNG" << "DEUTSCH.LNG";
    QTest::newRow("German") << "DEUTSCH.LNG" << "ENGLISH.LNG";
}

void LanguageCoverageTest::everyWindowSpeaksTheChosenLanguage()
{
    QFETCH(QString, chosen);
    QFETCH(QString, other);
    const std::set<QString> foreign = ForeignTexts(chosen.toLatin1().constData(), other.toLatin1().constData());
    QVERIFY(foreign.size() > 500);

    GuiProgram p(2, "[General]\r\nLanguage=" + chosen.toStdString() + "\r\nFirstTime=0\r\n");
    QCOMPARE(QString::fromStdString(p.program.settings.languageFile), chosen);
    p.program.settings.gameDirectory = p.path("game/");
    QVERIFY(p.window->FirstActivation());

    QStringList faults;
    auto check = [&](QWidget* window) {
        for (const auto& shown : TextsShownBy(window))
            if (foreign.count(Normalised(shown.text)))
                faults << QString("%1: %2 \"%3\"").arg(window->objectName(), shown.where, shown.text);
    };

    check(p.window.get());
    for (const auto& editor : Editors()) {
        if (!editor.enabled)
            continue;
        p.window->OpenEditor(editor.className);
        QVERIFY(p.window->currentEditor());
        check(p.window->currentEditor());
    }
    check(p.app->optionsDialog);
    check(p.app->selectionDialog);
    check(p.app->loadingWindow);
    p.app->optionsDialog->show();
    check(p.app->optionsDialog);
    p.app->optionsDialog->hide();
    check(SimulationWindow::Of(*p.app));

    BackupWindow backup(*p.app, p.window.get());
    backup.show();
    check(&backup);
    RestoreWindow restore(*p.app, p.window.get());
    check(&restore);
    CarsetInfoWindow info(*p.app, p.app->workingSet().carsetInfo, p.window.get());
    check(&info);
    ExportConfirmDialog confirm(p.program.texts, {}, p.window.get());
    check(&confirm);
    TextEditDialog textEdit(p.program.texts, p.window.get());
    check(&textEdit);
    ItemBytes selection{};
    std::array<std::uint8_t, 256> marks{};
    ExpansionDialog expansion(*p.app, p.app->workingSet().artIndex, selection, marks, p.window.get());
    check(&expansion);

    // Qt's own buttons and dialogs speak the chosen language too.
    QDialogButtonBox standard(QDialogButtonBox::Cancel);
    QString cancel = standard.button(QDialogButtonBox::Cancel)->text().remove('&');
    QCOMPARE(cancel, chosen == "DEUTSCH.LNG" ? QString("Abbrechen") : QString("Cancel"));

    if (!faults.isEmpty())
        QFAIL(qPrintable("Texts of the other language:\n" + faults.join('\n')));
}

QTEST_MAIN(LanguageCoverageTest)
#include "LanguageCoverageTest.moc"
