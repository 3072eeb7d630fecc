#include "calendarform.h"
#include "platform/dialogkeys.h"
#include "platform/objectnames.h"

#include "platform/fonts.h"
#include "skin/buttonface.h"
#include "skin/dialogchrome.h"

#include <QKeyEvent>
#include <QLabel>
#include <QLocale>
#include <QPainter>
#include <QPushButton>
#include <QTextCharFormat>
#include <QToolButton>

namespace mainwindow {
namespace {

QDate ToQDate(const ledger::Date& d) {
    return QDate(d.year, d.month, d.day);
}
ledger::Date FromQDate(const QDate& d) {
    return {d.year(), d.month(), d.day()};
}

}  // namespace

TCalendarR::TCalendarR(const platform::Clock& clock, QWidget* parent)
    : QCalendarWidget(parent), clock_(clock) {
    setLocale(QLocale(QLocale::Japanese, QLocale::Japan));
    setFirstDayOfWeek(Qt::Sunday);
    setVerticalHeaderFormat(QCalendarWidget::NoVerticalHeader);
    setHorizontalHeaderFormat(QCalendarWidget::ShortDayNames);
    setNavigationBarVisible(false);
    setGridVisible(true);
    // Weekends in the ordinary text colour: only today stands out.
    QTextCharFormat plain;
    plain.setForeground(palette().color(QPalette::Text));
    setWeekdayTextFormat(Qt::Saturday, plain);
    setWeekdayTextFormat(Qt::Sunday, plain);
}

void TCalendarR::paintCell(QPainter* painter, const QRect& rect, QDate date) const {
    const ledger::Date today = clock_.Today();
    if (date != ToQDate(today) || date.month() != monthShown() || date.year() != yearShown()) {
        QCalendarWidget::paintCell(painter, rect, date);
        return;
    }
    // Today: the standard cell background, then the day number bold in the today colour.
    painter->save();
    painter->fillRect(rect, date == selectedDate() ? palette().color(QPalette::Highlight)
                                                   : palette().color(QPalette::Base));
    QFont bold = font();
    bold.setBold(true);
    painter->setFont(bold);
    painter->setPen(todayColor_);
    painter->drawText(rect, Qt::AlignCenter, QString::number(date.day()));
    painter->restore();
}

Tcalendarform::Tcalendarform(const platform::Clock& clock, const skin::SkinImages& skin,
                             QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint) {
    // Escape leaves the page date as it was; Enter takes the day selected.
    platform::DialogKeys::On(*this).Escape([this] { reject(); }).Enter([this] { accept(); });
    const skin::DialogChrome chrome =
        skin::DressDialog(*this, skin, QSize(330, 330), QStringLiteral("カレンダー"));
    skin_ = chrome.background;
    title_ = chrome.title;  // shows the selected date; dragging it moves the dialog
    title_->setAlignment(Qt::AlignCenter);

    previousMonth_ = new QToolButton(this);
    previousMonth_->setGeometry(24, 40, 42, 58);
    nextMonth_ = new QToolButton(this);
    nextMonth_->setGeometry(264, 40, 42, 58);
    // The month buttons wear the arrows of the main window's previous and next buttons,
    // captioned for the month they step by.
    skin::DressButton(previousMonth_, QStringLiteral("glyph_prev_month"));
    skin::DressButton(nextMonth_, QStringLiteral("glyph_next_month"));
    todayNote_ = new QLabel(QStringLiteral("赤太字：今日"), this);
    todayNote_->setGeometry(80, 76, 170, 18);
    todayNote_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    todayNote_->setStyleSheet(QStringLiteral("color: rgb(200, 40, 40);"));

    calendar_ = new TCalendarR(clock, this);
    calendar_->setGeometry(24, 102, 282, 178);
    calendar_->SetTodayColor(Qt::red);
    calendar_->setFont(platform::UiFont(13));

    okButton_ = new QPushButton(QStringLiteral("OK"), this);
    okButton_->setGeometry(125, 288, 80, 26);
    okButton_->setAutoDefault(false);

    platform::NameControls({
        {skin_, "Imagemain"},
        {calendar_, "cal"},
        {title_, "Label1"},
        {todayNote_, "Label2"},
        {previousMonth_, "SpeedButton2"},
        {nextMonth_, "SpeedButton3"},
        {okButton_, "SpeedButton1"},
    });

    connect(calendar_, &QCalendarWidget::selectionChanged, this, &Tcalendarform::ShowSelectedDate);
    connect(calendar_, &QCalendarWidget::currentPageChanged, this, [this](int year, int month) {
        // Paging the grid itself (keyboard) keeps the day as the month buttons do.
        if (calendar_->selectedDate().year() != year ||
            calendar_->selectedDate().month() != month) {
            QDate d = calendar_->selectedDate();
            calendar_->setSelectedDate(
                QDate(year, month, std::min(d.day(), QDate(year, month, 1).daysInMonth())));
        }
        ShowSelectedDate();
    });
    connect(previousMonth_, &QToolButton::clicked, this, [this] { MoveMonths(-1); });
    connect(nextMonth_, &QToolButton::clicked, this, [this] { MoveMonths(1); });
    connect(okButton_, &QPushButton::clicked, this, &QDialog::accept);
    connect(calendar_, &QCalendarWidget::activated, this,
            &QDialog::accept);  // Enter or double click
}

void Tcalendarform::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (QWidget* p = parentWidget())
        move(p->geometry().center() - rect().center());
}

std::optional<ledger::Date> Tcalendarform::Pick(const ledger::Date& pageDate,
                                                platform::Prompts& prompts) {
    SetDate(pageDate);
    if (prompts.RunDialog(*this) != QDialog::Accepted)
        return std::nullopt;
    return SelectedDate();
}

void Tcalendarform::SetDate(const ledger::Date& date) {
    calendar_->setSelectedDate(ToQDate(date));
    calendar_->setCurrentPage(date.year, date.month);
    ShowSelectedDate();
}

ledger::Date Tcalendarform::SelectedDate() const {
    return FromQDate(calendar_->selectedDate());
}

void Tcalendarform::MoveMonths(int months) {
    ledger::Date target = SelectedDate().AddMonths(months);
    calendar_->setSelectedDate(ToQDate(target));
    calendar_->setCurrentPage(target.year, target.month);
    ShowSelectedDate();
}

void Tcalendarform::ShowSelectedDate() {
    QDate d = calendar_->selectedDate();
    title_->setText(QStringLiteral("%1年%2月%3日 %4")
                        .arg(d.year())
                        .arg(d.month())
                        .arg(d.day())
                        .arg(QString::fromUtf8(ledger::WeekdayNameJa(FromQDate(d)))));
}

}  // namespace mainwindow
