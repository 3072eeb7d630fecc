#include "daygrid.h"

#include "daygriddelegate.h"
#include "daymodel.h"

#include "platform/fonts.h"

#include <QApplication>
#include <QGuiApplication>
#include <QHeaderView>
#include <QInputMethod>
#include <QInputMethodEvent>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QPointer>
#include <QTimer>

namespace mainwindow {
namespace {

constexpr int kRowHeight = 26;
constexpr int kColumnWidths[DayModel::kColumns] = {120, 120, 120, 348};

// The column whose text is typed in words: an input method works there. The amount takes
// plain digits, which an input method would turn full-width and the amount rule refuse, and
// the pick lists take no text.
bool IsWordColumn(int column) {
    return column == DayModel::kMemo;
}

// The header row: the header picture stretched over each caption cell, the caption written
// over it 2 px from the left and centred vertically.
class DayHeader : public QHeaderView {
public:
    explicit DayHeader(QWidget* parent) : QHeaderView(Qt::Horizontal, parent) {}
    void SetImage(const QImage& image) {
        image_ = image;
        viewport()->update();
    }

protected:
    void paintSection(QPainter* painter, const QRect& rect, int section) const override {
        if (image_.isNull()) {
            QHeaderView::paintSection(painter, rect, section);
            return;
        }
        painter->save();
        painter->drawImage(rect, image_,
                           QRect(0, 0, image_.width(), std::min(rect.height(), image_.height())));
        painter->setPen(QColor(216, 216, 216));
        if (section < DayModel::kColumns - 1)
            painter->drawLine(rect.topRight(), rect.bottomRight());
        painter->setPen(QColor(54, 54, 54));
        painter->setFont(font());
        painter->drawText(rect.adjusted(2, 0, 0, 0), Qt::AlignLeft | Qt::AlignVCenter,
                          model()->headerData(section, Qt::Horizontal).toString());
        painter->restore();
    }

private:
    QImage image_;
};

}  // namespace

DayGrid::DayGrid(DayModel& model, const ledger::CategoryList& categories, QWidget* parent)
    : platform::GridView(parent), model_(model), delegate_(new DayGridDelegate(categories, *this)) {
    setHorizontalHeader(new DayHeader(this));
    setModel(&model_);
    setItemDelegate(delegate_);
    setIconSize(QSize(18, 16));
    setFont(platform::UiFont(14));
    horizontalHeader()->setFont(platform::UiFont(14));
    horizontalHeader()->setFixedHeight(kRowHeight);
    horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    horizontalHeader()->setHighlightSections(false);
    horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    for (int c = 0; c < DayModel::kColumns; ++c)
        setColumnWidth(c, kColumnWidths[c]);
    verticalHeader()->hide();
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setDefaultSectionSize(kRowHeight);
    setShowGrid(false);
    setSelectionMode(QAbstractItemView::ContiguousSelection);
    setSelectionBehavior(QAbstractItemView::SelectItems);
    setEditTriggers(QAbstractItemView::AnyKeyPressed | QAbstractItemView::DoubleClicked |
                    QAbstractItemView::EditKeyPressed | QAbstractItemView::SelectedClicked);
    setTabKeyNavigation(true);
    setWordWrap(false);
    setAttribute(Qt::WA_InputMethodEnabled, true);
    QPalette p = palette();
    p.setColor(QPalette::Base, Qt::white);
    // A soft highlight, so a selected cell never looks like an income row.
    p.setColor(QPalette::Highlight, QColor(255, 236, 179));
    p.setColor(QPalette::HighlightedText, Qt::black);
    p.setColor(QPalette::Inactive, QPalette::Highlight, QColor(255, 243, 214));
    p.setColor(QPalette::Inactive, QPalette::HighlightedText, Qt::black);
    setPalette(p);

    setCurrentIndex(model_.index(0, 0));
}

void DayGrid::SetHeaderImage(const QImage& image) {
    static_cast<DayHeader*>(horizontalHeader())->SetImage(image);
}

int DayGrid::RowAtLastPress() const {
    return indexAt(lastPress()).row();
}

int DayGrid::LowestSelectedRow() const {
    int lowest = -1;
    for (const QModelIndex& index : selectionModel()->selectedIndexes()) {
        if (index.column() != DayModel::kCategory)
            lowest = std::max(lowest, index.row());
    }
    // A cell being edited counts as selected even when the selection is empty.
    QModelIndex current = currentIndex();
    if (lowest < 0 && current.isValid() && current.column() != DayModel::kCategory &&
        selectionModel()->isSelected(current)) {
        lowest = current.row();
    }
    return lowest;
}

QModelIndex DayGrid::BottomRightSelected() const {
    const QItemSelection selection = selectionModel()->selection();
    if (selection.isEmpty())
        return currentIndex();
    // The selection is one rectangle: its bottom-right corner.
    int row = -1;
    int column = -1;
    for (const QItemSelectionRange& range : selection) {
        row = std::max(row, range.bottom());
        column = std::max(column, range.right());
    }
    return model_.index(row, column);
}

void DayGrid::SelectRowStart(int row) {
    QModelIndex cell = model_.index(row, 0);
    setCurrentIndex(cell);
    scrollTo(cell);
}

void DayGrid::PlaceCursor(int row, int column) {
    if (model_.rowCount() == 0)
        return;
    const QModelIndex cell = model_.index(std::clamp(row, 0, model_.rowCount() - 1),
                                          std::clamp(column, 0, DayModel::kColumns - 1));
    setCurrentIndex(cell);
    selectionModel()->select(cell, QItemSelectionModel::ClearAndSelect);
    scrollTo(cell);
}

void DayGrid::ShowHint(const QModelIndex& index, const QString& text) {
    if (!hint_) {
        hint_ = new QLabel(viewport());
        hint_->setObjectName(QStringLiteral("amountHint"));
        hint_->setFont(platform::UiFont(12));
        hint_->setAutoFillBackground(true);
        hint_->setStyleSheet(QStringLiteral(
            "QLabel { background: #fff7d6; color: #7a2e00; border: 1px solid #d9a400;"
            " padding: 2px 6px; }"));
    }
    hint_->setText(text);
    hint_->adjustSize();
    const QRect cell = visualRect(index);
    QPoint at(cell.left(), cell.bottom() + 2);
    // Above the cell when there is no room below it.
    if (at.y() + hint_->height() > viewport()->height())
        at.setY(std::max(0, cell.top() - hint_->height() - 2));
    at.setX(std::clamp(at.x(), 0, std::max(0, viewport()->width() - hint_->width())));
    hint_->move(at);
    hint_->show();
    hint_->raise();
    const QPointer<QLabel> shown = hint_;
    QTimer::singleShot(4000, hint_, [shown, text] {
        if (shown && shown->text() == text)
            shown->hide();
    });
}

bool DayGrid::edit(const QModelIndex& index, EditTrigger trigger, QEvent* event) {
    if (!platform::GridView::edit(index, trigger, event))
        return false;
    // The view selects an editor's whole text when it opens. A key typed on the cell has
    // replaced it by now; F2 and a double click keep the text, caret at its end.
    if (trigger != AnyKeyPressed) {
        if (auto* line = qobject_cast<QLineEdit*>(OpenEditor())) {
            line->deselect();
            line->end(false);
        }
    }
    return true;
}

bool DayGrid::AppendRowAtEnd() {
    const int row = model_.rowCount();
    model_.AppendEmptyRow();
    emit rowInserted(row);
    return true;
}

void DayGrid::keyPressEvent(QKeyEvent* event) {
    if (hint_)
        hint_->hide();
    const Qt::KeyboardModifiers mods = event->modifiers() & ~Qt::KeypadModifier;
    switch (event->key()) {
        case Qt::Key_Insert:
            if (mods == Qt::NoModifier) {
                int row = std::max(currentIndex().row(), 0);
                model_.InsertEmptyRow(row);
                emit rowInserted(row);
                setCurrentIndex(model_.index(row, std::max(currentIndex().column(), 0)));
                return;
            }
            break;
        case Qt::Key_Delete:
            // Rows go only through the delete command, on the key's release.
            event->accept();
            return;
        default:
            break;
    }
    // The window's copy and paste commands own these keys.
    if (event->matches(QKeySequence::Copy) || event->matches(QKeySequence::Paste) ||
        event->matches(QKeySequence::Cut)) {
        event->ignore();
        return;
    }
    platform::GridView::keyPressEvent(event);
}

void DayGrid::keyReleaseEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Delete && !event->isAutoRepeat() && state() != EditingState) {
        emit deleteSelectedRowRequested();
        return;
    }
    QTableView::keyReleaseEvent(event);
}

