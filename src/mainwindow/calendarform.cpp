#include "calendarform.h"
#include "platform/dialogkeys.h"

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
    Imagemain = chrome.background;
    Label1 = chrome.title;  // shows the selected date; dragging it moves the dialog
    Label1->setAlignment(Qt::AlignCenter);

    SpeedButton2 = new QToolButton(this);
    SpeedButton2->setGeometry(24, 40, 42, 58);
    SpeedButton3 = new QToolButton(this);
    SpeedButton3->setGeometry(264, 40, 42, 58);
    // The month buttons wear the arrows of the main window's previous and next buttons,
    // captioned for the month they step by.
    skin::DressButton(SpeedButton2, QStringLiteral("glyph_prev_month"));
    skin::DressButton(SpeedButton3, QStringLiteral("glyph_next_month"));
    SpeedButton2->setObjectName(QStringLiteral("SpeedButton2"));
    SpeedButton3->setObjectName(QStringLiteral("SpeedButton3"));
    Label2 = new QLabel(QStringLiteral("赤太字：今日"), this);
    Label2->setGeometry(80, 76, 170, 18);
    Label2->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    Label2->setStyleSheet(QStringLiteral("color: rgb(200, 40, 40);"));

    cal = new TCalendarR(clock, this);
    cal->setGeometry(24, 102, 282, 178);
    cal->SetTodayColor(Qt::red);
    cal->setFont(platform::UiFont(13));

    SpeedButton1 = new QPushButton(QStringLiteral("OK"), this);
    SpeedButton1->setGeometry(125, 288, 80, 26);
    SpeedButton1->setAutoDefault(false);

    connect(cal, &QCalendarWidget::selectionChanged, this, &Tcalendarform::calChange);
    connect(cal, &QCalendarWidget::currentPageChanged, this, [this](int year, int month) {
        // Paging the grid itself (keyboard) keeps the day as the month buttons do.
        if (cal->selectedDate().year() != year || cal->selectedDate().month() != month) {
            QDate d = cal->selectedDate();
            cal->setSelectedDate(
                QDate(year, month, std::min(d.day(), QDate(year, month, 1).daysInMonth())));
        }
        calChange();
    });
    connect(SpeedButton2, &QToolButton::clicked, this, [this] { MoveMonths(-1); });
    connect(SpeedButton3, &QToolButton::clicked, this, [this] { MoveMonths(1); });
    connect(SpeedButton1, &QPushButton::clicked, this, &QDialog::accept);
    connect(cal, &QCalendarWidget::activated, this, &QDialog::accept);  // Enter or double click
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
    cal->setSelectedDate(ToQDate(date));
    cal->setCurrentPage(date.year, date.month);
    calChange();
}

ledger::Date Tcalendarform::SelectedDate() const {
    return FromQDate(cal->selectedDate());
}

void Tcalendarform::MoveMonths(int months) {
    ledger::Date target = SelectedDate().AddMonths(months);
    cal->setSelectedDate(ToQDate(target));
    cal->setCurrentPage(target.year, target.month);
    calChange();
}

void Tcalendarform::calChange() {
    QDate d = cal->selectedDate();
    Label1->setText(QStringLiteral("%1年%2月%3日 %4")
                        .arg(d.year())
                        .arg(d.month())
                        .arg(d.day())
                        .arg(QString::fromUtf8(ledger::WeekdayNameJa(FromQDate(d)))));
}

}  // namespace mainwindow
