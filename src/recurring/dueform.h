#pragma once

// The toolkit's headers first: moc reads the standard headers the ledger's pull in only
// after them.
#include <QDialog>

#include "ledger/recurring.h"

#include <vector>

class QLabel;
class QPushButton;
class QTableWidget;

namespace platform {
class Prompts;
}

namespace recurring {

// What the user answered about the due entries.
struct DueAnswer {
    enum class Kind { Enter, Later, Skip };
    Kind kind = Kind::Later;
    std::vector<bool> chosen;  // per listed entry, for Enter
};

// 定期入力の確認: the occurrences that are due, each with a check box. 入力する writes the
// checked ones (the others are passed over), 今はしない asks again at the next start, スキップ
// marks them all done without writing. An entry whose 費目 is not in the list is shown with
// a warning and cannot be checked.
class Tdueform : public QDialog {
    Q_OBJECT
public:
    explicit Tdueform(platform::Prompts& prompts, QWidget* parent = nullptr);

    DueAnswer Ask(const std::vector<ledger::DueEntry>& due);

protected:
    // Closing the window is 今はしない.
    void reject() override;

private:
    void Answer(DueAnswer::Kind kind);

    QLabel* caption_;           // duecaption
    QTableWidget* table_;       // duegrid
    QLabel* warning_;           // duewarning
    QPushButton* enterButton_;  // enterButton: 入力する
    QPushButton* laterButton_;  // laterButton: 今はしない
    QPushButton* skipButton_;   // skipButton: スキップ

    platform::Prompts& prompts_;
    DueAnswer answer_;
};

}  // namespace recurring
