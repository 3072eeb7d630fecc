#include "netimport/importfromservice.h"

#include "ledger/fileerror.h"
#include "netimport/fnet.h"
#include "netimport/netimport.h"
#include "netimport/netsettings.h"
#include "platform/errortext.h"
#include "platform/objectnames.h"
#include "platform/prompts.h"
#include "platform/textcodec.h"

#include <QWidget>

namespace netimport {
namespace {

// At most this many unsaved lines are listed in a message; the reply file holds them all.
constexpr size_t kListedLines = 20;

QString UnsavedText(const std::vector<UnsavedLine>& unsaved,
                    const std::filesystem::path& replyFile) {
    QString text =
        QStringLiteral("次のデータは家計簿に書き込めませんでした（%1 件）。").arg(unsaved.size());
    for (size_t i = 0; i < unsaved.size() && i < kListedLines; ++i) {
        text += QStringLiteral("\n") + platform::FromCp932(unsaved[i].line) + QStringLiteral("（") +
                QString::fromStdString(unsaved[i].reason) + QStringLiteral("）");
    }
    if (unsaved.size() > kListedLines)
        text += QStringLiteral("\n…");
    return text +
           QStringLiteral(
               "\n\n受信したデータは次のファイルに残っています。次に NET機能で"
               "受信する前に控えてください。\n") +
           QString::fromStdString(replyFile.string());
}

}  // namespace

ImportResult ImportFromService(QWidget& window, ledger::IniFile& ini,
                               const ledger::MonthStore& store,
                               const ledger::CategoryList& categories,
                               const std::filesystem::path& replyFile, platform::Prompts& prompts,
                               const std::function<void()>& afterMerge) {
    Tfnet& dialog = platform::ChildOnFirstUse<Tfnet>(
        window, "fnet", [&] { return new Tfnet(replyFile, prompts, &window); });
    ImportResult result;
    NetFields fields = ReadNetFields(ini);
    if (const std::optional<ImportRequest> request =
            dialog.Run(fields, window.frameGeometry().topLeft())) {
        result.requested = true;
        MergeResult merged;
        try {
            // A last line without its line break may be cut short (an amount missing digits),
            // after a transfer that broke off or a reply whose length was wrong: only whole
            // lines are taken. The service ends every line.
            merged = MergeReply(replyFile, store, categories, true);
        } catch (const ledger::FileError& e) {
            prompts.Error(&window, platform::FileErrorText(
                                       QStringLiteral("受信したデータを読めません。"), e));
        }
        result.added = merged.added;
        afterMerge();
        if (request->failure) {
            prompts.Error(&window,
                          QStringLiteral("データの取り込みに失敗しました。\n") + *request->failure +
                              QStringLiteral("\n\n受け取れたデータ（%1 件）は家計簿に加えました。"
                                             "受信したデータは次のファイルに残っています。\n")
                                  .arg(merged.added) +
                              QString::fromStdString(replyFile.string()));
        }
        if (merged.cutLastLine && !request->failure) {
            prompts.Error(&window,
                          QStringLiteral("受信したデータの最後の行が途中で切れていたため、その行は"
                                         "家計簿に加えませんでした。受信したデータは次のファイルに"
                                         "残っています。\n") +
                              QString::fromStdString(replyFile.string()));
        }
        if (!merged.unsaved.empty())
            prompts.Error(&window, UnsavedText(merged.unsaved, replyFile));
    }
    if (std::optional<QString> refused = WriteNetFields(ini, fields))
        prompts.Error(&window, *refused);
    return result;
}

}  // namespace netimport
