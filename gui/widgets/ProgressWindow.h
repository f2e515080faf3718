#pragma once
// TProgressForm: the progress window of long copies (the backup), with items,
// a gauge and the estimated time still to go.

#include "app/ProgressEstimate.h"
#include "base/Stopwatch.h"

#include <QDialog>
#include <functional>

class QLabel;
class QProgressBar;

namespace pitwall::gui {

class ProgressWindow : public QDialog {
    Q_OBJECT
public:
    explicit ProgressWindow(QWidget* parent = nullptr);

    // firstLineFormat has %s (text mode) or two integers (items done,
    // item count); secondLineFormat one integer, the remaining seconds.
    // Formats are Windows-1252 UI texts.
    void start(int itemCount, const std::string& firstLineFormat, bool textMode, const std::string& caption,
               const std::string& secondLineFormat, std::uint64_t totalBytes);
    void step(std::uint64_t amount, const std::string& text, bool absolute);

    // Where the elapsed time comes from (the stopwatch; tests set a clock).
    void setElapsedSource(std::function<std::int64_t()> source) { elapsed_ = std::move(source); }

    QString firstLine() const;
    QString secondLine() const;
    int gaugeValue() const;

private:
    QProgressBar* gauge_;
    QLabel* line1_;
    QLabel* line2_;
    ProgressState state_;
    std::string firstFormat_, secondFormat_;
    bool textMode_ = false;
    TMyTimer stopwatch_;
    std::function<std::int64_t()> elapsed_;
};

} // namespace pitwall::gui
