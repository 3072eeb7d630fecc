#pragma once

#include <QAbstractTableModel>
#include <QPixmap>
#include <QString>

#include <array>
#include <functional>
#include <string>
#include <vector>

#include "ledger/monthfile.h"
#include "platform/textcodec.h"

namespace mainwindow {

// The rows of the day page: 費目, 摘要, 金額, メモ. Each cell keeps the bytes it was loaded
// with next to the text shown, so a cell the user does not edit goes back to the file byte
// for byte, even when those bytes are not valid CP932; a row none of whose cells was edited
// goes back as the very line it was read from. There is always at least one row.
//
// Model row r is row r + 1 of the page as the user counts it (row 0 being the header).
class DayModel : public QAbstractTableModel {
    Q_OBJECT
public:
    static constexpr int kColumns = 4;
    // The most characters of a cell that are shown; the rest stays in the cell.
    static constexpr int kDisplayLimit = 1000;
    enum Column { kCategory = 0, kDescription = 1, kAmount = 2, kMemo = 3 };

    // How a row is drawn: its icon and whether its category is an income.
    struct RowLook {
        QPixmap icon;
        bool income = false;
    };
    using LookFn = std::function<RowLook(int iconPosition, const std::string& category)>;

    explicit DayModel(QObject* parent = nullptr);

    // Supplies row icons and income colouring; without it rows are plain.
    void SetLook(LookFn look);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    // Edit role only. Text with no CP932 form is refused: false, and textRefused says why.
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;

    // Replaces all rows; an empty list gives one empty row. Icons are cleared.
    void Reset(std::vector<ledger::DayEntry> entries);
    // The rows in page order for saving: a row not edited carries its line as read (and no
    // cells); any other row its cells as bytes.
    std::vector<ledger::DayEntry> Entries() const;

    const std::string& Bytes(int row, int column) const;
    QString Text(int row, int column) const;

    void AppendEmptyRow();
    void InsertEmptyRow(int before);
    // Removes a row; the last remaining row is emptied instead.
    void RemoveOrClearRow(int row);
    bool IsRowEmpty(int row) const;
    // Whether the row holds text that the month file will not take: typed without a
    // category or without an amount. (A row read from the file stays as it was read.)
    bool IsRowUnsaved(int row) const;
    // Those rows, in page order, ready to be put back after the day is read again.
    std::vector<ledger::DayEntry> UnsavedEntries() const;
    // Appends rows made from cells.
    void AppendEntries(const std::vector<ledger::DayEntry>& entries);

    // The category position whose icon the row shows; -1 for none.
    int IconPosition(int row) const;
    void SetIconPosition(int row, int position);

signals:
    // Typed or pasted text was refused; the cell kept its text. The message names the reason.
    void textRefused(const QString& message);

private:
    using Cell = platform::Cp932Text;
    struct Row {
        std::array<Cell, kColumns> cells;
        std::string line;  // as read; cleared by the first edit
        int iconPosition = -1;
    };

    static Row MakeRow(ledger::DayEntry&& entry);
    RowLook LookOf(int row) const;

    std::vector<Row> rows_;
    LookFn look_;
};

}  // namespace mainwindow
