#include "yeartable/yearform.h"
#include "platform/dialogkeys.h"
#include "platform/objectnames.h"

#include "csvexport/exportmonth.h"
#include "ledger/fileerror.h"
#include "ledger/numberformat.h"
#include "platform/errortext.h"
#include "platform/fonts.h"
#include "platform/prompts.h"
#include "platform/textcodec.h"
#include "printbook/printform.h"
#include "yeargraph/monthtally.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QTableWidget>
#include <QVBoxLayout>

namespace yeartable {
namespace {

// Fifteen columns on a 1024-pixel screen: a month takes "999,999", a total "9,999,999".
constexpr int kCaptionWidth = 104;
constexpr int kMonthWidth = 58;
constexpr int kTotalWidth = 76;

QString Money(ledger::Amount value) {
    return QString::fromStdString(ledger::FormatNumber(value, "#,0"));
}

bool IsSumRow(YearRow::Kind kind) {
    return kind == YearRow::Kind::ExpenseTotal || kind == YearRow::Kind::IncomeTotal ||
           kind == YearRow::Kind::Balance;
}

// The table's keys: Left and Right belong to the year, Tab to the columns. The table keeps
// Up, Down, Home and End.
class YearGrid : public QTableWidget {
public:
    YearGrid(QWidget* parent, std::function<void(int)> stepYear, std::function<void()> open)
        : QTableWidget(parent), stepYear_(std::move(stepYear)), open_(std::move(open)) {}

protected:
    void keyPressEvent(QKeyEvent* event) override {
        const bool plain = (event->modifiers() & (Qt::ControlModifier | Qt::AltModifier)) == 0;
        const int column = currentColumn();
        switch (plain ? event->key() : 0) {
            case Qt::Key_Left:
            case Qt::Key_PageUp:
                stepYear_(-1);
                return;
            case Qt::Key_Right:
            case Qt::Key_PageDown:
                stepYear_(+1);
                return;
            case Qt::Key_Tab:
                setCurrentCell(std::max(currentRow(), 0), std::min(column + 1, columnCount() - 1));
                return;
            case Qt::Key_Backtab:
                setCurrentCell(std::max(currentRow(), 0), std::max(column - 1, 0));
                return;
            case Qt::Key_Return:
            case Qt::Key_Enter:
                open_();
                return;
            default:
                QTableWidget::keyPressEvent(event);
        }
    }
    // Tab stays in the table (the buttons have their own keys).
    bool focusNextPrevChild(bool) override { return false; }

private:
    std::function<void(int)> stepYear_;
    std::function<void()> open_;
};

}  // namespace

Tyearform::Tyearform(platform::Prompts& prompts, QWidget* parent)
    : QDialog(parent), prompts_(prompts) {
    setWindowTitle(QStringLiteral("年間収支表"));
    setFont(platform::UiFont(12));
    title_ = new QLabel(this);
    title_->setFont(platform::UiFont(15, true));
    previous_ = new QPushButton(QStringLiteral("◀ 前年"), this);
    next_ = new QPushButton(QStringLiteral("翌年 ▶"), this);
    grid_ = new YearGrid(
        this, [this](int years) { ShowYear(table_.year + years); },
        [this] { OpenCell(grid_->currentRow(), grid_->currentColumn()); });
    grid_->setColumnCount(kColumns);
    grid_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid_->setSelectionMode(QAbstractItemView::SingleSelection);
    grid_->setTabKeyNavigation(false);
    grid_->setWordWrap(false);
    grid_->verticalHeader()->setDefaultSectionSize(22);
    grid_->verticalHeader()->setFixedWidth(kCaptionWidth);
    grid_->horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    for (int c = 0; c < kColumns; ++c)
        grid_->setColumnWidth(c, c < 12 ? kMonthWidth : kTotalWidth);
    csvButton_ = new QPushButton(QStringLiteral("CSV書き出し"), this);
    printButton_ = new QPushButton(QStringLiteral("印刷"), this);
    closeButton_ = new QPushButton(QStringLiteral("閉じる"), this);
    for (QPushButton* b : {previous_, next_, csvButton_, printButton_, closeButton_}) {
        b->setAutoDefault(false);
        b->setFocusPolicy(Qt::NoFocus);  // the keyboard stays on the table
    }

    auto* top = new QHBoxLayout;
    top->addWidget(previous_);
    top->addWidget(title_, 1, Qt::AlignCenter);
    top->addWidget(next_);
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(csvButton_);
    bottom->addWidget(printButton_);
    bottom->addStretch(1);
    bottom->addWidget(closeButton_);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(grid_, 1);
    layout->addLayout(bottom);
    const int tableWidth = kCaptionWidth + 12 * kMonthWidth + 2 * kTotalWidth + 20;
    resize(tableWidth + 20, 600);

    platform::NameControls({
        {title_, "yearTitle"},
        {grid_, "yeargrid"},
        {previous_, "previousYear"},
        {next_, "nextYear"},
        {csvButton_, "exportCsv"},
        {printButton_, "printTable"},
        {closeButton_, "closeButton"},
    });
    connect(previous_, &QPushButton::clicked, this, [this] { ShowYear(table_.year - 1); });
    connect(next_, &QPushButton::clicked, this, [this] { ShowYear(table_.year + 1); });
    connect(csvButton_, &QPushButton::clicked, this, &Tyearform::ExportCsv);
    connect(printButton_, &QPushButton::clicked, this, &Tyearform::PrintTable);
    connect(closeButton_, &QPushButton::clicked, this, &QDialog::reject);
    connect(grid_, &QTableWidget::cellDoubleClicked, this, &Tyearform::OpenCell);
    // Ctrl+E and Ctrl+P for the two commands, as their buttons take no focus.
    platform::DialogKeys::On(*this).Escape([this] { reject(); });
    auto* exportKey = new QAction(this);
    exportKey->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_E));
    connect(exportKey, &QAction::triggered, this, &Tyearform::ExportCsv);
    auto* printKey = new QAction(this);
    printKey->setShortcut(QKeySequence::Print);
    connect(printKey, &QAction::triggered, this, &Tyearform::PrintTable);
    addActions({exportKey, printKey});
    csvButton_->setToolTip(QStringLiteral("CSV書き出し (Ctrl+E)"));
    printButton_->setToolTip(QStringLiteral("印刷 (Ctrl+P)"));
}

