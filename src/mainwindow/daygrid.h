#pragma once

#include <QPoint>
#include "platform/gridview.h"

#include "ledger/categorylist.h"

class QLabel;
class QMenu;

namespace mainwindow {

class DayModel;
class DayGridDelegate;

// maingrid: the table of the day page. Enter walks the cells left to right and adds a row
// past the last one, Insert inserts a row, a double click below the rows appends one, and
// the grid's own copy, paste and delete keys are left to the window's commands.
class DayGrid : public platform::GridView {
    Q_OBJECT
public:
    DayGrid(DayModel& model, const ledger::CategoryList& categories, QWidget* parent = nullptr);

    DayModel& dayModel() { return model_; }
    DayGridDelegate& delegate() { return *delegate_; }

    // The picture stretched behind the column captions.
    void SetHeaderImage(const QImage& image);

    // Model row under the last mouse press; -1 when it was below the rows.
    int RowAtLastPress() const;
    // The lowest row with a selected cell in 摘要, 金額 or メモ; -1 for none.
    int LowestSelectedRow() const;
    // The cell copy and paste work on: the bottom-right cell of the selection, or the
    // current cell when nothing is selected.
    QModelIndex BottomRightSelected() const;
    // Selects column 0 of a row and scrolls it into view.
    void SelectRowStart(int row);

    // Input methods are on over メモ, off over the amount and the pick lists.
    QVariant inputMethodQuery(Qt::InputMethodQuery query) const override;

    using platform::GridView::edit;

    // A short note under a cell (why its text was refused), gone after a few seconds or at
    // the next key.
    void ShowHint(const QModelIndex& index, const QString& text);
    // Puts the cursor on a cell (clamped to the rows there are) and selects it.
    void PlaceCursor(int row, int column);

signals:
    void appendRowRequested();          // double click below the rows
    void deleteSelectedRowRequested();  // Delete released on the grid itself
    void rowInserted(int row);          // Insert key

protected:
    // F2 and a double click open an editor with the caret at the end of the text, nothing
    // selected, so the next key adds to it; a key typed on a closed cell replaces its text.
    bool edit(const QModelIndex& index, EditTrigger trigger, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void inputMethodEvent(QInputMethodEvent* event) override;
    void currentChanged(const QModelIndex& current, const QModelIndex& previous) override;
    void focusInEvent(QFocusEvent* event) override;
    bool AppendRowAtEnd() override;

private:
    // Shows a composition over the current cell; empty text hides it.
    void ShowPreedit(const QString& text);

    QLabel* preedit_ = nullptr;
    QLabel* hint_ = nullptr;
    DayModel& model_;
    DayGridDelegate* delegate_;
};

}  // namespace mainwindow
