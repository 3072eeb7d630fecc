#pragma once

#include "ledger/cp932.h"
#include "mainwindow/daygrid.h"
#include "mainwindow/daygriddelegate.h"
#include "mainwindow/mainform.h"
#include "support/scriptedprompts.h"
#include "support/tempdir.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <memory>

namespace testsupport {

// A program folder with the shipped category list, and a main window on it whose today is
// 5 March 2024 (a Tuesday).
class MainFormTest : public testing::Test {
protected:
    TempDir home;
    ScriptedPrompts prompts;
    FixedClock clock{ledger::Date{2024, 3, 5}};
    std::unique_ptr<mainwindow::Tmainform> form;

    void SetUp() override {
        std::filesystem::copy_file(VANTREL_DEFAULT_SETTING_DAT, home / "setting.dat");
        // A test that ended the program (Terminate, a restore) asked the application to
        // quit, which makes every later modal loop (a menu, a dialog) return at once; a
        // short run of the application's own loop clears that request.
        QTimer::singleShot(0, qApp, &QCoreApplication::quit);
        QCoreApplication::exec();
    }

    // Writes a month file from UTF-8 lines (CP932, CR LF).
    void WriteMonth(const std::string& yyyymm, const std::vector<std::string>& utf8Lines) {
        std::filesystem::create_directories(home / "data");
        std::string bytes;
        for (const std::string& line : utf8Lines)
            bytes += ledger::ToCp932(line) + "\r\n";
        WriteBytes(home / "data" / (yyyymm + ".csv"), bytes);
    }
    std::string MonthText(const std::string& yyyymm) {
        return ledger::FromCp932(ReadBytes(home / "data" / (yyyymm + ".csv")));
    }

    // Puts a file where the data folder was, so that no month file can be written; and back.
    void BreakDataFolder() {
        std::filesystem::remove_all(home / "data");
        WriteBytes(home / "data", "a file where the folder was");
    }
    void RepairDataFolder() {
        std::filesystem::remove(home / "data");
        std::filesystem::create_directory(home / "data");
    }

    bool Start() {
        form = std::make_unique<mainwindow::Tmainform>(ledger::ProgramFolders{home.path()}, prompts,
                                                       clock);
        return form->FormCreate();
    }

    template <class W>
    W* Find(const char* name) {
        return form->findChild<W*>(QLatin1String(name));
    }
    mainwindow::DayGrid& grid() { return *Find<mainwindow::DayGrid>("maingrid"); }
    // A command of the window's command table, run as its menu item or shortcut runs it.
    void Trigger(const char* objectName) {
        QAction* action = Find<QAction>(objectName);
        ASSERT_NE(action, nullptr) << objectName;
        action->trigger();
    }
    // A button of the window, clicked.
    void Press(const char* objectName) {
        QAbstractButton* button = Find<QAbstractButton>(objectName);
        ASSERT_NE(button, nullptr) << objectName;
        button->click();
    }
    // A dialog of the window, made on its first use; the command that opens it runs once
    // with the dialog answered at once, so the dialog is there to be looked at.
    template <class W>
    W* Dialog(const char* objectName, const char* opener) {
        if (W* made = Find<W>(objectName))
            return made;
        auto handler = prompts.dialogHandler;
        prompts.dialogHandler = [](QDialog&) { return int(QDialog::Rejected); };
        if (Find<QAction>(opener) != nullptr)
            Trigger(opener);
        else
            Press(opener);
        prompts.dialogHandler = handler;
        return Find<W>(objectName);
    }
    QString LabelText(const char* name) { return Find<QLabel>(name)->text(); }

    // Shows the window and gives it the keyboard, as a user's click would.
    void ShowActive() {
        form->show();
        form->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
    }
    // A key as the keyboard sends it: press, then release, to the focused widget.
    void Key(QWidget* target, Qt::Key key, Qt::KeyboardModifiers mods = Qt::NoModifier) {
        QTest::keyPress(target, key, mods);
        QTest::keyRelease(target, key, mods);
        QApplication::processEvents();
    }
    mainwindow::DayModel& model() { return form->model(); }
    QString Cell(int row, int column) { return model().Text(row, column); }

    // Opens the cell's editor as a double click or a key would.
    QWidget* OpenEditor(int row, int column) {
        QModelIndex index = model().index(row, column);
        grid().setCurrentIndex(index);
        grid().edit(index);
        return grid().OpenEditor();
    }

    // Types `text` into a cell and leaves it, as the user does.
    void EditCell(int row, int column, const QString& text) {
        QWidget* editor = OpenEditor(row, column);
        ASSERT_NE(editor, nullptr);
        if (auto* combo = qobject_cast<QComboBox*>(editor)) {
            combo->setCurrentIndex(combo->findText(text));
        } else {
            static_cast<QLineEdit*>(editor)->setText(text);
        }
        grid().FinishEditing();
        QApplication::processEvents();
    }

    std::vector<QString> MessageTexts() const {
        std::vector<QString> texts;
        for (const auto& m : prompts.shown)
            texts.push_back(m.text);
        return texts;
    }
};

}  // namespace testsupport