std::optional<EntryPlace> Tyearform::Run(const state::AppState& state, const ledger::Date& today) {
    book_.emplace(state);
    today_ = today;
    chosen_.reset();
    ShowYear(ledger::AccountingMonthOf(state.pageDate, state.settings.closing).label.year);
    grid_->setCurrentCell(
        0, std::clamp(
               ledger::AccountingMonthOf(state.pageDate, state.settings.closing).label.month - 1, 0,
               11));
    grid_->setFocus();
    // Centred on the main window, and whole on the screen.
    if (QWidget* p = parentWidget()) {
        QRect placed(QPoint(), size());
        placed.moveCenter(p->geometry().center());
        if (QScreen* screen = p->screen()) {
            const QRect room = screen->availableGeometry();
            placed.moveLeft(std::clamp(placed.left(), room.left(),
                                       std::max(room.left(), room.right() - placed.width())));
            placed.moveTop(std::clamp(placed.top(), room.top(),
                                      std::max(room.top(), room.bottom() - placed.height())));
        }
        move(placed.topLeft());
    }
    prompts_.RunDialog(*this);
    return chosen_;
}

void Tyearform::ShowYear(int year) {
    if (year < 1 || year > 9999)
        return;
    try {
        const yeargraph::MonthTally tally =
            yeargraph::TallyYear(book_->store, book_->categories, book_->settings.closing, year);
        table_ = BuildYearTable(tally, book_->categories, book_->settings.closing, today_);
    } catch (const ledger::FileError& e) {
        // The year shown stays; the user learns which file could not be read.
        prompts_.Error(this,
                       platform::FileErrorText(QStringLiteral("データを読み込めません。"), e));
        return;
    }
    FillTable();
}

