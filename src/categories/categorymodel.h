#pragma once

#include <QAbstractTableModel>
#include <QPixmap>

#include <functional>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "ledger/gridcellfile.h"
#include "platform/textcodec.h"

namespace categories {

// How the category names changed since the table was read (CP932), for what hangs on a
// category by its name (the budgets).
struct CategoryChanges {
    std::map<std::string, std::string> renamed;  // old name → new name
    std::set<std::string> removed;               // deleted rows, and names emptied
};

// The category table of the editor: one row per category (the stored header row is kept
// apart and shown as the column headers), 20 columns: kind, name, 18 descriptions. Cells keep
// the bytes they were read with, so an untouched cell is written back unchanged.
class CategoryModel : public QAbstractTableModel {
    Q_OBJECT
public:
    static constexpr int kColumns = 20;
    static constexpr int kMaxRows = 25;    // header and 24 categories
    static constexpr int kFixedRows = 11;  // the fixed categories
    enum Column { kKind = 0, kName = 1 };

    explicit CategoryModel(QObject* parent = nullptr);

    // The icon shown before the name of a category row.
    void SetIconSource(std::function<QPixmap(int row)> icons);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

    // Replaces the table by a file's; row 0 of the file is the header row.
    void Load(const ledger::GridTable& table);
    // The table as stored: the header row, then the categories, 20 columns.
    ledger::GridTable Table(const std::vector<int>& columnWidths) const;

    QString Text(int row, int column) const;
    // The cell as stored (CP932), as read when it was not edited.
    const std::string& Bytes(int row, int column) const;
    // Throws ledger::Cp932Error for text with no CP932 form.
    void SetText(int row, int column, const QString& text);

    // Whether another row, the header included, has that name, comparing A to Z without case.
    bool NameTaken(int row, const QString& name) const;
    bool IsIncome(int row) const;
    // The first row with an empty name that has a named row after it, or -1. The category
    // list is read up to its first empty name, so the named rows after it would be lost.
    int EmptyNameBeforeNamedRow() const;

    // The names changed and removed since Load, row by row (a row keeps its identity while
    // its name is edited).
    CategoryChanges Changes() const;

    // Appends an empty row unless the table is full; false when it is.
    bool AppendRow();
    void RemoveRow(int row);
    // Grid row as the user counts it (the header being row 0).
    static int GridRow(int modelRow) { return modelRow + 1; }
    // Repaints the icons.
    void IconsChanged();

private:
    using Cell = platform::Cp932Text;
    using Row = std::vector<Cell>;

    Row header_;
    std::vector<Row> rows_;
    // Per row, its name as read by Load; empty for a row appended since.
    std::vector<std::string> origins_;
    std::vector<std::string> loadedNames_;
    std::function<QPixmap(int row)> icons_;
};

}  // namespace categories
