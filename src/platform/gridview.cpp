#include "platform/gridview.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QTimer>

namespace platform {

bool GridView::FinishEditing() {
    if (QWidget* editor = openEditor_) {
        commitData(editor);
        // Committing may already have closed it (a refused edit reopens later).
        if (openEditor_ == editor)
            closeEditor(editor, QAbstractItemDelegate::NoHint);
    }
    return !EditRefused();
}

void GridView::RefuseEdit(const QModelIndex& index) {
    refused_ = QPersistentModelIndex(index);
    QTimer::singleShot(0, this, [this, generation = generation_] {
        if (generation != generation_ || !refused_.isValid())
            return;
        const QModelIndex cell = refused_;
        refused_ = QPersistentModelIndex();
        setCurrentIndex(cell);
        scrollTo(cell);
        edit(cell);
    });
}

void GridView::ContentReplaced() {
    ++generation_;
    refused_ = QPersistentModelIndex();
}

void GridView::MoveToNextCell() {
    const QModelIndex current = currentIndex();
    if (!current.isValid() || EditRefused())
        return;
    int row = current.row();
    int column = current.column() + 1;
    if (column >= model()->columnCount()) {
        column = 0;
        ++row;
        if (row >= model()->rowCount() && !AppendRowAtEnd())
            row = model()->rowCount() - 1;
    }
    const QModelIndex next = model()->index(row, column);
    setCurrentIndex(next);
    scrollTo(next);
}

void GridView::EnterInEditor(QWidget* editor) {
    QPointer<QWidget> guard(editor);
    commitData(editor);
    if (guard && openEditor_ == editor)
        closeEditor(editor, QAbstractItemDelegate::NoHint);
    if (EditRefused())
        return;
    // Once the editor is gone and the focus is back on the grid.
    QTimer::singleShot(0, this, [this, generation = generation_] {
        if (generation == generation_)
            MoveToNextCell();
    });
}

void GridView::closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint) {
    // The editor is deleted later; from now on it is not the open one.
    if (openEditor_ == editor)
        openEditor_ = nullptr;
    // A refused edit reopens its own cell: the view must not open the next one.
    if (EditRefused())
        hint = QAbstractItemDelegate::NoHint;
    QTableView::closeEditor(editor, hint);
}

void GridView::keyPressEvent(QKeyEvent* event) {
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) &&
        state() != EditingState) {
        MoveToNextCell();
        return;
    }
    QTableView::keyPressEvent(event);
}

void GridView::mousePressEvent(QMouseEvent* event) {
    lastPress_ = event->position().toPoint();
    QTableView::mousePressEvent(event);
}

void GridView::contextMenuEvent(QContextMenuEvent* event) {
    if (event->reason() == QContextMenuEvent::Keyboard) {
        // From the keyboard (the Menu key, Shift+F10): the menu belongs to the current cell.
        const QRect cell = visualRect(currentIndex());
        lastPress_ = cell.center();
        emit popupRequested(viewport()->mapToGlobal(cell.isValid() ? cell.bottomLeft() : QPoint()));
        return;
    }
    lastPress_ = viewport()->mapFromGlobal(event->globalPos());
    emit popupRequested(event->globalPos());
}

bool GridDelegate::eventFilter(QObject* object, QEvent* event) {
    auto* editor = qobject_cast<QWidget*>(object);
    if (editor && event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        auto* combo = qobject_cast<QComboBox*>(editor);
        if ((key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) &&
            !(combo && combo->view()->isVisible())) {
            view_.EnterInEditor(editor);
            return true;
        }
    }
    return QStyledItemDelegate::eventFilter(object, event);
}

}  // namespace platform
