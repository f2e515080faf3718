#include "MediaShots.h"

#include "AppContext.h"
#include "EditorWindow.h"
#include "MainWindow.h"

#include "QtMessages.h"
#include "sounds/SoundConversionText.h"
#include "transfer/ReportedFormats.h"

#include <QApplication>
#include <QMessageBox>
#include <QPainter>
#include <QListWidget>
#include <QPixmap>
#include <QTabWidget>
#include <QTreeWidget>

#include <sndfile.h>

#include <cmath>
#include <iostream>
#include <numbers>
#include <vector>

using namespace pitwall;
using namespace pitwall::gui;

namespace {

void Grab(QWidget* w, const QString& file)
{
    w->show();
    QApplication::processEvents();
    if (!w->grab().save(file))
        std::cerr << "cannot write " << file.toStdString() << '\n';
}

// A second of a stereo 440 Hz tone at 44.1 kHz, as an audio editor writes it.
bool WriteStereoTone(const std::string& file)
{
    SF_INFO info{};
    info.samplerate = 44100;
    info.channels = 2;
    info.format = SF_FORMAT_WAV | SF_FORMAT_PCM_16;
    SNDFILE* wav = sf_open(file.c_str(), SFM_WRITE, &info);
    if (!wav)
        return false;
    std::vector<short> frames(2 * 44100);
    for (std::size_t i = 0; i < frames.size(); ++i)
        frames[i] = static_cast<short>(8000 * std::sin(2 * std::numbers::pi * 440 * static_cast<double>(i / 2) / 44100));
    const bool written = sf_writef_short(wav, frames.data(), 44100) == 44100;
    sf_close(wav);
    return written;
}

// The sounds editor right after a tool's WAV replaced a sound, with the
// message that says how it was converted in front.
void SaveConvertedReplacement(EditorWindow* sounds, AppContext& app, const QString& out)
{
    const std::string file = app.program.directories.working + "Engine loud.wav";
    if (!WriteStereoTone(file)) {
        std::cerr << "cannot write a WAV for the converted replacement\n";
        return;
    }
    auto list = sounds->findChild<QListWidget*>();
    const int row = 4;
    QtMessages quiet(sounds);
    quiet.divert([](const Message&) {});
    Messenger messenger(app.program.texts, quiet);
    auto taken = TakeInSoundFile(app.workingSet().sounds, static_cast<std::size_t>(row), file,
                                 app.program.directories.working, &messenger);
    if (!taken || !taken->converted()) {
        std::cerr << "the tone was not taken in as a converted sound\n";
        return;
    }
    sounds->restore();
    if (list)
        list->setCurrentRow(row);
    const std::string text = SoundConversionText("Engine loud.wav", *taken, app.program.texts);
    QMessageBox box(QMessageBox::Information, "Pitwall", FromGameText(text), QMessageBox::Ok, sounds);
    box.show();
    sounds->show();
    QApplication::processEvents();
    QPixmap shot = sounds->grab();
    const QPixmap message = box.grab();
    QPainter painter(&shot);
    const QSizeF area = shot.deviceIndependentSize();
    const QSizeF size = message.deviceIndependentSize();
    painter.drawPixmap(QPointF((area.width() - size.width()) / 2, (area.height() - size.height()) / 2), message);
    painter.end();
    box.hide();
    if (!shot.save(out + "/sounds-converted.png"))
        std::cerr << "cannot write sounds-converted.png\n";
}

} // namespace

void SaveMediaShots(MainWindow& window, AppContext& app, const QString& out)
{
    // Sounds, every team's art, the loading pictures and the backgrounds.
    auto& selection = app.workingSet().transfer.selection;
    selection = {};
    for (int item : {5, 116, 117})
        selection[static_cast<std::size_t>(item)] = 1;
    for (int t = 0; t < 11; ++t)
        selection[static_cast<std::size_t>(104 + t)] = 1;
    TransferUi ui = app.transferUi();
    app.engine().importFromGame(ItemChoice::AsSelected, OpenEditor::Untouched, ui);
    auto& marks = app.workingSet().sounds.marks;
    for (std::size_t i = 0; i < marks.size(); i += 3)
        marks[i] = 1;

    window.openEditor("TForm17");
    EditorWindow* sounds = window.currentEditor();
    sounds->restore();
    sounds->resize(760, 480);
    Grab(sounds, out + "/sounds.png");
    SaveConvertedReplacement(sounds, app, out);

    window.openEditor("TForm27");
    EditorWindow* menu = window.currentEditor();
    menu->resize(1000, 560);
    auto* pages = menu->findChild<QTabWidget*>("PageControl1");
    menu->findChild<QListWidget*>("ListBox11")->setCurrentRow(1);
    pages->setCurrentIndex(0);
    menu->findChild<QTabWidget*>("PageControl2")->setCurrentIndex(0);
    Grab(menu, out + "/menu-graphics-team-art.png");
    menu->findChild<QTabWidget*>("PageControl2")->setCurrentIndex(1);
    Grab(menu, out + "/menu-graphics-drivers.png");
    pages->setCurrentIndex(1);
    Grab(menu, out + "/menu-graphics-loading.png");
    pages->setCurrentIndex(2);
    app.workingSet().menuBackgrounds = {};
    menu->findChild<QListWidget*>("ListBox1")->setCurrentRow(4);
    for (const char* name : {"BitBtn28"})
        if (auto* b = menu->findChild<QWidget*>(name))
            QMetaObject::invokeMethod(b, "click");
    menu->findChild<QListWidget*>("ListBox1")->setCurrentRow(12);
    Grab(menu, out + "/menu-graphics-backgrounds.png");
    window.openEditor("TForm12");
}
