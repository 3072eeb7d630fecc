#include "mainwindow/rowcommands.h"

#include "ledger/amount.h"
#include "ledger/numberformat.h"
#include "mainwindow/daygrid.h"
#include "mainwindow/daymodel.h"
#include "mainwindow/pageprotocol.h"
#include "platform/amounttext.h"
#include "platform/prompts.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>
#include <QStringList>

namespace mainwindow {

RowCommands::RowCommands(QWidget& window, PageProtocol& page, DayGrid& grid, DayModel& model,
                         platform::Prompts& prompts)
    : window_(window), page_(page), grid_(grid), model_(model), prompts_(prompts) {}

void RowCommands::Copy() {
    const QModelIndex cell = grid_.BottomRightSelected();
    if (cell.isValid())
        QGuiApplication::clipboard()->setText(model_.Text(cell.row(), cell.column()));
}

void RowCommands::Paste() {
    const QModelIndex cell = grid_.BottomRightSelected();
    if (!cell.isValid() || (cell.column() != DayModel::kAmount && cell.column() != DayModel::kMemo))
        return;  // the pick-only columns take no text
    const QMimeData* clip = QGuiApplication::clipboard()->mimeData();
    if (clip == nullptr || !clip->hasText())
        return;
    // One entry is one line of the month file: line breaks become blanks.
    QString text = clip->text();
    text.replace(QLatin1Char('\r'), QLatin1Char(' ')).replace(QLatin1Char('\n'), QLatin1Char(' '));
    if (!grid_.FinishEditing())
        return;
    if (cell.column() == DayModel::kAmount) {
        // A pasted amount passes the same rule as a typed one.
        std::optional<QString> amount = platform::AmountToStore(text);
        if (!amount) {
            grid_.ShowHint(cell, platform::kAmountRefused);
            return;
        }
        text = *amount;
    }
    if (text == model_.Text(cell.row(), cell.column()))
        return;
    if (model_.setData(cell, text))
        page_.CellEdited(cell.row());
}

void RowCommands::Append() {
    grid_.FinishEditing();
    model_.AppendEmptyRow();
    grid_.SelectRowStart(model_.rowCount() - 1);
    grid_.setFocus();
}

void RowCommands::DeleteSelected() {
    Delete(grid_.LowestSelectedRow());
}

void RowCommands::DeleteUnderPointer() {
    Delete(grid_.RowAtLastPress());
}

QString RowCommands::Summary(int row) const {
    QStringList parts;
    for (int column = 0; column < DayModel::kColumns; ++column) {
        QString text = model_.Text(row, column);
        if (text.isEmpty())
            continue;
        if (column == DayModel::kAmount) {
            if (std::optional<ledger::Amount> amount =
                    ledger::ParseAmount(model_.Bytes(row, column))) {
                text = QString::fromStdString(ledger::FormatNumber(*amount, "#,0.##"));
            }
        }
        if (text.size() > 40)
            text = text.left(40) + QChar(0x2026);
        parts << text;
    }
    return parts.join(QChar(0x3000));
}

void RowCommands::Delete(int row) {
    if (row < 0 || row >= model_.rowCount())
        return;
    if (!grid_.FinishEditing())
        return;
    const int column = std::max(grid_.currentIndex().column(), 0);
    const bool onlyEmptyRow = model_.rowCount() == 1 && model_.IsRowEmpty(row);
    // The question names the row, so the wrong one is never deleted unseen.
    if (!onlyEmptyRow &&
        prompts_.Message(
            &window_, QStringLiteral("確認"),
            QStringLiteral("行を削除します。よろしいですか？") +
                (model_.IsRowEmpty(row) ? QString() : QStringLiteral("\n") + Summary(row)),
            platform::Prompts::Icon::Question,
            platform::Prompts::Buttons::OkCancel) != platform::Prompts::Answer::Ok) {
        return;
    }
    model_.RemoveOrClearRow(row);
    // The cursor stays at that place, on the row that moved up (or the new last row), so the
    // next delete has its row.
    grid_.PlaceCursor(row, column);
    grid_.setFocus();
    page_.SaveEdits();
}

}  // namespace mainwindow
