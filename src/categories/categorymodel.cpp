#include "categories/categorymodel.h"

#include "platform/textcodec.h"

#include <QBrush>
#include <QFont>

namespace categories {
namespace {

const QColor kFixedCell(214, 221, 194);
const QColor kNormalCell(248, 248, 248);
const QColor kIncomeCell(236, 243, 255);
const QColor kIncomeText(16, 16, 96);

// The names compare with the letters A to Z folded to lower case and nothing else.
QString FoldAsciiCase(const QString& text) {
    QString out = text;
    for (QChar& c : out) {
        if (c >= QLatin1Char('A') && c <= QLatin1Char('Z'))
            c = QChar(c.unicode() + 32);
    }
    return out;
}

}  // namespace

CategoryModel::CategoryModel(QObject* parent) : QAbstractTableModel(parent) {
    header_.resize(kColumns);
    header_[0] = Cell::FromBytes(platform::ToCp932(QStringLiteral("支出/収入")));
    header_[1] = Cell::FromBytes(platform::ToCp932(QStringLiteral("費目")));
    for (int c = 2; c < kColumns; ++c) {
        header_[static_cast<size_t>(c)] =
            Cell::FromBytes(platform::ToCp932(QStringLiteral("摘要%1").arg(c - 1)));
    }
}

void CategoryModel::SetIconSource(std::function<QPixmap(int row)> icons) {
    icons_ = std::move(icons);
}

int CategoryModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(rows_.size());
}

int CategoryModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : kColumns;
}

QVariant CategoryModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid())
        return {};
    const Row& row = rows_[static_cast<size_t>(index.row())];
    const int column = index.column();
    switch (role) {
        case Qt::DisplayRole:
        case Qt::EditRole:
            return row[static_cast<size_t>(column)].text;
        case Qt::FontRole: {
            QFont font;
            font.setPixelSize(12);
            font.setBold(column == kName);
            return font;
        }
        case Qt::BackgroundRole:
            if (IsIncome(index.row()))
                return QBrush(kIncomeCell);
            return QBrush(column == kName ? QColor(Qt::white) : kNormalCell);
        case Qt::ForegroundRole:
            if (IsIncome(index.row()))
                return QBrush(kIncomeText);
            return {};
        case Qt::DecorationRole:
            if (column == kName && icons_) {
                QPixmap icon = icons_(index.row());
                if (!icon.isNull())
                    return icon;
            }
            return {};
        default:
            return {};
    }
}

QVariant CategoryModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation == Qt::Vertical) {
        // Rows are numbered as the user counts them, the header being row 0.
        return role == Qt::DisplayRole ? QVariant(GridRow(section)) : QVariant();
    }
    if (section < 0 || section >= kColumns)
        return {};
    switch (role) {
        case Qt::DisplayRole:
            return header_[static_cast<size_t>(section)].text;
        case Qt::BackgroundRole:
            return QBrush(kFixedCell);
        case Qt::FontRole: {
            QFont font;
            font.setPixelSize(12);
            font.setBold(section == kName);
            return font;
        }
        default:
            return {};
    }
}

Qt::ItemFlags CategoryModel::flags(const QModelIndex& index) const {
    if (!index.isValid())
        return Qt::NoItemFlags;
    Qt::ItemFlags flags = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    // The fixed categories keep their kind and name.
    if (!(index.row() < kFixedRows && index.column() <= kName))
        flags |= Qt::ItemIsEditable;
    return flags;
}

void CategoryModel::Load(const ledger::GridTable& table) {
    beginResetModel();
    for (int c = 0; c < kColumns && table.rows() > 0; ++c) {
        if (c < table.cols())
            header_[static_cast<size_t>(c)] = Cell::FromBytes(table.Cell(c, 0));
    }
    rows_.clear();
    for (int r = 1; r < table.rows(); ++r) {
        Row row(kColumns);
        for (int c = 0; c < kColumns; ++c)
            row[static_cast<size_t>(c)] = Cell::FromBytes(table.Cell(c, r));
        rows_.push_back(std::move(row));
    }
    origins_.clear();
    for (const Row& row : rows_)
        origins_.push_back(row[kName].bytes);
    loadedNames_ = origins_;
    endResetModel();
}

