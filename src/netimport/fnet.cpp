#include "netimport/fnet.h"

#include "netimport/netimport.h"

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

struct FileCloser {
    void operator()(std::FILE* f) const { std::fclose(f); }
};

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

    Label6 = new QLabel(QStringLiteral("NET 機能"), this);
    Label6->setGeometry(10, 2, 300, 17);
    Label6->setFont(platform::UiFont(12, true));
    Label6->setStyleSheet(QStringLiteral("color: white; background: transparent;"));
    platform::WindowDrag::Install(Label6);

    Label1 = Caption(this, QStringLiteral("URL:"), QRect(12, 34, 52, 20), false);
    Edit1 = Field(this, QRect(68, 34, 292, 20));
    SpeedButton1 =
        skin::MakeTextButton(this, QStringLiteral("Default"), QRect(366, 33, 62, 22), false);
    Label3 = Caption(this, QStringLiteral("ID:"), QRect(12, 62, 52, 20), false);
    Edit4 = Field(this, QRect(68, 62, 150, 20));
    Label5 = Caption(this, QStringLiteral("Pass:"), QRect(12, 90, 52, 20), false);
    Edit5 = Field(this, QRect(68, 90, 150, 20));
    Edit5->setEchoMode(QLineEdit::Password);
    Edit5->setStyleSheet(QStringLiteral("lineedit-password-character: 42;"));  // "*"
    Label2 = Caption(this, QStringLiteral("PROXY:"), QRect(226, 62, 56, 20), true);
    Edit2 = Field(this, QRect(286, 62, 142, 20));
    Label4 = Caption(this, QStringLiteral("PORT:"), QRect(226, 90, 56, 20), true);
    Edit3 = Field(this, QRect(286, 90, 64, 20));

    Button1 = new QPushButton(QStringLiteral("データ確認"), this);
    Button1->setGeometry(68, 118, 150, 26);
    // Read-only, and out of the keyboard's way; it stays enabled so that a long reply can be
    // scrolled through before it is imported.
    Memo1 = new QPlainTextEdit(this);
    Memo1->setGeometry(12, 152, 417, 154);
    Memo1->setReadOnly(true);
    Memo1->setFocusPolicy(Qt::NoFocus);
    Memo1->setLineWrapMode(QPlainTextEdit::NoWrap);
    Memo1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    Button3 = new QPushButton(QStringLiteral("cancel"), this);
    Button3->setGeometry(12, 316, 100, 28);
    Button2 = new QPushButton(QStringLiteral("データ取り込み"), this);
    Button2->setGeometry(279, 316, 150, 28);
    for (QPushButton* b : {Button1, Button2, Button3})
        b->setAutoDefault(false);
    // Enter in a field checks the data; importing always takes a click of its own.
    Button1->setDefault(true);

    const std::pair<QObject*, const char*> names[] = {
        {Label1, "Label1"},   {Label2, "Label2"},
        {Label3, "Label3"},   {Label4, "Label4"},
        {Label5, "Label5"},   {Label6, "Label6"},
        {Edit1, "Edit1"},     {Edit2, "Edit2"},
        {Edit3, "Edit3"},     {Edit4, "Edit4"},
        {Edit5, "Edit5"},     {Button1, "Button1"},
        {Button2, "Button2"}, {Button3, "Button3"},
        {Memo1, "Memo1"},     {SpeedButton1, "SpeedButton1"}};
    for (const auto& [object, name] : names)
        object->setObjectName(QLatin1String(name));

    connect(SpeedButton1, &QPushButton::clicked, this,
            [this] { Edit1->setText(QString::fromLatin1(kDefaultServiceUrl)); });
    connect(Button1, &QPushButton::clicked, this, &Tfnet::Button1Click);
    connect(Button2, &QPushButton::clicked, this, &Tfnet::Button2Click);
    connect(Button3, &QPushButton::clicked, this, &Tfnet::Button3Click);
}

