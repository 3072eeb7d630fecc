#include "fixture.h"
#include "support/widgets.h"

#include "closingday/simeform.h"
#include "mainwindow/calendarform.h"

#include <QGroupBox>
#include <QImage>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QToolButton>

using testsupport::Child;
using testsupport::Click;
using testsupport::MainFormTest;

namespace {

// Reaches the cell painter of the calendar grid.
class CellPainter : public mainwindow::TCalendarR {
public:
    using TCalendarR::TCalendarR;
    QImage Cell(QDate date) const {
        QImage image(40, 30, QImage::Format_RGB32);
        image.fill(Qt::white);
        QPainter painter(&image);
        paintCell(&painter, image.rect(), date);
        return image;
    }
};

bool HasPureRed(const QImage& image) {
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            QColor c = image.pixelColor(x, y);
            if (c.red() > 200 && c.green() < 60 && c.blue() < 60)
                return true;
        }
    }
    return false;
}

TEST(Calendar, TodayIsRedOnlyInItsOwnMonth) {
    testsupport::FixedClock clock({2024, 3, 5});
    CellPainter cal(clock);
    cal.setSelectedDate(QDate(2024, 3, 20));
    cal.setCurrentPage(2024, 3);
    EXPECT_TRUE(HasPureRed(cal.Cell(QDate(2024, 3, 5))));
    EXPECT_FALSE(HasPureRed(cal.Cell(QDate(2024, 3, 6))));
    cal.setCurrentPage(2024, 4);
    EXPECT_FALSE(HasPureRed(cal.Cell(QDate(2024, 3, 5))));
    EXPECT_EQ(cal.firstDayOfWeek(), Qt::Sunday);
}

TEST(Calendar, MonthButtonsKeepOrClampTheDay) {
    testsupport::FixedClock clock({2024, 3, 5});
    mainwindow::Tcalendarform form(clock, skin::SkinImages::Builtin());
    form.SetDate({2024, 3, 31});
    EXPECT_EQ(Child<QLabel>(&form, "Label1")->text(), "2024年3月31日 日");
    Click(&form, "SpeedButton2");
    EXPECT_EQ(form.SelectedDate(), (ledger::Date{2024, 2, 29}));
    form.SetDate({2024, 3, 31});
    Click(&form, "SpeedButton3");
    EXPECT_EQ(form.SelectedDate(), (ledger::Date{2024, 4, 30}));
    EXPECT_EQ(Child<QLabel>(&form, "Label1")->text(), "2024年4月30日 火");
    QTest::keyClick(&form, Qt::Key_Escape);
    EXPECT_EQ(form.result(), QDialog::Rejected);
    QTest::keyClick(&form, Qt::Key_Return);
    EXPECT_EQ(form.result(), QDialog::Accepted);
}

TEST_F(MainFormTest, CalendarPicksTheDayOrKeepsIt) {
    WriteMonth("202403", {"20240320,食費,,70,"});
    ASSERT_TRUE(Start());
    EditCell(0, 0, "食費");
    EditCell(0, 2, "5");
    prompts.dialogHandler = [&](QDialog& dialog) {
        auto& cal = dynamic_cast<mainwindow::Tcalendarform&>(dialog);
        // The day shown is selected, and the page was saved before the calendar opened.
        EXPECT_EQ(cal.SelectedDate(), (ledger::Date{2024, 3, 5}));
        EXPECT_EQ(MonthText("202403"), "20240320,食費,,70,\r\n20240305,食費,,5,\r\n");
        Child<QCalendarWidget>(&cal, "cal")->setSelectedDate(QDate(2024, 3, 20));
        return int(QDialog::Accepted);
    };
    Press("SpeedButton4");
    EXPECT_EQ(form->state().pageDate, (ledger::Date{2024, 3, 20}));
    EXPECT_EQ(Cell(0, 2), "70");

    prompts.dialogHandler = [](QDialog& dialog) {
        Child<QCalendarWidget>(&dialog, "cal")->setSelectedDate(QDate(2024, 1, 1));
        return int(QDialog::Rejected);  // Escape
    };
    Press("SpeedButton4");
    EXPECT_EQ(form->state().pageDate, (ledger::Date{2024, 3, 20}));
}

struct ClosingInput {
    const char* text;
    const char* message;  // nullptr: accepted
    int result;
};

