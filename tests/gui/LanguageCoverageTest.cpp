// Every window, opened in each language with every tab in front once, speaks
// only the chosen language file: captions, window titles, tab titles, column
// titles, menu and tool bar entries and hints (of hidden controls too, they may
// show later) must be texts of that file, whole, one line of one, or one with
// its placeholders filled in. No list or combo box entry may be a text only the
// other language file has, and lists of fixed choices hold only texts of the
// file. The few controls that show data rather than texts are listed below.

#include "GuiTestSupport.h"

#include "AboutWindow.h"
#include "BackupWindow.h"
#include "CarsetInfoWindow.h"
#include "DirectoryChooser.h"
#include "DirectoryMaskChooser.h"
#include "EditorRegistry.h"
#include "EditorWindow.h"
#include "ExpansionDialog.h"
#include "ExportConfirmDialog.h"
#include "InfoWindow.h"
#include "LibraryWindow.h"
#include "LoadingWindow.h"
#include "OptionsDialog.h"
#include "ProgressWindow.h"
#include "QtMessages.h"
#include "RestoreWindow.h"
#include "SelectionDialogWindow.h"
#include "SimulationWindow.h"
#include "TextEditDialog.h"
#include "UITextViewer.h"
#include "app/Language.h"
#include "menu/MenuArt.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAction>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QRegularExpression>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>
#include <map>
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

// Digits, signs and single letters are never words of either language.
bool HasWords(const QString& text, int least = 2)
{
    int letters = 0;
    for (QChar c : text)
        if (c.isLetter())
            ++letters;
    return letters >= least;
}

// The texts of a language file, as the program would show them, and its
// texts with placeholders as patterns that match them filled in.
struct LanguageTexts {
    std::set<QString> plain;
    std::vector<QRegularExpression> formats;
    QString marquee; // scrolls through the status bars, so any stretch of it shows

    // `raw` as shown, `shown` normalised. A list entry may be numbered
    // ("12 - Sound options", "3. Text").
    bool has(const QString& raw, const QString& shown) const
    {
        static const QRegularExpression numbered("^\\d+\\s*[-.:)]\\s*");
        if (plain.count(shown) || plain.count(QString(shown).remove(numbered)))
            return true;
        for (const auto& f : formats)
            if (f.match(shown).hasMatch() || f.match(raw).hasMatch())
                return true;
        return shown.size() >= 3 && (marquee + " *** " + marquee).contains(shown);
    }
};

// A text shows whole, one line of it on its own (texts that hold the captions
// of several controls, one per line), or as the start of a caption that data
// completes (texts ending in a space).
LanguageTexts TextsOf(const QString& languageFile)
{
    UITexts texts;
    std::vector<Message> ignored;
    GuiProgram::RecordingSink sink(ignored);
    LoadLanguage(PITWALL_RUNTIME_DIR "/", languageFile.toStdString(), texts, sink);
    static const QRegularExpression placeholder("%(?:-?\\d*:)?-?\\d*(?:\\.\\d+)?[sdxfugnmpe]",
                                                QRegularExpression::CaseInsensitiveOption);
    LanguageTexts out;
    out.marquee = FromGameText(texts.marquee());
    auto add = [&](const QString& raw) {
        QString shown = Normalised(raw);
        if (shown.isEmpty())
            return;
        bool prefix = raw.endsWith(' ');
        if (!shown.contains('%') && !prefix) {
            out.plain.insert(shown);
            return;
        }
        // Patterns with hardly any words of their own would match any caption.
        if (!HasWords(QString(shown).remove(placeholder), 3))
            return;
        QString pattern;
        qsizetype at = 0;
        for (auto m = placeholder.globalMatch(shown); m.hasNext();) {
            auto found = m.next();
            pattern += QRegularExpression::escape(shown.mid(at, found.capturedStart() - at)) + ".*";
            at = found.capturedEnd();
        }
        pattern += QRegularExpression::escape(shown.mid(at));
        pattern.replace("%%", "%");
        if (prefix)
            pattern += ".*";
        out.formats.emplace_back(QRegularExpression::anchoredPattern(pattern),
                                 QRegularExpression::DotMatchesEverythingOption);
    };
    for (const auto& t : texts.all()) {
        if (t == "-")
            continue;
        QString text = FromGameText(t);
        add(text);
        static const QRegularExpression lineBreak("[|\\n]");
        if (text.contains(lineBreak))
            for (const auto& line : text.split(lineBreak))
                add(line);
    }
    return out;
}

struct shownText {
    QString where;
    QString text;
    bool fixed; // a caption the language file must provide; otherwise an entry that may be data
    bool operator<(const shownText& o) const { return std::tie(where, text) < std::tie(o.where, o.text); }
};

