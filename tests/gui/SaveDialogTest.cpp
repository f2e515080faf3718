// Saving through the program's real save dialog, answered as a user does:
// the filter picked in the list, the name typed, "Save" pressed. A name that
// ends in an extension one of the dialog's filters offers keeps it and is
// written in that format, whichever filter is picked; a name without one gets
// the picked filter's.

#include "GuiTestSupport.h"

#include "TextsEditor.h"
#include "TracksEditor.h"
#include "formats/Bmp.h"
#include "formats/StringFile.h"

#include <QDialogButtonBox>
#include <QFileDialog>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>

using namespace pitwall;
using namespace pitwall::gui;
using namespace pitwall::gui::test;

namespace {

struct DialogAnswer {
    bool answered = false;
    QStringList filters; // the entries the dialog offered
};

// Answers the next save dialog once it is open: picks the filter entry that
// contains `filter`, types `name` into the name field and presses "Save".
// The filter comes first: picking one may change the extension of a name
// already typed.
std::shared_ptr<DialogAnswer> AnswerSaveDialog(const std::string& name, const QString& filter)
{
    auto answer = std::make_shared<DialogAnswer>();
    OnModal([answer, name = QString::fromStdString(name), filter](QWidget* modal) {
        auto* dialog = qobject_cast<QFileDialog*>(modal);
        if (!dialog || !dialog->isVisible())
            return true; // not open yet: asked again on the next tick
        auto* edit = dialog->findChild<QLineEdit*>("fileNameEdit");
        auto* buttons = dialog->findChild<QDialogButtonBox*>("buttonBox");
        QPushButton* save = buttons ? buttons->button(QDialogButtonBox::Save) : nullptr;
        answer->filters = dialog->nameFilters();
        for (const QString& entry : answer->filters)
            if (entry.contains(filter))
                dialog->selectNameFilter(entry);
        if (!edit || !save || !dialog->selectedNameFilter().contains(filter)) {
            dialog->reject();
            return false;
        }
        edit->setText(name);
        if (!save->isEnabled()) {
            dialog->reject();
            return false;
        }
        save->click();
        answer->answered = !dialog->isVisible();
        return false;
    });
    return answer;
}

bool IsJpeg(const Bytes& b) { return b.size() > 3 && b[0] == 0xFF && b[1] == 0xD8 && b[2] == 0xFF; }
bool IsBmp(const Bytes& b) { return b.size() > 2 && b[0] == 'B' && b[1] == 'M'; }

} // namespace

class SaveDialogTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void textsKeepTheExtensionTyped();
    void picturesKeepTheExtensionTyped();
};

// Desktop platforms may open their own dialogs, which a test cannot answer.
void SaveDialogTest::initTestCase()
{
    if (QGuiApplication::platformName() != "offscreen")
        QSKIP("the save dialog is answered on the offscreen platform only");
}