TEST_F(MainFormTest, ClosingDayDialog) {
    ASSERT_TRUE(Start());
    closingday::Tsimeform& dialog = *Dialog<closingday::Tsimeform>("simeform", "N9");
    dialog.Prepare(0, true);
    EXPECT_TRUE(Child<QRadioButton>(&dialog, "RadioButton1")->isChecked());
    EXPECT_FALSE(Child<QLineEdit>(&dialog, "Edit1")->isEnabled());
    EXPECT_EQ(Child<QLineEdit>(&dialog, "Edit1")->text(), "25");
    EXPECT_FALSE(Child<QGroupBox>(&dialog, "RadioGroup1")->isVisibleTo(&dialog));

    Child<QRadioButton>(&dialog, "RadioButton2")->click();
    EXPECT_TRUE(Child<QLineEdit>(&dialog, "Edit1")->isEnabled());
    Child<QLineEdit>(&dialog, "Edit1")->setText("15");
    EXPECT_TRUE(Child<QGroupBox>(&dialog, "RadioGroup1")->isVisibleTo(&dialog));
    Child<QLineEdit>(&dialog, "Edit1")->setText(" 15");
    EXPECT_FALSE(Child<QGroupBox>(&dialog, "RadioGroup1")->isVisibleTo(&dialog));
    Child<QLineEdit>(&dialog, "Edit1")->setText("15");
    Child<QRadioButton>(&dialog, "RadioButton1")->click();
    EXPECT_FALSE(Child<QGroupBox>(&dialog, "RadioGroup1")->isVisibleTo(&dialog));
    EXPECT_FALSE(Child<QLineEdit>(&dialog, "Edit1")->isEnabled());

    const ClosingInput inputs[] = {
        {"abc", "半角数字で1日から28日の間を指定してください", 0},
        {"１５", "半角数字で1日から28日の間を指定してください", 0},
        {"", "半角数字で1日から28日の間を指定してください", 0},
        {"0", "1日から28日の間を指定してください", 0},
        {"-3", "1日から28日の間を指定してください", 0},
        {"29", "1日から28日の間を指定してください", 0},
        {" 15", nullptr, 15},
        {"28", nullptr, 28},
    };
    Child<QRadioButton>(&dialog, "RadioButton2")->click();
    for (const ClosingInput& input : inputs) {
        prompts.shown.clear();
        dialog.setResult(0);
        Child<QLineEdit>(&dialog, "Edit1")->setText(input.text);
        Click(&dialog, "Button1");
        if (input.message) {
            ASSERT_EQ(prompts.shown.size(), 1u) << input.text;
            EXPECT_EQ(prompts.shown[0].caption, "error");
            EXPECT_EQ(prompts.shown[0].text, input.message);
            EXPECT_NE(dialog.QDialog::result(), QDialog::Accepted);
        } else {
            EXPECT_TRUE(prompts.shown.empty()) << input.text;
            EXPECT_EQ(dialog.result(), input.result);
        }
    }
    Child<QRadioButton>(&dialog, "RadioButton1")->click();
    Click(&dialog, "Button1");
    EXPECT_EQ(dialog.result(), 0);
}

TEST_F(MainFormTest, ClosingDayChangeReloadsTheMonthBalance) {
    WriteMonth("202402", {"20240220,食費,,100,"});
    WriteMonth("202403", {"20240305,食費,,10,", "20240316,食費,,1000,"});
    ASSERT_TRUE(Start());
    EXPECT_EQ(LabelText("labelsub"), "今月の収支 ▲ ¥1,010");
    prompts.dialogHandler = [](QDialog& d) {
        auto& dialog = dynamic_cast<closingday::Tsimeform&>(d);
        Child<QRadioButton>(&dialog, "RadioButton2")->click();
        Child<QLineEdit>(&dialog, "Edit1")->setText("15");
        Child<QRadioButton>(&dialog, "RadioGroupItem1")->setChecked(true);
        Click(&dialog, "Button1");
        return dialog.QDialog::result();
    };
    Trigger("N9");
    EXPECT_EQ(form->state().settings.closing.day, 15);
    EXPECT_FALSE(form->state().settings.closing.fifteenthNamesFirst);
    EXPECT_EQ(LabelText("labelsub"), "今月の収支 ▲ ¥110");  // 16 Feb to 15 Mar
    // Closed without 決定: nothing changes.
    prompts.dialogHandler = [](QDialog&) { return int(QDialog::Rejected); };
    Trigger("N9");
    EXPECT_EQ(form->state().settings.closing.day, 15);
    form->close();
    EXPECT_NE(testsupport::ReadBytes(home / "ini.ini").find("sime=15\r\nsime15before=0\r\n"),
              std::string::npos);
}

}  // namespace