std::optional<ImportRequest> Tfnet::Run(NetFields& fields, QPoint mainTopLeft) {
    Edit1->setText(fields.url);
    Edit2->setText(fields.proxy);
    Edit3->setText(fields.proxyPort);
    Edit4->setText(fields.id);
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
    fields = NetFields{Edit1->text(), Edit2->text(), Edit3->text(), Edit4->text()};
    return result_;
}

void Tfnet::showEvent(QShowEvent* event) {
    // Each opening starts idle with an empty memo.
    Memo1->clear();
    Button1->setEnabled(true);
    Button3->setEnabled(true);
    Button2->setEnabled(false);
    QDialog::showEvent(event);
    // The keyboard starts where the user has something to type.
    (Edit4->text().isEmpty() ? Edit4 : Edit5)->setFocus();
}

Tfnet::Outcome Tfnet::Request(bool remove) {
    std::string url, id, password;
    try {
        url = platform::ToCp932(Edit1->text());
        id = platform::ToCp932(Edit4->text());
        password = platform::ToCp932(Edit5->text());
    } catch (const ledger::Cp932Error& e) {
        prompts_.Error(this, QStringLiteral("「%1」は Shift-JIS で書けない文字です。")
                                 .arg(QString::fromStdString(e.character())));
        return {};
    }
    Memo1->clear();
    client_.SetUrl(RequestUrl(url, id, password, remove));
    client_.SetProxy(Edit2->text().trimmed().toStdString(), Edit3->text().trimmed().toStdString());

    // The reply file is made empty before anything else changes.
    std::unique_ptr<std::FILE, FileCloser> file(std::fopen(workFile_.c_str(), "wb"));
    if (!file) {
        const int error = errno;
        prompts_.Error(this,
                       platform::FileErrorText(QStringLiteral("受信用のファイルを作成できません。"),
                                               ledger::FileError(workFile_, error)));
        return {};
    }

    Button1->setEnabled(false);
    Button3->setEnabled(true);
    Memo1->setPlainText(QStringLiteral("Loading"));
    Button2->setEnabled(false);

    std::string storeError;
    std::optional<http::Failure> failure = client_.Get(
        [&](std::string_view bytes) {
            if (std::fwrite(bytes.data(), 1, bytes.size(), file.get()) == bytes.size())
                return true;
            storeError = std::strerror(errno);
            return false;
        },
        [] { QCoreApplication::processEvents(QEventLoop::AllEvents, 20); });
    if (std::fclose(file.release()) != 0 && !failure) {
        storeError = std::strerror(errno);
        failure = http::Failure{404, "The reply could not be stored"};
    }
    Button1->setEnabled(true);

    if (failure) {
        QString text = QStringLiteral("Failed : %1 %2")
                           .arg(failure->status)
                           .arg(QString::fromStdString(failure->reason));
        if (!storeError.empty())
            text += QStringLiteral(" (") + QString::fromStdString(workFile_.string()) +
                    QStringLiteral(": ") + QString::fromLocal8Bit(storeError.c_str()) +
                    QStringLiteral(")");
        Memo1->setPlainText(text);
        return {true, text};
    }
    std::error_code ec;
    Memo1->setPlainText(
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
        Button2->setEnabled(true);
    }
    Memo1->setPlainText(text);
}

void Tfnet::Button1Click() {
    const Outcome outcome = Request(false);
    if (outcome.started && !outcome.failure)
        ShowReply();
}

void Tfnet::Button2Click() {
    // Once the request went out the dialog closes whatever it gave: the caller merges what
    // arrived. A request that could not start leaves the work file and the dialog as they were.
    Outcome outcome = Request(true);
    if (!outcome.started)
        return;
    result_ = ImportRequest{std::move(outcome.failure)};
    done(QDialog::Accepted);
}

void Tfnet::Button3Click() {
    if (Button1->isEnabled()) {
        result_.reset();
        done(QDialog::Rejected);
    } else {
        client_.Abort();
    }
}

void Tfnet::reject() {
    // Esc: as cancel, which stops a running request instead of closing.
    Button3Click();
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
