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

    QLabel* Label3;  // the prompt
    QRadioButton* RadioButton1;
    QRadioButton* RadioButton2;
    QRadioButton* RadioButton3;
    QPushButton* SpeedButton1;  // 実行
    QPushButton* SpeedButton2;  // キャンセル

protected:
    void showEvent(QShowEvent* event) override;

private:
    void SpeedButton1Click();

    platform::Prompts& prompts_;
    std::optional<ExportMode> result_;
};

}  // namespace csvexport
