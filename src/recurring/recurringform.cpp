#include "recurring/recurringform.h"
#include "platform/dialogkeys.h"
#include "platform/objectnames.h"

#include "ledger/amount.h"
#include "ledger/numberformat.h"
#include "platform/amounttext.h"
#include "platform/fonts.h"
#include "platform/prompts.h"
#include "platform/textcodec.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTableWidget>
#include <QVBoxLayout>

namespace recurring {
namespace {

using Icon = platform::Prompts::Icon;
using Buttons = platform::Prompts::Buttons;
using Answer = platform::Prompts::Answer;
using Kind = ledger::RecurrenceRule::Kind;

// The rules in the order of their list.
constexpr Kind kRules[] = {Kind::MonthDay, Kind::LastDay, Kind::EveryMonths, Kind::Yearly,
                           Kind::Weekly};
const char16_t* const kWeekdays[] = {u"日曜日", u"月曜日", u"火曜日", u"水曜日",
                                     u"木曜日", u"金曜日", u"土曜日"};

QDate ToQDate(const ledger::Date& d) {
    return QDate(d.year, d.month, d.day);
}
ledger::Date FromQDate(const QDate& d) {
    return {d.year(), d.month(), d.day()};
}

QString RuleText(const ledger::RecurringTemplate& t) {
    switch (t.rule.kind) {
        case Kind::MonthDay:
            return QStringLiteral("毎月%1日").arg(t.rule.n);
        case Kind::LastDay:
            return QStringLiteral("毎月末日");
        case Kind::EveryMonths:
            return QStringLiteral("%1か月ごと").arg(t.rule.n);
        case Kind::Yearly:
            return QStringLiteral("毎年%1月%2日").arg(t.first.month).arg(t.first.day);
        case Kind::Weekly:
            return QStringLiteral("毎週") + QString::fromUtf16(kWeekdays[t.rule.n % 7]);
    }
    return {};
}

}  // namespace

Trecurringform::Trecurringform(platform::Prompts& prompts, QWidget* parent)
    : QDialog(parent), prompts_(prompts) {
    setWindowTitle(QStringLiteral("定期入力"));
    setFont(platform::UiFont(12));
    list_ = new QTableWidget(0, 5, this);
    list_->setHorizontalHeaderLabels({QStringLiteral("費目"), QStringLiteral("摘要"),
                                      QStringLiteral("金額"), QStringLiteral("規則"),
                                      QStringLiteral("次回")});
    list_->verticalHeader()->hide();
    list_->verticalHeader()->setDefaultSectionSize(22);
    list_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    list_->setSelectionBehavior(QAbstractItemView::SelectRows);
    list_->setSelectionMode(QAbstractItemView::SingleSelection);
    list_->setTabKeyNavigation(false);
    list_->horizontalHeader()->setStretchLastSection(true);
    for (auto [column, width] : {std::pair{0, 90}, {1, 110}, {2, 80}, {3, 110}})
        list_->setColumnWidth(column, width);

    category_ = new QComboBox(this);
    description_ = new QLineEdit(this);
    amount_ = new QLineEdit(this);
    amount_->setAlignment(Qt::AlignRight);
    memo_ = new QLineEdit(this);
    rule_ = new QComboBox(this);
    rule_->addItems({QStringLiteral("毎月 指定日"), QStringLiteral("毎月 末日"),
                     QStringLiteral("数か月ごと"), QStringLiteral("毎年"), QStringLiteral("毎週")});
    number_ = new QSpinBox(this);
    weekday_ = new QComboBox(this);
    for (const char16_t* name : kWeekdays)
        weekday_->addItem(QString::fromUtf16(name));
    first_ = new QDateEdit(this);
    hasLast_ = new QCheckBox(QStringLiteral("終了日"), this);
    last_ = new QDateEdit(this);
    for (QDateEdit* date : {first_, last_}) {
        date->setDisplayFormat(QStringLiteral("yyyy/MM/dd"));
        date->setCalendarPopup(true);
        date->setDateRange(QDate(1900, 1, 1), QDate(9999, 12, 31));
    }
    shift_ = new QComboBox(this);
    shift_->addItems(
        {QStringLiteral("そのまま"), QStringLiteral("前の金曜日"), QStringLiteral("次の月曜日")});
    note_ = new QLabel(this);
    note_->setWordWrap(true);
    addButton_ = new QPushButton(QStringLiteral("追加"), this);
    deleteButton_ = new QPushButton(QStringLiteral("削除"), this);
    saveButton_ = new QPushButton(QStringLiteral("保存して閉じる"), this);
    cancelButton_ = new QPushButton(QStringLiteral("キャンセル"), this);
    for (QPushButton* b : {addButton_, deleteButton_, saveButton_, cancelButton_})
        b->setAutoDefault(false);
    addButton_->setToolTip(QStringLiteral("追加 (Ctrl+N)"));
    deleteButton_->setToolTip(QStringLiteral("削除 (Ctrl+D)"));

    auto* fields = new QFormLayout;
    fields->addRow(QStringLiteral("費目"), category_);
    fields->addRow(QStringLiteral("摘要"), description_);
    fields->addRow(QStringLiteral("金額"), amount_);
    fields->addRow(QStringLiteral("メモ"), memo_);
    fields->addRow(QStringLiteral("規則"), rule_);
    fields->addRow(QStringLiteral("日・か月"), number_);
    fields->addRow(QStringLiteral("曜日"), weekday_);
    fields->addRow(QStringLiteral("開始日"), first_);
    fields->addRow(hasLast_, last_);
    fields->addRow(QStringLiteral("土日の場合"), shift_);
    auto* side = new QVBoxLayout;
    side->addLayout(fields);
    side->addWidget(note_);
    side->addStretch(1);
    auto* body = new QHBoxLayout;
    body->addWidget(list_, 3);
    body->addLayout(side, 2);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(addButton_);
    buttons->addWidget(deleteButton_);
    buttons->addStretch(1);
    buttons->addWidget(saveButton_);
    buttons->addWidget(cancelButton_);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(body, 1);
    layout->addLayout(buttons);
    resize(860, 440);

    platform::NameControls({
        {list_, "recurringgrid"},
        {category_, "category"},
        {description_, "description"},
        {amount_, "amount"},
        {memo_, "memo"},
        {rule_, "rule"},
        {number_, "number"},
        {weekday_, "weekday"},
        {first_, "firstDate"},
        {hasLast_, "hasLastDate"},
        {last_, "lastDate"},
        {shift_, "weekendShift"},
        {note_, "recurringnote"},
        {addButton_, "addButton"},
        {deleteButton_, "deleteButton"},
        {saveButton_, "SpeedButton1"},
        {cancelButton_, "SpeedButton2"},
    });

    connect(list_, &QTableWidget::currentCellChanged, this, [this](int row) { ShowTemplate(row); });
    for (QComboBox* combo : {category_, rule_, weekday_, shift_})
        connect(combo, &QComboBox::currentIndexChanged, this, &Trecurringform::FieldsChanged);
    for (QLineEdit* line : {description_, amount_, memo_})
        connect(line, &QLineEdit::textEdited, this, &Trecurringform::FieldsChanged);
    connect(number_, &QSpinBox::valueChanged, this, &Trecurringform::FieldsChanged);
    connect(first_, &QDateEdit::dateChanged, this, &Trecurringform::FieldsChanged);
    connect(last_, &QDateEdit::dateChanged, this, &Trecurringform::FieldsChanged);
    connect(hasLast_, &QCheckBox::toggled, this, &Trecurringform::FieldsChanged);
    connect(addButton_, &QPushButton::clicked, this, &Trecurringform::AddTemplate);
    connect(deleteButton_, &QPushButton::clicked, this, &Trecurringform::DeleteTemplate);
    connect(saveButton_, &QPushButton::clicked, this, &Trecurringform::SaveAndClose);
    connect(cancelButton_, &QPushButton::clicked, this, &Trecurringform::CloseByEscape);
    // Enter outside the list saves, as 保存して閉じる does.
    platform::DialogKeys::On(*this).Escape([this] { CloseByEscape(); }).Enter([this] {
        if (!list_->hasFocus())
            SaveAndClose();
    });
    auto* addKey = new QAction(this);
    addKey->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_N));
    connect(addKey, &QAction::triggered, this, &Trecurringform::AddTemplate);
    auto* deleteKey = new QAction(this);
    deleteKey->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_D));
    connect(deleteKey, &QAction::triggered, this, &Trecurringform::DeleteTemplate);
    addActions({addKey, deleteKey});
}

