#include "backup/backupcommands.h"

#include "ledger/backup.h"
#include "platform/prompts.h"
#include "platform/singleinstance.h"

#include <QFile>
#include <QStandardPaths>
#include <QWidget>

#include <cstdio>
#include <ctime>

namespace backup {
namespace {

using Icon = platform::Prompts::Icon;
using Buttons = platform::Prompts::Buttons;
using Answer = platform::Prompts::Answer;

QString DocumentsFolder() {
    return QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
}

QString FailureList(const std::vector<ledger::CopyFailure>& failures) {
    QString text;
    for (const ledger::CopyFailure& f : failures) {
        text += QStringLiteral("\n") + QString::fromStdString(f.path.string()) +
                QStringLiteral("（") + QString::fromStdString(f.reason) + QStringLiteral("）");
    }
    return text;
}

}  // namespace

bool MakeBackup(QWidget& window, const ledger::ProgramFolders& book, platform::Prompts& prompts) {
    const QString chosen =
        prompts.ChooseFolder(&window, QStringLiteral("バックアップ作成"), DocumentsFolder());
    if (chosen.isEmpty())
        return false;
    const ledger::BackupResult result =
        ledger::MakeBackup(book, QFile::encodeName(chosen).toStdString(), std::time(nullptr));
    if (result.folder.empty()) {
        prompts.Message(&window, QStringLiteral("Vantrel"),
                        QStringLiteral("この場所には保存できません。別の場所を指定してください。"),
                        Icon::None, Buttons::Ok);
        return false;
    }
    const QString folder = QString::fromStdString(result.folder.string());
    if (!result.failures.empty()) {
        // Never "created" when something is missing: which files, and why.
        prompts.Error(
            &window, QStringLiteral("バックアップに写せなかったファイルがあります。\n\"") + folder +
                         QStringLiteral("\"") + FailureList(result.failures));
        return false;
    }
    prompts.Message(
        &window, QStringLiteral("Vantrel"),
        QStringLiteral("\"") + folder + QStringLiteral("\" フォルダにバックアップを作成しました。"),
        Icon::None, Buttons::Ok);
    return true;
}

Restored RestoreBackup(QWidget& window, const ledger::ProgramFolders& book,
                       platform::Prompts& prompts) {
    const QString chosen =
        prompts.ChooseFolder(&window, QStringLiteral("バックアップ読み込み"), DocumentsFolder());
    if (chosen.isEmpty())
        return Restored::No;
    if (prompts.Message(
            &window, QStringLiteral("確認"),
            QStringLiteral("バックアップデータを読み込みます。現在のデータはすべて上書き"
                           "されますがよろしいですか？\r読み込み後はソフトの再起動が"
                           "必要です"),
            Icon::None, Buttons::OkCancel) != Answer::Ok) {
        return Restored::No;
    }
    const std::filesystem::path folder = QFile::encodeName(chosen).toStdString();
    switch (ledger::CheckRestore(book, folder)) {
        case ledger::RestoreRefusal::InsideTheBook:
            prompts.Error(&window,
                          QStringLiteral("このフォルダは現在のデータの中にあるため読み込めません。"
                                         "バックアップのフォルダを指定してください。\n\n") +
                              chosen);
            return Restored::No;
        case ledger::RestoreRefusal::NotABackup:
            prompts.Message(&window, QStringLiteral("Vantrel"),
                            QStringLiteral("データが存在しません"), Icon::None, Buttons::Ok);
            return Restored::No;
        case ledger::RestoreRefusal::None:
            break;
    }
    const std::vector<ledger::CopyFailure> failures = ledger::Restore(book, folder);
    if (!failures.empty()) {
        prompts.Error(
            &window,
            QStringLiteral("バックアップを読み込めませんでした。現在のデータはそのままです。") +
                FailureList(failures));
        return Restored::No;
    }
    prompts.Message(&window, QStringLiteral("Vantrel"),
                    QStringLiteral("データ読み込み完了。ソフトを再起動してください。"), Icon::None,
                    Buttons::Ok);
    return Restored::Yes;
}

int BackupFromCommandLine(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s --backup FOLDER\n", argv[0]);
        return 2;
    }
    // While the program runs on this book, its page and settings are not on the disk yet.
    const ledger::ProgramFolders folders = ledger::ProgramFolders::Locate();
    platform::SingleInstanceGuard guard(folders.program);
    if (!guard.acquired()) {
        std::fprintf(stderr, "vantrel: the program is running on %s; close it and try again\n",
                     folders.program.c_str());
        return 3;
    }
    const ledger::BackupResult result = ledger::MakeBackup(folders, argv[2], std::time(nullptr));
    if (result.folder.empty()) {
        std::fprintf(stderr, "vantrel: no backup folder could be made in %s\n", argv[2]);
        return 3;
    }
    for (const ledger::CopyFailure& failure : result.failures) {
        std::fprintf(stderr, "vantrel: not copied: %s: %s\n", failure.path.c_str(),
                     failure.reason.c_str());
    }
    if (!result.failures.empty())
        return 1;
    std::printf("%s\n", result.folder.c_str());
    return 0;
}

}  // namespace backup
