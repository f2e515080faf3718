// The smallest Qt Widgets program that shows a window and ends after its
// first paint: the yardstick bench/compare.sh sets the start-up of
// `pitwall --exit-after-first-paint` against.

#include <QApplication>
#include <QEvent>
#include <QLabel>
#include <QMainWindow>
#include <QTimer>

namespace {

class ExitOnFirstPaint : public QObject {
public:
    explicit ExitOnFirstPaint(QWidget* window) : window_(window) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        auto* widget = qobject_cast<QWidget*>(watched);
        if (event->type() == QEvent::Paint && !quitting_ && widget
            && (widget == window_ || window_->isAncestorOf(widget))) {
            quitting_ = true;
            QTimer::singleShot(0, QApplication::instance(), [] { QApplication::exit(0); });
        }
        return false;
    }

private:
    QWidget* window_;
    bool quitting_ = false;
};

} // namespace

int main(int argc, char** argv)
{
    QApplication application(argc, argv);
    QMainWindow window;
    window.setWindowTitle("Qt baseline");
    window.setCentralWidget(new QLabel("Hello", &window));
    window.resize(640, 480);
    ExitOnFirstPaint exit(&window);
    application.installEventFilter(&exit);
    window.show();
    return application.exec();
}
