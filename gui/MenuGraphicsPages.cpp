#include "MenuGraphicsPages.h"

#include "AppContext.h"
#include "ProgressWindow.h"
#include "menu/MenuPictureFiles.h"
#include "transfer/FileUtils.h"

#include <QApplication>

namespace pitwall::gui {

namespace {
constexpr int kProgressCaption = 554, kSecondsLeft = 1003;
}

std::string PictureSequence::fileName(int number) const
{
    return IncludeTrailingBackslash(folder) + PatternFileName(pattern, number);
}

void RunPictureSequence(QWidget* parent, AppContext& app, int firstLineText, const std::vector<int>& numbers,
                        const std::function<void(int number)>& work)
{
    ProgressWindow progress(parent);
    progress.Start(static_cast<int>(numbers.size()), app.program.texts.text(firstLineText), false,
                   app.program.texts.text(kProgressCaption), app.program.texts.text(kSecondsLeft), numbers.size());
    progress.show();
    for (int n : numbers) {
        work(n);
        progress.Step(1, "", false);
        QApplication::processEvents();
    }
    progress.close();
}

} // namespace pitwall::gui
