#pragma once
// --exit-after-first-paint: the program ends by itself once a window has
// painted for the first time, so its start-up can be timed from outside
// (bench/compare.sh) without anyone closing it.

#include <QObject>

class QWidget;

namespace pitwall::gui {

class FirstPaintExit : public QObject {
public:
    explicit FirstPaintExit(QObject* parent = nullptr) : QObject(parent) {}
    // The widget (or anything inside it) whose first paint ends the program.
    void watch(QWidget* window);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* window_ = nullptr;
    bool quitting_ = false;
};

} // namespace pitwall::gui