void DayGrid::mouseDoubleClickEvent(QMouseEvent* event) {
    SetLastPress(event->position().toPoint());
    if (!indexAt(lastPress()).isValid()) {
        emit appendRowRequested();
        return;
    }
    QTableView::mouseDoubleClickEvent(event);
}

void DayGrid::inputMethodEvent(QInputMethodEvent* event) {
    const QModelIndex current = currentIndex();
    if (state() == EditingState || !current.isValid() || !IsWordColumn(current.column())) {
        QTableView::inputMethodEvent(event);
        return;
    }
    // A composition begun on a cell without an editor stays with the grid, shown over the
    // cell: opening the editor now would move the focus, and the input method drops its
    // composition on a focus change (the first letters were lost). The text it commits
    // opens the editor, as a typed key does.
    event->accept();
    ShowPreedit(event->preeditString());
    const QString committed = event->commitString();
    if (committed.isEmpty())
        return;
    if (!edit(current, EditKeyPressed, nullptr))
        return;
    if (auto* line = qobject_cast<QLineEdit*>(OpenEditor())) {
        line->selectAll();  // typing into a cell replaces its text
        line->insert(committed);
    }
}

void DayGrid::ShowPreedit(const QString& text) {
    if (text.isEmpty()) {
        if (preedit_)
            preedit_->hide();
        return;
    }
    if (!preedit_) {
        preedit_ = new QLabel(viewport());
        preedit_->setFont(font());
        preedit_->setAutoFillBackground(true);
        preedit_->setStyleSheet(QStringLiteral(
            "QLabel { background: white; text-decoration: underline; padding-left: 3px; }"));
    }
    preedit_->setText(text);
    preedit_->setGeometry(visualRect(currentIndex()));
    preedit_->show();
}

