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

    QLineEdit* Edit1;          // the search text
    QPushButton* FindButton;   // 次を検索
    QPushButton* CloseButton;  // キャンセル

signals:
    void findNext();  // FindDialog1Find
};

}  // namespace mainwindow
