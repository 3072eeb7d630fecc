#pragma once

#include <QStyledItemDelegate>

#include "ledger/categorylist.h"
#include "platform/gridview.h"

namespace mainunit {

class DayModel;

// The editors of the day page and the check of a finished edit: pick-only lists for 費目
// and 摘要, plain text for 金額 and メモ. An edit that leaves the text as it was is not
// checked and changes nothing.
class DayGridDelegate : public QStyledItemDelegate {
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
    // An amount that is not a number was refused; the cell kept its text.
    void amountRefused(const QModelIndex& index) const;
    // Text with no CP932 form was refused; the cell kept its text.
    void textRefused(const QString& message) const;
    // Enter in an editor: the edit is committed; the cursor moves on.
    void enterPressed() const;

protected:
    bool eventFilter(QObject* editor, QEvent* event) override;

private:
    const ledger::CategoryList& categories_;
    platform::GridView& view_;
};

}  // namespace mainunit
