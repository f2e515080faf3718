#include "LoadingWindow.h"

#include "NavyGauge.h"
#include "QtMessages.h"
#include "app/ProgressEstimate.h"

#include <QApplication>
#include <QLabel>
#include <QProgressBar>
#include <QVBoxLayout>

namespace pitwall::gui {

// Paints and timers go through during a run, clicks and keys wait until it
// has ended: nothing the user does can change the working set mid-run.
void LetEventsThrough() { QApplication::processEvents(QEventLoop::ExcludeUserInputEvents); }

LoadingWindow::LoadingWindow(QWidget* parent) : QDialog(parent)
{
    setObjectName("TForm5");
    setWindowTitle("Wird geladen");
    setModal(false);
    auto* layout = new QVBoxLayout(this);
    firstLine_ = new QLabel("Lade...", this);
    firstLine_->setObjectName("Label1");
    progressLine_ = new QLabel("...", this);
    progressLine_->setObjectName("Label2");
    gauge_ = MakeNavyGauge(this);
    layout->addWidget(firstLine_);
    layout->addWidget(gauge_);
    layout->addWidget(progressLine_);
    resize(360, 110);
}

void LoadingWindow::begin(const std::string& caption, const std::string& firstLine, std::uint16_t total)
{
    setWindowTitle(FromGameText(caption));
    firstLine_->setText(FromGameText(firstLine));
    total_ = total;
}

void LoadingWindow::setProgress(const std::string& text, int weight)
{
    if (!isVisible()) {
        show();
        counter_ = 0;
        gauge_->setValue(0);
    }
    counter_ += weight;
    progressLine_->setText("... " + FromGameText(text));
    int percent = LoadingGaugePercent(counter_, total_);
    if (percent >= 0)
        gauge_->setValue(std::min(percent, 100));
    LetEventsThrough();
    sinceEvents_.start();
}

void LoadingWindow::keepAlive()
{
    if (sinceEvents_.isValid() && sinceEvents_.elapsed() < 40)
        return;
    LetEventsThrough();
    sinceEvents_.start();
}

void LoadingWindow::end() { hide(); }

int LoadingWindow::gaugeValue() const { return gauge_->value(); }

} // namespace pitwall::gui
