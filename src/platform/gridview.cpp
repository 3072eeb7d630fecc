#include "platform/gridview.h"

#include <QContextMenuEvent>
#include <QMouseEvent>

namespace platform {

void GridView::FinishEditing() {
    if (QWidget* editor = openEditor_) {
        commitData(editor);
        // Committing may already have closed it (a refused edit reopens later).
        if (openEditor_ == editor)
            closeEditor(editor, QAbstractItemDelegate::NoHint);
    }
}

void GridView::closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint) {
    // The editor is deleted later; from now on it is not the open one.
    if (openEditor_ == editor)
        openEditor_ = nullptr;
    QTableView::closeEditor(editor, hint);
}

void GridView::mousePressEvent(QMouseEvent* event) {
    lastPress_ = event->position().toPoint();
    QTableView::mousePressEvent(event);
}

void GridView::contextMenuEvent(QContextMenuEvent* event) {
    lastPress_ = viewport()->mapFromGlobal(event->globalPos());
    emit popupRequested(event->globalPos());
}

}  // namespace platform
