#pragma once

#include "ledger/accountingmonth.h"
#include "ledger/categorylist.h"

#include <QString>

#include <string>
#include <vector>

class QWidget;

namespace platform {
class Prompts;
}

namespace csvexport {

// What an export came to; the user has been told.
struct ExportResult {
    enum class Outcome { Written, Cancelled, Failed };
    Outcome outcome = Outcome::Cancelled;
    QString path;  // the file written (or that could not be)
};

// Asks where to keep a CSV file (proposed as `fileName` in the documents folder), writes
// `bytes` there whole (the month files' atomic writer) and says where it went, or why not.
ExportResult SaveCsvFile(QWidget& window, platform::Prompts& prompts, const QString& fileName,
                         const std::string& bytes);

// CSV書き出し: exports the lines of an accounting month (as ReadPeriodLines gives them).
// Asks the layout in the options dialog, which is kept as a child of `window` so that it
// keeps the last choice; proposes "yyyymm.csv" in the documents folder; writes the file whole
// (the month files' atomic writer) and says where it went. A file that cannot be written is
// reported with its path and the reason.
ExportResult ExportMonth(QWidget& window, const ledger::AccountingMonth& span,
                         const std::vector<std::string>& lines,
                         const ledger::CategoryList& categories, platform::Prompts& prompts);

}  // namespace csvexport
