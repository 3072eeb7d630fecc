#pragma once

#include <QDialog>
#include <QString>

#include <filesystem>
#include <optional>

#include "http/client.h"

class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

namespace platform {
class Prompts;
}

namespace netimport {

// An import request that went out: nullopt for a whole reply in the work file, else the
// memo's "Failed : ..." line (what did arrive is in the work file all the same).
struct ImportRequest {
    std::optional<QString> failure;
};

// What the dialog shows in its fields and hands back, as the "net" settings keep it.
struct NetFields {
    QString url;
    QString proxy;
    QString proxyPort;
    QString id;
};

// NET 機能: checks what the web service holds for an ID, and on the user's word fetches it
// again with the order to delete it there. The reply goes into the work file; merging it into
// the book is the caller's part. The password lives only in this window, which is kept
// between uses.
class Tfnet : public QDialog {
    Q_OBJECT
public:
    Tfnet(std::filesystem::path workFile, platform::Prompts& prompts, QWidget* parent = nullptr);

    // Shows the dialog modally with `fields`, its top-left corner 16 pixels left of and above
    // `mainTopLeft`. Returns the import request when one went out (the work file holds its
    // reply), nullopt when the dialog was cancelled. `fields` gets the texts as they were
    // left.
    std::optional<ImportRequest> Run(NetFields& fields, QPoint mainTopLeft);
    http::Client& client() { return client_; }

    QLabel* Label6;  // title; dragging it moves the window
    QLabel* Label1;
    QLabel* Label2;
    QLabel* Label3;
    QLabel* Label4;
    QLabel* Label5;
    QLineEdit* Edit1;           // URL
    QLineEdit* Edit2;           // proxy host
    QLineEdit* Edit3;           // proxy port
    QLineEdit* Edit4;           // ID
    QLineEdit* Edit5;           // password
    QPushButton* SpeedButton1;  // Default
    QPushButton* Button1;       // データ確認
    QPushButton* Button2;       // データ取り込み
    QPushButton* Button3;       // cancel
    QPlainTextEdit* Memo1;      // status and reply

    void Button1Click();
    void Button2Click();
    void Button3Click();

protected:
    void showEvent(QShowEvent* event) override;
    void reject() override;
    void closeEvent(QCloseEvent* event) override;

private:
    struct Outcome {
        // False when the request could not start: the user was told, and the work file and
        // the buttons are as they were.
        bool started = false;
        // When it started: nullopt for a whole reply in the work file, else the memo's
        // "Failed : ..." line.
        std::optional<QString> failure;
    };
    // One request into the work file.
    Outcome Request(bool remove);
    void ShowReply();

    std::filesystem::path workFile_;
    platform::Prompts& prompts_;
    http::Client client_;
    std::optional<ImportRequest> result_;
};

}  // namespace netimport
