#include "SwapListWidget.h"

#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMimeData>

namespace pitwall::gui {

SwapListWidget::SwapListWidget(const QString& format, QWidget* parent) : QListWidget(parent), format_(format)
{
    setSelectionMode(QAbstractItemView::SingleSelection);
    setDragDropMode(QAbstractItemView::DragDrop);
    setDefaultDropAction(Qt::MoveAction);
    setDropIndicatorShown(true);
}

QMimeData* SwapListWidget::dragData(int row) const
{
    auto* data = new QMimeData;
    data->setData(format_, QByteArray::number(row));
    return data;
}

QStringList SwapListWidget::mimeTypes() const { return {format_}; }

QMimeData* SwapListWidget::mimeData(const QList<QListWidgetItem*>& items) const
{
    return items.isEmpty() ? nullptr : dragData(row(items.first()));
}

void SwapListWidget::startDrag(Qt::DropActions supportedActions)
{
    if (canDrag && !canDrag(currentRow()))
        return;
    QListWidget::startDrag(supportedActions);
}

int SwapListWidget::draggedRow(const QMimeData* data) const
{
    if (!data || !data->hasFormat(format_))
        return -1;
    bool ok = false;
    int row = data->data(format_).toInt(&ok);
    if (!ok || row < 0 || row >= count() || (canDrag && !canDrag(row)))
        return -1;
    return row;
}

void SwapListWidget::dragEnterEvent(QDragEnterEvent* event)
{
    if (draggedRow(event->mimeData()) >= 0)
        event->acceptProposedAction();
    else
        event->ignore();
}

void SwapListWidget::dragMoveEvent(QDragMoveEvent* event)
{
    if (draggedRow(event->mimeData()) >= 0 && itemAt(event->position().toPoint()))
        event->acceptProposedAction();
    else
        event->ignore();
}

void SwapListWidget::dropEvent(QDropEvent* event)
{
    int dragged = draggedRow(event->mimeData());
    QListWidgetItem* target = itemAt(event->position().toPoint());
    if (dragged < 0 || !target) {
        event->ignore();
        return;
    }
    // Copy, not move: with a move the view would also take the dragged entry
    // out after the drop, and the owner refills the list anyway.
    event->setDropAction(Qt::CopyAction);
    event->accept();
    emit swapRequested(dragged, row(target));
}

} // namespace pitwall::gui
