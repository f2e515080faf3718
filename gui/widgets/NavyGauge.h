#pragma once
// The navy progress bar of the loading and progress windows.

class QProgressBar;
class QWidget;

namespace pitwall::gui {

// A 0..100 bar filled in navy whose percentage stays readable: white over the
// filled part, the window's text colour over the rest. A style sheet on the
// chunk would leave the text navy on navy.
QProgressBar* MakeNavyGauge(QWidget* parent);

} // namespace pitwall::gui
