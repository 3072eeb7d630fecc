#include "statement/statementform.h"
#include "platform/dialogkeys.h"
#include "platform/objectnames.h"

#include "ledger/cp932.h"
#include "ledger/fileerror.h"
#include "ledger/numberformat.h"
#include "ledger/textfile.h"
#include "platform/errortext.h"
#include "platform/fonts.h"
#include "platform/prompts.h"
#include "platform/textcodec.h"
#include "statement/statementforms.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QFileInfo>
#include <QFormLayout>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QStyledItemDelegate>
#include <QTableWidget>
#include <QVBoxLayout>

namespace statement {
namespace {

enum Column { kDate, kCategory, kDescription, kAmount, kKind, kMemo, kState, kColumns };

QString DateText(const ledger::Date& d) {
    return QStringLiteral("%1/%2/%3")
        .arg(d.year, 4, 10, QLatin1Char('0'))
        .arg(d.month, 2, 10, QLatin1Char('0'))
        .arg(d.day, 2, 10, QLatin1Char('0'));
}

// The 費目 cells are picked from the category list.
class CategoryDelegate : public QStyledItemDelegate {
public:
    CategoryDelegate(QStringList names, QObject* parent)
        : QStyledItemDelegate(parent), names_(std::move(names)) {}
    void SetNames(QStringList names) { names_ = std::move(names); }
    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                          const QModelIndex& index) const override {
        if (index.column() != kCategory)
            return QStyledItemDelegate::createEditor(parent, option, index);
        auto* combo = new QComboBox(parent);
        combo->addItems(names_);
        return combo;
    }
    void setEditorData(QWidget* editor, const QModelIndex& index) const override {
        if (auto* combo = qobject_cast<QComboBox*>(editor)) {
            combo->setCurrentText(index.data().toString());
            return;
        }
        QStyledItemDelegate::setEditorData(editor, index);
    }
    void setModelData(QWidget* editor, QAbstractItemModel* model,
                      const QModelIndex& index) const override {
        if (auto* combo = qobject_cast<QComboBox*>(editor)) {
            model->setData(index, combo->currentText());
            return;
        }
        QStyledItemDelegate::setModelData(editor, model, index);
    }

private:
    QStringList names_;
};

QString ColumnCaption(const StatementTable& t, int c) {
    const QString cell =
        t.header && static_cast<size_t>(c) < t.headerCells.size()
            ? QString::fromStdString(t.headerCells[static_cast<size_t>(c)]).trimmed()
            : (!t.rows.empty() && static_cast<size_t>(c) < t.rows.front().size()
                   ? QString::fromStdString(t.rows.front()[static_cast<size_t>(c)]).trimmed()
                   : QString());
    return QStringLiteral("%1列目: %2").arg(c + 1).arg(cell.left(16));
}

}  // namespace