void DayGrid::currentChanged(const QModelIndex& current, const QModelIndex& previous) {
    platform::GridView::currentChanged(current, previous);
    // A composition belongs to the cell it began on.
    if (preedit_ && preedit_->isVisible()) {
        preedit_->hide();
        QGuiApplication::inputMethod()->reset();
    }
    // Whether the input method is on follows the column.
    if (hasFocus() && current.column() != previous.column())
        QGuiApplication::inputMethod()->update(Qt::ImEnabled | Qt::ImHints);
}

void DayGrid::focusInEvent(QFocusEvent* event) {
    platform::GridView::focusInEvent(event);
    QGuiApplication::inputMethod()->update(Qt::ImEnabled | Qt::ImHints | Qt::ImCursorRectangle);
}

QVariant DayGrid::inputMethodQuery(Qt::InputMethodQuery query) const {
    const QModelIndex current = currentIndex();
    switch (query) {
        case Qt::ImEnabled:
            return state() != EditingState && current.isValid() && IsWordColumn(current.column());
        case Qt::ImHints:
            return static_cast<int>(Qt::ImhNone);
        case Qt::ImCursorRectangle:
            return visualRect(current).translated(viewport()->pos());
        case Qt::ImSurroundingText:
        case Qt::ImCurrentSelection:
            return QString();
        case Qt::ImCursorPosition:
        case Qt::ImAnchorPosition:
            return 0;
        default:
            return QTableView::inputMethodQuery(query);
    }
}

}  // namespace mainwindow
