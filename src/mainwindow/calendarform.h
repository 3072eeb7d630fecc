#pragma once

#include <optional>

#include <QCalendarWidget>
#include <QColor>
#include <QDialog>

#include "ledger/date.h"
#include "platform/clock.h"
#include "platform/prompts.h"
#include "skin/skin.h"

class QLabel;
class QToolButton;
class QPushButton;

namespace mainwindow {

// The calendar grid of the calendar dialog: weeks from Sunday, today's cell in a bold copy
// of the font in the today colour, every text centred.
class TCalendarR : public QCalendarWidget {
    Q_OBJECT
public:
    TCalendarR(const platform::Clock& clock, QWidget* parent = nullptr);
    void SetTodayColor(const QColor& color) { todayColor_ = color; }
    QColor TodayColor() const { return todayColor_; }

protected:
    void paintCell(QPainter* painter, const QRect& rect, QDate date) const override;

private:
    const platform::Clock& clock_;
    QColor todayColor_ = Qt::red;
};

// The calendar dialog: picks a day for the page. OK or Enter take the selected day,
// Escape leaves the page date as it was.
class Tcalendarform : public QDialog {
    Q_OBJECT
public:
    Tcalendarform(const platform::Clock& clock, const skin::SkinImages& skin,
                  QWidget* parent = nullptr);

    // Shows the calendar on `pageDate`; the day picked with OK or Enter, or nullopt when it
    // was left with Escape.
    std::optional<ledger::Date> Pick(const ledger::Date& pageDate, platform::Prompts& prompts);

    // Before showing: the day to select.
    void SetDate(const ledger::Date& date);
    ledger::Date SelectedDate() const;

    // The calendar's month moved by whole months; the day is kept or clamped.
    void MoveMonths(int months);

protected:
    void showEvent(QShowEvent* event) override;

private:
    void ShowSelectedDate();  // the title line follows the calendar

    // The controls; their designer names are their object names (the constructor's table).
    QLabel* skin_;                // Imagemain
    TCalendarR* calendar_;        // cal: the month grid
    QLabel* title_;               // Label1: the selected date
    QLabel* todayNote_;           // Label2: "赤太字：今日"
    QToolButton* previousMonth_;  // SpeedButton2
    QToolButton* nextMonth_;      // SpeedButton3
    QPushButton* okButton_;       // SpeedButton1: OK
};

}  // namespace mainwindow