Tstatementform::Tstatementform(platform::Prompts& prompts, QWidget* parent)
    : QDialog(parent), prompts_(prompts) {
    setWindowTitle(QStringLiteral("明細取込"));
    setFont(platform::UiFont(12));
    path_ = new QLineEdit(this);
    path_->setReadOnly(true);
    choose_ = new QPushButton(QStringLiteral("参照..."), this);
    encoding_ = new QComboBox(this);
    encoding_->addItems({QStringLiteral("自動"), QStringLiteral("Shift-JIS (CP932)"),
                         QStringLiteral("UTF-8"), QStringLiteral("UTF-8 (BOM付き)")});
    separator_ = new QComboBox(this);
    separator_->addItems(
        {QStringLiteral("自動"), QStringLiteral("カンマ"), QStringLiteral("タブ")});
    header_ = new QCheckBox(QStringLiteral("1行目は見出し"), this);
    dateColumn_ = new QComboBox(this);
    textColumn_ = new QComboBox(this);
    amountColumn_ = new QComboBox(this);
    outColumn_ = new QComboBox(this);
    inColumn_ = new QComboBox(this);
    categoryColumn_ = new QComboBox(this);
    memoColumns_ = new QListWidget(this);
    memoColumns_->setMaximumHeight(70);
    sign_ = new QComboBox(this);
    sign_->addItems({QStringLiteral("プラスの金額が支出（カード）"),
                     QStringLiteral("マイナスの金額が支出（口座）")});
    expenseDefault_ = new QComboBox(this);
    incomeDefault_ = new QComboBox(this);
    table_ = new QTableWidget(0, kColumns, this);
    table_->setHorizontalHeaderLabels({QStringLiteral("日付"), QStringLiteral("費目"),
                                       QStringLiteral("摘要"), QStringLiteral("金額"),
                                       QStringLiteral("区分"), QStringLiteral("メモ"),
                                       QStringLiteral("状態")});
    table_->verticalHeader()->hide();
    table_->verticalHeader()->setDefaultSectionSize(22);
    table_->setTabKeyNavigation(false);
    table_->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                            QAbstractItemView::AnyKeyPressed);
    table_->horizontalHeader()->setStretchLastSection(true);
    for (auto [column, width] : {std::pair{kDate, 110},
                                 {kCategory, 100},
                                 {kDescription, 170},
                                 {kAmount, 90},
                                 {kKind, 44},
                                 {kMemo, 140}})
        table_->setColumnWidth(column, width);
    table_->setItemDelegate(new CategoryDelegate({}, table_));
    summary_ = new QLabel(this);
    summary_->setWordWrap(true);
    importButton_ = new QPushButton(QStringLiteral("取り込む"), this);
    closeButton_ = new QPushButton(QStringLiteral("閉じる"), this);
    for (QPushButton* b : {choose_, importButton_, closeButton_})
        b->setAutoDefault(false);

    auto* file = new QHBoxLayout;
    file->addWidget(new QLabel(QStringLiteral("ファイル"), this));
    file->addWidget(path_, 1);
    file->addWidget(choose_);
    file->addWidget(new QLabel(QStringLiteral("文字コード"), this));
    file->addWidget(encoding_);
    file->addWidget(new QLabel(QStringLiteral("区切り"), this));
    file->addWidget(separator_);
    file->addWidget(header_);
    auto* columns = new QGridLayout;
    const std::pair<const char16_t*, QWidget*> cells[] = {
        {u"日付", dateColumn_},
        {u"摘要", textColumn_},
        {u"金額", amountColumn_},
        {u"出金", outColumn_},
        {u"入金", inColumn_},
        {u"費目", categoryColumn_},
        {u"符号", sign_},
        {u"支出の既定", expenseDefault_},
        {u"収入の既定", incomeDefault_},
    };
    for (int k = 0; k < 9; ++k) {
        columns->addWidget(new QLabel(QString::fromUtf16(cells[k].first), this), k / 3,
                           (k % 3) * 2);
        columns->addWidget(cells[k].second, k / 3, (k % 3) * 2 + 1);
    }
    columns->addWidget(new QLabel(QStringLiteral("メモ"), this), 0, 6);
    columns->addWidget(memoColumns_, 0, 7, 3, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(summary_, 1);
    buttons->addWidget(importButton_);
    buttons->addWidget(closeButton_);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(file);
    layout->addLayout(columns);
    layout->addWidget(table_, 1);
    layout->addLayout(buttons);
    resize(960, 600);

    platform::NameControls({
        {path_, "statementpath"},
        {choose_, "chooseFile"},
        {encoding_, "encoding"},
        {separator_, "separator"},
        {header_, "headerLine"},
        {dateColumn_, "dateColumn"},
        {textColumn_, "descriptionColumn"},
        {amountColumn_, "amountColumn"},
        {outColumn_, "withdrawalColumn"},
        {inColumn_, "depositColumn"},
        {categoryColumn_, "categoryColumn"},
        {memoColumns_, "memoColumns"},
        {sign_, "amountSign"},
        {expenseDefault_, "expenseDefault"},
        {incomeDefault_, "incomeDefault"},
        {table_, "previewgrid"},
        {summary_, "previewsummary"},
        {importButton_, "importButton"},
        {closeButton_, "closeButton"},
    });
    connect(choose_, &QPushButton::clicked, this, &Tstatementform::ChooseFile);
    connect(importButton_, &QPushButton::clicked, this, &Tstatementform::Import);
    connect(closeButton_, &QPushButton::clicked, this, &QDialog::reject);
    for (QComboBox* combo : {encoding_, separator_})
        connect(combo, &QComboBox::currentIndexChanged, this, &Tstatementform::ReadAgain);
    connect(header_, &QCheckBox::toggled, this, &Tstatementform::ReadAgain);
    for (QComboBox* combo : {dateColumn_, textColumn_, amountColumn_, outColumn_, inColumn_,
                             categoryColumn_, sign_, expenseDefault_, incomeDefault_})
        connect(combo, &QComboBox::currentIndexChanged, this, &Tstatementform::MappingChanged);
    connect(memoColumns_, &QListWidget::itemChanged, this, &Tstatementform::MappingChanged);
    platform::DialogKeys::On(*this).Escape([this] { reject(); }).Enter([this] { Import(); });
}

