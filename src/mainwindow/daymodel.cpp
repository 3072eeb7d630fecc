#include "daymodel.h"

#include "ledger/cp932.h"
#include "platform/textcodec.h"

#include <QBrush>
#include <QColor>
#include <QPixmap>

namespace mainwindow {
namespace {

const QColor kOddRowBackground(241, 244, 249);
const QColor kIncomeBackground(116, 168, 240);

}  // namespace

DayModel::DayModel(QObject* parent) : QAbstractTableModel(parent) {
    rows_.emplace_back();
}

void DayModel::SetLook(LookFn look) {
    look_ = std::move(look);
    if (!rows_.empty())
        emit dataChanged(index(0, 0), index(rowCount() - 1, kColumns - 1));
}

int DayModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(rows_.size());
}

int DayModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : kColumns;
}

DayModel::RowLook DayModel::LookOf(int row) const {
    if (!look_)
        return {};
    const Row& r = rows_[static_cast<size_t>(row)];
    return look_(r.iconPosition, r.cells[kCategory].bytes);
}

QVariant DayModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= rowCount())
        return {};
    const Row& row = rows_[static_cast<size_t>(index.row())];
    switch (role) {
        case Qt::DisplayRole: {
            // A cell shows no more than fits in a row: laying out megabytes of text (a line
            // pasted by another tool) on every paint would take seconds and gigabytes.
            const QString& text = row.cells[static_cast<size_t>(index.column())].text;
            if (text.size() > kDisplayLimit)
                return text.left(kDisplayLimit) + QChar(0x2026);
            return text;
        }
        case Qt::EditRole:
            return row.cells[static_cast<size_t>(index.column())].text;
        case Qt::TextAlignmentRole:
            return index.column() == kAmount ? QVariant(Qt::AlignRight | Qt::AlignVCenter)
                                             : QVariant(Qt::AlignLeft | Qt::AlignVCenter);
        case Qt::DecorationRole:
            if (index.column() != kCategory || row.iconPosition < 0)
                return {};
            if (QPixmap icon = LookOf(index.row()).icon; !icon.isNull())
                return icon;
            return {};
        case Qt::BackgroundRole:
            // Income rows in blue over the whole row; other odd page rows (1, 3, ...) pale.
            if (LookOf(index.row()).income)
                return QBrush(kIncomeBackground);
            if (index.row() % 2 == 0)
                return QBrush(kOddRowBackground);
            return QBrush(Qt::white);
        case Qt::ForegroundRole:
            if (LookOf(index.row()).income)
                return QBrush(Qt::white);
            return {};
        default:
            return {};
    }
}

QVariant DayModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || section < 0 || section >= kColumns)
        return {};
    if (role == Qt::DisplayRole) {
        static const char16_t* const kCaptions[kColumns] = {u"費目", u"摘要", u"金額", u"メモ"};
        return QString::fromUtf16(kCaptions[section]);
    }
    if (role == Qt::TextAlignmentRole)
        return QVariant(Qt::AlignLeft | Qt::AlignVCenter);
    return {};
}

Qt::ItemFlags DayModel::flags(const QModelIndex& index) const {
    if (!index.isValid())
        return Qt::NoItemFlags;
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsEditable;
}

bool DayModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (!index.isValid() || role != Qt::EditRole || index.row() >= rowCount())
        return false;
    const int row = index.row();
    const int column = index.column();
    Row& r = rows_[static_cast<size_t>(row)];
    try {
        if (!r.cells[static_cast<size_t>(column)].Set(value.toString()))
            return true;  // unchanged: the original bytes stay
    } catch (const ledger::Cp932Error& e) {
        emit textRefused(platform::FromUtf8(e.what()));
        return false;
    }
    r.line.clear();
    // The category decides the whole row's colours.
    if (column == kCategory) {
        emit dataChanged(index.siblingAtColumn(0), index.siblingAtColumn(kColumns - 1));
    } else {
        emit dataChanged(index, index);
    }
    return true;
}

DayModel::Row DayModel::MakeRow(ledger::DayEntry&& entry) {
    Row row;
    for (size_t c = 0; c < entry.cells.size(); ++c)
        row.cells[c] = Cell::FromBytes(std::move(entry.cells[c]));
    row.line = std::move(entry.line);
    return row;
}

