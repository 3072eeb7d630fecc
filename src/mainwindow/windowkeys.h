#pragma once

#include <QObject>

#include <functional>

class QKeyEvent;
class QMenu;
class QToolButton;
class QWidget;

namespace mainwindow {

class DayGrid;

// The keys of the main window that work wherever its keyboard focus is (one owner for this
// habit, watching the application's key events):
// - PageUp, PageDown and Home page the book, a cell editor included (Home inside a text
//   editor moves its caret instead). The command runs when the key is released, and only
//   when this window saw it pressed: an input method that takes the press (PageDown for its
//   next candidates, Home inside a composition) lets the release through, which must not page.
// - F10 opens the window menu; Shift+F10 and the Menu key open it outside the grid, and the
//   grid's own menu at its current cell inside it.
class WindowKeys : public QObject {
    Q_OBJECT
public:
    struct Paging {
        std::function<void()> previousDay;
        std::function<void()> nextDay;
        std::function<void()> today;
    };
    WindowKeys(QWidget& window, DayGrid& grid, QMenu& windowMenu, QToolButton& menuButton,
               Paging paging);
    ~WindowKeys() override;

    // The window menu under its button, its first item highlighted, so that the arrows and
    // Enter take it on.
    void OpenWindowMenu();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // F10, Shift+F10 and the Menu key; true when the key opened a menu.
    bool OpenMenuByKey(const QKeyEvent& key);

    QWidget& window_;
    DayGrid& grid_;
    QMenu& windowMenu_;
    QToolButton& menuButton_;
    Paging paging_;
    // The paging key whose press this window saw; its release pages.
    int pagingKeyDown_ = 0;
};

}  // namespace mainwindow
