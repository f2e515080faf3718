#pragma once
// TForm5 "Wird geladen": the modeless progress window of every transfer.

#include "transfer/TransferUi.h"

#include <QDialog>
#include <QElapsedTimer>

class QLabel;
class QProgressBar;

namespace pitwall::gui {

// Lets paint and timer events through, but no user input.
void LetEventsThrough();

class LoadingWindow : public QDialog, public pitwall::LoadingWindow {
    Q_OBJECT
public:
    explicit LoadingWindow(QWidget* parent = nullptr);

    void begin(const std::string& caption, const std::string& firstLine, std::uint16_t total) override;
    // Shows the text, adds the weight, moves the gauge and lets pending
    // window messages through.
    void setProgress(const std::string& text, int weight) override;
    // Lets paint and timer events through when the last time was 40 ms or
    // more ago, so every window keeps repainting during a long step.
    void keepAlive() override;
    void end() override;

    int gaugeValue() const;
    std::int64_t counter() const { return counter_; }

private:
    QProgressBar* gauge_;
    QLabel* firstLine_;
    QLabel* progressLine_;
    std::int64_t counter_ = 0;
    std::uint16_t total_ = 0;
    QElapsedTimer sinceEvents_;
};

} // namespace pitwall::gui