// Controls that show data: names and numbers from the game files, paths,
// the program's name. "window/control"; a trailing "*" stands for any end of
// the name, "window/*" for a window whose texts are built in on purpose.
const std::vector<QString> kDataControls = {
    "TForm1/TForm1",    // the main window's title: the program's name
    "TForm7/Label1",    // about window: program name, version, release date, contact
    "TForm7/GroupBox1", // about window: "Special Thanks To:" and the acknowledgement lines,
    "TForm7/ListBox1",  // built in like the picture
    "TForm1/Strings1",  // the developers' UI text viewer ("Strings"), hidden for users
    "TForm22/*",
    "TForm13/Image2*",  // tracks editor: the game's language names (file names) on the flags
    "TForm18/AidNames", // misc editor: the aids' keys F1 to F8, each before its name (text 98)
};

bool IsData(const QWidget* window, const QObject* control)
{
    QString name = window->objectName() + "/" + control->objectName();
    for (const QString& entry : kDataControls)
        if (entry.endsWith('*') ? name.startsWith(entry.chopped(1)) : name == entry)
            return true;
    return false;
}

void Add(std::set<shownText>& out, const QWidget* window, const QObject* owner, const QString& kind,
         const QString& text, bool fixed)
{
    if (text.isEmpty() || IsData(window, owner))
        return;
    out.insert({window->objectName() + "/" + owner->objectName() + " " + kind, text, fixed});
}

bool Shown(const QWidget* w, const QWidget* window) { return w == window || w->isVisibleTo(window); }

// Everything a user can read in the window as it stands, or once a hidden
// control shows: captions, menus and actions, entries and column titles.
void CollectShown(QWidget* window, std::set<shownText>& out)
{
    Add(out, window, window, "title", window->windowTitle(), true);
    QList<QWidget*> widgets = window->findChildren<QWidget*>();
    widgets.prepend(window);
    for (QWidget* w : widgets) {
        if (w != window && w->window() != window)
            continue; // child dialogs are checked on their own
        if (auto* menu = qobject_cast<QMenu*>(w))
            Add(out, window, w, "menu", menu->title(), true);
        // Controls hidden now may show later: they count too.
        Add(out, window, w, "tooltip", w->toolTip(), true);
        if (auto* label = qobject_cast<QLabel*>(w); label && label->textFormat() != Qt::RichText)
            Add(out, window, w, "caption", label->text(), true);
        if (auto* button = qobject_cast<QAbstractButton*>(w))
            Add(out, window, w, "caption", button->text(), true);
        if (auto* group = qobject_cast<QGroupBox*>(w))
            Add(out, window, w, "title", group->title(), true);
        if (auto* tabs = qobject_cast<QTabBar*>(w))
            for (int i = 0; i < tabs->count(); ++i)
                Add(out, window, w->parent() ? w->parent() : w, "tab", tabs->tabText(i), true);
        if (auto* combo = qobject_cast<QComboBox*>(w))
            for (int i = 0; i < combo->count(); ++i)
                Add(out, window, w, "entry", combo->itemText(i), false);
        if (auto* list = qobject_cast<QListWidget*>(w))
            for (int i = 0; i < list->count(); ++i)
                Add(out, window, w, "entry", list->item(i)->text(), false);
        if (auto* header = qobject_cast<QHeaderView*>(w);
            header && header->model() && header->orientation() == Qt::Horizontal)
            for (int i = 0; i < header->count(); ++i)
                if (!header->isSectionHidden(i))
                    Add(out, window, w->parent() ? w->parent() : w, "column",
                        header->model()->headerData(i, Qt::Horizontal).toString(), true);
    }
    for (QAction* a : window->findChildren<QAction*>()) {
        if (a->isSeparator() || a->menu())
            continue;
        Add(out, window, a, "menu entry", a->text(), true);
        if (a->toolTip() != a->text() && a->toolTip() != QString(a->text()).remove('&'))
            Add(out, window, a, "tooltip", a->toolTip(), true);
    }
}

// Brings every page of every tab control to the front once (nested ones
// too, so pages built when first shown exist) and collects what each shows.
void WalkTabs(QWidget* window, std::set<shownText>& out, std::set<QTabWidget*>& walked)
{
    bool more = true;
    while (more) {
        more = false;
        for (QTabWidget* tabs : window->findChildren<QTabWidget*>()) {
            if (tabs->window() != window || !Shown(tabs, window) || walked.count(tabs))
                continue;
            walked.insert(tabs);
            int front = tabs->currentIndex();
            for (int i = 0; i < tabs->count(); ++i) {
                if (!tabs->isTabVisible(i))
                    continue;
                tabs->setCurrentIndex(i);
                QCoreApplication::processEvents();
                CollectShown(window, out);
                WalkTabs(window, out, walked);
            }
            tabs->setCurrentIndex(front);
            more = true;
            break; // the children may have changed
        }
    }
}

