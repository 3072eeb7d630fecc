#pragma once

#include "platform/prompts.h"

#include <QApplication>
#include <QDialog>

namespace benchsupport {

// A prompt seam that shows a window, lets it paint once and closes it; message boxes are
// answered OK and counted (on the benchmarks' books none is expected).
class PaintOnce : public platform::QtPrompts {
public:
    int RunDialog(QDialog& dialog) override {
        dialog.show();
        dialog.repaint();
        QApplication::processEvents();
        dialog.hide();
        return QDialog::Rejected;
    }
    Answer Message(QWidget*, const QString&, const QString&, Icon, Buttons) override {
        ++shown;
        return Answer::Ok;
    }
    int shown = 0;
};

}  // namespace benchsupport
