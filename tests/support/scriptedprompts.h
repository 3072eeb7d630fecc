#pragma once

#include "platform/clock.h"
#include "platform/prompts.h"

#include <QDialog>
#include <deque>
#include <functional>
#include <vector>

#include <ostream>

// Readable QString values in test failure messages.
inline void PrintTo(const QString& text, std::ostream* os) {
    *os << '"' << text.toStdString() << '"';
}

namespace testsupport {

// Answers message boxes from a script and records them; runs dialogs through a handler
// the test sets, which plays the user's part and returns the dialog's result.
class ScriptedPrompts : public platform::Prompts {
public:
    struct Shown {
        QString caption;
        QString text;
        Buttons buttons;
    };

    Answer Message(QWidget*, const QString& caption, const QString& text, Icon,
                   Buttons buttons) override {
        shown.push_back({caption, text, buttons});
        if (!answers.empty()) {
            Answer a = answers.front();
            answers.pop_front();
            return a;
        }
        return buttons == Buttons::YesNo ? Answer::Yes : Answer::Ok;
    }

    int RunDialog(QDialog& dialog) override {
        ++dialogsRun;
        if (!dialogHandler)
            return QDialog::Rejected;
        return dialogHandler(dialog);
    }

    QString OpenFile(QWidget*, const QString&, const QString& filter) override {
        lastFilter = filter;
        return fileToOpen;
    }

    QString SaveFile(QWidget*, const QString&, const QString& proposed,
                     const QString& filter) override {
        lastFilter = filter;
        lastProposed = proposed;
        return fileToSave;
    }

    QString ChooseFolder(QWidget*, const QString&, const QString&) override {
        return folderToChoose;
    }
    QString folderToChoose;

    // The print dialogs: the handler plays the user's part (chooses a PDF file, say).
    bool PrintDialog(QWidget*, QPrinter& printer) override {
        ++printDialogs;
        return printHandler ? printHandler(printer) : false;
    }
    bool PrinterSetup(QWidget*, QPrinter& printer) override {
        ++setupDialogs;
        return setupHandler ? setupHandler(printer) : false;
    }

    std::vector<Shown> shown;
    std::function<bool(QPrinter&)> printHandler;
    std::function<bool(QPrinter&)> setupHandler;
    int printDialogs = 0;
    int setupDialogs = 0;
    QString fileToSave;
    QString lastProposed;
    QString fileToOpen;
    QString lastFilter;
    std::deque<Answer> answers;
    std::function<int(QDialog&)> dialogHandler;
    int dialogsRun = 0;
};

class FixedClock : public platform::Clock {
public:
    explicit FixedClock(ledger::Date today) : today_(today) {}
    ledger::Date Today() const override { return today_; }
    void Set(ledger::Date today) { today_ = today; }

private:
    ledger::Date today_;
};

}  // namespace testsupport
