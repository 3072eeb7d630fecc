#pragma once

// The toolkit's headers first: moc reads the standard headers the ledger's pull in only
// after them.
#include <QDialog>
#include <QString>

#include "state/appstate.h"
#include "statement/statementimport.h"

#include <optional>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QTableWidget;

namespace platform {
class Prompts;
}

namespace statement {

// 明細取込: a bank's or card's CSV statement into the book. The file is chosen (the
// encoding, separator and header line detected, each can be changed), its columns mapped
// (remembered per header line in import.dat), every row previewed with its proposed 費目 and
// 重複 marks, every cell editable, and 取り込む appends the checked rows to their days.
// Enter imports, Escape closes.
class Tstatementform : public QDialog {
    Q_OBJECT
public:
    explicit Tstatementform(platform::Prompts& prompts, QWidget* parent = nullptr);

    // Shows the window until it is closed, asking for a file first. The caller saves the page
    // first; the window works on its own copy of `state`. What was imported, when anything was.
    std::optional<ImportResult> Run(const state::AppState& state, const ledger::Date& today);

    // Reads a statement file into the window (the file chooser's path).
    void OpenStatement(const QString& path);

private:
    void ChooseFile();
    void ReadAgain();       // after the encoding, separator or header changed
    void MappingChanged();  // after a column or a default changed
    void FillMappingControls();
    void BuildRows();
    void FillTable();
    void Import();  // 取り込む
    // The preview as the user left it: cells edited, rows unchecked. False (the user told)
    // when an edited cell is not valid.
    bool TakeEdits();

    QLineEdit* path_;            // statementpath
    QPushButton* choose_;        // chooseFile: 参照...
    QComboBox* encoding_;        // encoding
    QComboBox* separator_;       // separator
    QCheckBox* header_;          // headerLine
    QComboBox* dateColumn_;      // dateColumn
    QComboBox* textColumn_;      // descriptionColumn
    QComboBox* amountColumn_;    // amountColumn
    QComboBox* outColumn_;       // withdrawalColumn
    QComboBox* inColumn_;        // depositColumn
    QComboBox* categoryColumn_;  // categoryColumn
    QListWidget* memoColumns_;   // memoColumns
    QComboBox* sign_;            // amountSign
    QComboBox* expenseDefault_;  // expenseDefault
    QComboBox* incomeDefault_;   // incomeDefault
    QTableWidget* table_;        // previewgrid
    QLabel* summary_;            // previewsummary: counts and the unreadable lines
    QPushButton* importButton_;  // importButton: 取り込む
    QPushButton* closeButton_;   // closeButton: 閉じる

    platform::Prompts& prompts_;
    std::optional<state::AppState> book_;
    ledger::Date today_;
    ImportBook imports_;
    std::string bytes_;
    StatementTable statement_;
    ColumnMapping mapping_;
    Preview preview_;
    std::optional<CategoryHistory> history_;
    std::optional<ImportResult> result_;
    bool filling_ = false;
};

}  // namespace statement
