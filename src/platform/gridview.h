#pragma once

#include <QPoint>
#include <QPointer>
#include <QTableView>

namespace platform {

// A table view that knows its open cell editor, so that a command can commit the edit before
// it saves, and remembers where the mouse was last pressed, for the commands of its popup
// menu.
class GridView : public QTableView {
    Q_OBJECT
public:
    using QTableView::QTableView;

    // The editor open now, or null. Delegates report each editor they create.
    QWidget* OpenEditor() const { return openEditor_; }
    void EditorOpened(QWidget* editor) { openEditor_ = editor; }

    // Commits an open editor (the delegate checks its text first) and closes it.
    void FinishEditing();

    // Viewport position of the last mouse press (or of the last popup request).
    QPoint lastPress() const { return lastPress_; }

signals:
    void popupRequested(const QPoint& globalPos);

protected:
    void closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint) override;
    void mousePressEvent(QMouseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void SetLastPress(const QPoint& pos) { lastPress_ = pos; }

private:
    QPointer<QWidget> openEditor_;
    QPoint lastPress_;
};

}  // namespace platform