void Trecurringform::Edit(const ledger::RecurringBook& book, const ledger::CategoryList& categories,
                          const ledger::Date& today, SaveRecurring save) {
    book_ = book;
    categories_ = categories;
    today_ = today;
    save_ = std::move(save);
    edited_ = false;
    closing_ = false;
    filling_ = true;
    category_->clear();
    for (const std::string& name : categories_.Names())
        category_->addItem(platform::FromCp932(name));
    list_->setRowCount(book_.size());
    for (int r = 0; r < book_.size(); ++r)
        FillRow(r);
    filling_ = false;
    if (book_.size() > 0) {
        list_->setCurrentCell(0, 0);
        ShowTemplate(0);
    } else {
        ShowTemplate(-1);
    }
    list_->setFocus();
    if (QWidget* p = parentWidget())
        move(p->geometry().center() - rect().center());
    prompts_.RunDialog(*this);
}

void Trecurringform::FillRow(int row) {
    const ledger::RecurringTemplate& t = book_.Template(row);
    const std::optional<ledger::Date> next = t.NextDate();
    const QString cells[] = {
        platform::FromCp932(t.row[0]), platform::FromCp932(t.row[1]),
        QString::fromStdString(ledger::FormatNumber(ledger::AmountOrZero(t.row[2]), "#,0.##")),
        RuleText(t),
        next ? platform::FromUtf8(ledger::FormatPageDate(*next)) : QStringLiteral("―")};
    for (int c = 0; c < 5; ++c) {
        auto* item = new QTableWidgetItem(cells[c]);
        if (c == 2)
            item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
        if (c == 0 && categories_.CategoryIndex(t.row[0]) < 0) {
            item->setForeground(QColor(200, 30, 30));
            item->setToolTip(QStringLiteral("費目リストにない費目です。入力されません。"));
        }
        list_->setItem(row, c, item);
    }
}