void Tyearform::FillTable() {
    const int row = grid_->currentRow();
    const int column = grid_->currentColumn();
    title_->setText(QStringLiteral("%1年 年間収支表").arg(table_.year));
    QStringList captions;
    for (const std::string& caption : table_.ColumnCaptions())
        captions << platform::FromCp932(caption);
    grid_->setHorizontalHeaderLabels(captions);
    grid_->setRowCount(static_cast<int>(table_.rows.size()));
    QStringList rowCaptions;
    QFont bold = grid_->font();
    bold.setBold(true);
    for (int r = 0; r < grid_->rowCount(); ++r) {
        const YearRow& yearRow = table_.rows[static_cast<size_t>(r)];
        rowCaptions << platform::FromCp932(yearRow.caption);
        for (int c = 0; c < kColumns; ++c) {
            auto* item = new QTableWidgetItem(Money(table_.Cell(r, c)));
            item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            if (IsSumRow(yearRow.kind)) {
                item->setFont(bold);
                item->setBackground(QColor(232, 238, 246));
            }
            if (table_.Cell(r, c).IsNegative())
                item->setForeground(QColor(200, 30, 30));
            grid_->setItem(r, c, item);
        }
    }
    grid_->setVerticalHeaderLabels(rowCaptions);
    if (row >= 0 && column >= 0)
        grid_->setCurrentCell(std::min(row, grid_->rowCount() - 1), column);
}

void Tyearform::OpenCell(int row, int column) {
    if (row < 0 || column < 0 || row >= static_cast<int>(table_.rows.size()))
        return;
    std::optional<EntryPlace> place;
    try {
        place = FirstEntryOf(book_->store, book_->categories, book_->settings.closing, table_, row,
                             column);
    } catch (const ledger::FileError& e) {
        prompts_.Error(this,
                       platform::FileErrorText(QStringLiteral("データを読み込めません。"), e));
        return;
    }
    if (!place) {
        prompts_.Message(this, QStringLiteral("年間収支表"),
                         QStringLiteral("この欄の入力はありません。"),
                         platform::Prompts::Icon::Information, platform::Prompts::Buttons::Ok);
        return;
    }
    chosen_ = place;
    accept();
}

void Tyearform::ExportCsv() {
    csvexport::SaveCsvFile(*this, prompts_, QStringLiteral("%1年間収支表.csv").arg(table_.year),
                           YearTableCsv(table_));
}

void Tyearform::PrintTable() {
    printbook::PrintSheet sheet;
    sheet.title = QStringLiteral("%1年 年間収支表").arg(table_.year);
    std::vector<QString> header{QStringLiteral("費目")};
    for (const std::string& caption : table_.ColumnCaptions())
        header.push_back(platform::FromCp932(caption));
    sheet.cells.push_back(std::move(header));
    for (int r = 0; r < static_cast<int>(table_.rows.size()); ++r) {
        std::vector<QString> cells{
            platform::FromCp932(table_.rows[static_cast<size_t>(r)].caption)};
        for (int c = 0; c < kColumns; ++c)
            cells.push_back(Money(table_.Cell(r, c)));
        sheet.cells.push_back(std::move(cells));
    }
    // One landscape A4 page: 1,026 pixels at 96 dpi are 271 mm of the 282 between the margins.
    sheet.columnWidths = {110};
    for (int c = 0; c < kColumns; ++c)
        sheet.columnWidths.push_back(c < 12 ? 64 : 74);
    sheet.rightAligned.assign(sheet.columnWidths.size(), true);
    sheet.rightAligned[0] = false;
    sheet.rowHeight = 20;
    sheet.landscape = true;
    platform::ChildOnFirstUse<printbook::Tprintform>(*this, "printform", [this] {
        return new printbook::Tprintform(prompts_, this);
    }).Run(sheet);
}

}  // namespace yeartable
