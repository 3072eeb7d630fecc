#pragma once

// The toolkit's headers first: moc reads the standard headers the ledger's pull in only
// after them.
#include <QObject>

#include "mainwindow/searchindex.h"

#include <filesystem>
#include <optional>
#include <string_view>

class QWidget;

namespace platform {
class Prompts;
}

namespace mainwindow {

class DayGrid;
class DayModel;
class PageProtocol;
class TFindDialog;

// 検索: the find dialog over every entry of the book. Opening it saves the page and builds
// the index from the month files; 次を検索 shows the day of each match in turn, oldest first,
// with the entry found as the current row. The dialog (FindDialog1) is modeless and placed
// where it leaves the rows' memos in sight.
class PageSearch : public QObject {
    Q_OBJECT
public:
    PageSearch(QWidget& window, PageProtocol& page, DayGrid& grid, DayModel& model,
               std::filesystem::path dataFolder, platform::Prompts& prompts);

    void Open();
    void FindNext();

private:
    TFindDialog& Dialog();
    void Place(QWidget& dialog);
    // The page row written as `line`, the occurrence-th of equal ones.
    std::optional<int> RowOfLine(const ledger::Date& day, std::string_view line,
                                 size_t occurrence) const;

    QWidget& window_;
    PageProtocol& page_;
    DayGrid& grid_;
    DayModel& model_;
    std::filesystem::path dataFolder_;
    platform::Prompts& prompts_;
    TFindDialog* dialog_ = nullptr;
    // The search's lines while the find dialog is open.
    std::optional<SearchIndex> index_;
};

}  // namespace mainwindow
