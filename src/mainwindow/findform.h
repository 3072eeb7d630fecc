#pragma once

#include <QDialog>

class QLineEdit;
class QPushButton;

namespace mainwindow {

// FindDialog1: the modeless find dialog of the search, with its text box, 次を検索 and
// キャンセル. It searches forward only.
class TFindDialog : public QDialog {
    Q_OBJECT
public:
    explicit TFindDialog(QWidget* parent = nullptr);

    QString text() const;
    // The keyboard into the text box, its text selected, so a new text replaces it.
    void FocusText();

signals:
    void findNext();  // FindDialog1Find

private:
    // The controls; their designer names are their object names.
    QLineEdit* text_;           // Edit1: the search text
    QPushButton* findButton_;   // FindButton: 次を検索
    QPushButton* closeButton_;  // CloseButton: キャンセル
};

}  // namespace mainwindow
