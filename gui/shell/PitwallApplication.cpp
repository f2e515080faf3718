#include "PitwallApplication.h"

#include "DeferredIconStyle.h"

#include <QMessageBox>
#include <exception>

namespace pitwall::gui {

PitwallApplication::PitwallApplication(int& argc, char** argv) : QApplication(argc, argv)
{
    setApplicationName("Pitwall");
    setApplicationVersion(PITWALL_VERSION);
    setDesktopFileName("pitwall");
    UseDeferredIconStyle(*this);
}

bool PitwallApplication::notify(QObject* receiver, QEvent* event)
{
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::exception& e) {
        QMessageBox::information(activeWindow(), applicationName(), QString::fromLocal8Bit(e.what()));
    } catch (...) {
        QMessageBox::information(activeWindow(), applicationName(), "Unexpected error");
    }
    return false;
}

} // namespace pitwall::gui
