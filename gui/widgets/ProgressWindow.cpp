#include "ProgressWindow.h"

#include "NavyGauge.h"
#include "QtMessages.h"
#include "base/DelphiFormat.h"

#include <QApplication>
#include <QLabel>
#include <QProgressBar>
#include <QVBoxLayout>

namespace pitwall::gui {

ProgressWindow::ProgressWindow(QWidget* parent)
    : QDialog(parent, Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowStaysOnTopHint)
{
    setObjectName("TProgressForm");
    auto* layout = new QVBoxLayout(this);
    gauge_ = MakeNavyGauge(this);
    line1_ = new QLabel(this);
    line1_->setObjectName("StaticText1");
    line1_->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    line2_ = new QLabel(this);
    line2_->setObjectName("StaticText2");
    line2_->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    layout->addWidget(gauge_);
    layout->addWidget(line1_);
    layout->addWidget(line2_);
    resize(380, 120);
    elapsed_ = [this] { return stopwatch_.ElapsedNow(); };
}

void ProgressWindow::start(int itemCount, const std::string& firstLineFormat, bool textMode, const std::string& caption,
                           const std::string& secondLineFormat, std::uint64_t totalBytes)
{
    stopwatch_.Start();
    state_ = ProgressState{itemCount, 0, totalBytes, 0};
    firstFormat_ = firstLineFormat;
    secondFormat_ = secondLineFormat;
    textMode_ = textMode;
    gauge_->setValue(0);
    setWindowTitle(FromGameText(caption));
    show();
}

void ProgressWindow::step(std::uint64_t amount, const std::string& text, bool absolute)
{
    std::int64_t elapsed = elapsed_();
    StepProgress(state_, amount, absolute);
    ProgressReading reading = ReadProgress(state_, elapsed);
    gauge_->setValue(std::clamp(reading.percent, 0, 100));
    FormatArgs first = textMode_ ? Args(text) : Args(state_.itemsDone, state_.itemCount);
    auto format = [](const std::string& pattern, const FormatArgs& args) {
        try {
            return FormatText(pattern, args);
        } catch (const FormatTextError&) {
            return pattern;
        }
    };
    line1_->setText(FromGameText(format(firstFormat_, first)));
    line2_->setText(FromGameText(format(secondFormat_, Args(reading.remainingSeconds))));
    // Painted, but no click or key reaches the program while the work runs:
    // an editor opened or the program ended in here would pull the running
    // page (and this window, its child) away under the loop.
    QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

QString ProgressWindow::firstLine() const { return line1_->text(); }
QString ProgressWindow::secondLine() const { return line2_->text(); }
int ProgressWindow::gaugeValue() const { return gauge_->value(); }

} // namespace pitwall::gui
