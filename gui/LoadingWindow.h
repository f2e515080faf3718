#pragma once
// TForm5 "Wird geladen": the modeless progress window of every transfer.

#include "transfer/TransferUi.h"

#include <QDialog>

class QLabel;
class QProgressBar;

namespace pitwall::gui {

class LoadingWindow : public QDialog, public pitwall::LoadingWindow {
    Q_OBJECT
public:
    explicit LoadingWindow(QWidget* parent = nullptr);

    void begin(const std::string& caption, const std::string& firstLine, std::uint16_t total) override;
    // Shows the text, adds the weight, moves the gauge and lets pending
    // window messages through.
    void setProgress(const std::string& text, int weight) override;
    void end() override;

    int gaugeValue() const;
    std::int64_t counter() const { return counter_; }

private:
    QProgressBar* gauge_;
    QLabel* firstLine_;
    QLabel* progressLine_;
    std::int64_t counter_ = 0;
    std::uint16_t total_ = 0;
};

} // namespace pitwall::gui
