#pragma once
// The double-size view of a GP3Image: a borderless window showing the picture
// stretched over its whole area; releasing the left button over it closes it.

#include <QImage>
#include <QWidget>

namespace pitwall::gui {

class GP3ImageZoomWindow : public QWidget {
    Q_OBJECT
public:
    // A top-level window owned by `owner`, deleted when it closes.
    GP3ImageZoomWindow(const QImage& picture, QWidget* owner);

    const QImage& picture() const { return picture_; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    QImage picture_;
};

} // namespace pitwall::gui