void Trecurringform::ShowTemplate(int row) {
    const bool any = row >= 0 && row < book_.size();
    for (QWidget* w :
         std::initializer_list<QWidget*>{category_, description_, amount_, memo_, rule_, number_,
                                         weekday_, first_, hasLast_, last_, shift_, deleteButton_})
        w->setEnabled(any);
    note_->clear();
    if (!any)
        return;
    filling_ = true;
    const ledger::RecurringTemplate& t = book_.Template(row);
    const int position = categories_.CategoryIndex(t.row[0]);
    if (position < 0) {
        // A category no longer in the list is shown as it is until another is picked.
        category_->addItem(platform::FromCp932(t.row[0]));
        category_->setCurrentIndex(category_->count() - 1);
        note_->setText(QStringLiteral("この費目は費目リストにないため、入力されません。"));
    } else {
        while (category_->count() > categories_.size())
            category_->removeItem(category_->count() - 1);
        category_->setCurrentIndex(position);
    }
    description_->setText(platform::FromCp932(t.row[1]));
    amount_->setText(platform::FromCp932(t.row[2]));
    memo_->setText(platform::FromCp932(t.row[3]));
    for (int k = 0; k < 5; ++k) {
        if (kRules[k] == t.rule.kind)
            rule_->setCurrentIndex(k);
    }
    ShowRuleFields();
    if (t.rule.kind == Kind::MonthDay || t.rule.kind == Kind::EveryMonths)
        number_->setValue(t.rule.n);
    weekday_->setCurrentIndex(t.rule.kind == Kind::Weekly ? t.rule.n : t.first.Weekday());
    first_->setDate(ToQDate(t.first));
    hasLast_->setChecked(t.last.has_value());
    last_->setDate(ToQDate(t.last.value_or(t.first)));
    last_->setEnabled(t.last.has_value());
    shift_->setCurrentIndex(static_cast<int>(t.shift));
    filling_ = false;
}

void Trecurringform::ShowRuleFields() {
    const Kind kind = kRules[std::clamp(rule_->currentIndex(), 0, 4)];
    number_->setEnabled(kind == Kind::MonthDay || kind == Kind::EveryMonths);
    number_->setRange(1, kind == Kind::EveryMonths ? 120 : 31);
    number_->setSuffix(kind == Kind::EveryMonths ? QStringLiteral(" か月ごと")
                                                 : QStringLiteral(" 日"));
    weekday_->setEnabled(kind == Kind::Weekly);
}

