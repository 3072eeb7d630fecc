#pragma once

#include <QString>

class QDialog;
class QPrinter;
class QWidget;

namespace platform {

// Every message box and modal dialog the program shows goes through this interface, so
// that tests can answer them without a person and without blocking.
class Prompts {
public:
    enum class Icon { None, Information, Warning, Error, Question };
    enum class Buttons { Ok, OkCancel, YesNo };
    enum class Answer { Ok, Cancel, Yes, No };

    virtual ~Prompts() = default;

    // A message box with the caption as its window title. Returns the button pressed;
    // closing the box without a button counts as Cancel (OkCancel), No (YesNo) or Ok.
    virtual Answer Message(QWidget* parent, const QString& caption, const QString& text, Icon icon,
                           Buttons buttons) = 0;

    // The one way an error reaches the user: a box captioned "error" with the error icon and
    // OK. The text says what failed, with the path and the reason where a file failed.
    void Error(QWidget* parent, const QString& text) {
        Message(parent, QStringLiteral("error"), text, Icon::Error, Buttons::Ok);
    }

    // Shows a dialog modally and returns its result (QDialog::Accepted or Rejected).
    virtual int RunDialog(QDialog& dialog) = 0;

    // The open-file dialog; an empty string when nothing was chosen.
    virtual QString OpenFile(QWidget* parent, const QString& caption, const QString& filter) = 0;

    // The save-file dialog, starting at `proposed` (folder and file name); it asks before
    // an existing file is replaced. An empty string when the user cancelled.
    virtual QString SaveFile(QWidget* parent, const QString& caption, const QString& proposed,
                             const QString& filter) = 0;

    // The folder-choosing dialog starting at `start` (a new folder can be made in it); an
    // empty string when the user cancelled.
    virtual QString ChooseFolder(QWidget* parent, const QString& caption, const QString& start) = 0;

    // The system's print dialog and printer setup dialog for `printer`; true on OK.
    virtual bool PrintDialog(QWidget* parent, QPrinter& printer) = 0;
    virtual bool PrinterSetup(QWidget* parent, QPrinter& printer) = 0;
};

// The real thing: QMessageBox and QDialog::exec().
class QtPrompts : public Prompts {
public:
    Answer Message(QWidget* parent, const QString& caption, const QString& text, Icon icon,
                   Buttons buttons) override;
    int RunDialog(QDialog& dialog) override;
    QString OpenFile(QWidget* parent, const QString& caption, const QString& filter) override;
    QString SaveFile(QWidget* parent, const QString& caption, const QString& proposed,
                     const QString& filter) override;
    QString ChooseFolder(QWidget* parent, const QString& caption, const QString& start) override;
    bool PrintDialog(QWidget* parent, QPrinter& printer) override;
    bool PrinterSetup(QWidget* parent, QPrinter& printer) override;
};

}  // namespace platform
