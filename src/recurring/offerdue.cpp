#include "recurring/offerdue.h"

#include "ledger/fileerror.h"
#include "platform/errortext.h"
#include "platform/objectnames.h"
#include "platform/prompts.h"
#include "recurring/dueform.h"

namespace recurring {

OfferResult OfferDueEntries(QWidget& window, const ledger::MonthStore& store,
                            const ledger::CategoryList& categories, ledger::RecurringBook& book,
                            const std::filesystem::path& file, const ledger::Date& today,
                            platform::Prompts& prompts) {
    OfferResult result;
    const std::vector<ledger::DueEntry> due = ledger::GatherDue(book, categories, today);
    if (due.empty())
        return result;
    result.asked = true;
    const DueAnswer answer = platform::ChildOnFirstUse<Tdueform>(window, "dueform", [&] {
                                 return new Tdueform(prompts, &window);
                             }).Ask(due);
    if (answer.kind == DueAnswer::Kind::Later)
        return result;
    const std::vector<bool> chosen = answer.kind == DueAnswer::Kind::Enter
                                         ? answer.chosen
                                         : std::vector<bool>(due.size(), false);
    ledger::RecurringBook updated = book;
    try {
        const ledger::EnterResult entered = ledger::EnterDue(store, updated, file, due, chosen);
        result.added = entered.added;
        result.bookChanged = true;
        book = std::move(updated);
        if (answer.kind == DueAnswer::Kind::Enter) {
            QString text = QStringLiteral("定期入力を%1件入力しました。").arg(entered.added);
            if (entered.alreadyThere > 0) {
                text += QStringLiteral("\n%1件は同じ行がすでにあったため、入力しませんでした。")
                            .arg(entered.alreadyThere);
            }
            prompts.Message(&window, QStringLiteral("定期入力"), text,
                            platform::Prompts::Icon::Information, platform::Prompts::Buttons::Ok);
        }
    } catch (const ledger::FileError& e) {
        // Days written before the failure are found again next time, and not written twice.
        prompts.Error(&window, platform::FileErrorText(
                                   QStringLiteral("定期入力を書き込めませんでした。"), e));
        return result;
    }
    return result;
}

}  // namespace recurring
