#pragma once

#include <QPersistentModelIndex>
#include <QPoint>
#include <QPointer>
#include <QStyledItemDelegate>
#include <QTableView>

namespace platform {

// A table view with the editing habits of the program's grids:
// - it knows its open cell editor, so that a command can commit the edit before it saves;
// - Enter walks the cells left to right, in an editor (which it commits) or on the grid;
// - an edit its delegate refuses puts the cursor back on that cell with the editor open, and
//   whatever was leaving the cell (Enter, Tab, a click, a save) does not go on;
// - it remembers where the mouse was last pressed, for the commands of its popup menu.
class GridView : public QTableView {
    Q_OBJECT
public:
    using QTableView::QTableView;

    // The editor open now, or null. Delegates report each editor they create.
    QWidget* OpenEditor() const { return openEditor_; }
    void EditorOpened(QWidget* editor) { openEditor_ = editor; }

    // Commits an open editor (the delegate checks its text first) and closes it. False when
    // the edit was refused: the cell kept its text and its editor opens again, so whatever
    // wanted the edit finished must not go on.
    bool FinishEditing();

    // Called by a delegate that refused the text of `index`: the cursor goes back to that
    // cell with its editor open, once the event that left the cell is over.
    void RefuseEdit(const QModelIndex& index);
    // Whether a refused cell is waiting to be edited again.
    bool EditRefused() const { return refused_.isValid(); }
    // The grid shows other content now: a pending reopen is dropped.
    void ContentReplaced();

    // Moves the cursor to the next cell, left to right, then to the next row's first cell.
    void MoveToNextCell();

    // Viewport position of the last mouse press (or of the last popup request).
    QPoint lastPress() const { return lastPress_; }

signals:
    void popupRequested(const QPoint& globalPos);

protected:
    // Past the last cell of the last row: the day page adds a row there; by default the
    // cursor stays on the last row.
    virtual bool AppendRowAtEnd() { return false; }

    void closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void SetLastPress(const QPoint& pos) { lastPress_ = pos; }

private:
    friend class GridDelegate;
    // Enter in an editor: commit, close and move on unless the edit was refused.
    void EnterInEditor(QWidget* editor);

    QPointer<QWidget> openEditor_;
    QPersistentModelIndex refused_;
    QPoint lastPress_;
    int generation_ = 0;
};

// The delegate base of a GridView: Enter in an editor commits it and moves on as the grid
// does (an open drop-down list keeps Enter to pick its item).
class GridDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    explicit GridDelegate(GridView& view) : QStyledItemDelegate(&view), view_(view) {}

protected:
    bool eventFilter(QObject* editor, QEvent* event) override;
    GridView& view_;
};

}  // namespace platform