std::set<shownText> TextsShownBy(QWidget* window)
{
    std::set<shownText> out;
    CollectShown(window, out);
    std::set<QTabWidget*> walked;
    WalkTabs(window, out, walked);
    for (QWidget* w : window->findChildren<QWidget*>())
        if (w->isWindow() && w->parentWidget() && w->parentWidget()->window() == window && !qobject_cast<QMenu*>(w))
            for (const auto& t : TextsShownBy(w))
                out.insert(t);
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
    QTest::newRow("English") << "ENGLISH.LNG"
                             << "DEUTSCH.LNG";
    QTest::newRow("German") << "DEUTSCH.LNG"
                            << "ENGLISH.LNG";
}

void LanguageCoverageTest::everyWindowSpeaksTheChosenLanguage()
{
    QFETCH(QString, chosen);
    QFETCH(QString, other);
    const LanguageTexts own = TextsOf(chosen), foreign = TextsOf(other);
    QVERIFY(own.plain.size() > 500 && !own.formats.empty());

    GuiProgram p(2, "[General]\r\nLanguage=" + chosen.toStdString() + "\r\nFirstTime=0\r\n");
    QCOMPARE(QString::fromStdString(p.program.settings.languageFile), chosen);
    p.program.settings.gameDirectory = p.path("game/");
    QVERIFY(p.window->firstActivation());

    QStringList otherLanguage, unknown;
    auto check = [&](QWidget* window) {
        bool hidden = !window->isVisible();
        window->show(); // some windows take their texts when shown
        QCoreApplication::processEvents();
        const std::set<shownText> texts = TextsShownBy(window);
        // A list or combo box whose entries are mostly texts of the file
        // offers fixed choices: then every entry must be one.
        std::map<QString, std::pair<int, int>> lists; // own entries, all entries
        for (const auto& shown : texts)
            if (!shown.fixed && shown.where.endsWith(" entry")) {
                auto& [ownEntries, all] = lists[shown.where];
                ownEntries += own.has(shown.text, Normalised(shown.text));
                ++all;
            }
        for (const auto& shown : texts) {
            QString text = Normalised(shown.text);
            if (own.has(shown.text, text))
                continue;
            auto list = lists.find(shown.where);
            bool fixed = shown.fixed || (list != lists.end() && 2 * list->second.first >= list->second.second);
            QString line = QString("%1 \"%2\"").arg(shown.where, shown.text);
            if (foreign.has(shown.text, text) && HasWords(text))
                otherLanguage << line;
            else if (fixed && HasWords(text))
                unknown << line;
        }
        if (hidden)
            window->hide();
    };

    // A carset saved in the other language lists its menu backgrounds in it.
    UITexts otherTexts;
    std::vector<Message> ignored;
    GuiProgram::RecordingSink sink(ignored);
    LoadLanguage(PITWALL_RUNTIME_DIR "/", other.toStdString(), otherTexts, sink);
    p.app->workingSet().menuBackgrounds = {MenuBackgroundLine(12, otherTexts)};

    check(p.window.get());
    for (const auto& editor : Editors()) {
        if (!editor.enabled)
            continue;
        p.window->openEditor(editor.className);
        QVERIFY(p.window->currentEditor());
        check(p.window->currentEditor());
    }
    check(p.app->optionsDialog);
    check(p.app->selectionDialog);
    check(p.app->loadingWindow);
    check(SimulationWindow::instanceFor(*p.app));

    BackupWindow backup(*p.app, p.window.get());
    check(&backup);
    RestoreWindow restore(*p.app, p.window.get());
    check(&restore);
    LibraryWindow library(*p.app, p.window.get());
    check(&library);
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
    AboutWindow about(p.program.texts, p.window.get());
    check(&about);
    DirectoryChooser directory(p.program.texts, p.window.get());
    check(&directory);
    DirectoryMaskChooser sequence(p.program.texts, p.window.get());
    check(&sequence);
    UITextViewer viewer(p.window.get());
    check(&viewer);
    InfoWindow firstStart(*p.app, p.window.get());
    check(&firstStart);
    // Not opened: the splash window, whose texts are built in.

    // Qt's own buttons and dialogs speak the chosen language too.
    QDialogButtonBox standard(QDialogButtonBox::Cancel);
    QString cancel = standard.button(QDialogButtonBox::Cancel)->text().remove('&');
    QCOMPARE(cancel, chosen == "DEUTSCH.LNG" ? QString("Abbrechen") : QString("Cancel"));

    otherLanguage.removeDuplicates();
    unknown.removeDuplicates();
    if (!otherLanguage.isEmpty() || !unknown.isEmpty())
        QFAIL(qPrintable("Texts of the other language:\n" + otherLanguage.join('\n')
                         + "\nTexts of neither language file:\n" + unknown.join('\n')));
}

QTEST_MAIN(LanguageCoverageTest)
#include "LanguageCoverageTest.moc"
