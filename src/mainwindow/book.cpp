#include "mainwindow/book.h"

#include "categories/categoryicons.h"
#include "ledger/fileerror.h"
#include "ledger/settings.h"
#include "platform/errortext.h"
#include "state/chartcolors.h"

#include <filesystem>
#include <system_error>

namespace mainwindow {
namespace {

using platform::FileErrorText;

}  // namespace

BookOpening OpenBook(state::AppState& book, const skin::BuiltinIcons& icons,
                     const ledger::Date& today) {
    BookOpening opening;
    auto error = [&](const QString& text) {
        opening.notices.push_back({BookNotice::Kind::Error, text});
    };
    try {
        ledger::EnsureFolder(book.folders.Icons());
    } catch (const ledger::FileError& e) {
        // Without the icon folder only the extra icons are missing; the book still works.
        error(FileErrorText(QStringLiteral("アイコンのフォルダを作成できません。"), e));
    }
    std::error_code ec;
    if (!std::filesystem::exists(book.folders.CategoryFile(), ec)) {
        opening.notices.push_back(
            {BookNotice::Kind::Warning, QStringLiteral("setting.dat がありません")});
        return opening;
    }

    // A save killed half way leaves its temporary file; the single-instance guard is held,
    // so none of them belongs to a writer that is still running.
    book.folders.RemoveLeftoverTemporaries();

    try {
        book.ini = ledger::IniFile::Load(book.folders.SettingsFile());
    } catch (const ledger::FileError& e) {
        // The file is kept as it is: it is not written back at the end of this run.
        opening.iniUnreadable = true;
        error(
            FileErrorText(QStringLiteral("ini.ini を読み込めません。既定の設定で起動します。"), e));
    }
    book.settings = ledger::ReadSettings(book.ini);
    ledger::ForgetUnsafeIconNames(book.settings);
    categories::LoadCategoryIcons(book, icons);
    book.chartColors = state::MakeChartColors();

    try {
        ledger::EnsureFolder(book.folders.Data());
    } catch (const ledger::FileError& e) {
        error(FileErrorText(QStringLiteral("データのフォルダを作成できません。"), e));
        return opening;
    }

    try {
        book.budgets = ledger::BudgetBook::Load(book.folders.BudgetFile());
    } catch (const ledger::FileError& e) {
        // The book works without its budgets; the file is not written over.
        book.budgetsUnreadable = true;
        error(FileErrorText(QStringLiteral("budget.dat を読み込めません。予算は表示されません。"),
                            e));
    }

    try {
        book.recurring = ledger::RecurringBook::Load(book.folders.RecurringFile());
    } catch (const ledger::FileError& e) {
        book.recurringUnreadable = true;
        error(FileErrorText(
            QStringLiteral("recurring.dat を読み込めません。定期入力は行われません。"), e));
    }

    book.pageDate = today;
    if (std::optional<QString> failure = LoadCategoryList(book)) {
        error(*failure);
        return opening;
    }
    opening.usable = true;
    return opening;
}

std::optional<QString> LoadCategoryList(state::AppState& book) {
    try {
        book.categories = ledger::CategoryList::Load(book.folders.CategoryFile());
        return std::nullopt;
    } catch (const ledger::FileError& e) {
        return FileErrorText(QStringLiteral("setting.dat を読み込めません。"), e);
    }
}

std::optional<QString> SaveCategoryList(state::AppState& book, const ledger::GridTable& table,
                                        const categories::CategoryChanges& changes) {
    try {
        ledger::WriteGridCellFile(book.folders.CategoryFile(), table);
    } catch (const ledger::FileError& e) {
        return FileErrorText(QStringLiteral("費目を保存できませんでした。"), e);
    }
    // The budgets follow their categories: a renamed one keeps its lines, a deleted one's go.
    if (changes.renamed.empty() && changes.removed.empty())
        return std::nullopt;
    ledger::BudgetBook budgets = book.budgets;
    budgets.ApplyCategoryChanges(changes.renamed, changes.removed);
    if (budgets.Lines() == book.budgets.Lines())
        return std::nullopt;
    return SaveBudgets(book, budgets);
}

std::optional<QString> SaveRecurring(state::AppState& book,
                                     const ledger::RecurringBook& recurring) {
    const QString failed = QStringLiteral("定期入力を保存できませんでした。");
    if (book.recurringUnreadable) {
        return failed + QStringLiteral(
                            "\n\nrecurring.dat は起動時に読み込めなかったため、"
                            "上書きしません。");
    }
    try {
        recurring.Save(book.folders.RecurringFile());
    } catch (const ledger::FileError& e) {
        return FileErrorText(failed, e);
    }
    book.recurring = recurring;
    return std::nullopt;
}

std::optional<QString> SaveBudgets(state::AppState& book, const ledger::BudgetBook& budgets) {
    const QString failed = QStringLiteral("予算を保存できませんでした。");
    if (book.budgetsUnreadable) {
        return failed + QStringLiteral(
                            "\n\nbudget.dat は起動時に読み込めなかったため、"
                            "上書きしません。");
    }
    try {
        budgets.Save(book.folders.BudgetFile());
    } catch (const ledger::FileError& e) {
        return FileErrorText(failed, e);
    }
    book.budgets = budgets;
    return std::nullopt;
}

std::optional<QString> SaveSettings(state::AppState& book) {
    ledger::WriteSettings(book.ini, book.settings);
    try {
        book.ini.Save(book.folders.SettingsFile());
        return std::nullopt;
    } catch (const ledger::FileError& e) {
        return FileErrorText(QStringLiteral("設定を保存できませんでした。"), e);
    }
}

}  // namespace mainwindow
