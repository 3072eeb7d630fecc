#include "prompts.h"

#include <QDialog>
#include <QDir>
#include <QFileDialog>
#include <QHeaderView>
#include <QMessageBox>
#include <QPageSetupDialog>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QTreeView>

namespace platform {

Prompts::Answer QtPrompts::Message(QWidget* parent, const QString& caption, const QString& text,
                                   Icon icon, Buttons buttons) {
    QMessageBox box(parent);
    box.setWindowTitle(caption);
    box.setText(text);
    switch (icon) {
        case Icon::None:
            box.setIcon(QMessageBox::NoIcon);
            break;
        case Icon::Information:
            box.setIcon(QMessageBox::Information);
            break;
        case Icon::Warning:
            box.setIcon(QMessageBox::Warning);
            break;
        case Icon::Error:
            box.setIcon(QMessageBox::Critical);
            break;
        case Icon::Question:
            box.setIcon(QMessageBox::Question);
            break;
    }
    switch (buttons) {
        case Buttons::Ok:
            box.setStandardButtons(QMessageBox::Ok);
            break;
        case Buttons::OkCancel:
            box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel);
            box.button(QMessageBox::Cancel)->setText(QStringLiteral("キャンセル"));
            break;
        case Buttons::YesNo:
            box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
            box.button(QMessageBox::Yes)->setText(QStringLiteral("はい"));
            box.button(QMessageBox::No)->setText(QStringLiteral("いいえ"));
            break;
    }
    switch (box.exec()) {
        case QMessageBox::Ok:
            return Answer::Ok;
        case QMessageBox::Yes:
            return Answer::Yes;
        case QMessageBox::No:
            return Answer::No;
        case QMessageBox::Cancel:
            return Answer::Cancel;
        default:
            if (buttons == Buttons::OkCancel)
                return Answer::Cancel;
            if (buttons == Buttons::YesNo)
                return Answer::No;
            return Answer::Ok;
    }
}

int QtPrompts::RunDialog(QDialog& dialog) {
    return dialog.exec();
}

QString QtPrompts::OpenFile(QWidget* parent, const QString& caption, const QString& filter) {
    // From the user's home folder, not from wherever the program was started.
    QFileDialog dialog(parent, caption, QDir::homePath(), filter);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setViewMode(QFileDialog::Detail);
    // Wide enough for the name, size, kind and date columns with Japanese captions.
    dialog.resize(820, 500);
    if (auto* view = dialog.findChild<QTreeView*>()) {
        view->header()->setSectionResizeMode(0, QHeaderView::Stretch);
        for (int column = 1; column < view->header()->count(); ++column)
            view->header()->setSectionResizeMode(column, QHeaderView::ResizeToContents);
    }
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().constFirst();
}

QString QtPrompts::SaveFile(QWidget* parent, const QString& caption, const QString& proposed,
                            const QString& filter) {
    // The toolkit's dialog asks before an existing file is replaced.
    return QFileDialog::getSaveFileName(parent, caption, proposed, filter);
}

QString QtPrompts::ChooseFolder(QWidget* parent, const QString& caption, const QString& start) {
    return QFileDialog::getExistingDirectory(parent, caption, start);
}

bool QtPrompts::PrintDialog(QWidget* parent, QPrinter& printer) {
    QPrintDialog dialog(&printer, parent);
    return dialog.exec() == QDialog::Accepted;
}

bool QtPrompts::PrinterSetup(QWidget* parent, QPrinter& printer) {
    QPageSetupDialog dialog(&printer, parent);
    return dialog.exec() == QDialog::Accepted;
}

}  // namespace platform