std::optional<ImportResult> Tstatementform::Run(const state::AppState& state,
                                                const ledger::Date& today) {
    book_.emplace(state);
    today_ = today;
    result_.reset();
    history_.reset();
    try {
        imports_ = ImportBook::Load(book_->folders.ImportFile());
    } catch (const ledger::FileError& e) {
        prompts_.Error(parentWidget(),
                       platform::FileErrorText(QStringLiteral("import.dat を読み込めません。"), e));
        return std::nullopt;
    }
    filling_ = true;
    QStringList names;
    expenseDefault_->clear();
    incomeDefault_->clear();
    for (int k = 0; k < book_->categories.size(); ++k) {
        const QString name = platform::FromCp932(book_->categories.Name(k));
        names << name;
        (book_->categories.IsIncome(k) ? incomeDefault_ : expenseDefault_)->addItem(name, k);
    }
    static_cast<CategoryDelegate*>(table_->itemDelegate())->SetNames(names);
    filling_ = false;
    // The file first: a statement of a known bank is then one Enter away.
    bytes_.clear();
    statement_ = StatementTable{};
    preview_ = Preview{};
    path_->clear();
    FillTable();
    ChooseFile();
    if (bytes_.empty())
        return std::nullopt;
    if (QWidget* p = parentWidget())
        move(p->geometry().center() - rect().center());
    importButton_->setFocus();
    prompts_.RunDialog(*this);
    return result_;
}

void Tstatementform::ChooseFile() {
    const QString path =
        prompts_.OpenFile(this, QStringLiteral("明細ファイルを選ぶ"),
                          QStringLiteral("CSVファイル (*.csv *.txt *.tsv);;すべてのファイル (*)"));
    if (!path.isEmpty())
        OpenStatement(path);
}

void Tstatementform::OpenStatement(const QString& path) {
    // A file too large is refused before it is read.
    const QFileInfo info(path);
    if (info.size() > static_cast<qint64>(kMaxStatementBytes)) {
        prompts_.Error(this, QStringLiteral("明細ファイルが大きすぎます（16MBまで）。\n\n") + path);
        return;
    }
    std::optional<std::string> bytes;
    try {
        bytes = ledger::ReadWholeFile(QFile::encodeName(path).toStdString());
    } catch (const ledger::FileError& e) {
        prompts_.Error(
            this, platform::FileErrorText(QStringLiteral("明細ファイルを読み込めません。"), e));
        return;
    }
    if (!bytes) {
        prompts_.Error(this, QStringLiteral("明細ファイルがありません。\n\n") + path);
        return;
    }
    auto read = ReadStatement(*bytes);
    if (auto* why = std::get_if<std::string>(&read)) {
        prompts_.Error(this, QString::fromStdString(*why) + QStringLiteral("\n\n") + path);
        return;
    }
    bytes_ = std::move(*bytes);
    statement_ = std::get<StatementTable>(std::move(read));
    path_->setText(path);
    // The mapping used last time for this header line, else a guess.
    const std::optional<ImportBook::Remembered> remembered =
        imports_.Find(ImportBook::KeyOf(statement_));
    if (remembered) {
        if (remembered->encoding != Encoding::Auto || remembered->separator != Separator::Auto) {
            auto again =
                ReadStatement(bytes_, {remembered->encoding, remembered->separator, std::nullopt});
            if (auto* table = std::get_if<StatementTable>(&again))
                statement_ = std::move(*table);
        }
        mapping_ = remembered->mapping;
    } else {
        mapping_ = GuessMapping(statement_, book_->categories);
    }
    FillMappingControls();
    if (remembered) {
        filling_ = true;
        expenseDefault_->setCurrentIndex(
            std::max(0, expenseDefault_->findData(remembered->defaults.expense)));
        incomeDefault_->setCurrentIndex(
            std::max(0, incomeDefault_->findData(remembered->defaults.income)));
        filling_ = false;
    }
    BuildRows();
}

void Tstatementform::FillMappingControls() {
    filling_ = true;
    encoding_->setCurrentIndex(static_cast<int>(statement_.encoding));
    separator_->setCurrentIndex(static_cast<int>(statement_.separator));
    header_->setChecked(statement_.header);
    const std::pair<QComboBox*, int> roles[] = {
        {dateColumn_, mapping_.date},     {textColumn_, mapping_.description},
        {amountColumn_, mapping_.amount}, {outColumn_, mapping_.withdrawal},
        {inColumn_, mapping_.deposit},    {categoryColumn_, mapping_.category},
    };
    for (const auto& [combo, column] : roles) {
        combo->clear();
        combo->addItem(QStringLiteral("（なし）"), -1);
        for (int c = 0; c < statement_.columns; ++c)
            combo->addItem(ColumnCaption(statement_, c), c);
        combo->setCurrentIndex(std::max(0, combo->findData(column)));
    }
    memoColumns_->clear();
    for (int c = 0; c < statement_.columns; ++c) {
        auto* item = new QListWidgetItem(ColumnCaption(statement_, c), memoColumns_);
        item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable);
        item->setCheckState(std::count(mapping_.memo.begin(), mapping_.memo.end(), c)
                                ? Qt::Checked
                                : Qt::Unchecked);
    }
    sign_->setCurrentIndex(mapping_.positiveIsExpense ? 0 : 1);
    filling_ = false;
}

