#include "netimport/fnet.h"

#include "netimport/fetchreply.h"
#include "netimport/netimport.h"
#include "netimport/replystate.h"
#include "platform/objectnames.h"

#include "ledger/cp932.h"
#include "ledger/fileerror.h"
#include "ledger/textfile.h"
#include "platform/errortext.h"
#include "platform/fonts.h"
#include "platform/prompts.h"
#include "platform/textcodec.h"
#include "platform/windowdrag.h"
#include "skin/buttonface.h"
#include "skin/skin.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>

#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <memory>

namespace netimport {

namespace {

using Icon = platform::Prompts::Icon;
using Buttons = platform::Prompts::Buttons;

constexpr QSize kSize(441, 353);  // the size of the frame picture

QLabel* Caption(QWidget* parent, const QString& text, QRect geometry, bool grey) {
    auto* label = new QLabel(text, parent);
    label->setGeometry(geometry);
    label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    if (grey)
        label->setStyleSheet(QStringLiteral("color: #808080;"));
    return label;
}

QLineEdit* Field(QWidget* parent, QRect geometry) {
    auto* edit = new QLineEdit(parent);
    edit->setGeometry(geometry);
    return edit;
}

}  // namespace

Tfnet::Tfnet(std::filesystem::path workFile, platform::Prompts& prompts, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint),
      workFile_(std::move(workFile)),
      prompts_(prompts) {
    setObjectName(QStringLiteral("fnet"));
    setWindowTitle(QStringLiteral("NET 機能"));
    setFixedSize(kSize);
    setFont(platform::UiFont(12));

    auto* Image1 = new QLabel(this);  // the small-frame skin behind everything
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setGeometry(QRect(QPoint(0, 0), kSize));
    Image1->setPixmap(
        QPixmap::fromImage(skin::ComposeSmallFrameSkin(skin::SmallFrameImages::Builtin(), kSize)));

    title_ = new QLabel(QStringLiteral("NET 機能"), this);
    title_->setGeometry(10, 2, 300, 17);
    title_->setFont(platform::UiFont(12, true));
    title_->setStyleSheet(QStringLiteral("color: white; background: transparent;"));
    platform::WindowDrag::Install(title_);

    urlCaption_ = Caption(this, QStringLiteral("URL:"), QRect(12, 34, 52, 20), false);
    url_ = Field(this, QRect(68, 34, 292, 20));
    defaultButton_ =
        skin::MakeTextButton(this, QStringLiteral("Default"), QRect(366, 33, 62, 22), false);
    idCaption_ = Caption(this, QStringLiteral("ID:"), QRect(12, 62, 52, 20), false);
    id_ = Field(this, QRect(68, 62, 150, 20));
    passCaption_ = Caption(this, QStringLiteral("Pass:"), QRect(12, 90, 52, 20), false);
    password_ = Field(this, QRect(68, 90, 150, 20));
    password_->setEchoMode(QLineEdit::Password);
    password_->setStyleSheet(QStringLiteral("lineedit-password-character: 42;"));  // "*"
    proxyCaption_ = Caption(this, QStringLiteral("PROXY:"), QRect(226, 62, 56, 20), true);
    proxy_ = Field(this, QRect(286, 62, 142, 20));
    portCaption_ = Caption(this, QStringLiteral("PORT:"), QRect(226, 90, 56, 20), true);
    proxyPort_ = Field(this, QRect(286, 90, 64, 20));

    checkButton_ = new QPushButton(QStringLiteral("データ確認"), this);
    checkButton_->setGeometry(68, 118, 150, 26);
    // Read-only, and out of the keyboard's way; it stays enabled so that a long reply can be
    // scrolled through before it is imported.
    memo_ = new QPlainTextEdit(this);
    memo_->setGeometry(12, 152, 417, 154);
    memo_->setReadOnly(true);
    memo_->setFocusPolicy(Qt::NoFocus);
    memo_->setLineWrapMode(QPlainTextEdit::NoWrap);
    memo_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    cancelButton_ = new QPushButton(QStringLiteral("cancel"), this);
    cancelButton_->setGeometry(12, 316, 100, 28);
    importButton_ = new QPushButton(QStringLiteral("データ取り込み"), this);
    importButton_->setGeometry(279, 316, 150, 28);
    for (QPushButton* b : {checkButton_, importButton_, cancelButton_})
        b->setAutoDefault(false);
    // Enter in a field checks the data; importing always takes a click of its own.
    checkButton_->setDefault(true);

    platform::NameControls({{urlCaption_, "Label1"},
                            {proxyCaption_, "Label2"},
                            {idCaption_, "Label3"},
                            {portCaption_, "Label4"},
                            {passCaption_, "Label5"},
                            {title_, "Label6"},
                            {url_, "Edit1"},
                            {proxy_, "Edit2"},
                            {proxyPort_, "Edit3"},
                            {id_, "Edit4"},
                            {password_, "Edit5"},
                            {checkButton_, "Button1"},
                            {importButton_, "Button2"},
                            {cancelButton_, "Button3"},
                            {memo_, "Memo1"},
                            {defaultButton_, "SpeedButton1"}});

    connect(defaultButton_, &QPushButton::clicked, this,
            [this] { url_->setText(QString::fromLatin1(kDefaultServiceUrl)); });
    connect(checkButton_, &QPushButton::clicked, this, &Tfnet::CheckData);
    connect(importButton_, &QPushButton::clicked, this, &Tfnet::ImportData);
    connect(cancelButton_, &QPushButton::clicked, this, &Tfnet::CancelOrClose);
}

std::optional<ImportRequest> Tfnet::Run(NetFields& fields, QPoint mainTopLeft) {
    url_->setText(fields.url);
    proxy_->setText(fields.proxy);
    proxyPort_->setText(fields.proxyPort);
    id_->setText(fields.id);
    QPoint at = mainTopLeft - QPoint(16, 16);
    // Kept on the screen when the main window sits at its edge.
    if (QScreen* screen = QGuiApplication::screenAt(mainTopLeft)) {
        const QRect area = screen->availableGeometry();
        at.setX(std::max(at.x(), area.left()));
        at.setY(std::max(at.y(), area.top()));
    }
    move(at);
    result_.reset();
    prompts_.RunDialog(*this);
    fields = NetFields{url_->text(), proxy_->text(), proxyPort_->text(), id_->text()};
    return result_;
}

void Tfnet::showEvent(QShowEvent* event) {
    // Each opening starts idle with an empty memo, unless an import broke off: then the
    // import button fetches what the service sent that time.
    memo_->clear();
    checkButton_->setEnabled(true);
    cancelButton_->setEnabled(true);
    const bool resendOwed = ReadReplyState(workFile_) == ReplyState::ResendOwed;
    importButton_->setEnabled(resendOwed);
    if (resendOwed) {
        memo_->setPlainText(
            QStringLiteral("前回の取り込みが途中で終わりました。\n"
                           "「データ取り込み」を押すと、そのときサービスが送ったデータを\n"
                           "受け取り直して家計簿に加えます（すでにある行は加えません）。"));
    }
    QDialog::showEvent(event);
    // The keyboard starts where the user has something to type.
    (id_->text().isEmpty() ? id_ : password_)->setFocus();
}

Tfnet::Outcome Tfnet::Request(RequestKind kind) {
    std::string url, id, password;
    try {
        url = platform::ToCp932(url_->text());
        id = platform::ToCp932(id_->text());
        password = platform::ToCp932(password_->text());
    } catch (const ledger::Cp932Error& e) {
        prompts_.Error(this, QStringLiteral("「%1」は Shift-JIS で書けない文字です。")
                                 .arg(QString::fromStdString(e.character())));
        return {};
    }
    memo_->clear();
    client_.SetUrl(kind == RequestKind::Resend
                       ? ResendUrl(url, id, password)
                       : RequestUrl(url, id, password, kind == RequestKind::Import));
    client_.SetProxy(proxy_->text().trimmed().toStdString(),
                     proxyPort_->text().trimmed().toStdString());

    checkButton_->setEnabled(false);
    cancelButton_->setEnabled(true);
    memo_->setPlainText(QStringLiteral("Loading"));
    importButton_->setEnabled(false);

    uint64_t received = 0;
    uint64_t shown = 0;
    const FetchOutcome fetched = FetchReply(
        client_, workFile_, kind,
        [&] {
            // A slow link shows that it is moving.
            if (received != shown) {
                shown = received;
                memo_->setPlainText(
                    QStringLiteral("Loading %L1 bytes").arg(static_cast<qulonglong>(shown)));
            }
            QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        },
        received);
    checkButton_->setEnabled(true);
    if (fetched.notStarted) {
        memo_->clear();
        prompts_.Error(this,
                       platform::FileErrorText(
                           kind == RequestKind::Check || fetched.notStarted->path() == workFile_
                               ? QStringLiteral("受信用のファイルを作成できません。")
                               : QStringLiteral("取り込みの状態を保存できません。"),
                           *fetched.notStarted));
        return {};
    }
    const std::optional<http::Failure>& failure = fetched.failure;
    const std::string& storeError = fetched.storeError;

    if (failure) {
        QString text = QStringLiteral("Failed : %1 %2")
                           .arg(failure->status)
                           .arg(QString::fromStdString(failure->reason));
        if (!storeError.empty())
            text += QStringLiteral(" (") + QString::fromStdString(workFile_.string()) +
                    QStringLiteral(": ") + QString::fromLocal8Bit(storeError.c_str()) +
                    QStringLiteral(")");
        memo_->setPlainText(text);
        return {true, text, failure->answered ? failure->status : 0};
    }
    std::error_code ec;
    memo_->setPlainText(
        QStringLiteral("Received %1 bytes")
            .arg(static_cast<qulonglong>(std::filesystem::file_size(workFile_, ec))));
    return {true, std::nullopt};
}

void Tfnet::ShowReply() {
    std::vector<std::string> lines;
    try {
        lines = ledger::ReadLines(workFile_);
    } catch (const ledger::FileError& e) {
        prompts_.Error(this,
                       platform::FileErrorText(QStringLiteral("受信したデータを読めません。"), e));
        return;
    }
    QString text;
    for (const std::string& line : lines) {
        text += platform::FromCp932(line);
        text += QLatin1Char('\n');
    }
    if (lines.empty()) {
        text += QStringLiteral("データはありません。");
    } else {
        text += QStringLiteral(
            "---\n以上のデータでよろしいですか？\n"
            "よろしければ下の「データ取り込みボタン」を押してください。\n"
            "取り込んだデータは、サーバから削除されます。");
        importButton_->setEnabled(true);
    }
    memo_->setPlainText(text);
}

void Tfnet::CheckData() {
    const Outcome outcome = Request(RequestKind::Check);
    if (outcome.started && !outcome.failure)
        ShowReply();
}

void Tfnet::ImportData() {
    // Once the request went out the dialog closes whatever it gave: the caller merges what
    // arrived. A request that could not start leaves the work file and the dialog as they were.
    const bool resend = ReadReplyState(workFile_) == ReplyState::ResendOwed;
    Outcome outcome = Request(resend ? RequestKind::Resend : RequestKind::Import);
    if (!outcome.started)
        return;
    // A service that answers the resend with "no such request" (400, 404, 405, 501) cannot
    // send the batch again; a wrong password (403) or a server error can be tried again.
    const bool notOffered =
        resend && (outcome.answeredStatus == 400 || outcome.answeredStatus == 404 ||
                   outcome.answeredStatus == 405 || outcome.answeredStatus == 501);
    const bool refused = outcome.failure && outcome.answeredStatus != 0;
    result_ = ImportRequest{std::move(outcome.failure), resend, notOffered, refused};
    done(QDialog::Accepted);
}

void Tfnet::CancelOrClose() {
    if (checkButton_->isEnabled()) {
        result_.reset();
        done(QDialog::Rejected);
    } else {
        client_.Abort();
    }
}

void Tfnet::reject() {
    // Esc: as cancel, which stops a running request instead of closing.
    CancelOrClose();
}

void Tfnet::closeEvent(QCloseEvent* event) {
    if (client_.Running()) {
        client_.Abort();
        event->ignore();
        return;
    }
    QDialog::closeEvent(event);
}

}  // namespace netimport
