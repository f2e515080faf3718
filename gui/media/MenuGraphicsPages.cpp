#include "MenuGraphicsPages.h"

#include "AppContext.h"
#include "ProgressWindow.h"
#include "base/FileUtils.h"
#include "base/Messages.h"
#include "menu/MenuPictureFiles.h"

#include <QApplication>

namespace pitwall::gui {

namespace {
constexpr int kProgressCaption = 554, kSecondsLeft = 1003;
}

std::string PictureSequence::fileName(int number) const
{
    return IncludeTrailingBackslash(folder) + PatternFileName(pattern, number);
}

bool AnyFileOf(const PictureSequence& sequence, const std::vector<int>& numbers, Messenger& messenger)
{
    constexpr int kNoSequenceFileText = 163;
    for (int n : numbers)
        if (FileExists(sequence.fileName(n)))
            return true;
    messenger.show(kNoSequenceFileText, Args(sequence.folder, sequence.pattern));
    return false;
}

void RunPictureSequence(QWidget* parent, AppContext& app, int firstLineText, const std::vector<int>& numbers,
                        const std::function<void(int number)>& work)
{
    ProgressWindow progress(parent);
    progress.start(static_cast<int>(numbers.size()), app.program.texts.text(firstLineText), false,
                   app.program.texts.text(kProgressCaption), app.program.texts.text(kSecondsLeft), numbers.size());
    progress.show();
    for (int n : numbers) {
        work(n);
        progress.step(1, "", false);
    }
    progress.close();
}

} // namespace pitwall::gui