void Tstatementform::ReadAgain() {
    if (filling_ || bytes_.empty())
        return;
    ReadOptions options;
    options.encoding = static_cast<Encoding>(encoding_->currentIndex());
    options.separator = static_cast<Separator>(separator_->currentIndex());
    options.header = header_->isChecked();
    auto read = ReadStatement(bytes_, options);
    if (auto* why = std::get_if<std::string>(&read)) {
        prompts_.Error(this, QString::fromStdString(*why));
        return;
    }
    const int columnsBefore = statement_.columns;
    statement_ = std::get<StatementTable>(std::move(read));
    if (statement_.columns != columnsBefore)
        mapping_ = GuessMapping(statement_, book_->categories);
    FillMappingControls();
    BuildRows();
}

void Tstatementform::MappingChanged() {
    if (filling_ || bytes_.empty())
        return;
    mapping_.date = dateColumn_->currentData().toInt();
    mapping_.description = textColumn_->currentData().toInt();
    mapping_.amount = amountColumn_->currentData().toInt();
    mapping_.withdrawal = outColumn_->currentData().toInt();
    mapping_.deposit = inColumn_->currentData().toInt();
    mapping_.category = categoryColumn_->currentData().toInt();
    mapping_.memo.clear();
    for (int c = 0; c < memoColumns_->count(); ++c) {
        if (memoColumns_->item(c)->checkState() == Qt::Checked)
            mapping_.memo.push_back(c);
    }
    mapping_.positiveIsExpense = sign_->currentIndex() == 0;
    BuildRows();
}

void Tstatementform::BuildRows() {
    preview_ = Preview{};
    if (!mapping_.Usable()) {
        FillTable();
        summary_->setText(QStringLiteral("日付と金額（または出金・入金）の列を選んでください。"));
        return;
    }
    try {
        if (!history_)
            history_ = CategoryHistory::FromBook(book_->store, book_->categories, today_);
        KnownRows known;
        if (const auto span = SpanOf(statement_, mapping_))
            known.AddBook(book_->store, span->first, span->second);
        imports_.AddTo(known);
        preview_ = BuildPreview(
            statement_, mapping_, book_->categories, *history_, known,
            {expenseDefault_->currentData().toInt(), incomeDefault_->currentData().toInt()});
    } catch (const ledger::FileError& e) {
        prompts_.Error(this,
                       platform::FileErrorText(QStringLiteral("データを読み込めません。"), e));
    }
    FillTable();
}

void Tstatementform::FillTable() {
    table_->setUpdatesEnabled(false);
    table_->clearContents();
    table_->setRowCount(static_cast<int>(preview_.rows.size()));
    int duplicates = 0;
    for (int r = 0; r < table_->rowCount(); ++r) {
        const PreviewRow& row = preview_.rows[static_cast<size_t>(r)];
        const int position = book_ ? book_->categories.CategoryIndex(row.category) : -1;
        auto* date = new QTableWidgetItem(DateText(row.date));
        date->setCheckState(row.checked ? Qt::Checked : Qt::Unchecked);
        date->setToolTip(QStringLiteral("明細の%1行目").arg(row.line));
        table_->setItem(r, kDate, date);
        table_->setItem(r, kCategory, new QTableWidgetItem(platform::FromCp932(row.category)));
        table_->setItem(r, kDescription,
                        new QTableWidgetItem(platform::FromCp932(row.description)));
        auto* amount = new QTableWidgetItem(QString::fromStdString(row.amount));
        amount->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
        table_->setItem(r, kAmount, amount);
        auto* kind = new QTableWidgetItem(position >= 0 && book_->categories.IsIncome(position)
                                              ? QStringLiteral("収入")
                                              : QStringLiteral("支出"));
        kind->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
        table_->setItem(r, kKind, kind);
        table_->setItem(r, kMemo, new QTableWidgetItem(platform::FromCp932(row.memo)));
        auto* state = new QTableWidgetItem(row.duplicate ? QStringLiteral("重複") : QString());
        state->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
        if (row.duplicate)
            state->setForeground(QColor(200, 30, 30));
        table_->setItem(r, kState, state);
        duplicates += row.duplicate ? 1 : 0;
    }
    table_->setUpdatesEnabled(true);
    if (table_->rowCount() > 0)
        table_->setCurrentCell(0, kDate);
    QString text = QStringLiteral("%1行（重複 %2行）").arg(preview_.rows.size()).arg(duplicates);
    if (!preview_.unreadable.empty()) {
        QStringList lines;
        for (size_t k = 0; k < preview_.unreadable.size() && k < 8; ++k) {
            lines << QStringLiteral("%1行目（%2）")
                         .arg(preview_.unreadable[k].line)
                         .arg(QString::fromStdString(preview_.unreadable[k].reason));
        }
        if (preview_.unreadable.size() > 8)
            lines << QStringLiteral("ほか%1行").arg(preview_.unreadable.size() - 8);
        text += QStringLiteral("　読めない行: ") + lines.join(QStringLiteral("、"));
    }
    summary_->setText(text);
}

