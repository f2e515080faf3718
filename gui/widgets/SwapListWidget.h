#pragma once
// A list whose entries are swapped by dragging one onto another (the team
// list and the pit lane of the teams editor). The list never moves entries
// itself: it reports the pair and the owner changes the data and refills.

#include <QListWidget>
#include <functional>

namespace pitwall::gui {

class SwapListWidget : public QListWidget {
    Q_OBJECT
public:
    // `format` is the drag's MIME type; it keeps drags of different lists apart.
    SwapListWidget(const QString& format, QWidget* parent = nullptr);

    // Whether the entry in this row may be dragged (all rows when unset).
    std::function<bool(int row)> canDrag;

    // What dragging this row carries.
    QMimeData* dragData(int row) const;

signals:
    void swapRequested(int draggedRow, int targetRow);

protected:
    QStringList mimeTypes() const override;
    QMimeData* mimeData(const QList<QListWidgetItem*>& items) const override;
    void startDrag(Qt::DropActions supportedActions) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    int draggedRow(const QMimeData* data) const;

    QString format_;
};

} // namespace pitwall::gui
