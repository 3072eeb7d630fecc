#include "netimport/importfromservice.h"

#include "ledger/fileerror.h"
#include "netimport/fetchreply.h"
#include "netimport/fnet.h"
#include "netimport/netimport.h"
#include "netimport/netsettings.h"
#include "netimport/replystate.h"
#include "platform/errortext.h"
#include "platform/objectnames.h"
#include "platform/prompts.h"
#include "platform/textcodec.h"

#include <QWidget>

namespace netimport {
namespace {

// At most this many unsaved lines are listed in a message; the reply file holds them all.
constexpr size_t kListedLines = 20;

// A line as a message shows it: a few dozen characters at most (a refused line may be long).
QString ShownLine(const std::string& line) {
    QString text = platform::FromCp932(line.substr(0, 120));
    if (text.size() > 60 || line.size() > 120)
        text = text.left(60) + QStringLiteral("…");
    return text;
}

QString LineList(const QString& heading, const std::vector<UnsavedLine>& lines,
                 const std::filesystem::path& replyFile) {
    QString text = heading.arg(lines.size());
    for (size_t i = 0; i < lines.size() && i < kListedLines; ++i) {
        text += QStringLiteral("\n") + ShownLine(lines[i].line) + QStringLiteral("（") +
                QString::fromStdString(lines[i].reason) + QStringLiteral("）");
    }
    if (lines.size() > kListedLines)
        text += QStringLiteral("\n…");
    return text +
           QStringLiteral(
               "\n\n受信したデータは次のファイルに残っています。次に NET機能で"
               "受信する前に控えてください。\n") +
           QString::fromStdString(replyFile.string());
}

QString FilePlace(const std::filesystem::path& replyFile) {
    return QStringLiteral("受信したデータは次のファイルに残っています。\n") +
           QString::fromStdString(replyFile.string());
}

// Merges the reply file into the book, shows the page again and says what was not written.
// The state beside the reply file moves on only when the file could be read (a reply that
// could not be read stays owed). Returns what was merged.
MergeResult MergeAndReport(QWidget& window, const ledger::MonthStore& store,
                           const ledger::CategoryList& categories,
                           const std::filesystem::path& replyFile, platform::Prompts& prompts,
                           const std::function<void()>& afterMerge, ReplyState nextState,
                           bool transferFailed) {
    MergeResult merged;
    std::optional<ledger::FileError> stateError;
    try {
        merged = MergeReplyFile(replyFile, store, categories, nextState, stateError);
    } catch (const ledger::FileError& e) {
        prompts.Error(&window,
                      platform::FileErrorText(QStringLiteral("受信したデータを読めません。"), e));
    }
    afterMerge();
    if (stateError) {
        prompts.Error(&window,
                      platform::FileErrorText(QStringLiteral("取り込みの状態を保存できません。"),
                                              *stateError));
    }
    if (merged.cutLastLine && !transferFailed) {
        prompts.Error(&window,
                      QStringLiteral("受信したデータの最後の行が途中で切れていたため、その行は"
                                     "家計簿に加えませんでした。次に「データ取り込み」を押すと、"
                                     "サービスが送ったデータを受け取り直します。\n") +
                          FilePlace(replyFile));
    }
    if (!merged.unsaved.empty()) {
        prompts.Error(
            &window, LineList(QStringLiteral("次のデータは家計簿に書き込めませんでした（%1 件）。"),
                              merged.unsaved, replyFile));
    }
    if (!merged.refused.empty()) {
        prompts.Error(&window, LineList(QStringLiteral("次の行は家計簿に書ける文字や長さではない"
                                                       "ため、取り込みませんでした（%1 件）。"),
                                        merged.refused, replyFile));
    }
    return merged;
}

}  // namespace

PendingReply OfferPendingReply(QWidget& window, const ledger::MonthStore& store,
                               const ledger::CategoryList& categories,
                               const std::filesystem::path& replyFile, platform::Prompts& prompts,
                               const std::function<void()>& afterMerge) {
    const ReplyState state = ReadReplyState(replyFile);
    if (state != ReplyState::Unmerged && state != ReplyState::Broken)
        return PendingReply::None;
    const QString question =
        QStringLiteral(
            "前回の NET機能の取り込みが、家計簿に加える前に終わっています。\n"
            "受信したデータを家計簿に加えますか？（すでにある行は加えません）\n") +
        QString::fromStdString(replyFile.string());
    if (prompts.Message(&window, QStringLiteral("確認"), question,
                        platform::Prompts::Icon::Question,
                        platform::Prompts::Buttons::YesNo) != platform::Prompts::Answer::Yes) {
        return PendingReply::Declined;
    }
    const MergeResult merged =
        MergeAndReport(window, store, categories, replyFile, prompts, afterMerge, AfterMerge(state),
                       state == ReplyState::Broken);
    QString text =
        QStringLiteral("前回受信したデータを家計簿に加えました（%1 件）。").arg(merged.added);
    if (merged.alreadyThere > 0)
        text += QStringLiteral("\n%1 件はすでに家計簿にありました。").arg(merged.alreadyThere);
    if (state == ReplyState::Broken) {
        text += QStringLiteral(
            "\n取り込みが途中で終わっていたため、次に NET機能の「データ取り込み」を押すと、"
            "そのときサービスが送ったデータを受け取り直します。");
    }
    prompts.Message(&window, QStringLiteral("NET機能"), text, platform::Prompts::Icon::Information,
                    platform::Prompts::Buttons::Ok);
    return PendingReply::Merged;
}

ImportResult ImportFromService(QWidget& window, ledger::IniFile& ini,
                               const ledger::MonthStore& store,
                               const ledger::CategoryList& categories,
                               const std::filesystem::path& replyFile, platform::Prompts& prompts,
                               const std::function<void()>& afterMerge) {
    ImportResult result;
    // A reply that is not in the book yet comes before anything else, and no request writes
    // over it.
    switch (OfferPendingReply(window, store, categories, replyFile, prompts, afterMerge)) {
        case PendingReply::Declined:
            prompts.Error(&window, QStringLiteral("前回受信したデータを家計簿に加えるまで、"
                                                  "NET機能で新しいデータは受信しません。\n") +
                                       QString::fromStdString(replyFile.string()));
            return result;
        case PendingReply::Merged:
            result.requested = true;
            break;
        case PendingReply::None:
            break;
    }

    Tfnet& dialog = platform::ChildOnFirstUse<Tfnet>(
        window, "fnet", [&] { return new Tfnet(replyFile, prompts, &window); });
    NetFields fields = ReadNetFields(ini);
    if (const std::optional<ImportRequest> request =
            dialog.Run(fields, window.frameGeometry().topLeft())) {
        result.requested = true;
        ReplyState next = AfterMerge(ReadReplyState(replyFile));
        if (request->resendNotOffered)
            next = ReplyState::None;  // asking again would never bring it
        else if (request->refusedByServer && !request->resend)
            next = ReplyState::None;  // refused (a wrong password): nothing was sent or forgotten
        else if (request->refusedByServer)
            next = ReplyState::ResendOwed;  // the batch is still to be fetched
        const MergeResult merged = MergeAndReport(window, store, categories, replyFile, prompts,
                                                  afterMerge, next, request->failure.has_value());
        result.added = merged.added;
        if (request->resendNotOffered) {
            prompts.Error(&window,
                          QStringLiteral("このサービスは、途中で終わった取り込みのデータを送り直せ"
                                         "ません。前回の取り込みで受け取れなかったデータは、"
                                         "サービスから消えている可能性があります。\n") +
                              *request->failure);
        } else if (request->failure && request->refusedByServer) {
            prompts.Error(&window,
                          QStringLiteral("データの取り込みに失敗しました。\n") + *request->failure);
        } else if (request->failure) {
            prompts.Error(&window,
                          QStringLiteral("データの取り込みに失敗しました。\n") + *request->failure +
                              QStringLiteral("\n\n受け取れたデータ（%1 件）は家計簿に加えました。"
                                             "次に「データ取り込み」を押すと、サービスが送った"
                                             "データを受け取り直します。\n")
                                  .arg(merged.added) +
                              FilePlace(replyFile));
        } else if (request->resend) {
            QString text = QStringLiteral(
                               "前回途中で終わった取り込みのデータを受け取り直し、"
                               "家計簿に加えました（%1 件）。")
                               .arg(merged.added);
            if (merged.alreadyThere > 0)
                text +=
                    QStringLiteral("\n%1 件はすでに家計簿にありました。").arg(merged.alreadyThere);
            text += QStringLiteral("\n新しいデータは、もう一度「データ取り込み」で取り込めます。");
            prompts.Message(&window, QStringLiteral("NET機能"), text,
                            platform::Prompts::Icon::Information, platform::Prompts::Buttons::Ok);
        }
    }
    if (std::optional<QString> refused = WriteNetFields(ini, fields))
        prompts.Error(&window, *refused);
    return result;
}

}  // namespace netimport