void DayModel::Reset(std::vector<ledger::DayEntry> entries) {
    beginResetModel();
    rows_.clear();
    for (ledger::DayEntry& entry : entries)
        rows_.push_back(MakeRow(std::move(entry)));
    if (rows_.empty())
        rows_.emplace_back();
    endResetModel();
}

std::vector<ledger::DayEntry> DayModel::Entries() const {
    std::vector<ledger::DayEntry> out;
    out.reserve(rows_.size());
    for (const Row& row : rows_) {
        ledger::DayEntry entry;
        // A row with its line as read is written as that line: its cells are not needed.
        if (row.line.empty()) {
            for (size_t c = 0; c < entry.cells.size(); ++c)
                entry.cells[c] = row.cells[c].bytes;
        }
        entry.line = row.line;
        out.push_back(std::move(entry));
    }
    return out;
}

const std::string& DayModel::Bytes(int row, int column) const {
    return rows_.at(static_cast<size_t>(row)).cells.at(static_cast<size_t>(column)).bytes;
}

QString DayModel::Text(int row, int column) const {
    return rows_.at(static_cast<size_t>(row)).cells.at(static_cast<size_t>(column)).text;
}

void DayModel::AppendEmptyRow() {
    InsertEmptyRow(rowCount());
}

void DayModel::InsertEmptyRow(int before) {
    before = std::clamp(before, 0, rowCount());
    beginInsertRows({}, before, before);
    rows_.insert(rows_.begin() + before, Row{});
    endInsertRows();
    // Colours of the rows below follow their new positions.
    if (before + 1 < rowCount())
        emit dataChanged(index(before + 1, 0), index(rowCount() - 1, kColumns - 1));
}

void DayModel::RemoveOrClearRow(int row) {
    if (row < 0 || row >= rowCount())
        return;
    if (rowCount() == 1) {
        rows_[0] = Row{};
        emit dataChanged(index(0, 0), index(0, kColumns - 1));
        return;
    }
    beginRemoveRows({}, row, row);
    rows_.erase(rows_.begin() + row);
    endRemoveRows();
    if (row < rowCount())
        emit dataChanged(index(row, 0), index(rowCount() - 1, kColumns - 1));
}

bool DayModel::IsRowEmpty(int row) const {
    for (const Cell& cell : rows_.at(static_cast<size_t>(row)).cells) {
        if (!cell.bytes.empty())
            return false;
    }
    return true;
}

bool DayModel::IsRowUnsaved(int row) const {
    const Row& r = rows_.at(static_cast<size_t>(row));
    if (!r.line.empty() || IsRowEmpty(row))
        return false;
    return r.cells[kCategory].bytes.empty() || r.cells[kAmount].bytes.empty();
}

std::vector<ledger::DayEntry> DayModel::UnsavedEntries() const {
    std::vector<ledger::DayEntry> out;
    for (int row = 0; row < rowCount(); ++row) {
        if (!IsRowUnsaved(row))
            continue;
        ledger::DayEntry entry;
        for (size_t c = 0; c < entry.cells.size(); ++c)
            entry.cells[c] = rows_[static_cast<size_t>(row)].cells[c].bytes;
        out.push_back(std::move(entry));
    }
    return out;
}

void DayModel::AppendEntries(const std::vector<ledger::DayEntry>& entries) {
    if (entries.empty())
        return;
    // An empty page is one empty row: the first entry takes it.
    const bool replaceEmpty = rowCount() == 1 && IsRowEmpty(0);
    std::vector<Row> added;
    for (ledger::DayEntry entry : entries)
        added.push_back(MakeRow(std::move(entry)));
    beginResetModel();
    if (replaceEmpty)
        rows_.clear();
    for (Row& row : added)
        rows_.push_back(std::move(row));
    endResetModel();
}

int DayModel::IconPosition(int row) const {
    return rows_.at(static_cast<size_t>(row)).iconPosition;
}

void DayModel::SetIconPosition(int row, int position) {
    Row& r = rows_.at(static_cast<size_t>(row));
    if (r.iconPosition == position)
        return;
    r.iconPosition = position;
    emit dataChanged(index(row, kCategory), index(row, kCategory));
}

}  // namespace mainwindow