bool Trecurringform::AmountAccepted() {
    if (platform::AmountToStore(amount_->text()))
        return true;
    note_->setText(QStringLiteral("金額は数字で入力してください"));
    return false;
}

void Trecurringform::FieldsChanged() {
    const int row = list_->currentRow();
    if (filling_ || row < 0 || row >= book_.size())
        return;
    ShowRuleFields();
    last_->setEnabled(hasLast_->isChecked());
    ledger::RecurringTemplate t = book_.Template(row);
    note_->clear();
    try {
        if (category_->currentIndex() >= 0 && category_->currentIndex() < categories_.size())
            t.row[0] = categories_.Name(category_->currentIndex());
        t.row[1] = platform::ToCp932(description_->text());
        t.row[3] = platform::ToCp932(memo_->text());
    } catch (const std::exception&) {
        note_->setText(QStringLiteral("Shift-JISで書けない文字は使えません"));
        return;
    }
    if (AmountAccepted())
        t.row[2] = platform::AmountToStore(amount_->text())->toStdString();
    const Kind kind = kRules[std::clamp(rule_->currentIndex(), 0, 4)];
    if (kind != t.rule.kind) {
        // A rule picked anew starts from its plain case: every month, or the first date's day.
        filling_ = true;
        number_->setValue(kind == Kind::EveryMonths ? 1 : FromQDate(first_->date()).day);
        weekday_->setCurrentIndex(FromQDate(first_->date()).Weekday());
        filling_ = false;
    }
    t.rule.kind = kind;
    t.rule.n = kind == Kind::Weekly    ? weekday_->currentIndex()
               : kind == Kind::Yearly  ? 12
               : kind == Kind::LastDay ? 1
                                       : number_->value();
    t.first = FromQDate(first_->date());
    t.last = hasLast_->isChecked() ? std::optional<ledger::Date>(FromQDate(last_->date()))
                                   : std::nullopt;
    t.shift = static_cast<ledger::WeekendShift>(std::clamp(shift_->currentIndex(), 0, 2));
    book_.SetTemplate(row, t);
    edited_ = true;
    FillRow(row);
}

void Trecurringform::AddTemplate() {
    if (categories_.size() == 0)
        return;
    ledger::RecurringTemplate t;
    t.row = {categories_.Name(0), std::string(), "0", std::string()};
    t.rule = {Kind::MonthDay, today_.day};
    t.first = today_;
    // Entered up to yesterday: a new template starts with today's occurrence, never with the
    // months before it.
    t.enteredUpTo = today_.AddDays(-1);
    book_.AddTemplate(t);
    list_->setRowCount(book_.size());
    FillRow(book_.size() - 1);
    list_->setCurrentCell(book_.size() - 1, 0);
    edited_ = true;
    category_->setFocus();
}

void Trecurringform::DeleteTemplate() {
    const int row = list_->currentRow();
    if (row < 0 || row >= book_.size())
        return;
    if (prompts_.Message(
            this, QStringLiteral("確認"),
            QStringLiteral("「%1」の定期入力を削除します。よろしいですか？")
                .arg(list_->item(row, 1)->text().isEmpty() ? list_->item(row, 0)->text()
                                                           : list_->item(row, 1)->text()),
            Icon::Question, Buttons::OkCancel) != Answer::Ok) {
        return;
    }
    book_.RemoveTemplate(row);
    list_->removeRow(row);
    edited_ = true;
    ShowTemplate(list_->currentRow());
    list_->setFocus();
}

void Trecurringform::SaveAndClose() {
    if (list_->currentRow() >= 0 && amount_->isEnabled() && !AmountAccepted()) {
        amount_->setFocus();
        return;
    }
    if (std::optional<QString> failure = save_(book_)) {
        prompts_.Error(this, *failure);
        return;
    }
    closing_ = true;
    accept();
}

void Trecurringform::CloseByEscape() {
    if (edited_ && prompts_.Message(this, QStringLiteral("確認"),
                                    QStringLiteral("変更を保存せずに閉じますか？"), Icon::Question,
                                    Buttons::YesNo) != Answer::Yes) {
        return;
    }
    closing_ = true;
    QDialog::reject();
}

void Trecurringform::reject() {
    if (closing_) {
        QDialog::reject();
        return;
    }
    CloseByEscape();
}

}  // namespace recurring
