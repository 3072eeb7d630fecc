#pragma once

#include "ledger/categorylist.h"
#include "platform/gridview.h"

namespace mainwindow {

class DayModel;

// The editors of the day page and the check of a finished edit: pick-only lists for 費目
// and 摘要, plain text for 金額 and メモ. An edit that leaves the text as it was is not
// checked and changes nothing; an amount is stored in its plain form (platform::AmountToStore), and
// one that is not a number is refused: the grid puts the cursor back into that cell.
class DayGridDelegate : public platform::GridDelegate {
    Q_OBJECT
public:
    DayGridDelegate(const ledger::CategoryList& categories, platform::GridView& view);

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                          const QModelIndex& index) const override;
    void setEditorData(QWidget* editor, const QModelIndex& index) const override;
    void setModelData(QWidget* editor, QAbstractItemModel* model,
                      const QModelIndex& index) const override;
    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;

signals:
    // A cell took a new value.
    void cellEdited(int row, int column) const;
    // Typed text that is no amount was refused; the cell kept its amount.
    void amountRefused(const QModelIndex& index) const;

private:
    const ledger::CategoryList& categories_;
};

}  // namespace mainwindow
