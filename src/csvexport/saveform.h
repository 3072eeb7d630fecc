#pragma once

#include <QDialog>

#include <optional>

#include "csvexport/csvexport.h"

class QLabel;
class QPushButton;
class QRadioButton;

namespace platform {
class Prompts;
}

namespace csvexport {

// CSV書き出し: how amounts are signed or split in the export. The choice stays for the next
// export.
class Tsaveform : public QDialog {
    Q_OBJECT
public:
    Tsaveform(platform::Prompts& prompts, QWidget* parent = nullptr);

    // Shows the dialog with `prompt` on its top line: the layout chosen with 実行 (or Enter),
    // nullopt for キャンセル (or Esc, or closing it).
    std::optional<ExportMode> Ask(const QString& prompt);

protected:
    void showEvent(QShowEvent* event) override;

private:
    void Execute();  // 実行

    // The controls; their designer names are their object names (the constructor's table).
    QLabel* prompt_;                 // Label3
    QRadioButton* expenseNegative_;  // RadioButton1
    QRadioButton* incomeNegative_;   // RadioButton2
    QRadioButton* splitColumns_;     // RadioButton3
    QPushButton* executeButton_;     // SpeedButton1: 実行
    QPushButton* cancelButton_;      // SpeedButton2: キャンセル

    platform::Prompts& prompts_;
    std::optional<ExportMode> result_;
};

}  // namespace csvexport
