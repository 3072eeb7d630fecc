#include "mainwindow/pagesearch.h"

#include "ledger/cp932.h"
#include "ledger/fileerror.h"
#include "ledger/monthfile.h"
#include "mainwindow/daygrid.h"
#include "mainwindow/daymodel.h"
#include "mainwindow/findform.h"
#include "mainwindow/pageprotocol.h"
#include "platform/errortext.h"
#include "platform/prompts.h"
#include "platform/textcodec.h"

#include <QLineEdit>
#include <QScreen>
#include <QWidget>

namespace mainwindow {

PageSearch::PageSearch(QWidget& window, PageProtocol& page, DayGrid& grid, DayModel& model,
                       std::filesystem::path dataFolder, platform::Prompts& prompts)
    : QObject(&window),
      window_(window),
      page_(page),
      grid_(grid),
      model_(model),
      dataFolder_(std::move(dataFolder)),
      prompts_(prompts) {}

TFindDialog& PageSearch::Dialog() {
    if (dialog_ == nullptr) {
        dialog_ = new TFindDialog(&window_);
        dialog_->setObjectName(QStringLiteral("FindDialog1"));
        connect(dialog_, &TFindDialog::findNext, this, &PageSearch::FindNext);
        // Closing the dialog releases the index.
        connect(dialog_, &QDialog::finished, this, [this] { index_.reset(); });
    }
    return *dialog_;
}

void PageSearch::Open() {
    // What is on the page is in the files the index is built from.
    if (!page_.SavePage())
        return;
    try {
        index_ = SearchIndex::Build(dataFolder_);
    } catch (const ledger::FileError& e) {
        prompts_.Error(&window_,
                       platform::FileErrorText(QStringLiteral("データを読み込めません。"), e));
        return;
    }
    TFindDialog& dialog = Dialog();
    Place(dialog);
    dialog.show();
    dialog.raise();
    dialog.activateWindow();
    dialog.FocusText();
}

void PageSearch::FindNext() {
    if (!index_)
        return;
    const QString text = Dialog().text();
    std::optional<size_t> found;
    try {
        found = index_->FindNext(platform::ToCp932(text));
    } catch (const ledger::Cp932Error&) {
        // A character with no Shift-JIS form is in no month file.
        index_->SearchedForNothing();
    }
    if (!found) {
        prompts_.Message(&Dialog(), QStringLiteral("検索結果"),
                         text + QStringLiteral(" は見つかりませんでした。"),
                         platform::Prompts::Icon::Information, platform::Prompts::Buttons::Ok);
        return;
    }
    const std::optional<ledger::Date> day = index_->DateOf(*found);
    if (!day)
        return;  // not a line of a day: the search stays where it was
    // The page changes without taking the keyboard from the find dialog.
    if (!page_.SavePage())
        return;
    if (*day != page_.PageDate() || page_.PageUnreadable()) {
        if (!page_.ConfirmLeavePage())
            return;
        page_.ShowSavedPageDay(*day);
    }
    index_->JumpTo(*found);
    // The entry found becomes the current row.
    if (std::optional<int> row =
            RowOfLine(*day, index_->Line(*found), index_->SameLinesBefore(*found))) {
        grid_.PlaceCursor(*row, std::max(grid_.currentIndex().column(), 0));
    }
}

std::optional<int> PageSearch::RowOfLine(const ledger::Date& day, std::string_view line,
                                         size_t occurrence) const {
    const std::string key = ledger::Yyyymmdd(day);
    const std::vector<ledger::DayEntry> entries = model_.Entries();
    for (size_t row = 0; row < entries.size(); ++row) {
        const std::optional<std::string> written = ledger::EntryLine(key, entries[row]);
        if (written && *written == line && occurrence-- == 0)
            return static_cast<int>(row);
    }
    return std::nullopt;
}

void PageSearch::Place(QWidget& dialog) {
    dialog.adjustSize();
    const QRect window = window_.frameGeometry();
    const QSize size = dialog.frameGeometry().size().expandedTo(dialog.sizeHint());
    QRect screen(0, 0, 1 << 20, 1 << 20);
    if (QScreen* s = window_.screen())
        screen = s->availableGeometry();
    // Beside the window, else below or above it; where none fits, over the date band and
    // the buttons, clear of the rows.
    const QPoint candidates[] = {
        {window.right() + 8, window.top() + 166},
        {window.left() - size.width() - 8, window.top() + 166},
        {window.left() + 31, window.bottom() + 8},
        {window.left() + 31, window.top() - size.height() - 8},
    };
    for (const QPoint& at : candidates) {
        if (screen.contains(QRect(at, size))) {
            dialog.move(at);
            return;
        }
    }
    dialog.move(window.left() + 400, window.top() + 40);
}

}  // namespace mainwindow
