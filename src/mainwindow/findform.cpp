#include "findform.h"

#include "platform/fonts.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace mainwindow {

TFindDialog::TFindDialog(QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("検索"));
    setModal(false);
    setFont(platform::UiFont(12));
    auto* label = new QLabel(QStringLiteral("検索する文字列(&N):"), this);
    Edit1 = new QLineEdit(this);
    Edit1->setObjectName(QStringLiteral("Edit1"));
    label->setBuddy(Edit1);
    Edit1->setMinimumWidth(220);
    FindButton = new QPushButton(QStringLiteral("次を検索(&F)"), this);
    FindButton->setObjectName(QStringLiteral("FindButton"));
    FindButton->setDefault(true);
    FindButton->setEnabled(false);
    CloseButton = new QPushButton(QStringLiteral("キャンセル"), this);
    CloseButton->setObjectName(QStringLiteral("CloseButton"));

    auto* row = new QHBoxLayout;
    row->addWidget(label);
    row->addWidget(Edit1, 1);
    auto* buttons = new QVBoxLayout;
    buttons->addWidget(FindButton);
    buttons->addWidget(CloseButton);
    buttons->addStretch();
    auto* layout = new QHBoxLayout(this);
    layout->addLayout(row, 1);
    layout->addLayout(buttons);

    connect(Edit1, &QLineEdit::textChanged, this,
            [this](const QString& t) { FindButton->setEnabled(!t.isEmpty()); });
    connect(FindButton, &QPushButton::clicked, this, &TFindDialog::findNext);
    connect(CloseButton, &QPushButton::clicked, this, &QDialog::reject);
}

QString TFindDialog::text() const {
    return Edit1->text();
}

}  // namespace mainwindow
