#pragma once

#include <QDialog>
#include <QString>

#include <filesystem>
#include <optional>

#include "http/client.h"
#include "netimport/fetchreply.h"

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
    // The request fetched the last batch again, after an import that broke off.
    bool resend = false;
    // The service answered that it does not send a batch again (it has no such request).
    bool resendNotOffered = false;
    // The failure is the server's own answer (a refusal, a redirect): it sent no entries, and
    // the reference service forgets entries only after a whole 200 reply.
    bool refusedByServer = false;
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
// An import keeps its state beside the work file (netimport/replystate.h): Broken while it
// runs, Unmerged once the whole reply is on the disk. When an earlier import broke off
// (ResendOwed), データ取り込み fetches the service's last batch again instead.
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

protected:
    void showEvent(QShowEvent* event) override;
    void reject() override;
    void closeEvent(QCloseEvent* event) override;

private:
    void CheckData();      // データ確認
    void ImportData();     // データ取り込み
    void CancelOrClose();  // cancel: stops a running request, else closes

    // The controls; their designer names are their object names (the constructor's table).
    QLabel* title_;               // Label6: dragging it moves the window
    QLabel* urlCaption_;          // Label1
    QLabel* proxyCaption_;        // Label2
    QLabel* idCaption_;           // Label3
    QLabel* portCaption_;         // Label4
    QLabel* passCaption_;         // Label5
    QLineEdit* url_;              // Edit1
    QLineEdit* proxy_;            // Edit2: proxy host
    QLineEdit* proxyPort_;        // Edit3
    QLineEdit* id_;               // Edit4
    QLineEdit* password_;         // Edit5
    QPushButton* defaultButton_;  // SpeedButton1: Default
    QPushButton* checkButton_;    // Button1: データ確認
    QPushButton* importButton_;   // Button2: データ取り込み
    QPushButton* cancelButton_;   // Button3: cancel
    QPlainTextEdit* memo_;        // Memo1: status and reply

    struct Outcome {
        // False when the request could not start: the user was told, and the work file and
        // the buttons are as they were.
        bool started = false;
        // When it started: nullopt for a whole reply in the work file, else the memo's
        // "Failed : ..." line.
        std::optional<QString> failure;
        int answeredStatus = 0;  // the server's own status of a failure; 0 for none
    };
    // One request into the work file.
    Outcome Request(RequestKind kind);
    void ShowReply();

    std::filesystem::path workFile_;
    platform::Prompts& prompts_;
    http::Client client_;
    std::optional<ImportRequest> result_;
};

}  // namespace netimport
