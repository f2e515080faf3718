#pragma once
// The application object: any exception that reaches the event loop is shown
// as a message and the program goes on.

#include <QApplication>

namespace pitwall::gui {

class PitwallApplication : public QApplication {
    Q_OBJECT
public:
    PitwallApplication(int& argc, char** argv);
    bool notify(QObject* receiver, QEvent* event) override;
};

} // namespace pitwall::gui