CategoryChanges CategoryModel::Changes() const {
    CategoryChanges changes;
    std::set<std::string> kept;
    for (size_t r = 0; r < rows_.size(); ++r) {
        const std::string& origin = origins_[r];
        const std::string& name = rows_[r][kName].bytes;
        if (origin.empty())
            continue;
        if (name.empty())
            continue;  // counted as removed below
        kept.insert(origin);
        if (name != origin)
            changes.renamed[origin] = name;
    }
    for (const std::string& name : loadedNames_) {
        if (!name.empty() && kept.count(name) == 0)
            changes.removed.insert(name);
    }
    return changes;
}

ledger::GridTable CategoryModel::Table(const std::vector<int>& columnWidths) const {
    ledger::GridTable table(kColumns, static_cast<int>(rows_.size()) + 1);
    for (int c = 0; c < kColumns; ++c) {
        table.SetCell(c, 0, header_[static_cast<size_t>(c)].bytes);
        if (static_cast<size_t>(c) < columnWidths.size())
            table.SetColumnWidth(c, columnWidths[static_cast<size_t>(c)]);
    }
    for (size_t r = 0; r < rows_.size(); ++r) {
        for (int c = 0; c < kColumns; ++c) {
            table.SetCell(c, static_cast<int>(r) + 1, rows_[r][static_cast<size_t>(c)].bytes);
        }
    }
    return table;
}

QString CategoryModel::Text(int row, int column) const {
    return rows_.at(static_cast<size_t>(row)).at(static_cast<size_t>(column)).text;
}

const std::string& CategoryModel::Bytes(int row, int column) const {
    return rows_.at(static_cast<size_t>(row)).at(static_cast<size_t>(column)).bytes;
}

void CategoryModel::SetText(int row, int column, const QString& text) {
    Cell& cell = rows_.at(static_cast<size_t>(row)).at(static_cast<size_t>(column));
    if (!cell.Set(text))
        return;
    if (column == kKind) {
        emit dataChanged(index(row, 0), index(row, kColumns - 1));
    } else {
        emit dataChanged(index(row, column), index(row, column));
    }
}

int CategoryModel::EmptyNameBeforeNamedRow() const {
    int empty = -1;
    for (size_t r = 0; r < rows_.size(); ++r) {
        if (rows_[r][kName].bytes.empty()) {
            if (empty < 0)
                empty = static_cast<int>(r);
        } else if (empty >= 0) {
            return empty;
        }
    }
    return -1;
}

bool CategoryModel::NameTaken(int row, const QString& name) const {
    const QString folded = FoldAsciiCase(name);
    if (FoldAsciiCase(header_[kName].text) == folded)
        return true;
    for (size_t r = 0; r < rows_.size(); ++r) {
        if (static_cast<int>(r) != row && FoldAsciiCase(rows_[r][kName].text) == folded)
            return true;
    }
    return false;
}

bool CategoryModel::IsIncome(int row) const {
    return rows_.at(static_cast<size_t>(row))[kKind].text == QStringLiteral("収入");
}

bool CategoryModel::AppendRow() {
    if (static_cast<int>(rows_.size()) + 1 >= kMaxRows)
        return false;
    beginInsertRows({}, rowCount(), rowCount());
    rows_.emplace_back(kColumns);
    origins_.emplace_back();
    endInsertRows();
    return true;
}

void CategoryModel::RemoveRow(int row) {
    if (row < 0 || row >= rowCount())
        return;
    beginRemoveRows({}, row, row);
    rows_.erase(rows_.begin() + row);
    origins_.erase(origins_.begin() + row);
    endRemoveRows();
}

void CategoryModel::IconsChanged() {
    if (!rows_.empty())
        emit dataChanged(index(0, kName), index(rowCount() - 1, kName), {Qt::DecorationRole});
}

}  // namespace categories