bool Tstatementform::TakeEdits() {
    for (int r = 0; r < table_->rowCount(); ++r) {
        PreviewRow& row = preview_.rows[static_cast<size_t>(r)];
        row.checked = table_->item(r, kDate)->checkState() == Qt::Checked;
        if (!row.checked)
            continue;
        auto refuse = [&](int column, const QString& what) {
            table_->setCurrentCell(r, column);
            prompts_.Error(this, QStringLiteral("明細の%1行目: %2").arg(row.line).arg(what));
            return false;
        };
        const std::optional<ledger::Date> date =
            ParseStatementDate(table_->item(r, kDate)->text().toStdString());
        if (!date)
            return refuse(kDate, QStringLiteral("日付を読めません"));
        const std::optional<std::string> amount =
            ParseStatementAmount(table_->item(r, kAmount)->text().toStdString());
        if (!amount || amount->front() == '-')
            return refuse(kAmount, QStringLiteral("金額は0以上の数字で入力してください"));
        try {
            const std::string category = platform::ToCp932(table_->item(r, kCategory)->text());
            const int position = book_->categories.CategoryIndex(category);
            if (position < 0)
                return refuse(kCategory, QStringLiteral("費目リストにない費目です"));
            row.category = book_->categories.Name(position);
            row.description = platform::ToCp932(table_->item(r, kDescription)->text());
            row.memo = platform::ToCp932(table_->item(r, kMemo)->text());
        } catch (const ledger::Cp932Error&) {
            return refuse(kDescription, QStringLiteral("Shift-JISで書けない文字があります"));
        }
        row.date = *date;
        row.amount = *amount;
    }
    return true;
}

void Tstatementform::Import() {
    if (bytes_.empty())
        return;
    if (!TakeEdits())
        return;
    if (std::none_of(preview_.rows.begin(), preview_.rows.end(),
                     [](const PreviewRow& row) { return row.checked; })) {
        prompts_.Error(this, QStringLiteral("取り込む行がありません。"));
        return;
    }
    ImportResult result;
    try {
        result = ImportRows(book_->store, preview_, imports_);
    } catch (const ledger::FileError& e) {
        prompts_.Error(this, platform::FileErrorText(QStringLiteral("取り込めませんでした。"), e));
        result_ = ImportResult{};  // days written before the failure are on the page
        return;
    }
    result_ = result;
    imports_.Remember(ImportBook::KeyOf(statement_), {mapping_,
                                                      statement_.encoding,
                                                      statement_.separator,
                                                      {expenseDefault_->currentData().toInt(),
                                                       incomeDefault_->currentData().toInt()}});
    QString text =
        QStringLiteral("%1行を取り込みました。\n重複としてとばした行: %2行\n読めない行: %3行")
            .arg(result.imported)
            .arg(result.duplicatesSkipped)
            .arg(result.unreadable);
    if (result.notChosen > 0)
        text += QStringLiteral("\nチェックを外した行: %1行").arg(result.notChosen);
    try {
        imports_.Save(book_->folders.ImportFile());
    } catch (const ledger::FileError& e) {
        text += QStringLiteral("\n\n") +
                platform::FileErrorText(
                    QStringLiteral(
                        "import.dat を保存できませんでした（次の取込で重複を見分けられません）。"),
                    e);
    }
    prompts_.Message(this, QStringLiteral("明細取込"), text, platform::Prompts::Icon::Information,
                     platform::Prompts::Buttons::Ok);
    accept();
}

}  // namespace statement
