#include "csvexport/exportmonth.h"

#include "csvexport/csvexport.h"
#include "csvexport/saveform.h"
#include "ledger/fileerror.h"
#include "ledger/textfile.h"
#include "platform/errortext.h"
#include "platform/objectnames.h"
#include "platform/prompts.h"
#include "platform/userfolders.h"

#include <QFile>

namespace csvexport {

ExportResult ExportMonth(QWidget& window, const ledger::AccountingMonth& span,
                         const std::vector<std::string>& lines,
                         const ledger::CategoryList& categories, platform::Prompts& prompts) {
    Tsaveform& options = platform::ChildOnFirstUse<Tsaveform>(
        window, "saveform", [&] { return new Tsaveform(prompts, &window); });
    const std::optional<ExportMode> mode =
        options.Ask(QStringLiteral("%1月分をcsvファイルに書き出します。").arg(span.label.month));
    if (!mode)
        return {};
    std::string bytes;
    for (const std::string& line : ExportLines(lines, categories, *mode))
        bytes += line + "\r\n";
    return SaveCsvFile(window, prompts,
                       QString::fromStdString(ledger::Yyyymm(span.label)) + QStringLiteral(".csv"),
                       bytes);
}

ExportResult SaveCsvFile(QWidget& window, platform::Prompts& prompts, const QString& fileName,
                         const std::string& bytes) {
    using Outcome = ExportResult::Outcome;
    // Proposed in the documents folder: the book's own folder is a hidden one.
    const QString path = prompts.SaveFile(&window, QStringLiteral("CSV書き出し"),
                                          platform::DocumentsFolder() + QLatin1Char('/') + fileName,
                                          QStringLiteral("CSVファイル (*.csv)"));
    if (path.isEmpty())
        return {};
    try {
        // Whole or not at all: the same atomic writer as the month files.
        ledger::WriteFileAtomic(QFile::encodeName(path).toStdString(), bytes);
    } catch (const ledger::FileError& e) {
        prompts.Error(&window, platform::FileErrorText(
                                   QStringLiteral("CSVファイルを書き出せませんでした。"), e));
        return {Outcome::Failed, path};
    }
    // Where it went, so the file can be found.
    prompts.Message(&window, QStringLiteral("CSV書き出し"),
                    QStringLiteral("次のファイルに書き出しました。\n") + path,
                    platform::Prompts::Icon::Information, platform::Prompts::Buttons::Ok);
    return {Outcome::Written, path};
}

}  // namespace csvexport
