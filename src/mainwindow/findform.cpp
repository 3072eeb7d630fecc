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
    text_ = new QLineEdit(this);
    text_->setObjectName(QStringLiteral("Edit1"));
    label->setBuddy(text_);
    text_->setMinimumWidth(220);
    findButton_ = new QPushButton(QStringLiteral("次を検索(&F)"), this);
    findButton_->setObjectName(QStringLiteral("FindButton"));
    findButton_->setDefault(true);
    findButton_->setEnabled(false);
    closeButton_ = new QPushButton(QStringLiteral("キャンセル"), this);
    closeButton_->setObjectName(QStringLiteral("CloseButton"));

    auto* row = new QHBoxLayout;
    row->addWidget(label);
    row->addWidget(text_, 1);
    auto* buttons = new QVBoxLayout;
    buttons->addWidget(findButton_);
    buttons->addWidget(closeButton_);
    buttons->addStretch();
    auto* layout = new QHBoxLayout(this);
    layout->addLayout(row, 1);
    layout->addLayout(buttons);

    connect(text_, &QLineEdit::textChanged, this,
            [this](const QString& t) { findButton_->setEnabled(!t.isEmpty()); });
    connect(findButton_, &QPushButton::clicked, this, &TFindDialog::findNext);
    connect(closeButton_, &QPushButton::clicked, this, &QDialog::reject);
}

QString TFindDialog::text() const {
    return text_->text();
}

void TFindDialog::FocusText() {
    text_->setFocus();
    text_->selectAll();
}

}  // namespace mainwindow