// Texts editor, "In Datei speichern": .STR and .TXT are offered.
void SaveDialogTest::textsKeepTheExtensionTyped()
{
    GuiProgram p;
    TextsEditor* editor = openEditor<TextsEditor>(p, "TForm14");
    QVERIFY(editor);
    Click(editor, "Button2"); // "Alles importieren"
    Child<QListWidget>(editor, "ListBox4")->setCurrentRow(1);
    const auto& texts = p.app->workingSet().gameTexts.languages[1];
    QVERIFY(texts.size() > 100);
    WriteTextFile(p.path("expected.TXT"), texts);
    WriteStringFile(p.path("expected.STR"), texts);

    struct Case {
        const char* typed;
        const char* filter;
        const char* written;
        const char* format;
    };
    const Case cases[] = {
        {"pl.TXT", "*.STR", "pl.TXT", "expected.TXT"},   // the .STR filter in front, .TXT typed
        {"en.str", "*.TXT", "en.str", "expected.STR"},   // any letter case
        {"plain", "*.TXT", "plain.TXT", "expected.TXT"}, // nothing typed: the filter's
        {"plain", "*.STR", "plain.STR", "expected.STR"},
    };
    for (const Case& c : cases) {
        auto answer = AnswerSaveDialog(p.path(c.typed), c.filter);
        Click(editor, "Button4"); // "In Datei speichern"
        QVERIFY2(answer->answered, c.typed);
        QVERIFY2(FileExists(p.path(c.written)), c.written);
        QVERIFY2(FileBytes(p.path(c.written)) == FileBytes(p.path(c.format)), c.written);
    }
    QVERIFY(!FileExists(p.path("pl.TXT.STR")));
    QVERIFY(!FileExists(p.path("en.str.TXT")));
    QVERIFY(p.numbers().empty());

    // "plain" once more: the dialog asked about "plain" only, so replacing
    // plain.TXT is asked before; No offers the dialog again.
    WriteTextFile(p.path("plain.TXT"), {"older"});
    const Bytes older = FileBytes(p.path("plain.TXT"));
    for (const bool replace : {false, true}) {
        auto answer = AnswerSaveDialog(p.path("plain"), "*.TXT");
        auto asked = std::make_shared<int>(0);
        OnModal([asked, replace](QWidget* modal) {
            auto* box = qobject_cast<QMessageBox*>(modal);
            if (!box || box->objectName() != "ReplaceQuestion")
                return true;
            ++*asked;
            box->button(replace ? QMessageBox::Yes : QMessageBox::No)->click();
            if (!replace) // the dialog again: cancelled
                OnModal([](QWidget* again) {
                    auto* dialog = qobject_cast<QFileDialog*>(again);
                    if (!dialog || !dialog->isVisible())
                        return true;
                    dialog->reject();
                    return false;
                });
            return false;
        });
        Click(editor, "Button4");
        QCOMPARE(*asked, 1);
        QVERIFY(replace ? FileBytes(p.path("plain.TXT")) == FileBytes(p.path("expected.TXT"))
                        : FileBytes(p.path("plain.TXT")) == older);
    }
}

// Tracks editor, "Streckengrafik speichern": .BMP and .JPG are offered.
void SaveDialogTest::picturesKeepTheExtensionTyped()
{
    GuiProgram p;
    auto* editor = openEditor<TracksEditor>(p, "TForm13");
    QVERIFY(editor);
    Click(editor, "Button2"); // "Alles importieren"
    Child<QListWidget>(editor, "ListBox2")->setCurrentRow(0);
    Child<QTabWidget>(editor, "PageControl1")->setCurrentIndex(TracksEditor::kPicturesPage);
    const std::string picture = p.path("picture.bmp");
    SaveBmpFile(Image(498, 359, 24, MakePixel(10, 200, 30)), picture);
    editor->loadPicture(picture);

    struct Case {
        const char* typed;
        const char* filter;
        const char* written;
        bool jpeg;
    };
    const Case cases[] = {
        {"track1.jpg", "*.BMP", "track1.jpg", true}, // the BMP filter in front, a JPEG name typed
        {"track2.BMP", "*.JPG", "track2.BMP", false},
        {"track3", "*.JPG", "track3.JPG", true}, // nothing typed: the filter's
        {"track4", "*.BMP", "track4.BMP", false},
    };
    for (const Case& c : cases) {
        auto answer = AnswerSaveDialog(p.path(c.typed), c.filter);
        Click(editor, "Button63"); // "Streckengrafik speichern"
        QVERIFY2(answer->answered, c.typed);
        QVERIFY2(FileExists(p.path(c.written)), c.written);
        const Bytes written = FileBytes(p.path(c.written));
        QVERIFY2(c.jpeg ? IsJpeg(written) : IsBmp(written), c.written);
    }
    QVERIFY(!FileExists(p.path("track1.jpg.BMP")));
    QVERIFY(!FileExists(p.path("track2.BMP.JPG")));
    QCOMPARE(LoadBmpFile(p.path("track2.BMP")).pixel(5, 5), MakePixel(10, 200, 30));
    QVERIFY(p.numbers().empty());
}

QTEST_MAIN(SaveDialogTest)
#include "SaveDialogTest.moc"
#include "transfer/ReportedFormats.h"
