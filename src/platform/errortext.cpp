#include "platform/errortext.h"

#include <cerrno>

namespace platform {
namespace {

// The reasons users meet, in their own language. Others keep the system's words alone.
QString JapaneseReason(int error) {
    switch (error) {
        case EACCES:
        case EPERM:
            return QStringLiteral("アクセスする権限がありません");
        case ENOSPC:
        case EDQUOT:
            return QStringLiteral("ディスクの空き容量が足りません");
        case EROFS:
            return QStringLiteral("読み取り専用の場所には書き込めません");
        case ENOENT:
            return QStringLiteral("ファイルまたはフォルダが見つかりません");
        case ENOTDIR:
            return QStringLiteral("パスの途中にフォルダではないものがあります");
        case EISDIR:
            return QStringLiteral("ファイルではなくフォルダです");
        case EIO:
            return QStringLiteral("ディスクの読み書きに失敗しました");
        default:
            return {};
    }
}

}  // namespace

QString FileErrorReason(const ledger::FileError& error) {
    const QString system = QString::fromStdString(error.reason());
    const QString japanese = JapaneseReason(error.error());
    if (japanese.isEmpty())
        return system;
    // The system's own words stay beside it, for whoever helps the user.
    return japanese + QStringLiteral("（") + system + QStringLiteral("）");
}

QString FileErrorText(const QString& what, const ledger::FileError& error) {
    return what + QStringLiteral("\n\n") + QString::fromStdString(error.path().string()) +
           QStringLiteral("\n") + FileErrorReason(error);
}

}  // namespace platform
